#!/usr/bin/env bash
# The main job: builds everything, starts exchange-sim with the demo trading day and its market
# bot on a free loopback port, lets the trader example place two orders for the demo trader
# 00010001 (one matched against the bot, one left resting), and then starts the desktop client
# KvtTrade as that trader. KvtTrade logs in by itself through its login dialog (the remembered
# password and auto-login of its settings file, written here) and downloads the day.
# With a display the trader gets the live window, and the script waits until it is closed.
# Without one (no DISPLAY) KvtTrade runs under Xvfb, saves pictures of the window once the capital
# and the quotations are shown (their paths are printed), and closes itself as a user would (the
# close logs out). The simulator is stopped at the end; nothing is left running. The last line
# says that the demo finished and where the pictures are.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  cat <<'EOF'
usage: tools/run-demo.sh
       tools/run-demo.sh --help
Builds everything, starts exchange-sim with its demo day and market bot, places two orders for
the demo trader 00010001 with trader_console, and starts KvtTrade logged in as that trader (under
Xvfb, with pictures in build/demo/, when there is no DISPLAY). The last line says that the demo
finished and where the pictures are.
EOF
}
case "${1:-}" in
  "") ;;
  --help | -h) usage; exit 0 ;;
  -*) echo "run-demo.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
  *) echo "run-demo.sh: takes no arguments, not $1" >&2; usage >&2; exit 2 ;;
esac
tools/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

root=$(pwd)
work=$(mktemp -d)
source tools/lib/simulator.sh
trap 'stop_simulator; rm -rf "$work"' EXIT

start_simulator build/sim/exchange-sim "$work/exchange-sim.log" --bot --data-dir "$work/exchange-day"
head -n 1 "$work/exchange-sim.log"

# The day's first orders of the demo trader (the example's default user), through the library's
# example. What it prints stays in its log; it says on standard error why, should it fail (exit 1).
mkdir "$work/console"
(cd "$work/console" &&
  "$root/build/examples/trader_console" --port "$port" --buy 000001 3510 2 --seconds 2 > console-1.log &&
  "$root/build/examples/trader_console" --port "$port" --buy 000002 3600 3 --seconds 2 > console-2.log)
echo "trader_console placed two orders for 00010001"

# KvtTrade's settings file (56 bytes): trader code, the password with every byte complemented,
# server 0, "记住密码" and "自动登陆" ticked; the dialog then logs in by itself after two seconds.
mkdir "$work/desktop"
# Bytes 0-7 the code, 8 zero, 9-15 "trader1" complemented, 16-43 zero (the rest of the password
# field, its terminator, reserved), 44-47 server index 0, 48-51 and 52-55 the two flags (1).
{
  printf '00010001\0\x8b\x8d\x9e\x9b\x9a\x8d\xce'
  head -c 28 /dev/zero
  printf '\0\0\0\0\x01\0\0\0\x01\0\0\0'
} > "$work/desktop/kvtsys.data"
test "$(wc -c < "$work/desktop/kvtsys.data")" -eq 56

client=("$root/build/client/KvtTrade" --server "1=127.0.0.1:$port")
if [ -n "${DISPLAY:-}" ]; then
  echo "KvtTrade is logging in as 00010001; close its window to end the demo"
  (cd "$work/desktop" && "${client[@]}")
  echo "demo finished (with a display no pictures are taken; without one they go to build/demo/)"
else
  shots="$root/build/demo"
  mkdir -p "$shots"
  rm -f "$shots"/kvttrade-*.png
  # A session under Xvfb has no runtime directory of its own; without one the toolkit warns.
  export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work/runtime}"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  (cd "$work/desktop" &&
    timeout 120 xvfb-run -a -s "-screen 0 1366x768x24" "${client[@]}" --snapshot "$shots/kvttrade")
  ls "$shots"/kvttrade-*.png > /dev/null  # fails when KvtTrade saved none
  pictures=$(cd "$shots" && printf "%s " kvttrade-*.png)
  echo "demo finished; the pictures of KvtTrade's window are in build/demo/: ${pictures% }"
fi
