#!/usr/bin/env bash
# The real window under Xvfb, driven with X events: it opens a model, takes
# keys, shows the model, stars its title after an edit, saves on Ctrl+S
# without a dialog or a tool change, quits on Esc with status 0 and saves its
# settings; at a scale factor of 2 the panel doubles with its hit test.
# Usage: xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" gui_test.sh CUBRIK MODEL.cbk
# (-noreset: the server must not reset between the two runs of the program)
set -u
cubrik="$1"
model="$2"
source "$(dirname "$0")/../support/check.sh"
source "$(dirname "$0")/../support/gui.sh"

# The share of pixels in the window's middle that are not the background.
model_share() {
  local geometry
  geometry="$(xdotool getwindowgeometry --shell "$1")"
  eval "$geometry"
  import -window root "$work/shot.png"
  convert "$work/shot.png" -crop "$((WIDTH / 2))x$((HEIGHT / 2))+$((X + WIDTH / 4))+$((Y + HEIGHT / 4))" \
    -fuzz 3% -fill white -opaque "rgb(128,128,255)" -fill black +opaque white -format "%[fx:1-mean]" info:
}

name="$(basename "$model" .cbk)"
title="$name - Cubrik"
cp "$model" "$work/$name.cbk"
model="$work/$name.cbk"
"$cubrik" "$model" &
pid=$!
window="$(find_window "$title")"
check "the window opens titled \"$title\"" test -n "$window"
if [ -n "$window" ]; then
  xdotool windowfocus --sync "$window"
  xdotool key --delay 100 x z 3 space
  sleep 1
  share="$(model_share "$window")"
  echo "model covers ${share} of the view's middle"
  check "the view shows the model" awk -v s="$share" 'BEGIN { exit !(s > 0.05) }'
  [ -n "${CUBRIK_GUI_SCREENSHOT:-}" ] && cp "$work/shot.png" "$CUBRIK_GUI_SCREENSHOT"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  top="$(view_top "$window")"
  cx=$((X + WIDTH / 2)); cy=$((Y + top + 200))
  xdotool mousemove "$cx" "$cy" mousedown 1 mousemove $((cx + 30)) "$cy" mousemove $((cx + 60)) "$cy" mouseup 1
  sleep 0.5
  check "an edit stars the title" test "$(xdotool getwindowname "$window")" = "$name* - Cubrik"
  coat="$(screen_pixel $((X + 33)) $((Y + top + 32)))"
  xdotool windowfocus --sync "$window" key ctrl+s; sleep 1
  check "Ctrl+S takes the star away" test "$(xdotool getwindowname "$window")" = "$title"
  check "Ctrl+S wrote the model without a dialog" test -n "$(cmp "$model" "$2" 2>&1)"
  check "Ctrl+S leaves the Coat button alone" test "$(screen_pixel $((X + 33)) $((Y + top + 32)))" = "$coat"
  quit_by_escape
else
  wait_exit
fi
check "Esc quits with status 0 (got $status)" test "$status" = 0
settings="$HOME/.local/share/Cubrik1/property.txt"
check "the settings file is written" test -f "$settings"
check "as UTF-16 LE with its byte-order mark" test "$(head -c 2 "$settings" 2>/dev/null | od -An -tx1 | tr -d ' ')" = fffe

# Japanese: the same window, menus in Japanese.
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$cubrik" "$model" &
pid=$!
window="$(find_window "$title")"
check "the window opens under a Japanese locale" test -n "$window"
if [ -n "$window" ]; then
  quit_by_escape
else
  wait_exit
fi
check "and quits with status 0 (got $status)" test "$status" = 0

# At twice the scale the panel, its drawing and its hit test double together.
QT_SCALE_FACTOR=2 "$cubrik" "$model" &
pid=$!
window="$(find_window "$title")"
check "the window opens at a scale factor of 2" test -n "$window"
if [ -n "$window" ]; then
  xdotool windowfocus --sync "$window"; sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  top="$(view_top "$window")"
  below=$((Y + top + 2 * 420))   # under the colour slots
  check "the panel's strip ends at device pixel 120 of 128" \
    test "$(screen_pixel $((X + 118)) "$below")" != 8080FF -a "$(screen_pixel $((X + 122)) "$below")" = 8080FF
  before="$(screen_pixel $((X + 6)) $((Y + top + 64)))"
  xdotool mousemove $((X + 31)) $((Y + top + 89)) click 1; sleep 0.5
  check "a click at the scaled centre of Peel lights it" test "$(screen_pixel $((X + 6)) $((Y + top + 64)))" != "$before"
  quit_by_escape
else
  wait_exit
fi
check "and quits with status 0 (got $status)" test "$status" = 0

exit $((failures > 0))
