#!/usr/bin/env bash
# Installs the library from an existing build into a scratch prefix, then, against that prefix
# alone: builds and runs a small consumer through find_package(quorex) (run as built, on CMake's
# build run path) and through pkg-config (with a run path, as docs/guide.md shows); builds the
# guide's first program from the installed share/doc/quorex the way the guide says and, when the
# build has exchange-sim, runs it against the simulator; builds the installed examples as a fresh
# project of their own, running each with --help, --version and a bad option; runs quorex-dump.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  cat <<'USAGE'
usage: tools/check-install.sh [BUILD_DIR]
       tools/check-install.sh --help
Installs BUILD_DIR (default build, already built) into a scratch prefix and builds and runs, against
that prefix alone, a consumer through find_package(quorex), one through pkg-config, the guide's first
program (share/doc/quorex, run against BUILD_DIR's exchange-sim when it is built), and the installed
examples (share/quorex/examples).
USAGE
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
source tools/lib/simulator.sh
trap 'stop_simulator; rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" > /dev/null
# The library's directory is lib, lib64 or lib/<multiarch>, after the system.
pc_file=$(find "$prefix" -name quorex.pc -print -quit)
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$pc_file")
libdir=$(pkg-config --variable=libdir quorex)
docs="$prefix/share/doc/quorex"
for document in guide.md reference.md first_program.cpp; do
  test -f "$docs/$document" || { echo "check-install.sh: $docs/$document was not installed" >&2; exit 1; }
done

# find_package: CMake gives the program built in its build tree the library's directory as its run path.
cmake -S tests/install -B "$prefix/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" > /dev/null
cmake --build "$prefix/consumer" > /dev/null
"$prefix/consumer/consumer"

# pkg-config: the run path is the program's to give.
flags=$(pkg-config --cflags --libs quorex)
# shellcheck disable=SC2086
c++ -std=c++20 tests/install/consumer.cpp $flags -Wl,-rpath,"$libdir" -o "$prefix/consumer-pc"
"$prefix/consumer-pc"
"$prefix/bin/quorex-dump" --version > /dev/null

# The guide's first program, from the installed copy and built as the guide says.
# shellcheck disable=SC2046
c++ -std=c++20 "$docs/first_program.cpp" -o "$prefix/first_program" \
    $(pkg-config --cflags --libs quorex) -Wl,-rpath,"$(pkg-config --variable=libdir quorex)"
status=0
"$prefix/first_program" --no-such-option 2> /dev/null || status=$?
test "$status" -eq 2
if [ -x "$build_dir/sim/exchange-sim" ]; then
  mkdir "$prefix/run"
  start_simulator "$build_dir/sim/exchange-sim" "$prefix/run/sim.log" --quiet --data-dir "$prefix/run/exchange-day"
  (cd "$prefix/run" && "$prefix/first_program" "$port" > first_program.log)
  grep -q "^board: 000001 " "$prefix/run/first_program.log"
  test "$(tail -n 1 "$prefix/run/first_program.log")" = "logged out"
fi

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
  "$program" --help | grep -q "^usage: $example"
  test "$("$program" --version)" = "$example $version"
  status=0
  "$program" --no-such-option 2> /dev/null || status=$?
  test "$status" -eq 2
done
echo "install check: find_package and pkg-config consumers, the guide's first program, quorex-dump and the installed examples built and ran"
