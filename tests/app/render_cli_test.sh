#!/usr/bin/env bash
# `cubrik --render` from the outside: the TARGA it writes is read by other
# programs, and nothing is written when there is nothing to draw.
set -u
cubrik="$1"
examples="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/check.sh"

check "--render writes the left view" "$cubrik" --render "$examples/penguin.cbk" "$work/left.tga" --view left
check "ImageMagick reads it as a 32-bit TARGA with alpha" \
  test "$(identify -format '%m %[channels]' "$work/left.tga")" = "TGA srgba"
check "the background around the model is transparent" \
  test "$(convert "$work/left.tga" -format '%[fx:int(255*p{0,0}.a)]' info:)" = 0
# Cropped tight: trimming the transparent border takes nothing away.
check "the image is cropped to the model" \
  test "$(convert "$work/left.tga" -trim -format '%wx%h' info:)" = "$(identify -format '%wx%h' "$work/left.tga")"
if /usr/bin/python3 -c 'import PIL' 2>/dev/null; then
  check "PIL reads it right side up: the feet are orange and at the bottom" /usr/bin/python3 - "$work/left.tga" <<'PY'
import sys
from PIL import Image
image = Image.open(sys.argv[1])
def orange_share(rows):
    pixels = [image.getpixel((x, y)) for y in rows for x in range(image.width)]
    opaque = [p for p in pixels if p[3] == 255]
    return sum(1 for r, g, b, a in opaque if r > 150 and b < 80) / max(1, len(opaque))
bottom, top = orange_share(range(image.height - 10, image.height)), orange_share(range(10))
sys.exit(0 if image.mode == "RGBA" and bottom > 0.5 and top < 0.1 else 1)
PY
else
  echo "FAILED: Python's PIL is missing (scripts/install-deps test installs python3-pil)"; failures=$((failures + 1))
fi
check "--render writes PNG too" "$cubrik" --render "$examples/penguin.cbk" "$work/front.png"
"$cubrik" --render "$examples/penguin.cbk" "$work/same.tga"
check "with the TARGA's pixels, transparency included" \
  test "$(convert "$work/front.png" txt:- | tail -n +2 | md5sum)" = "$(convert "$work/same.tga" -auto-orient txt:- | tail -n +2 | md5sum)"
check "flat display, zoomed, another size and background" \
  "$cubrik" --render "$examples/doughnut.cbk" "$work/flat.tga" --flat --zoom --size 400x300 --background 202020
check "and it is read too" test "$(identify -format '%m' "$work/flat.tga")" = TGA

# An empty model: status 1, one line on stderr, no file.
{
  printf '#CUBIC-100\r\n#MATERIAL\r\n'
  for i in $(seq 32); do printf 'ff8000\r\n'; done
  printf '#OBJECT\r\n'
  row="$(printf '%*s' 100 '' | tr ' ' '+')"
  for s in $(seq 100); do
    printf '#SLICE\r\n'
    for r in $(seq 100); do printf '%s\r\n' "$row"; done
  done
} >"$work/empty.cbk"
"$cubrik" --render "$work/empty.cbk" "$work/empty.tga" 2>"$work/err"
status=$?
check "an empty model exits 1" test "$status" -eq 1
check "with one line on stderr" test "$(wc -l <"$work/err")" -eq 1
check "saying there is nothing to draw" grep -q "^cubrik: .*nothing to draw" "$work/err"
check "and writes no file" test ! -e "$work/empty.tga"

exit $((failures > 0))
