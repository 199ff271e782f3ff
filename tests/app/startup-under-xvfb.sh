#!/usr/bin/env bash
# Starts the real program under Xvfb with a window manager on a clean profile:
# the first instance runs, a second one shows the single-instance message and
# ends, and SIGTERM ends the first in order, leaving the sample library stored.
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

# Waits up to $1 tenths of a second for the command in the remaining arguments.
wait_for() {
  local tries=$1; shift
  for ((i = 0; i < tries; i++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

mkdir -m 700 "$WORK/runtime" "$WORK/registry"
export XDG_RUNTIME_DIR=$WORK/runtime XDG_CONFIG_HOME=$WORK/config VELLUMIN_REGISTRY_DIR=$WORK/registry
unset QT_QPA_PLATFORM
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
PIDS+=($!)
wait_for 100 test -s "$WORK/display" || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$WORK/display")
openbox >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)

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
BOX=$(xdotool search --sync --onlyvisible --name '^Kestrelay Vellumin$' 2>/dev/null | head -n1) \
  || fail "no single-instance message"
[ -n "$BOX" ] || fail "no single-instance message"
xdotool windowactivate --sync "$BOX" key Return
wait_for 100 bash -c "! kill -0 $SECOND 2>/dev/null" || fail "the second instance did not end"
wait "$SECOND" || fail "the second instance ended with an error"
kill -0 "$FIRST" || fail "the first instance ended with the second"

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
