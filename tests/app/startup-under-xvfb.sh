#!/usr/bin/env bash
# Starts the real program under Xvfb with a window manager on a clean profile:
# the first instance runs, a second one shows the single-instance message and
# ends, a third whose lock cannot be taken says so and ends, and SIGTERM ends
# the first in order, leaving the sample library stored.
#   startup-under-xvfb.sh <kvlmn> <regdump>
set -euo pipefail
KVLMN=$1
REGDUMP=$2
WORK=$(mktemp -d)
PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }


mkdir -m 700 "$WORK/runtime" "$WORK/registry"
export XDG_RUNTIME_DIR=$WORK/runtime XDG_CONFIG_HOME=$WORK/config VELLUMIN_REGISTRY_DIR=$WORK/registry
unset QT_QPA_PLATFORM
source "$(dirname "${BASH_SOURCE[0]}")/../x11/xvfb.sh"
start_xvfb "$WORK/xvfb.log" 1024x768x24 || fail "Xvfb did not start"
PIDS+=("$XVFB_PID")
openbox >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)
# A panel with a notification area: without one the program would show its
# main window after a few seconds, with a message titled like the boxes below.
tint2 >"$WORK/tint2.log" 2>&1 &
PIDS+=($!)

# Finds the visible message box titled with the program's name and confirms it.
# One search may fail while windows come and go (an X error on a window that
# vanished mid-search): searching again is the answer, within wait_for's bound.
find_box() {
  BOX=$(xdotool search --onlyvisible --name '^Kestrelay Vellumin$' 2>/dev/null | head -n1) || true
  [ -n "$BOX" ]
}
confirm_box() {
  wait_for 100 find_box || return 1
  xdotool windowactivate --sync "$BOX" key Return
}

HIVE=$WORK/registry/HKCU.hive
"$KVLMN" >"$WORK/first.log" 2>&1 &
FIRST=$!
PIDS+=($FIRST)
has_executed() { "$REGDUMP" "$HIVE" | grep -q '^Executed=dword:1$'; }
wait_for 150 has_executed || fail "the first start did not write Executed"
sleep 2.5  # the splash pause
kill -0 "$FIRST" || fail "the first instance ended by itself"
"$REGDUMP" "$HIVE" 'Software\Kestrelay\Kestrelay Ardentry\Vellumin\Folders' | grep -q '=' \
  && fail "the sample library was stored before any change or exit"

# A second instance tells the user and ends; the first goes on.
"$KVLMN" >"$WORK/second.log" 2>&1 &
SECOND=$!
PIDS+=($SECOND)
confirm_box || fail "no single-instance message"
wait_for 100 bash -c "! kill -0 $SECOND 2>/dev/null" || fail "the second instance did not end"
wait "$SECOND" || fail "the second instance ended with an error"
kill -0 "$FIRST" || fail "the first instance ended with the second"
grep -qF "You cannot create multiple instances of Kestrelay Vellumin." "$WORK/second.log" \
  || fail "the second instance did not give the single-instance message"

# A lock that cannot be taken (a folder stands at its place) refuses the start
# as well, with its own message, and the hive is left as it was.
mkdir -m 700 "$WORK/blocked" "$WORK/blocked/KVLMN.lock"
BEFORE=$("$REGDUMP" "$HIVE")
XDG_RUNTIME_DIR=$WORK/blocked "$KVLMN" >"$WORK/third.log" 2>&1 &
THIRD=$!
PIDS+=($THIRD)
confirm_box || fail "no message for a lock that cannot be taken"
wait_for 100 bash -c "! kill -0 $THIRD 2>/dev/null" || fail "the third instance did not end"
wait "$THIRD" || fail "the third instance ended with an error"
grep -qF "it could not take its single-instance lock" "$WORK/third.log" \
  || fail "the third instance did not say why it would not start: $(cat "$WORK/third.log")"
[ "$("$REGDUMP" "$HIVE")" = "$BEFORE" ] || fail "a refused start changed the hive"
kill -0 "$FIRST" || fail "the first instance ended with the third"

# SIGTERM ends the program as Exit does: the library is written.
kill -TERM "$FIRST"
wait_for 100 bash -c "! kill -0 $FIRST 2>/dev/null" || fail "SIGTERM did not end the program"
DUMP=$("$REGDUMP" "$HIVE")
for line in 'Name=sz:Root' 'Name=sz:E-mail signatures' 'Name=sz:Passwords' \
  'Value=sz:pqzrwtn_316' 'Value=sz:John Doe - john.doe@example.com - http://www.example.com/'; do
  grep -qxF "$line" <<<"$DUMP" || fail "stored library lacks '$line'"
done
[ "$(grep -c '^\[.*\\i_[0-9]*\]$' <<<"$DUMP")" -eq 5 ] || fail "expected five stored items"
echo "startup under Xvfb: ok"
