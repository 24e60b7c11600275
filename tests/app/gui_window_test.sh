#!/usr/bin/env bash
# The windows under a window manager (openbox): a first window and the Help
# window (F1, Japanese under a Japanese locale) lie wholly on the screen, also
# at a scale factor of 2, where two runs keep the same saved size; a menu
# command takes the cell under the pointer as the menu opened; a message box
# shows a file name as plain text, never as markup.
# Usage: xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" gui_window_test.sh CUBRIK MODEL.cbk
set -u
cubrik="$1"
model="$2"
source "$(dirname "$0")/../support/check.sh"
source "$(dirname "$0")/../support/gui.sh"
screen_width=1280 screen_height=1024

openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$pid" "$wm" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done

# Whether window $1, with the frame the window manager put round it, lies on the screen.
on_screen() {
  local left right top bottom
  eval "$(xdotool getwindowgeometry --shell "$1")"
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | tr -dc '0-9 \n' | tr -s ' ' | sed 's/^ //')
  echo "window $1: ${WIDTH}x${HEIGHT} at $X,$Y, frame ${left:-?} ${right:-?} ${top:-?} ${bottom:-?}"
  [ -n "${bottom:-}" ] && [ $((X - left)) -ge 0 ] && [ $((Y - top)) -ge 0 ] &&
    [ $((X + WIDTH + right)) -le $screen_width ] && [ $((Y + HEIGHT + bottom)) -le $screen_height ]
}
settings="$HOME/.local/share/Cubrik1/property.txt"
setting() { iconv -f UTF-16 -t UTF-8 "$settings" 2>/dev/null | tr -d '\r' | sed -n "s/^$1=//p"; }
quit() { if [ -n "$window" ]; then quit_by_escape; else wait_exit; fi; }

# A first start, with no settings: the window manager places the window.
cp "$model" "$work/penguin.cbk"
"$cubrik" "$work/penguin.cbk" &
pid=$!
window="$(find_window "penguin - Cubrik")"
check "a first window opens" test -n "$window"
if [ -n "$window" ]; then
  sleep 0.5
  check "a first window lies wholly on the screen" on_screen "$window"
  xdotool windowfocus --sync "$window" key F1
  help="$(find_window "Cubrik help")"
  check "F1 opens the help window" test -n "$help"
  [ -n "$help" ] && sleep 0.5 && check "the help window lies wholly on the screen" on_screen "$help"

  # A menu opened from the keyboard over the model keeps that cell, wherever
  # the pointer goes while it is open; one opened away from the view has none.
  xdotool windowfocus --sync "$window"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + WIDTH / 2 + 32)) $((Y + HEIGHT / 2)); sleep 0.3
  xdotool key alt+m; sleep 0.5; xdotool mousemove 5 5; sleep 0.3; xdotool key c; sleep 0.5
fi
quit
check "and quits with status 0 (got $status)" test "$status" = 0
check "Mirror > Planes through the cell under the cursor moved the planes" test -n "$(setting mirrorX)"

"$cubrik" --record "$work/session.txt" "$work/penguin.cbk" &
pid=$!
window="$(find_window "penguin - Cubrik")"
if [ -n "$window" ]; then
  sleep 0.5
  xdotool windowfocus --sync "$window"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)); sleep 0.2
  xdotool mousemove 5 5; sleep 0.3
  xdotool key alt+m; sleep 0.5; xdotool key c; sleep 0.5
fi
quit
line_before() { grep -B1 -x -m1 "$1" "$work/session.txt" | head -n 1; }
check "a menu opened with the pointer off the view records no pointer for its command" \
  test "$(line_before "menu 40064")" = "pointer none"
check "and that recording replays" "$cubrik" --replay "$work/session.txt" "$work/penguin.cbk"

# A file name that reads as markup is shown as it is.
name='<h1 style="color:red">Disk failure<!--.cbk'
cp "$model" "$work/$name"
"$cubrik" "$work/$name" &
pid=$!
window="$(find_window ".*Disk failure.* - Cubrik")"
red_pixels() {
  import -window root "$work/screen.png"
  convert "$work/screen.png" -fuzz 15% -fill black +opaque red -fill white -opaque red -format "%[fx:round(mean*w*h)]" info:
}
if [ -n "$window" ]; then
  sleep 0.5
  rm "$work/$name" && mkdir -p "$work/$name/full"   # Save now fails: a folder stands in the way
  before="$(red_pixels)"
  xdotool windowfocus --sync "$window" key ctrl+s; sleep 1
  red=$(($(red_pixels) - before))
  cp "$work/screen.png" "${CUBRIK_GUI_SCREENSHOT_DIR:-$work}/message-box.png"
  check "the failure's box shows the name as text, not a red heading ($red more red pixels)" test "$red" -lt 20
  xdotool key Return; sleep 0.5
fi
quit

# Twice at a scale factor of 2: the saved size stays, the windows stay on the screen.
for run in 1 2; do
  QT_SCALE_FACTOR=2 "$cubrik" "$work/penguin.cbk" &
  pid=$!
  window="$(find_window "penguin - Cubrik")"
  if [ -n "$window" ] && [ "$run" = 2 ]; then
    sleep 0.5
    check "a restored window at scale 2 lies wholly on the screen" on_screen "$window"
    xdotool windowfocus --sync "$window" key F1
    help="$(find_window "Cubrik help")"
    [ -n "$help" ] && sleep 0.5
    check "the help window at scale 2 lies wholly on the screen" on_screen "${help:-0}"
  fi
  quit
  size[$run]="$(setting windowWidth)x$(setting windowHeight)"
done
check "two runs at scale 2 keep the saved size (${size[1]}, then ${size[2]})" test "${size[1]}" = "${size[2]}"

# Under a Japanese locale the help page is the Japanese one.
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$cubrik" "$work/penguin.cbk" &
pid=$!
window="$(find_window "penguin - Cubrik")"
if [ -n "$window" ]; then
  sleep 0.5
  xdotool windowfocus --sync "$window" key F1
  check "F1 under a Japanese locale opens the Japanese help" test -n "$(find_window "Cubrik ヘルプ")"
fi
quit

exit $((failures > 0))
