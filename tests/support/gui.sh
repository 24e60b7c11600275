# Sourced by the tests of the real window under Xvfb. The program runs with a
# fresh home folder in $work, removed at exit together with the program $pid.

work="$(mktemp -d)"
export HOME="$work/home"
unset XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME"
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

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

# Waits up to TENTHS tenths of a second (default 300) for the program $pid
# to end; sets status to its exit status, or to "timeout".
wait_exit() {
  status=timeout
  for _ in $(seq "${1:-300}"); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      status=$?
      return
    fi
    sleep 0.1
  done
}

# Presses Esc in $window until the program $pid ends, three times at most (a
# key sent while the window is still settling may be lost); sets status as
# wait_exit does.
quit_by_escape() {
  for _ in 1 2 3; do
    xdotool windowfocus --sync "$window" key Escape 2>/dev/null
    wait_exit 100
    [ "$status" != timeout ] && return
  done
}

# The height of the menu bar above the view of window $1, in device pixels:
# the first row of the view's blue background down the window's right edge.
view_top() {
  local geometry
  geometry="$(xdotool getwindowgeometry --shell "$1")"
  eval "$geometry"
  import -window root "$work/top.png"
  convert "$work/top.png" -crop "1x200+$((X + WIDTH - 8))+$Y" txt:- |
    awk -F'[,:]' '/#8080FF/ { print $2; exit }'
}

# The colour (hex) of screen pixel (x, y).
screen_pixel() {
  import -window root "$work/pixel.png"
  convert "$work/pixel.png" -crop "1x1+$1+$2" -format "%[hex:u.p{0,0}]" info:
}
