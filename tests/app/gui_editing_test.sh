#!/usr/bin/env bash
# The whole editor worked in the real window as a person would, with X events:
# tools chosen by key and on the panel, strokes with the left button, a colour
# picked with the middle button, the wheel during a stroke, a turn with the
# right button, Ctrl+Z and Save as. The recording of it replays to the same
# file. A screenshot of the edited model is kept in the working folder.
# With QT_SCALE_FACTOR set (a whole number) the same happens at that scale.
# Usage: xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" gui_editing_test.sh CUBRIK MODEL.cbk
set -u
cubrik="$1"
model="$2"
source "$(dirname "$0")/../support/check.sh"
source "$(dirname "$0")/../support/gui.sh"
screenshot="${CUBRIK_GUI_SCREENSHOT:-$PWD/gui-editing.png}"

scale="${QT_SCALE_FACTOR:-1}"

# Client coordinates: the view sits below the menu bar.
at() { xdotool mousemove --window "$window" $(($1 * scale)) $(($2 * scale + menu)); }
# A left drag from (x0, y0) by (dx, dy) in eight moves.
drag() {
  at "$1" "$2"; xdotool mousedown 1
  for step in 1 2 3 4 5 6 7 8; do at $(($1 + $3 * step / 8)) $(($2 + $4 * step / 8)); sleep 0.04; done
  xdotool mouseup 1; sleep 0.2
}
panel_pixel() {
  import -window root "$work/panel.png"
  convert "$work/panel.png" -crop "3x3+$((X + $1 * scale - 1))+$((Y + menu + $2 * scale - 1))" -format "%[hex:u.p{1,1}]" info:
}

session="$work/session.txt"
title="$(basename "$model" .cbk) - Cubrik"
"$cubrik" --record "$session" "$model" &
pid=$!
window="$(find_window "$title")"
check "the recording window opens" test -n "$window"
if [ -n "$window" ]; then
  xdotool windowfocus --sync "$window"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # The lines go to a file beside the session's until the window ends.
  read -r _ _ client_height < <(cat "$work"/cubrik-recording-*.txt | grep '^size' | tail -n 1)
  menu="$(view_top "$window")"  # the status bar sits below the view
  cx=$((32 + WIDTH / scale / 2)); cy=$((client_height / 2))

  before="$(panel_pixel 3 32)"
  at 15 45; xdotool click 1; sleep 0.3                     # Peel, on the panel
  check "a click on the Peel button lights it" test "$(panel_pixel 3 32)" != "$before"
  drag $((cx - 40)) "$cy" 80 8
  xdotool key s; drag $((cx - 30)) $((cy + 40)) 60 0      # Coat
  at "$cx" $((cy + 60)); xdotool click 2; sleep 0.2         # pick a colour with the middle button
  xdotool key a h; drag $((cx - 50)) $((cy - 30)) 100 -10  # Paint the next colour
  xdotool key d; at $((cx + 60)) "$cy"; xdotool mousedown 1; sleep 0.2
  xdotool click 4; sleep 0.2; xdotool click 4; sleep 0.2; xdotool mouseup 1   # Build, grown by the wheel mid-stroke
  at $((cx + 100)) $((cy + 100)); xdotool mousedown 3       # turn the model with the right button
  for step in 1 2 3 4; do at $((cx + 100 + 15 * step)) $((cy + 100 + 5 * step)); sleep 0.05; done
  xdotool mouseup 3; sleep 0.2
  xdotool key r; drag $((cx - 20)) $((cy + 20)) 40 40        # Smoothing
  xdotool key f; drag $((cx + 10)) $((cy - 60)) 0 50         # Punch
  xdotool key e; drag $((cx - 60)) $((cy + 10)) 30 30        # Carve, then taken back
  xdotool key ctrl+z; sleep 0.3
  at $((cx + 150)) 40; sleep 0.3
  import -window root "$work/edited.png"
  cp "$work/edited.png" "$screenshot" && echo "screenshot: $screenshot"
  xdotool key alt+f; sleep 0.5; xdotool key a; sleep 1
  xdotool type --delay 20 "$work/edited.cbk"; xdotool key Return; sleep 1
  quit_by_escape
else
  wait_exit
fi
check "the recording window quits with status 0 (got $status)" test "$status" = 0
check "Save as wrote the edited model" test -f "$work/edited.cbk"
differs() { ! cmp -s "$1" "$2"; }
check "the strokes changed the model" differs "$work/edited.cbk" "$model"
for kind in "ldown" "mdown" "wheel" "rdown" "key ctrl+z" "menu 40004"; do
  check "the recording holds \"$kind\"" grep -q "^$kind" "$session"
done
mv "$work/edited.cbk" "$work/edited-live.cbk" 2>/dev/null
check "the recording replays" "$cubrik" --replay "$session" "$model"
check "the replay saves the same file" cmp -s "$work/edited.cbk" "$work/edited-live.cbk"

exit $((failures > 0))
