# Sourced by the scripts that need a private X display.
#   start_xvfb LOG [SCREEN]
# starts Xvfb (SCREEN is WIDTHxHEIGHTxDEPTH, 1280x800x24 by default) on a
# display number the server picks itself (-displayfd): it takes the first
# number whose sockets it can create, so servers started at the same time
# never share one, and a number picked here and then lost to another server
# cannot send the test to a stranger's display. Exports DISPLAY, sets
# XVFB_PID and records the pid in the array `pids`. Fails when the server
# ends, has not told its number within 30 s, or does not take a client
# within 5 s of telling it; each failure gets a fresh server, three in all.
# The server never resets (-noreset): by default it resets when its last
# client leaves, and a client connecting during the reset is refused, which
# is what the probe's own disconnect did to the window manager started next.
start_xvfb_once() {
  local log="$1" screen="${2:-1280x800x24}" fd display="" part read_all=0
  # The server writes its number to this pipe once it accepts clients. The one
  # descriptor holds both ends, so a read never sees the end of the file.
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 "$screen" -nolisten tcp -noreset >"$log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 300); do
    # A read that times out keeps what it got so far: the line may arrive
    # across two reads.
    part=""
    if read -r -t 0.1 -u "$fd" part; then read_all=1; fi
    display+="$part"
    [ "$read_all" -eq 1 ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
  done
  exec {fd}<&-
  if [ "$read_all" -eq 0 ] || ! [[ "$display" =~ ^[0-9]+$ ]]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    return 1
  fi
  pids+=("$XVFB_PID")
  export DISPLAY=":$display"
}

start_xvfb() {
  local attempt
  for attempt in 1 2 3; do
    if start_xvfb_once "$@"; then
      for _ in $(seq 50); do
        timeout 2 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 && return 0
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
      done
      echo "Xvfb on $DISPLAY took no client (attempt $attempt)" >&2
      kill "$XVFB_PID" 2>/dev/null || true
      wait "$XVFB_PID" 2>/dev/null || true
      unset 'pids[-1]'
    fi
  done
  return 1
}

# Waits up to $1 tenths of a second for the command in the remaining arguments.
wait_for() {
  local tries=$1; shift
  for ((i = 0; i < tries; i++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

# A clean profile shows the tip of the day at start: waits (up to 20 s) for
# it and closes it with Escape; fails when it never shows or stays open.
close_tip_of_the_day() {
  wait_for 200 xdotool search --onlyvisible --name '^Tip Of The Day' || return 1
  xdotool search --onlyvisible --name '^Tip Of The Day' | head -n1 \
    | xargs -I{} xdotool windowactivate --sync {} key Escape
  wait_for 50 bash -c "! xdotool search --onlyvisible --name '^Tip Of The Day'"
}

# The program's tray icon: a viewable window of class kvlmn of an icon's size
# (8 to 48 px), as a panel docks it. Prints "id centre-x centre-y".
tray_icon() {
  local id
  for id in $(xdotool search --classname kvlmn 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
    if [ "${WIDTH:-0}" -le 48 ] && [ "${HEIGHT:-0}" -le 48 ] && [ "${WIDTH:-0}" -ge 8 ] \
      && xwininfo -id "$id" | grep -q IsViewable; then
      echo "$id $((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
      return 0
    fi
  done
  return 1
}

# Starts openbox on DISPLAY and waits until it manages the screen.
start_openbox() {
  local log="$1"
  openbox >"$log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    timeout 2 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
    sleep 0.1
  done
  return 1
}

# Stops what `pids` holds, last started first (the display last); each gets
# 5 s before it is killed.
stop_started() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2>/dev/null || continue
    for _ in $(seq 50); do kill -0 "${pids[$i]}" 2>/dev/null || break; sleep 0.1; done
    kill -9 "${pids[$i]}" 2>/dev/null || true
  done
}

# Makes the run's temporary folder `work` and an exit trap that stops what was
# started, shows the logs of a failed run and removes the folder.
#   begin_run NAME
begin_run() {
  work="$(mktemp -d "/tmp/vellumin-$1.XXXXXX")"
  pids=()
  trap end_run EXIT
  trap 'exit 1' INT TERM
}

end_run() {
  local status=$?
  stop_started
  if [ "$status" -ne 0 ]; then
    for log in "$work"/*.log; do [ -s "$log" ] && { echo "== $log"; tail -n 20 "$log"; }; done
  fi
  rm -rf "$work"
  exit "$status"
}
