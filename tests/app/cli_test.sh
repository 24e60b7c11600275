#!/usr/bin/env bash
# The real program from the outside: exit status, stderr and files written.
set -u
cubrik="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/check.sh"

check "--version prints the version" test "$("$cubrik" --version)" = "Cubrik version 1.7"

# A model written by the program survives --export unchanged, also with LF line ends.
printf '#CUBIC-100\r\n#MATERIAL\r\n' >"$work/a.cbk"
for i in $(seq 32); do printf 'ff8000\r\n' >>"$work/a.cbk"; done
printf '#OBJECT\r\n' >>"$work/a.cbk"
row="$(printf '%*s' 100 '' | tr ' ' '+')"
for s in $(seq 100); do
  printf '#SLICE\r\n' >>"$work/a.cbk"
  for r in $(seq 99); do printf '%s\r\n' "$row" >>"$work/a.cbk"; done
  printf 'ABCab%s\r\n' "${row:5}" >>"$work/a.cbk"
done
check "--export succeeds" "$cubrik" --export "$work/a.cbk" "$work/b.cbk"
check "the copy is byte-identical" cmp -s "$work/a.cbk" "$work/b.cbk"
tr -d '\r' <"$work/a.cbk" >"$work/lf.cbk"
check "an LF-only file reads" "$cubrik" --export "$work/lf.cbk" "$work/c.cbk"
check "and is written back with CR LF" cmp -s "$work/a.cbk" "$work/c.cbk"

# A damaged file: status 1, one line on stderr, nothing written.
head -c 5000 "$work/a.cbk" >"$work/damaged.cbk"
"$cubrik" --export "$work/damaged.cbk" "$work/d.cbk" 2>"$work/err"
status=$?
check "a damaged file exits 1" test "$status" -eq 1
check "with one line on stderr" test "$(wc -l <"$work/err")" -eq 1
check "naming the file and line" grep -q "^cubrik: $work/damaged.cbk line 84: the file ends early" "$work/err"
check "and writes nothing" test ! -e "$work/d.cbk"

# Mesh exports: chosen by the extension in any case, CR LF throughout, nothing written on failure.
check "--export to OBJ succeeds" "$cubrik" --export "$work/a.cbk" "$work/m.obj" --flat
check "the OBJ names its library" test "$(head -n 2 "$work/m.obj")" = "$(printf 'mtllib m.mtl\r\ng obj_A\r')"
check "the library has 256 lines" test "$(grep -c $'\r$' "$work/m.mtl")" -eq 256
check "--export to COLLADA succeeds" "$cubrik" --export "$work/a.cbk" "$work/m.DAE"
check "the document ends with its root element" test "$(tail -c 10 "$work/m.DAE")" = "</COLLADA>"
check "--export to Metasequoia succeeds" "$cubrik" --export "$work/a.cbk" "$work/m.mqo"
check "every line ends in CR LF" test "$(grep -vc $'\r$' "$work/m.mqo")" -eq 0
check "--export to glTF succeeds" "$cubrik" --export "$work/a.cbk" "$work/m.glb"
# assimp info splits the OBJ's quads into triangles as the glTF file has them.
check "with the OBJ's faces as triangles" test "$(assimp info "$work/m.glb" | awk '/^Faces:/ { print $2 }')" = \
  "$(assimp info "$work/m.obj" | awk '/^Faces:/ { print $2 }')"

check "--export to STL succeeds" "$cubrik" --export "$work/a.cbk" "$work/m.stl" --scale 0.5
check "as binary STL" test "$(head -c 6 "$work/m.stl")" = "Cubrik"
check "--export to PLY succeeds" "$cubrik" --export "$work/a.cbk" "$work/m.ply"
check "as binary PLY" test "$(head -n 2 "$work/m.ply" | tr '\n' ' ')" = "ply format binary_little_endian 1.0 "

