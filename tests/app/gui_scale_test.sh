#!/usr/bin/env bash
# At scale factors of 2 and 1.5 the window draws in the screen's own pixels:
# the view's edges and the panel's icons are not blocks of 2 x 2 pixels at any
# alignment, and a click on each of the 26 panel items chooses it. The
# screenshots are kept in $CUBRIK_GUI_SCREENSHOT_DIR when that is set.
# Usage: xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" gui_scale_test.sh CUBRIK MODEL.cbk
set -u
cubrik="$1"
model="$2"
source "$(dirname "$0")/../support/check.sh"
source "$(dirname "$0")/../support/gui.sh"
shots="${CUBRIK_GUI_SCREENSHOT_DIR:-$work}"
cp "$model" "$work/model.cbk"
title="model - Cubrik"

# The screen pixel under client point ($1, $2), at the middle of that client pixel.
screen_x() { awk -v x="$1" -v s="$scale" -v o="$X" 'BEGIN { printf "%d", o + s * (x + 0.5) }'; }
screen_y() { awk -v y="$1" -v s="$scale" -v o="$((Y + top))" 'BEGIN { printf "%d", o + s * (y + 0.5) }'; }

# The screen's crop geometry of the client rectangle at ($1, $2), $3 x $4.
screen_rect() {
  awk -v x="$1" -v y="$2" -v w="$3" -v h="$4" -v s="$scale" -v ox="$X" -v oy="$((Y + top))" \
    'BEGIN { printf "%dx%d+%d+%d", s * w, s * h, ox + s * x, oy + s * y }'
}

# The panel item's rectangle: left top right bottom, client pixels.
item_rect() {
  local item=$1 entry=$(($1 - 10))
  if [ "$item" -lt 8 ]; then echo "$((29 * (item % 2) + 1)) $((29 * (item / 2) + 1)) $((29 * (item % 2) + 30)) $((29 * (item / 2) + 30))"
  elif [ "$item" -lt 10 ]; then echo "$((29 * (item - 8) + 1)) 127 $((29 * (item - 8) + 30)) 156"
  elif [ "$compact" = 0 ]; then echo "1 $((166 + 29 * entry)) 59 $((195 + 29 * entry))"
  elif [ "$entry" -lt 8 ]; then echo "30 $((166 + 29 * entry)) 59 $((195 + 29 * entry))"
  else echo "1 $((166 + 29 * (entry - 8))) 30 $((195 + 29 * (entry - 8)))"
  fi
}

# The fewest pixels of image $1 that differ from the same image made of 2 x 2
# blocks, over the four ways of laying the blocks: 0 for a picture stretched
# from one of half the size.
least_block_difference() {
  local least="" w h ox oy d
  read -r w h < <(identify -format "%w %h" "$1")
  for oy in 0 1; do
    for ox in 0 1; do
      convert "$1" -crop "$(((w - 2) / 2 * 2))x$(((h - 2) / 2 * 2))+$ox+$oy" +repage "$work/aligned.png"
      convert "$work/aligned.png" -sample 50% -sample 200% "$work/blocks.png"
      d="$(compare -metric AE "$work/aligned.png" "$work/blocks.png" null: 2>&1)"
      if [ -z "$least" ] || [ "${d%.*}" -lt "$least" ]; then least="${d%.*}"; fi
    done
  done
  echo "$least"
}

for scale in 2 1.5; do
  QT_SCALE_FACTOR=$scale "$cubrik" --record "$work/session.txt" "$work/model.cbk" &
  pid=$!
  window="$(find_window "$title")"
  check "the window opens at a scale factor of $scale" test -n "$window"
  if [ -z "$window" ]; then wait_exit; continue; fi
  xdotool windowfocus --sync "$window"; sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  top="$(view_top "$window")"
  read -r _ client_width client_height < <(grep '^size' "$work/session.txt" | tail -n 1)
  compact=$((client_height < 640 ? 1 : 0))

  # The pointer over the view, so its brush outline shows too.
  xdotool mousemove "$(screen_x $((client_width / 2 + 90)))" "$(screen_y $((client_height / 2)))"; sleep 0.5
  import -window root "$work/screen.png"
  cp "$work/screen.png" "$shots/scale-$scale.png"
  convert "$work/screen.png" -crop "$(screen_rect $((32 + client_width / 4)) $((client_height / 4)) \
    $(((client_width - 64) / 2)) $((client_height / 2)))" +repage "$work/view.png"
  convert "$work/screen.png" -crop "$(screen_rect 1 1 58 155)" +repage "$work/icons.png"
  d="$(least_block_difference "$work/view.png")"
  check "at $scale the view's edges are no 2 x 2 blocks at any alignment ($d pixels off blocks at least)" test "$d" -gt 200
  d="$(least_block_difference "$work/icons.png")"
  check "at $scale the panel's icons are no 2 x 2 blocks at any alignment ($d pixels off blocks at least)" test "$d" -gt 100

  # Material A is chosen at the start: its button shows the chosen state.
  read -r l t _ _ < <(item_rect 8)
  chosen="$(screen_pixel "$(screen_x $((l + 2)))" "$(screen_y $((t + 2)))")"
  chose=0
  for item in 0 1 2 3 4 5 6 7 9 8 $(seq 10 25); do
    read -r l t r b < <(item_rect "$item")
    xdotool mousemove "$(screen_x $(((l + r) / 2)))" "$(screen_y $(((t + b) / 2)))" click 1; sleep 0.3
    if [ "$item" -lt 10 ]; then
      # A chosen button is filled in the chosen state's colour.
      [ "$(screen_pixel "$(screen_x $((l + 2)))" "$(screen_y $((t + 2)))")" = "$chosen" ] && chose=$((chose + 1))
    else
      # The chosen colour's slot has a notch in its right edge, open to the background.
      [ "$(screen_pixel "$(screen_x $((r - 4)))" "$(screen_y $(((t + b) / 2)))")" = 8080FF ] && chose=$((chose + 1))
    fi
  done
  check "at $scale a click on each of the 26 panel items chooses it ($chose did)" test "$chose" = 26
  quit_by_escape
  check "and quits with status 0 (got $status)" test "$status" = 0
done

exit $((failures > 0))
