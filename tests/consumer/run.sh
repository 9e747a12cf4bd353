#!/bin/sh
# Installs the build tree into a scratch prefix, then builds small programs against it: through
# find_package(Tessel16) (one of them with a binding that tessel16_generate makes at build
# time) and through pkg-config. A changed included schema must make the build generate again.
# The scratch prefix is not the configured one, so the pkg-config build holds only if
# tessel16.pc finds its own prefix.
set -eu
build_dir=$1; work=$2; src=$3
rm -rf "$work"; mkdir -p "$work"
cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
cp -R "$src" "$work/src"
cmake -S "$work/src" -B "$work/build" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/build" >/dev/null
export LD_LIBRARY_PATH="$work/prefix/lib:$work/prefix/lib64:${LD_LIBRARY_PATH:-}"
"$work/build/consumer"
"$work/build/consumer_catalog"
# An attribute added to the included schema appears in the regenerated header.
sed 's#<xs:attribute name="sku"#<xs:attribute name="note" type="xs:string"/>\n    &#' \
    "$work/src/catalog_items.xsd" > "$work/items.xsd"
mv "$work/items.xsd" "$work/src/catalog_items.xsd"
cmake --build "$work/build" >/dev/null
grep -q "GetNote()" "$work/build/tessel16_generated/catalog_binding.h"
libdir=$(ls -d "$work/prefix"/lib*/pkgconfig | head -n1)
PKG_CONFIG_PATH="$libdir" c++ -std=c++17 "$src/main.cpp" -o "$work/consumer-pc" \
    $(PKG_CONFIG_PATH="$libdir" pkg-config --cflags --libs tessel16)
"$work/consumer-pc"
echo "consumer: find_package (with a generated binding) and pkg-config builds ran"
