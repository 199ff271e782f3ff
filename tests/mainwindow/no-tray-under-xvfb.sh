#!/usr/bin/env bash
# The real program on a desktop without a notification area (Xvfb and
# openbox, no panel): after its grace time the main window shows with the
# message that says what is missing. Then a panel with a notification area
# (tint2) starts: the icon appears in it, and the close box hides the window
# in the tray again. A clean profile: the tip of the day is closed first.
#   no-tray-under-xvfb.sh <kvlmn> <output folder for screenshots>
set -euo pipefail
KVLMN=$1
OUT=$2
source "$(dirname "${BASH_SOURCE[0]}")/../x11/xvfb.sh"
begin_run no-tray
fail() {
  echo "FAIL: $*" >&2
  import -window root "$OUT/no-tray-failure.png" 2>/dev/null || true
  exit 1
}
mkdir -p "$OUT"
mkdir -m 700 "$work/runtime" "$work/registry"
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config VELLUMIN_REGISTRY_DIR=$work/registry
export HOME=$work
unset QT_QPA_PLATFORM SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
start_xvfb "$work/xvfb.log" 1024x768x24 || fail "Xvfb did not start"
start_openbox "$work/openbox.log" || fail "openbox did not start"

"$KVLMN" >"$work/kvlmn.log" 2>&1 &
KV=$!
pids+=($KV)
close_tip_of_the_day || fail "no tip of the day to close on a clean profile, or it stayed open"

# The main window and the message: two windows named after the program.
named() { [ "$(xdotool search --onlyvisible --name '^Kestrelay Vellumin$' 2>/dev/null | wc -l)" -ge "$1" ]; }
wait_for 150 named 2 || fail "no main window and message without a notification area"
import -window root "$OUT/no-tray.png"
grep -q . <(xdotool search --onlyvisible --name '^Kestrelay Vellumin$' | while read -r id; do
  xprop -id "$id" _NET_WM_WINDOW_TYPE; done | grep DIALOG) || fail "the message is not a dialog"
# The message has the focus: Return confirms it; the main window stays.
MESSAGE=$(xdotool getactivewindow)
xdotool windowactivate --sync "$MESSAGE" key Return
wait_for 50 bash -c "! xdotool search --onlyvisible --name '^Kestrelay Vellumin$' | grep -qx $MESSAGE" \
  || fail "the message stayed open"
named 1 || fail "the main window went away with the message"
MAIN=$(xdotool search --onlyvisible --name '^Kestrelay Vellumin$' | head -n1)

# A panel with a notification area: the icon docks in it.
tint2 >"$work/tint2.log" 2>&1 &
pids+=($!)
wait_for 100 tray_icon || fail "no tray icon once the panel is there"
sleep 1.5  # the watch notices the area (once a second)
xdotool windowactivate --sync "$MAIN" key alt+F4
wait_for 50 bash -c "! xdotool search --onlyvisible --name '^Kestrelay Vellumin$' | grep -q ." \
  || fail "the close box did not hide the window in the tray"
kill -0 "$KV" || fail "the program ended instead of hiding in the tray"
import -window root "$OUT/tray-again.png"
echo "no tray under Xvfb: ok"
