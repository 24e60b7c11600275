#!/usr/bin/env bash
# Render picture… in the real window under Xvfb: its dialog takes the
# defaults, a picture window of its own opens and fills in while the render
# runs, the main window goes on taking edits meanwhile, and quitting with the
# render still running ends at once with status 0.
# Usage: xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" gui_picture_test.sh CUBRIK MODEL.cbk
# CUBRIK_GUI_SCREENSHOT, when set, gets a picture of the screen with both windows.
set -u
cubrik="$1"
source "$(dirname "$0")/../support/check.sh"
source "$(dirname "$0")/../support/gui.sh"

name="$(basename "$2" .cbk)"
model="$work/$name.cbk"
cp "$2" "$model"
"$cubrik" "$model" &
pid=$!
window="$(find_window "$name - Cubrik")"
check "the window opens" test -n "$window"
if [ -n "$window" ]; then
  dialog=""
  for _ in 1 2 3; do  # keys sent while the window is still settling may be lost
    sleep 1
    xdotool windowfocus --sync "$window" key alt+f 2>/dev/null; sleep 0.5
    xdotool key d
    sleep 1
    dialog="$(xdotool search --name "^(Render picture|画像をレンダリング)\$" 2>/dev/null | head -n 1)"
    [ -n "$dialog" ] && break
  done
  check "Render picture… asks for its settings" test -n "$dialog"
  [ -n "$dialog" ] && xdotool windowfocus --sync "$dialog" key Return
  picture="$(find_window "(Picture|画像): $name")"
  check "the picture window opens" test -n "$picture"
  [ -n "$picture" ] && xdotool windowmove "$picture" 600 0  # beside the main window, off its view
  eval "$(xdotool getwindowgeometry --shell "$window")"
  top="$(view_top "$window")"
  cx=$((X + WIDTH / 2)); cy=$((Y + top + 200))
  xdotool windowfocus --sync "$window"
  xdotool mousemove "$cx" "$cy" mousedown 1 mousemove $((cx + 30)) "$cy" mousemove $((cx + 60)) "$cy" mouseup 1
  sleep 0.5
  check "the main window takes an edit while the render runs" test "$(xdotool getwindowname "$window")" = "$name* - Cubrik"
  xdotool windowfocus --sync "$window" key ctrl+s; sleep 3
  check "and saves it" test "$(xdotool getwindowname "$window")" = "$name - Cubrik"
  if [ -n "${CUBRIK_GUI_SCREENSHOT:-}" ]; then
    sleep 1
    import -window root "$CUBRIK_GUI_SCREENSHOT"
  fi
  start=$(date +%s)
  quit_by_escape
  check "quitting during the render takes under 5 s" test $(( $(date +%s) - start )) -lt 5
else
  wait_exit
fi
check "the program quits with status 0 (got $status)" test "$status" = 0
exit $((failures > 0))
