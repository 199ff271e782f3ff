#!/usr/bin/env bash
# The program on a StatusNotifierItem desktop: Xvfb and openbox without an
# XEmbed panel, a private session bus with a watcher and host of our own
# (sni_host) standing in for the panel. The host reads the tray menu over the
# D-Bus menu protocol, lazily filled sub-menus included, and clicks entries as
# a panel does; the sample item's text arrives in featherpad and, through a
# Shift+Insert pasting rule, in xterm. Activate opens the main window, which
# is never a paste target; Exit ends the program.
#   sni-tray-under-xvfb.sh <kvlmn> <sni_host> <make_profile> <output folder>
set -euo pipefail
KVLMN=$1
SNI=$2
PROFILE=$3
OUT=$4
source "$(dirname "${BASH_SOURCE[0]}")/../x11/xvfb.sh"
begin_run sni
fail() {
  echo "FAIL: $*" >&2
  import -window root "$OUT/sni-failure.png" 2>/dev/null || true
  exit 1
}
mkdir -p "$OUT"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config VELLUMIN_REGISTRY_DIR=$work/registry
export HOME=$work LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
"$PROFILE" "$work/registry" 0 --xterm-rule >/dev/null || fail "no profile"
start_xvfb "$work/xvfb.log" 1024x768x24 || fail "Xvfb did not start"
start_openbox "$work/openbox.log" || fail "openbox did not start"

# A session bus of this run's own, and the watcher on it before the program
# starts: Qt looks for a StatusNotifierItem host once, when it starts.
dbus-daemon --session --nofork --nopidfile --print-address=1 >"$work/bus.address" \
  2>"$work/dbus.log" &
pids+=($!)
wait_for 50 test -s "$work/bus.address" || fail "no session bus"
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus.address")
export DBUS_SESSION_BUS_ADDRESS
"$SNI" watch "$work/items" >"$work/watcher.log" 2>&1 &
pids+=($!)
wait_for 50 grep -q watching "$work/watcher.log" || fail "the watcher did not start"

# The targets: an editor with a file of its own, and xterm writing what it
# receives, byte for byte, to a file.
EDITED=$work/edited.txt
TYPED=$work/typed.txt
: >"$EDITED"
featherpad --standalone "$EDITED" >"$work/editor.log" 2>&1 &
pids+=($!)
xterm -T SniTerminal -e sh -c "stty raw -echo; exec cat >'$TYPED'" >"$work/xterm.log" 2>&1 &
pids+=($!)
wait_for 150 xdotool search --onlyvisible --class featherpad || fail "the editor did not start"
wait_for 150 xdotool search --onlyvisible --name '^SniTerminal$' || fail "xterm did not start"
EDITOR_WIN=$(xdotool search --onlyvisible --class featherpad | head -n1)
TERM_WIN=$(xdotool search --onlyvisible --name '^SniTerminal$' | head -n1)

"$KVLMN" >"$work/kvlmn.log" 2>&1 &
KV=$!
pids+=($KV)
wait_for 150 test -s "$work/items" || fail "the program registered no StatusNotifierItem"
read -r SERVICE _ <"$work/items"
"$SNI" title "$SERVICE" >"$work/title.txt" || fail "the item does not answer"
grep -qxF $'Title\tKestrelay Vellumin' "$work/title.txt" || fail "item title: $(cat "$work/title.txt")"

# Brings window $1 to the front and waits until the tracker (four times a
# second) has taken it, then prints the whole menu as the host reads it.
menu_with_front() {
  xdotool windowactivate --sync "$1"
  sleep 1
  "$SNI" menu "$SERVICE"
}
SIGNATURE='John Doe - john.doe@example.com - http://www.example.com/'

# 1. The menu over D-Bus: the fixed entries, the sample folders and, once
# the host opened it, the lazily filled sub-menu; all enabled with a target.
MENU=$(menu_with_front "$EDITOR_WIN") || fail "the host could not read the menu"
echo "$MENU" >"$OUT/sni-menu.txt"
for entry in 'Open Vellumin' 'Exit' 'E-mail signatures' 'Login' 'Passwords'; do
  grep -qP "^\Q$entry\E\tenabled\t" <<<"$MENU" || fail "no enabled entry '$entry' in: $MENU"
done
ITEM=$(grep -P '^E-mail signatures/[^/\t]+\tenabled\t' <<<"$MENU" | head -n1 | cut -f1) \
  || fail "the sub-menu was not filled when the host opened it: $MENU"
[ "$(grep -c '^Passwords/' <<<"$MENU")" -eq 2 ] || fail "the Passwords sub-menu: $MENU"

# 2. A click over D-Bus pastes into the editor, which stayed in front.
"$SNI" click "$SERVICE" "$ITEM" || fail "the click on '$ITEM' was refused"
sleep 1.5
xdotool windowactivate --sync "$EDITOR_WIN" key ctrl+s
wait_for 50 grep -qxF "$SIGNATURE" "$EDITED" || fail "the editor got '$(cat "$EDITED")'"

# 3. The same entry with xterm in front: its rule's Shift+Insert pastes there.
menu_with_front "$TERM_WIN" >/dev/null || fail "the host could not read the menu again"
"$SNI" click "$SERVICE" "$ITEM" || fail "the second click was refused"
wait_for 50 bash -c "[ \"\$(cat '$TYPED')\" = '$SIGNATURE' ]" \
  || fail "xterm got '$(cat "$TYPED")'"
[ "$(grep -cF "$SIGNATURE" "$EDITED")" -eq 1 ] || fail "the editor got the second paste too"

# 4. Activate (a panel's left click) opens the main window. In front, it is
# no target: the host finds the library entries disabled.
"$SNI" activate "$SERVICE" || fail "Activate was refused"
wait_for 50 xdotool search --onlyvisible --name '^Kestrelay Vellumin$' || fail "Activate did not open the main window"
MAIN=$(xdotool search --onlyvisible --name '^Kestrelay Vellumin$' | head -n1)
MENU=$(menu_with_front "$MAIN") || fail "the host could not read the menu over the main window"
for entry in 'E-mail signatures' 'Login' 'Passwords'; do
  grep -qP "^\Q$entry\E\tdisabled\t" <<<"$MENU" || fail "'$entry' enabled over the main window: $MENU"
done
grep -qP "^Open Vellumin\tenabled\t" <<<"$MENU" || fail "Open Vellumin disabled: $MENU"
import -window root "$OUT/sni-main-window.png"
if "$SNI" click "$SERVICE" "$ITEM" 2>/dev/null; then fail "a disabled entry took a click"; fi

# 5. Exit from the menu ends the program in order.
"$SNI" click "$SERVICE" "Exit" || fail "Exit was refused"
wait_for 100 bash -c "! kill -0 $KV 2>/dev/null" || fail "Exit did not end the program"
wait "$KV" || fail "the program ended with an error"
echo "StatusNotifierItem tray under Xvfb: ok"
