#!/usr/bin/env bash
# The Windows program as a Windows user meets it, under Wine (WINEPREFIX and
# DISPLAY set by scripts/windows-test): openbox and tint2 on the display,
# Wine docking the program's tray icon in tint2. On a clean profile the
# splash and the tip of the day show; a real right-click on the icon opens
# the tray menu, and a click on an item pastes it into Wine's Notepad and
# into a paste target with a Unicode edit control, read back through their
# window texts. The main window opens from the tray, and Preferences switch
# start with the system on and off (the Run value "VLMN"). Exit stores the library in the Wine registry (read back);
# an item stored there with umlauts, Cyrillic, CJK and an emoji arrives in
# the Unicode target exactly; a second start shows the single-instance
# message and ends.
#   tray-paste-under-wine.sh <kvlmn.exe> <paste_target.exe> <wintext.exe> <screenshot folder>
set -euo pipefail
KVLMN=$1
TARGET=$2
WINTEXT=$3
OUT=$4
mkdir -p "$OUT"
work=$(mktemp -d "${TMPDIR:-/tmp}/vellumin-wine-tray-XXXXXX")
pids=()
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  { wait; } 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL (Wine tray): $*" >&2
  import -window root "$OUT/wine-failure.png" 2>/dev/null || true
  exit 1
}
source "$(dirname "${BASH_SOURCE[0]}")/../x11/xvfb.sh"  # wait_for
window_text() { wine "$WINTEXT" "$1" 2>/dev/null; }
has_text() { [ "$(window_text "$1")" = "$2" ]; }

LIBRARY='HKCU\Software\Kestrelay\Kestrelay Ardentry\Vellumin'
wineserver -k >/dev/null 2>&1 || true
wine reg delete 'HKCU\Software\Kestrelay' /f >/dev/null 2>&1 || true

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 100 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" || fail "openbox did not start"
tint2 >"$work/tint2.log" 2>&1 &
pids+=($!)
wait_for 100 xdotool search --class tint2 || fail "tint2 did not start"
sleep 1

wine notepad >/dev/null 2>&1 &
wine "$TARGET" >/dev/null 2>&1 &
wait_for 300 xdotool search --onlyvisible --name '^Untitled - Notepad$' || fail "Notepad did not start"
wait_for 300 xdotool search --onlyvisible --name '^Vellumin Paste Target$' || fail "the paste target did not start"

# The icon Wine docks in the panel: a window of an icon's size.
icon() {
  local id
  for id in $(xdotool search --onlyvisible --class explorer.exe 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if [ "$WIDTH" -le 48 ] && [ "$HEIGHT" -le 48 ] && [ "$Y" -ge 700 ]; then
      echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
      return 0
    fi
  done
  return 1
}
# The program's visible popup windows, "x y w h" a line, the tray menu first.
popups() {
  local id
  for id in $(xdotool search --onlyvisible --class kvlmn.exe 2>/dev/null); do
    xwininfo -id "$id" | grep -q 'Override Redirect State: yes' || continue
    eval "$(xdotool getwindowgeometry --shell "$id")"
    echo "$X $Y $WIDTH $HEIGHT"
  done | sort -k1,1nr
}
start_program() {
  wine "$KVLMN" >"$work/kvlmn.log" 2>&1 &
  PROGRAM=$!
  pids+=($PROGRAM)
}

# 1. A first start: the splash, then the tip of the day; the icon in the panel.
start_program
wait_for 100 xdotool search --onlyvisible --name '^Kestrelay Vellumin$' || fail "no splash"
import -window root "$OUT/wine-splash.png"
wait_for 300 xdotool search --onlyvisible --name '^Tip Of The Day' || fail "no tip of the day"
sleep 0.5
import -window root "$OUT/wine-tip.png"
xdotool search --onlyvisible --name '^Tip Of The Day' | head -n1 | xargs -I{} xdotool windowactivate --sync {} key Escape
wait_for 100 icon || fail "no tray icon in the panel"
read -r IX IY < <(icon)

# Brings window $1 to the front, opens the tray menu, opens the sub-menu of
# its first entry and clicks entry $2 (1 or 2) of that sub-menu.
paste_from_tray() {
  local front=$1 entry=$2 id
  id=$(xdotool search --onlyvisible --name "^$front\$" | head -n1)
  xdotool windowactivate --sync "$id"
  sleep 1  # the tracker (four times a second) remembers it
  xdotool mousemove "$IX" "$IY" click 3
  wait_for 50 bash -c "[ \$(xdotool search --onlyvisible --class kvlmn.exe | wc -l) -ge 1 ]" \
    || fail "the tray menu did not open"
  sleep 0.3
  read -r MX MY MW MH < <(popups | head -n1)
  xdotool mousemove $((MX + MW / 2)) $((MY + 12)) sleep 0.3 mousemove $((MX + MW / 2 + 5)) $((MY + 13))
  wait_for 50 bash -c "[ \$(xdotool search --onlyvisible --class kvlmn.exe | wc -l) -ge 2 ]" \
    || fail "no sub-menu"
  sleep 0.3
  [ "$entry" -eq 1 ] && import -window root "$OUT/wine-tray-menu.png"
  read -r SX SY SW SH < <(popups | tail -n1)
  xdotool mousemove $((SX + SW / 2)) $((SY + 12 + (entry - 1) * 22)) sleep 0.3 click 1
}

SIGNATURE='John Doe - john.doe@example.com - http://www.example.com/'
paste_from_tray 'Untitled - Notepad' 1
wait_for 50 has_text 'Untitled - Notepad' "$SIGNATURE" \
  || fail "Notepad got '$(window_text 'Untitled - Notepad')'"
paste_from_tray 'Vellumin Paste Target' 1
wait_for 50 has_text 'Vellumin Paste Target' "$SIGNATURE" \
  || fail "the paste target got '$(window_text 'Vellumin Paste Target')'"

# 2. The main window from the tray (double click), and Preferences > Auto
# start at system startup, on and off: the Run value "VLMN" comes and goes.
# The program's visible framed window named after it (the main window, or
# the single-instance message), not a menu.
main_window() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Kestrelay Vellumin$' 2>/dev/null); do
    xwininfo -id "$id" | grep -q 'Override Redirect State: no' && { echo "$id"; return 0; }
  done
  return 1
}
RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
xdotool mousemove "$IX" "$IY" click --repeat 2 --delay 80 1
wait_for 50 main_window || fail "the main window did not open from the tray"
sleep 0.5
import -window root "$OUT/wine-main-window.png"
toggle_auto_start() {
  xdotool windowactivate --sync "$(main_window)" key alt+f sleep 0.3 key p
  wait_for 50 xdotool search --onlyvisible --name '^Preferences' || fail "Preferences did not open"
  sleep 0.5
  [ -n "${1:-}" ] && import -window root "$OUT/$1"
  xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Preferences' | head -n1)" \
    key alt+u sleep 0.2 key Return
  wait_for 50 bash -c "! xdotool search --onlyvisible --name '^Preferences'" || fail "Preferences stayed open"
}
toggle_auto_start wine-preferences.png
run=$(wine reg query "$RUN" /v VLMN 2>/dev/null | tr -d '\r') || fail "no Run value VLMN after switching auto start on"
grep -qi 'kvlmn.exe' <<<"$run" || fail "the Run value names no kvlmn.exe: $run"
toggle_auto_start
if wine reg query "$RUN" /v VLMN >/dev/null 2>&1; then fail "the Run value VLMN stayed after switching auto start off"; fi
xdotool windowactivate --sync "$(main_window)" key alt+F4  # back to the tray
wait_for 50 bash -c "! xdotool search --onlyvisible --name '^Kestrelay Vellumin$' | grep -q ." \
  || fail "the close box did not hide the main window"

