# shellcheck shell=bash
# Sourced by the tools' scripts (not a program of its own): starts exchange-sim on a free loopback
# port and stops it again.
#   start_simulator PROGRAM LOG [ARGUMENT ...]  starts PROGRAM --port 0 ARGUMENT..., its output in
#                                               LOG; sets $simulator (its pid) and $port, or says
#                                               why it did not start and returns 1
#   stop_simulator                              stops it, if it runs; for the script's EXIT trap
simulator=""
port=""

start_simulator() {
  local program=$1 log=$2
  shift 2
  "$program" --port 0 "$@" > "$log" 2>&1 &
  simulator=$!
  for _ in $(seq 100); do
    port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$log")
    [ -n "$port" ] && return 0
    sleep 0.1
  done
  echo "exchange-sim did not start:" >&2
  cat "$log" >&2
  return 1
}

stop_simulator() {
  if [ -n "$simulator" ]; then
    kill "$simulator" 2>/dev/null || true
    wait "$simulator" 2>/dev/null || true
    simulator=""
  fi
}
