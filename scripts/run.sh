#!/usr/bin/env bash
# Builds Quillon, starts the simulated radio on a pseudo-terminal and starts
# Quillon with port 1 on it. The simulator stops when Quillon ends.
#
# Arguments go to the simulator (see quillon-radio-sim --help), for example
#   scripts/run.sh --band 3 --memory my-radio.dat
# Without --memory the simulated radio keeps its memory in
# ${XDG_STATE_HOME:-~/.local/state}/quillon/simulated-radio.dat between runs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target quillon quillon-radio-sim

build=build/default
sim="$build/tools/quillon-radio-sim"
app="$build/src/app/Quillon"

args=("$@")
has_memory=no
for a in "${args[@]}"; do
  case "$a" in --memory|--memory=*) has_memory=yes ;; esac
done
if [ "$has_memory" = no ]; then
  state="${XDG_STATE_HOME:-$HOME/.local/state}/quillon"
  mkdir -p "$state"
  args+=(--memory "$state/simulated-radio.dat")
fi

log=$(mktemp -t quillon-sim.XXXXXX)
"$sim" "${args[@]}" >"$log" 2>&1 &
sim_pid=$!
cleanup() {
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  rm -f "$log"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The simulator names its device on its first line.
device=""
for _ in $(seq 100); do
  device=$(sed -n 's/^device: //p' "$log" | head -n 1)
  [ -n "$device" ] && break
  if ! kill -0 "$sim_pid" 2>/dev/null; then
    echo "The simulated radio did not start:" >&2
    cat "$log" >&2
    exit 1
  fi
  sleep 0.1
done
if [ -z "$device" ]; then
  echo "The simulated radio did not name its device:" >&2
  cat "$log" >&2
  exit 1
fi
echo "Simulated radio on $device: Quillon's port 1."

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: run this from a desktop session (or under xvfb-run)." >&2
fi
QUILLON_SERIAL_PORTS="$device" "$app"