# MagicaVoxel: a model sent out as .vox and back comes back byte for byte.
check "--export to .vox succeeds" "$cubrik" --export "$work/a.cbk" "$work/v.vox"
check "the file is a version-150 .vox" test "$(head -c 8 "$work/v.vox" | od -An -tx1 | tr -d ' ')" = 564f582096000000
check "a .vox reads back" "$cubrik" --export "$work/v.vox" "$work/v.cbk"
check "to the same model" cmp -s "$work/a.cbk" "$work/v.cbk"
printf 'VOX \226\000\000\000MAIN' >"$work/broken.vox"
"$cubrik" --export "$work/broken.vox" "$work/never.cbk" 2>"$work/err"
check "a damaged .vox is refused with a reason" grep -q "^cubrik: $work/broken.vox: " "$work/err"

# Qubicle: the cells and colours a .qb brings back make the same .qb again.
check "--export to .qb succeeds" "$cubrik" --export "$work/a.cbk" "$work/q.qb"
check "a .qb reads back" "$cubrik" --export "$work/q.qb" "$work/q.cbk"
check "to the same cells and colours" "$cubrik" --export "$work/q.cbk" "$work/q2.qb"
check "byte for byte" cmp -s "$work/q.qb" "$work/q2.qb"
head -c 40 "$work/q.qb" >"$work/broken.qb"
"$cubrik" --export "$work/broken.qb" "$work/never.cbk" 2>"$work/err"
status=$?
check "a damaged .qb is refused with one line" test "$status" -eq 1 -a "$(wc -l <"$work/err")" -eq 1
check "naming the file" grep -q "^cubrik: $work/broken.qb: the file ends inside matrix 1" "$work/err"
check "and writing nothing" test ! -e "$work/never.cbk"

# Meshes voxelize: the flat OBJ of a centred model comes back as the same
# model; bad meshes exit 1 with one line and write nothing.
printf '#CUBIC-100\r\n#MATERIAL\r\n' >"$work/cube.cbk"
for i in 1 2; do
  printf '%s\r\n' ff0000 ff7f00 ffff00 7fff00 00ff00 00ff7f 00ffff 007fff 0000ff 7f00ff ff00ff ff007f 000000 \
    3f3f3f 7f7f7f ffffff >>"$work/cube.cbk"
done
printf '#OBJECT\r\n' >>"$work/cube.cbk"
for s in $(seq 0 99); do
  printf '#SLICE\r\n' >>"$work/cube.cbk"
  for r in $(seq 0 99); do
    case "$s $r" in
      "49 49") printf '%s\r\n' "${row:0:49}AB${row:51}" ;; "49 50") printf '%s\r\n' "${row:0:49}CD${row:51}" ;;
      "50 49") printf '%s\r\n' "${row:0:49}EF${row:51}" ;; "50 50") printf '%s\r\n' "${row:0:49}GH${row:51}" ;;
      *) printf '%s\r\n' "$row" ;;
    esac >>"$work/cube.cbk"
  done
done
check "a centred model exports as OBJ" "$cubrik" --export "$work/cube.cbk" "$work/round.obj" --flat
check "and imports with --cells" "$cubrik" --export "$work/round.obj" "$work/round.cbk" --cells 2
check "to the same cells and colours" cmp -s "$work/cube.cbk" "$work/round.cbk"
head -c 3000 /dev/urandom >"$work/garbage.stl"
: >"$work/empty.obj"
printf 'v 0 0 0\nv 1 nan 0\nv 0 1 0\nf 1 2 3\n' >"$work/nan.obj"
for mesh in garbage.stl empty.obj nan.obj; do
  "$cubrik" --export "$work/$mesh" "$work/never.cbk" 2>"$work/err"
  status=$?
  check "$mesh is refused with one line" test "$status" -eq 1 -a "$(wc -l <"$work/err")" -eq 1
  check "naming the file" grep -q "^cubrik: $work/$mesh: " "$work/err"
  check "and writing nothing" test ! -e "$work/never.cbk"
done
"$cubrik" --export "$work/cube.cbk" "$work/never.cbk" --cells 5 2>"$work/err"
check "--cells on a model file is refused" grep -q "^cubrik: --cells applies to a mesh input" "$work/err"

# Conversion needs no window system: no display, and neither Qt nor GL is loaded.
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
check "a .vox converts to OBJ with no display" "${headless[@]}" "$cubrik" --export "$work/v.vox" "$work/v.obj"
check "to the faces of the model it came from" test "$(assimp info "$work/v.obj" | awk '/^Faces:/ { print $2 }')" = \
  "$(assimp info "$work/m.obj" | awk '/^Faces:/ { print $2 }')"
