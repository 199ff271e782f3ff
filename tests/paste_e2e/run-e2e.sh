#!/usr/bin/env bash
# Starts a private X display with a window manager (openbox), a tray host
# (tint2), a text editor (featherpad) and a terminal (xterm), runs the paste
# harness against them and stops everything again, also on failure. Every
# wait is bounded.
set -euo pipefail
harness="$1"

for tool in Xvfb openbox tint2 featherpad xterm xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/debian-packages.txt)"; exit 1; }
done

source "$(dirname "${BASH_SOURCE[0]}")/../x11/xvfb.sh"
begin_run paste-e2e

# Wait up to $1 tenths of a second for a command to succeed.
wait_for() {
  local tenths="$1"; shift
  for _ in $(seq "$tenths"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/home/.config"
unset DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER QT_QPA_PLATFORM

start_xvfb "$work/xvfb.log" || { echo "Xvfb did not start"; exit 1; }
start_openbox "$work/openbox.log" || { echo "openbox did not start"; exit 1; }
tint2 >"$work/tint2.log" 2>&1 &
pids+=($!)

: >"$work/editor.txt"
featherpad "$work/editor.txt" >"$work/featherpad.log" 2>&1 &
pids+=($!)
LC_ALL=C.UTF-8 xterm -T PasteTerminal -e sh -c "stty raw -echo; exec cat >'$work/terminal.txt'" \
  >"$work/xterm.log" 2>&1 &
pids+=($!)

editor="$(timeout 30 xdotool search --sync --onlyvisible --class featherpad | head -n 1)" || true
terminal="$(timeout 30 xdotool search --sync --name '^PasteTerminal$' | head -n 1)" || true
[ -n "$editor" ] && [ -n "$terminal" ] || { echo "target windows did not appear"; exit 1; }
wait_for 100 test -e "$work/terminal.txt" || { echo "terminal did not start"; exit 1; }

QT_QPA_PLATFORM=xcb timeout 180 "$harness" "$editor" "$work/editor.txt" "$terminal" \
  "$work/terminal.txt" 2>"$work/harness.log"
