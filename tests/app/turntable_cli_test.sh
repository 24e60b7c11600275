#!/usr/bin/env bash
# `cubrik --turntable` from the outside: other programs read its GIF, MP4 and
# WebP with the frames asked for, the first frame is the front view, and a
# failed or stopped turntable leaves no file.
set -u
cubrik="$1"
penguin="$2/penguin.cbk"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/check.sh"

check "a GIF of 12 frames" "$cubrik" --turntable "$penguin" "$work/t.gif" --frames 12 --size 300x240
check "has 12 frames of 300 x 240" test "$(identify -format '%wx%h\n' "$work/t.gif" | sort | uniq -c | xargs)" = "12 300x240"
# --render's front view of the same view size, cropped to the model with a
# transparent background: its model pixels must be those of frame 0.
"$cubrik" --render "$penguin" "$work/front.png" --view front --size 364x240
check "whose first frame has the front view's silhouette" /usr/bin/python3 - "$work/t.gif" "$work/front.png" <<'PY'
import sys
from PIL import Image
frame = Image.open(sys.argv[1]).convert("RGB")
background = (128, 128, 255)
mask = Image.frombytes("L", frame.size, bytes(0 if p == background else 255 for p in frame.getdata()))
front = Image.open(sys.argv[2]).getchannel("A").point(lambda a: 255 if a else 0)
box = mask.getbbox()
turned = mask.crop(box)
if turned.size != front.size:
    sys.exit(1)
a, b = turned.getdata(), front.getdata()
both = sum(1 for x, y in zip(a, b) if x and y)
either = sum(1 for x, y in zip(a, b) if x or y)
sys.exit(0 if both / either >= 0.98 else 1)
PY

check "an MP4 of 12 frames" "$cubrik" --turntable "$penguin" "$work/t.mp4" --frames 12
check "is H.264 in yuv420p at 30 frames a second with 12 frames" test \
  "$(ffprobe -v error -count_frames -select_streams v:0 \
     -show_entries stream=codec_name,pix_fmt,r_frame_rate,nb_read_frames -of csv=p=0 "$work/t.mp4")" = \
  "h264,yuv420p,30/1,12"
check "an animated WebP of 12 frames" "$cubrik" --turntable "$penguin" "$work/t.webp" --frames 12 --flat --ao
check "has 12 frames" grep -q "^Number of frames: 12$" <(webpmux -info "$work/t.webp")

check "path-traced frames" "$cubrik" --turntable "$penguin" "$work/traced.gif" --frames 3 --size 64x48 \
  --path-traced --samples 2 --floor
check "come out 3 of 64 x 48" test "$(identify -format '%wx%h\n' "$work/traced.gif" | sort | uniq -c | xargs)" = "3 64x48"

# Strict options; nothing written when they are wrong.
for args in "t.png" "t.gif --frames 0" "t.gif --frames 12x" "t.gif --view left" "t.gif --size 0x10" "t.mp4 --size 301x240" "t.gif --samples 4"; do
  read -r out options <<<"$args"
  "$cubrik" --turntable "$penguin" "$work/bad-$out" $options 2>"$work/err"
  status=$?
  check "$args: exit 1 with one line, no file" \
    test "$status" -eq 1 -a "$(wc -l <"$work/err")" -eq 1 -a ! -e "$work/bad-$out"
done

# Ctrl+C part-way: status 1, and neither the file nor a temporary is left.
"$cubrik" --turntable "$penguin" "$work/stopped.gif" --frames 3600 2>"$work/err" &
pid=$!
sleep 1
kill -INT "$pid"
wait "$pid"
status=$?
check "Ctrl+C stops the turntable with status 1 and says so" test "$status" -eq 1 -a "$(grep -c stopped "$work/err")" -eq 1
check "leaving no file behind" test -z "$(ls "$work" | grep stopped)"

exit $((failures > 0))
