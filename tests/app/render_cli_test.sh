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

# --path-traced: the whole view on the background, one picture per seed, the
# silhouette of the GL render, a progress bar only on a terminal, and Ctrl+C
# stopping it without a file.
traced() { "$cubrik" --render "$examples/penguin.cbk" "$@" --path-traced; }
check "--path-traced writes a PNG, nothing on stderr off a terminal" \
  bash -c "$(declare -f traced); cubrik='$cubrik' examples='$examples' traced '$work/seed1.png' --size 264x200 --samples 16 --seed 1 2>'$work/err' && test ! -s '$work/err'"
traced "$work/seed1again.png" --size 264x200 --samples 16 --seed 1
traced "$work/seed2.png" --size 264x200 --samples 16 --seed 2
check "the same seed gives the same bytes" cmp -s "$work/seed1.png" "$work/seed1again.png"
check "another seed another picture" test "$(md5sum <"$work/seed1.png")" != "$(md5sum <"$work/seed2.png")"
# The GL image is cropped to its model pixels: it is laid where it fits best
# within one pixel of the box of the traced picture's model pixels.
silhouette_iou() {
  /usr/bin/python3 - "$@" <<'PY'
import sys
from PIL import Image
traced, gl = Image.open(sys.argv[1]).convert("RGB"), Image.open(sys.argv[2])
background = tuple(int(sys.argv[3][i:i + 2], 16) for i in (0, 2, 4))
t, g = traced.load(), gl.load()
mask = {(x, y) for y in range(traced.height) for x in range(traced.width) if t[x, y] != background}
model = [(x, y) for y in range(gl.height) for x in range(gl.width) if g[x, y][3] == 255]
left, top = min(x for x, y in mask), min(y for x, y in mask)
iou = max(len(mask & shifted) / len(mask | shifted) for dx in (0, 1) for dy in (0, 1)
          for shifted in [{(x + left + dx, y + top + dy) for x, y in model}])
sys.exit(0 if iou >= 0.98 else f"intersection over union {iou:.4f}")
PY
}
for view in "--view front" "--view right --zoom --ortho --cut z<=50 --background 203040"; do
  background=$(echo "$view" | grep -o '[0-9a-f]\{6\}$' || echo 8080ff)
  traced "$work/traced.png" $view --samples 2
  "$cubrik" --render "$examples/penguin.cbk" "$work/gl.png" $view --flat
  check "the silhouette is the GL render's ($view)" silhouette_iou "$work/traced.png" "$work/gl.png" "$background"
done
check "a terminal gets a progress bar with the time left" \
  bash -c "script -qec \"'$cubrik' --render '$examples/penguin.cbk' '$work/bar.png' --path-traced --samples 64 --size 464x300\" /dev/null | grep -q '100%'"
"$cubrik" --render "$examples/penguin.cbk" "$work/stopped.png" --path-traced --samples 65536 --size 164x100 2>"$work/err" &
pid=$!
sleep 1
for i in $(seq 60); do kill -INT "$pid" 2>/dev/null || break; sleep 0.5; done
wait "$pid"
status=$?
check "Ctrl+C stops it with status 1" test "$status" -eq 1
check "and leaves no file, saying so" bash -c "test ! -e '$work/stopped.png' && grep -q '^cubrik: interrupted' '$work/err'"

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
