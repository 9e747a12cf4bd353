#!/bin/sh
# Installs the build tree into a scratch prefix, then builds a small program against it
# twice: through find_package(Tessel16) and through pkg-config. The scratch prefix is not the
# configured one, so the pkg-config build holds only if tessel16.pc finds its own prefix.
set -eu
build_dir=$1; work=$2; src=$3
rm -rf "$work"; mkdir -p "$work"
cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
cmake -S "$src" -B "$work/build" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/build" >/dev/null
LD_LIBRARY_PATH="$work/prefix/lib:$work/prefix/lib64:${LD_LIBRARY_PATH:-}" "$work/build/consumer"
libdir=$(ls -d "$work/prefix"/lib*/pkgconfig | head -n1)
PKG_CONFIG_PATH="$libdir" c++ -std=c++17 "$src/main.cpp" -o "$work/consumer-pc" \
    $(PKG_CONFIG_PATH="$libdir" pkg-config --cflags --libs tessel16)
LD_LIBRARY_PATH="$work/prefix/lib:$work/prefix/lib64:${LD_LIBRARY_PATH:-}" "$work/consumer-pc"
echo "consumer: find_package and pkg-config builds ran"
