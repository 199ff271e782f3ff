#!/usr/bin/env bash
# Runs the X11 desktop tests on a private Xvfb display with openbox; stops
# both again whatever happens. Every wait is bounded.
set -euo pipefail
tests="$1"
shift
work="$(mktemp -d /tmp/vellumin-x11.XXXXXX)"
pids=()
cleanup() {
  local status=$?
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2>/dev/null || continue
    for _ in $(seq 50); do kill -0 "${pids[$i]}" 2>/dev/null || break; sleep 0.1; done
    kill -9 "${pids[$i]}" 2>/dev/null || true
  done
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

export HOME="$work"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.1
done
timeout 120 "$tests" "$@"
