#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, address and undefined-behaviour sanitizers, and runs
# each for the given number of seconds (default 60) from its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  cat <<'EOF'
usage: tools/run-fuzz.sh [SECONDS]
       tools/run-fuzz.sh --help
Builds the fuzz targets in build-fuzz (clang, address and undefined-behaviour sanitizers) and runs
each for SECONDS (default 60) from its seed corpus; fails when a target finds a crash.
EOF
}
case "${1:-}" in
  --help | -h) usage; exit 0 ;;
  -*) echo "run-fuzz.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
esac
[ $# -le 1 ] || { echo "run-fuzz.sh: one number of seconds at most" >&2; usage >&2; exit 2; }
seconds=${1:-60}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "run-fuzz.sh: SECONDS: $seconds is not a number of seconds 1 or more" >&2
  exit 2
fi
tools/install-deps.sh

build_dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQUOREX_FUZZ=ON -DQUOREX_SANITIZE=address,undefined -DQUOREX_TESTS=OFF -DQUOREX_BENCH=OFF \
      -DQUOREX_EXAMPLES=OFF -DQUOREX_SIM=OFF -DQUOREX_DESKTOP=OFF -DQUOREX_WERROR="${QUOREX_WERROR:-OFF}"
cmake --build "$build_dir" -j "$(nproc)"
for target in fuzz/*.cpp; do
  name=$(basename "$target" .cpp)
  corpus="$build_dir/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  echo "== $name for ${seconds}s"
  status=0
  "$build_dir/fuzz/$name" -max_total_time="$seconds" -print_final_stats=1 "$corpus" "${seeds[@]}" \
    > "$build_dir/$name.log" 2>&1 || status=$?
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==|SUMMARY|Done)" "$build_dir/$name.log" || true
  if [ "$status" -ne 0 ]; then
    echo "$name failed (exit $status); its inputs that crashed are crash-* in $(pwd):" >&2
    tail -n 40 "$build_dir/$name.log" >&2
    exit 1
  fi
done
