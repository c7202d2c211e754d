#!/usr/bin/env bash
# Builds everything and runs all tests. QUOREX_WERROR=ON turns warnings into errors (CI sets it).
# QUOREX_BUILD_DIR and QUOREX_SANITIZE select another build directory and sanitizers,
# QUOREX_CMAKE_ARGS adds configuration options; extra arguments are passed to ctest (for example
# -L kernel).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

build_dir=${QUOREX_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQUOREX_WERROR="${QUOREX_WERROR:-OFF}" -DQUOREX_SANITIZE="${QUOREX_SANITIZE:-}" ${QUOREX_CMAKE_ARGS:-}
cmake --build "$build_dir" -j "$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" "$@"
