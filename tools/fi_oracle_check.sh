#!/usr/bin/env bash
# Runs the Fast Infoset oracle's check.sh against our `tessel16` converter.
#   tools/fi_oracle_check.sh ORACLE_DIR WORK_DIR TESSEL16_BINARY decode|encode
# decode: the decode and fail rows (no Java needed); encode: the encode rows, decoded by the
# Java oracle. The oracle is copied into WORK_DIR first, since its Java tools compile into
# their own folder and the original may be read-only.
set -euo pipefail
oracle=$1 work=$2 tool=$3 mode=$4
rm -rf "$work"
mkdir -p "$work"
cp -r "$oracle"/. "$work"/
rm -rf "$work/build" "$work/out"
cd "$work"
export OURS_FI2TREE="$tool tree {in}"
if [[ $mode == encode ]]; then
    export OURS_XML2FI="$tool convert {in} {out} --to fi"
    export CHECK_ONLY='^encode'
else
    export CHECK_SKIP='^encode'
fi
./check.sh
