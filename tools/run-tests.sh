#!/usr/bin/env bash
# Builds everything and runs all tests. QUOREX_WERROR=ON turns warnings into errors (CI sets it).
# QUOREX_BUILD_DIR and QUOREX_SANITIZE select another build directory and sanitizers,
# QUOREX_CMAKE_ARGS adds configuration options; extra arguments are passed to ctest (for example
# -L kernel).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--help" ] || [ "${1:-}" = "-h" ]; then
  cat <<'EOF'
usage: tools/run-tests.sh [CTEST_ARGUMENT ...]
       tools/run-tests.sh --help
Installs what is missing, configures and builds, and runs the tests with ctest, passing it the
arguments given (for example -L kernel). Environment: QUOREX_WERROR=ON (warnings are errors),
QUOREX_BUILD_DIR (default build), QUOREX_SANITIZE (e.g. address,undefined or thread),
QUOREX_CMAKE_ARGS (more configuration options).
EOF
  exit 0
fi
tools/install-deps.sh

build_dir=${QUOREX_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQUOREX_WERROR="${QUOREX_WERROR:-OFF}" -DQUOREX_SANITIZE="${QUOREX_SANITIZE:-}" ${QUOREX_CMAKE_ARGS:-}
cmake --build "$build_dir" -j "$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" "$@"
