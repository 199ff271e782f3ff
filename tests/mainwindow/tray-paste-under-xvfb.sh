#!/usr/bin/env bash
# The program on a real desktop: Xvfb, openbox, the tint2 panel with its
# notification area, and a real editor as the paste target. On a clean
# profile: the editor is in front, the tray menu opens on a right click of the
# real tray icon, a click on a sample item types its text into the editor.
# The icon survives a restart of the panel. Then the main window opens from
# the tray; with Always On Top it is never the target, and a paste still goes
# to the editor. Exit in the tray menu ends the program with the sample
# library stored, unchanged.
#   tray-paste-under-xvfb.sh <kvlmn> <regdump> <output folder for screenshots>
set -euo pipefail
KVLMN=$1
REGDUMP=$2
OUT=$3
WORK=$(mktemp -d)
PIDS=()
cleanup() {
  for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill "${PIDS[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$OUT/failure.png" 2>/dev/null || true
  for log in "$WORK"/*.log; do echo "--- $log" >&2; tail -n 20 "$log" >&2; done
  exit 1
}


mkdir -p "$OUT"
rm -f "$OUT"/*.png
mkdir -m 700 "$WORK/runtime" "$WORK/registry" "$WORK/config"
export XDG_RUNTIME_DIR=$WORK/runtime XDG_CONFIG_HOME=$WORK/config VELLUMIN_REGISTRY_DIR=$WORK/registry
export HOME=$WORK
unset QT_QPA_PLATFORM SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
source "$(dirname "${BASH_SOURCE[0]}")/../x11/xvfb.sh"
start_xvfb "$WORK/xvfb.log" 1024x768x24 || fail "Xvfb did not start"
PIDS+=("$XVFB_PID")
openbox >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)
wait_for 100 xdotool search --class openbox || true
tint2 >"$WORK/tint2.log" 2>&1 &
TINT2=$!
PIDS+=($TINT2)
wait_for 100 xdotool search --class tint2 || fail "tint2 did not start"
sleep 1  # the panel takes the notification-area selection

# The target editor, with an empty file of its own.
TARGET=$WORK/target.txt
: >"$TARGET"
featherpad --standalone "$TARGET" >"$WORK/editor.log" 2>&1 &
PIDS+=($!)
wait_for 150 xdotool search --onlyvisible --class featherpad || fail "the editor did not start"
EDITOR_WIN=$(xdotool search --onlyvisible --class featherpad | head -n1)

HIVE=$WORK/registry/HKCU.hive
"$KVLMN" >"$WORK/kvlmn.log" 2>&1 &
KV=$!
PIDS+=($KV)
# A clean profile shows the tip of the day at start; close it.
close_tip_of_the_day || fail "no tip of the day to close on a clean profile, or it stayed open"

wait_for 100 tray_icon || fail "no tray icon in the panel"
read -r ICON IX IY < <(tray_icon)

# The open popup menus of the program, newest last: "id x y w h" per line.
menus() {
  local id
  for id in $(xdotool search --onlyvisible --classname kvlmn 2>/dev/null); do
    [ "$id" = "$ICON" ] && continue
    xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
    eval "$(xdotool getwindowgeometry --shell "$id")"
    echo "$id $X $Y $WIDTH $HEIGHT"
  done
}
# Waits up to $1 tenths of a second for at least $2 open menus.
wait_for_menus() {
  for ((i = 0; i < $1; i++)); do
    [ "$(menus | wc -l)" -ge "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
open_tray_menu() {
  xdotool mousemove "$IX" "$IY" click 3
  wait_for_menus 50 1
}

# Brings the editor to the front, opens the tray menu and the first entry's
# sub-menu (the first sample folder opens on hover), takes the screenshot
# $1 when one is named, clicks the sub-menu's first item and waits until the
# editor holds the item's text $2 times.
EXPECTED='John Doe - john.doe@example.com - http://www.example.com/'
paste_first_item_into_editor() {
  local shot=$1 times=$2
  xdotool windowactivate --sync "$EDITOR_WIN"
  sleep 1  # the tracker (four times a second) remembers the editor
  open_tray_menu || fail "the tray menu did not open"
  read -r MENU MX MY MW MH < <(menus | head -n1)
  xdotool mousemove $((MX + MW / 2)) $((MY + 12))
  wait_for_menus 50 2 || fail "no sub-menu"
  sleep 0.3
  [ -n "$shot" ] && import -window root "$OUT/$shot"
  read -r SUB SX SY SW SH < <(menus | grep -v "^$MENU ")
  xdotool mousemove $((SX + SW / 2)) $((SY + 12)) sleep 0.3 click 1
  sleep 1.5
  xdotool windowactivate --sync "$EDITOR_WIN" key ctrl+s
  wait_for 50 bash -c "[ \$(grep -oF '$EXPECTED' '$TARGET' | wc -l) -eq $times ]" \
    || fail "the item's text did not arrive in the editor (paste $times): '$(cat "$TARGET")'"
}

# 1. The editor in front, then the tray menu: an item's text goes into the editor.
paste_first_item_into_editor tray-menu.png 1

# The panel goes away and comes back: so does the icon.
kill "$TINT2"
wait_for 50 bash -c "! kill -0 $TINT2 2>/dev/null" || fail "tint2 did not end"
tint2 >"$WORK/tint2-again.log" 2>&1 &
TINT2=$!
PIDS+=($TINT2)
sleep 1
wait_for 100 tray_icon || fail "the tray icon did not come back with the panel"
read -r ICON IX IY < <(tray_icon)

# 2. The main window from the tray (double click), then Exit from the tray menu.
xdotool mousemove "$IX" "$IY" click --repeat 2 --delay 80 1
wait_for 50 xdotool search --onlyvisible --name '^Kestrelay Vellumin$' || fail "the main window did not open"
MAIN=$(xdotool search --onlyvisible --name '^Kestrelay Vellumin$' | head -n1)
sleep 0.5
import -window root "$OUT/main-window.png"
# 3. Always On Top (new window flags give the main window a new native
# window): the main window in front is still never the target. A node waits
# on the node clipboard, so a paste typed into the main window would copy it.
xdotool windowactivate --sync "$MAIN" key alt+v
sleep 0.3
xdotool key a
sleep 1
MAIN=$(xdotool search --onlyvisible --name '^Kestrelay Vellumin$' | head -n1)
[ -n "$MAIN" ] || fail "the main window went away with Always On Top"
xdotool windowactivate --sync "$MAIN"
eval "$(xdotool getwindowgeometry --shell "$MAIN")"
xdotool mousemove $((X + 100)) $((Y + 200)) click 1 sleep 0.2 key Home Down Down ctrl+c
sleep 1  # the tracker sees the main window in front
import -window root "$OUT/always-on-top.png"
open_tray_menu || fail "the tray menu did not open over the main window"
read -r MENU MX MY MW MH < <(menus | head -n1)
xdotool mousemove $((MX + MW / 2)) $((MY + 12))
if wait_for_menus 10 2; then  # entries enabled: the click would paste into the main window
  read -r SUB SX SY SW SH < <(menus | grep -v "^$MENU ")
  xdotool mousemove $((SX + SW / 2)) $((SY + 12)) sleep 0.3 click 1
  sleep 1.5
  fail "the tray menu offered to paste while the main window was in front"
fi
xdotool key Escape
wait_for 30 bash -c "[ -z \"\$(xwininfo -id $MENU 2>/dev/null | grep IsViewable)\" ]" || true
# The editor in front again, the main window still on top: the paste goes to the editor.
paste_first_item_into_editor "" 2

open_tray_menu || fail "the tray menu did not open again"
read -r MENU MX MY MW MH < <(menus | head -n1)
xdotool mousemove $((MX + MW / 2)) $((MY + MH - 12)) sleep 0.3 click 1  # the last entry: Exit
wait_for 100 bash -c "! kill -0 $KV 2>/dev/null" || fail "Exit did not end the program"
wait "$KV" || fail "the program ended with an error"

DUMP=$("$REGDUMP" "$HIVE")
for line in 'Name=sz:E-mail signatures' 'Name=sz:Login' 'Name=sz:Passwords' "Value=sz:$EXPECTED"; do
  grep -qxF "$line" <<<"$DUMP" || fail "stored library lacks '$line'"
done
[ "$(grep -c '^\[.*\\i_[0-9]*\]$' <<<"$DUMP")" -eq 5 ] || fail "expected five stored items"
echo "tray paste under Xvfb: ok"
