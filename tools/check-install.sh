#!/usr/bin/env bash
# Installs the library from an existing build into a scratch prefix, then builds and runs a small
# consumer twice: once through find_package(quorex), once through pkg-config; and runs the
# installed quorex-dump.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" > /dev/null
cmake -S tests/install -B "$prefix/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" > /dev/null
cmake --build "$prefix/consumer" > /dev/null
LD_LIBRARY_PATH="$prefix/lib" "$prefix/consumer/consumer"

flags=$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs quorex)
# shellcheck disable=SC2086
c++ -std=c++20 tests/install/consumer.cpp $flags -o "$prefix/consumer-pc"
LD_LIBRARY_PATH="$prefix/lib" "$prefix/consumer-pc"
"$prefix/bin/quorex-dump" --version > /dev/null
echo "install check: find_package and pkg-config consumers built and ran, quorex-dump installed"
