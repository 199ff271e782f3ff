# Sourced by the scripts that need a private X display. start_xvfb starts
# Xvfb on a display number that nothing else uses (no socket, no lock file,
# and the server must then answer), records its pid in the array `pids` and
# exports DISPLAY. Other servers on the machine may have left sockets without
# lock files, so the choice is checked rather than left to -displayfd.
start_xvfb() {
  local log="$1" n pid
  for n in $(shuf -i 100-899 -n 20); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >"$log" 2>&1 &
    pid=$!
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      if [ -S "/tmp/.X11-unix/X$n" ] && DISPLAY=":$n" timeout 2 xprop -root >/dev/null 2>&1; then
        pids+=("$pid")
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
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
