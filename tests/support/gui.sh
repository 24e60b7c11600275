# Sourced by the tests of the real window under Xvfb.

# Waits for the window with exactly this title; prints its id.
find_window() {
  local id=""
  for _ in $(seq 100); do
    id="$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)"
    [ -n "$id" ] && break
    sleep 0.2
  done
  echo "$id"
}

# Waits up to thirty seconds for the program $pid to end; sets status to its
# exit status, or to "timeout".
wait_exit() {
  status=timeout
  for _ in $(seq 300); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      status=$?
      return
    fi
    sleep 0.1
  done
}
