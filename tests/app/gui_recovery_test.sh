#!/usr/bin/env bash
# The real window and a termination signal: SIGTERM after an edit ends the
# program at once with status 0 and leaves a recovery copy, which the next
# start offers; Esc in that question keeps the copy for later.
# Usage: xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" gui_recovery_test.sh CUBRIK MODEL.cbk
set -u
cubrik="$1"
source "$(dirname "$0")/../support/check.sh"
source "$(dirname "$0")/../support/gui.sh"
cp "$2" "$work/doc.cbk"
folder="$HOME/.local/state/cubrik/recovery"
unset XDG_STATE_HOME

"$cubrik" "$work/doc.cbk" &
pid=$!
window="$(find_window "doc - Cubrik")"
check "the window opens" test -n "$window"
if [ -n "$window" ]; then
  xdotool windowfocus --sync "$window"
  sleep 0.5
  # A Build stroke across the middle of the view.
  xdotool mousemove --window "$window" 300 300 mousedown 1
  for x in 310 320 330 340; do xdotool mousemove --window "$window" "$x" 300; sleep 0.05; done
  xdotool mouseup 1
  sleep 0.3
fi
kill -TERM "$pid"
wait_exit 10
check "SIGTERM ends the program within a second with status 0 (got $status)" test "$status" = 0
check "leaving a recovery copy" test "$(ls "$folder"/*.cbk 2>/dev/null | wc -l)" = 1
check "of the edited model" test -n "$(cmp "$folder"/*.cbk "$work/doc.cbk" 2>/dev/null)"

"$cubrik" --record "$work/s.txt" "$work/doc.cbk" &
pid=$!
question=""
for _ in $(seq 100); do
  for id in $(xdotool search --onlyvisible --name '^Cubrik$' 2>/dev/null); do
    [ "$(xdotool getwindowname "$id")" = Cubrik ] && question="$id"  # not the window, still "CUBRIK"
  done
  [ -n "$question" ] && break
  sleep 0.2
done
check "the next start asks about the copy" test -n "$question"
[ -n "$question" ] && xdotool windowfocus --sync "$question" key Escape
window="$(find_window "doc - Cubrik")"
check "Esc in the question starts with the document" test -n "$window"
if [ -n "$window" ]; then quit_by_escape; else wait_exit; fi
check "and is recorded as Cancel" grep -qx "answer cancel" "$work/s.txt"
check "the copy is kept for a later start" test "$(ls "$folder"/*.cbk 2>/dev/null | wc -l)" = 1

exit $((failures > 0))
