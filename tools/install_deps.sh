#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, skipping those already present.
set -euo pipefail
packages=(cmake g++ make pkg-config python3 libexpat1-dev libpcre2-dev zlib1g-dev
          libgtest-dev libgmock-dev libbenchmark-dev libxml2-utils rapidjson-dev
          default-jdk-headless libfastinfoset-java)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
