#!/usr/bin/env bash
# Installs the library from an existing build into a scratch prefix, then builds and runs a small
# consumer twice, once through find_package(quorex) and once through pkg-config, builds the
# installed examples as a fresh project of their own against the installed package alone, running
# each with --help and --version to show that it links and starts, and runs the installed
# quorex-dump.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  cat <<'EOF'
usage: tools/check-install.sh [BUILD_DIR]
       tools/check-install.sh --help
Installs BUILD_DIR (default build, already built) into a scratch prefix and builds and runs, against
that prefix alone, a consumer through find_package(quorex), one through pkg-config, and the
installed examples (share/quorex/examples).
EOF
}
case "${1:-}" in
  --help | -h) usage; exit 0 ;;
  -*) echo "check-install.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
esac
[ $# -le 1 ] || { echo "check-install.sh: one build directory at most" >&2; usage >&2; exit 2; }
build_dir=${1:-build}
if [ ! -f "$build_dir/cmake_install.cmake" ]; then
  echo "check-install.sh: $build_dir is not a configured build directory" >&2
  exit 2
fi
root=$(pwd)
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

# The examples, from their installed copy only: nothing of the source tree may be on any path.
examples="$prefix/share/quorex/examples"
cmake -S "$examples" -B "$prefix/examples-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" > /dev/null
cmake --build "$prefix/examples-build" > /dev/null
if grep -q "$root" "$prefix/examples-build/build.ninja"; then
  echo "check-install.sh: the installed examples' build refers to the source tree $root" >&2
  exit 1
fi
version=$(sed -n 's/^#define QUOREX_VERSION "\(.*\)"$/\1/p' "$prefix/include/quorex/Version.h")
for example in trader_console admin_console; do
  program="$prefix/examples-build/$example"
  LD_LIBRARY_PATH="$prefix/lib" "$program" --help | grep -q "^usage: $example"
  test "$(LD_LIBRARY_PATH="$prefix/lib" "$program" --version)" = "$example $version"
  status=0
  LD_LIBRARY_PATH="$prefix/lib" "$program" --no-such-option 2> /dev/null || status=$?
  test "$status" -eq 2
done
echo "install check: find_package and pkg-config consumers, quorex-dump and the installed examples built and ran"
