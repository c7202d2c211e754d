#!/usr/bin/env bash
# The main job: builds everything, starts exchange-sim with the demo trading day and its market
# bot on a free loopback port, runs the trader example against it (log in, reference data,
# capital, quotations, one buy order answered and matched), and stops the simulator again.
# The example runs in a scratch directory, so the library's per-user files of one run never meet
# another run's simulator.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

root=$(pwd)
work=$(mktemp -d)
simulator=""
cleanup() {
  if [ -n "$simulator" ]; then
    kill "$simulator" 2>/dev/null || true
    wait "$simulator" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

build/sim/exchange-sim --port 0 --bot > "$work/exchange-sim.log" 2>&1 &
simulator=$!
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/exchange-sim.log")
  [ -n "$port" ] && break
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "exchange-sim did not start:" >&2
  cat "$work/exchange-sim.log" >&2
  exit 1
fi
head -n 1 "$work/exchange-sim.log"

cd "$work"
"$root/build/examples/trader_console" --port "$port" --trader 00010001 --member 0001 --password trader1 \
  --buy 000001 3500 2 --seconds 3
