#!/usr/bin/env bash
# Builds the library in release mode and runs the example program.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
./build/release/examples/purchase_order "$@"