# 3. A second start is told that the program runs, and ends.
wine "$KVLMN" >"$work/second.log" 2>&1 &
SECOND=$!
wait_for 150 main_window || fail "no single-instance message"
import -window root "$OUT/wine-second-instance.png"
xdotool windowactivate --sync "$(main_window)" key Return
wait_for 100 bash -c "! kill -0 $SECOND 2>/dev/null" || fail "the second instance did not end"

# 4. Exit from the tray menu stores the library in the Wine registry.
xdotool mousemove "$IX" "$IY" click 3
wait_for 50 bash -c "[ \$(xdotool search --onlyvisible --class kvlmn.exe | wc -l) -ge 1 ]" || fail "no tray menu for Exit"
sleep 0.3
read -r MX MY MW MH < <(popups | head -n1)
xdotool mousemove $((MX + MW / 2)) $((MY + MH - 10)) sleep 0.3 click 1
wait_for 100 bash -c "! kill -0 $PROGRAM 2>/dev/null" || fail "Exit did not end the program"
stored=$(wine reg query "$LIBRARY\\Folders\\f_0\\i_0" /v Value 2>/dev/null | tr -d '\r')
grep -qF "$SIGNATURE" <<<"$stored" || fail "the library was not stored: $stored"

# 5. An item with text beyond Latin-1 arrives exactly in the Unicode target.
UNICODE='Grüße – Привет – 你好 – 🎉'
printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s\\Folders\\f_0\\i_1]\r\n"Name"="Grüße"\r\n"Value"="%s"\r\n"Kind"=dword:00000001\r\n' \
  "HKEY_CURRENT_USER${LIBRARY#HKCU}" "$UNICODE" | iconv -f UTF-8 -t UTF-16 >"$work/item.reg"
wine regedit /S "$(winepath -w "$work/item.reg")" || fail "could not store the Unicode item"
wine reg add "$LIBRARY\\Options" /v ShowTips /t REG_DWORD /d 0 /f >/dev/null 2>&1
start_program
wait_for 150 icon || fail "no tray icon after the restart"
read -r IX IY < <(icon)
sleep 1
# A fresh, empty target.
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Vellumin Paste Target$' | head -n1)" key alt+F4
wait_for 50 bash -c "! xdotool search --onlyvisible --name '^Vellumin Paste Target$'" || fail "the target stayed"
wine "$TARGET" >/dev/null 2>&1 &
wait_for 300 xdotool search --onlyvisible --name '^Vellumin Paste Target$' || fail "the paste target did not start again"
paste_from_tray 'Vellumin Paste Target' 2
wait_for 50 has_text 'Vellumin Paste Target' "$UNICODE" \
  || fail "the Unicode item arrived as '$(window_text 'Vellumin Paste Target')'"
import -window root "$OUT/wine-unicode-paste.png"
echo "Wine tray paste: ok"