check "--help and --version need no display either" test -n "$("${headless[@]}" "$cubrik" --help)" -a \
  "$("${headless[@]}" "$cubrik" --version)" = "Cubrik version 1.7"
check "the converting program links no Qt, X or GL library" test -z "$(ldd "$cubrik" | grep -E 'libQt|libX11|libGL')"

"$cubrik" --export "$work/a.cbk" "$work/missing/m.obj" 2>"$work/err"
status=$?
check "an export that cannot be written exits 1" test "$status" -eq 1
check "with one line on stderr" test "$(wc -l <"$work/err")" -eq 1
check "and creates nothing" test ! -e "$work/missing"

# --record with its arguments swapped: the model's name is refused before
# anything opens (a window would open on the offscreen platform).
cp "$work/a.cbk" "$work/rec.cbk"
QT_QPA_PLATFORM=offscreen timeout 10 "$cubrik" --record "$work/rec.cbk" "$work/a.cbk" 2>"$work/err"
status=$?
check "--record onto a model exits 1 with one line" test "$status" -eq 1 -a "$(wc -l <"$work/err")" -eq 1
check "and leaves the model byte for byte" cmp -s "$work/rec.cbk" "$work/a.cbk"
for name in out.JPG out.jpeg out.gpl out.hex out.pal; do
  QT_QPA_PLATFORM=offscreen timeout 10 "$cubrik" --record "$work/$name" 2>"$work/err"
  check "--record onto $name is refused too" test $? -eq 1 -a ! -e "$work/$name"
done

# Only a regular file is a session: a folder or a FIFO is refused at once.
mkfifo "$work/fifo"
for session in "$work" "$work/fifo"; do
  timeout 10 "$cubrik" --replay "$session" 2>"$work/err"
  status=$?
  check "--replay ${session##*/} exits 1 with one line (got $status)" test "$status" -eq 1 -a "$(wc -l <"$work/err")" -eq 1
done

# Sessions are read a line at a time: a million lines take no more memory than
# one (the sanitizer build's quarantine of freed memory would blur that).
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=1"
peak_kb() {
  python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stderr=subprocess.DEVNULL)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$@"
}
echo 'shift 0' >"$work/one.txt"
yes 'shift 0' | head -n 1000000 >"$work/long.txt"
one="$(peak_kb "$cubrik" --replay "$work/one.txt")"
long="$(peak_kb "$cubrik" --replay "$work/long.txt")"
check "a million-line session takes no more memory than one line ($one KB, $long KB)" test $((long - one)) -lt 100000

# An OBJ comes with its library or not at all.
mkdir "$work/lib.mtl"
"$cubrik" --export "$work/a.cbk" "$work/lib.obj" 2>"$work/err"
status=$?
check "an OBJ whose .mtl cannot be written exits 1" test "$status" -eq 1 -a "$(wc -l <"$work/err")" -eq 1
check "and writes no OBJ" test ! -e "$work/lib.obj"

# A FIFO would make reading wait for ever.
mkfifo "$work/fifo.cbk"
timeout 10 "$cubrik" --export "$work/fifo.cbk" "$work/never.cbk" 2>"$work/err"
status=$?
check "a FIFO is refused at once (status $status)" test "$status" -eq 1
check "as no regular file" grep -q "^cubrik: cannot read $work/fifo.cbk: it is not a regular file" "$work/err"
# Nor is one written over: an export onto a FIFO, through a link or not, or
# onto a device fails and leaves them as they were. The device is one of our
# own (only root may make it): a faulty build must never replace /dev/null.
mkfifo "$work/out.stl"
ln -s out.stl "$work/link.stl"
targets="out.stl link.stl"
mknod "$work/null.stl" c 1 3 2>/dev/null && targets="$targets null.stl"
for target in $targets; do
  timeout 10 "$cubrik" --export "$work/a.cbk" "$work/$target" 2>"$work/err"
  check "an export onto $target fails (status $?)" grep -q "it is not a regular file" "$work/err"
done
check "the FIFO and the link stay" test -p "$work/out.stl" -a -L "$work/link.stl"

exit $((failures > 0))
