#!/usr/bin/env bash
# The recovery copy from the outside: replays with --state that crash, come
# back and answer the recovery question, and quit or save.
# Usage: recovery_test.sh CUBRIK MODEL.cbk
set -u
cubrik="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/check.sh"

state="$work/state"
folder="$state/cubrik/recovery"
cp "$2" "$work/doc.cbk"
copies() { ls "$folder"/*.cbk 2>/dev/null | wc -l; }
replay() { # SESSION-TEXT [FILE]: runs it with the state folder; sets status
  printf '%s\n' "$1" >"$work/s.txt"
  "$cubrik" --replay "$work/s.txt" --state "$state" ${2:+"$2"} 2>"$work/err"
  status=$?
}

# A colour of the palette changed in its dialog, then a stroke on the model.
edits='size 800 700
paint
answer colour 80FF01
ldbl 20 170
ldown 400 300
move 410 305
move 420 310
lup 420 310'

printf '%s\nsave %s\n' "$edits" "$work/edited.cbk" >"$work/expected.txt"
"$cubrik" --replay "$work/expected.txt" "$work/doc.cbk"
check "the edits change the model" test -n "$(cmp "$work/edited.cbk" "$work/doc.cbk")"

replay "$edits
wait 10
paint
crash" "$work/doc.cbk"
check "crash exits with status 70 (got $status)" test "$status" = 70
check "changes 10 s old are not kept yet" test "$(copies)" = 0

replay "$edits
wait 31
paint
crash" "$work/doc.cbk"
check "changes 31 s old are kept after a crash" test "$(copies)" = 1
check "as the model at the crash, byte for byte" cmp -s "$folder"/*.cbk "$work/edited.cbk"
check "beside a note naming the document" grep -qx "path=$work/doc.cbk" "$folder"/*.txt


# Cancel keeps the orphan; No drops it for the ordinary start-up document.
cp -r "$state" "$work/kept"
replay "answer cancel
save $work/cancelled.cbk" "$work/doc.cbk"
check "Cancel starts with the start-up document" cmp -s "$work/cancelled.cbk" "$work/doc.cbk"
check "and keeps the copy" test "$(copies)" = 1
replay "answer no
save $work/declined.cbk" "$work/doc.cbk"
check "No starts with the start-up document" cmp -s "$work/declined.cbk" "$work/doc.cbk"
check "and removes the copy" test -z "$(ls -A "$folder")"

# Yes: the copy is the document, modified, under its old path, with nothing to undo.
rm -rf "$state"
cp -r "$work/kept" "$state"
replay "answer yes
paint
key ctrl+z
menu 40003"
check "Yes recovers, and Save writes to the document's own path" cmp -s "$work/doc.cbk" "$work/edited.cbk"
check "leaving no copy behind" test -z "$(ls -A "$folder")"
cp "$2" "$work/doc.cbk"

# A copy whose owner still runs is nobody's to offer.
replay "$edits
wait 31
paint
crash"
# The lock's holder is sleep itself, so ending it releases the lock.
(flock 9 && exec sleep 5) 9<"$(ls "$folder"/*.lock)" &
owner=$!
sleep 0.3
replay "answer no
paint"
check "a copy whose lock is held is not offered" test "$(copies)" = 1
kill "$owner" 2>/dev/null
wait "$owner" 2>/dev/null

# An untitled copy comes back untitled: Save asks for a name.
replay "answer yes
answer file $work/named.cbk
menu 40003"
check "an untitled copy comes back untitled" test -f "$work/named.cbk"

# Quitting after No to the unsaved-changes question, or saving, leaves no copy.
for ending in "answer no"$'\n'"menu 40006" "save $work/saved.cbk"; do
  replay "$edits
wait 31
paint
$ending
paint" "$work/doc.cbk"
  check "${ending%%$'\n'*}: the copy goes" test -z "$(ls -A "$folder")"
done
# Cancel keeps the program running: the crash is reached, with the edits kept.
replay "$edits
wait 31
answer cancel
menu 40006
paint
crash" "$work/doc.cbk"
check "Cancel at quit goes on (status $status)" test "$status" = 70
check "with the edits and their copy" cmp -s "$folder"/*.cbk "$work/edited.cbk"

# Newer changes are kept again once they too have waited the interval.
printf '%s\nkey ctrl+z\nsave %s\n' "$edits" "$work/undone.cbk" >"$work/expected.txt"
"$cubrik" --replay "$work/expected.txt" "$work/doc.cbk"
for wait in 29 30; do
  rm -rf "$state"
  replay "$edits
wait 31
key ctrl+z
wait $wait
crash" "$work/doc.cbk"
  cp "$folder"/*.cbk "$work/after-$wait.cbk"
done
check "a change after the copy waits the interval" cmp -s "$work/after-29.cbk" "$work/edited.cbk"
check "and is then kept" cmp -s "$work/after-30.cbk" "$work/undone.cbk"

# A second crash soon after a recovery keeps the work: the copy is written
# again at once, not an interval later.
rm -rf "$state"
paint_stroke='size 800 700
paint
key E
ldown 400 300
move 410 305
move 420 310
lup 420 310'
printf '%s\nsave %s\n' "$paint_stroke" "$work/painted.cbk" >"$work/expected.txt"
"$cubrik" --replay "$work/expected.txt" "$work/doc.cbk"
replay "$paint_stroke
wait 31
crash" "$work/doc.cbk"
replay "answer yes
paint
crash"
replay "answer yes
save $work/third.cbk"
check "recovered work survives a second crash" cmp -s "$work/third.cbk" "$work/painted.cbk"

# Private, whatever the umask: the folders the program makes are 0700, the files 0600.
rm -rf "$state"
(umask 000 && replay "$edits
wait 31
crash" "$work/doc.cbk")
check "the state folders are 0700" test "$(stat -c %a "$state" "$state/cubrik" "$folder" | sort -u)" = 700
check "the copy, its note and its lock are 0600" test "$(stat -c %a "$folder"/* | sort -u)" = 600

# The note names the file absolutely: a window started in another folder,
# recovering it, saves to the file the copy came from.
mkdir "$work/A" "$work/B"
cp "$2" "$work/A/doc.cbk"
rm -rf "$state"
(cd "$work/A" && replay "$edits
wait 31
crash" doc.cbk)
(cd "$work/B" && replay "answer yes
key ctrl+s")
check "a copy recovered from another folder saves to its own file" cmp -s "$work/A/doc.cbk" "$work/edited.cbk"

# A note cannot aim Save elsewhere: a path that is no model file's, or none,
# recovers the copy untitled, so Save asks.
echo original >"$work/victim.conf"
for path_line in "path=$work/victim.conf" ""; do
  rm -rf "$state"
  replay "$edits
wait 31
crash" "$work/doc.cbk"
  printf '%s\ntitle=victim\nuntitled=0\n' "$path_line" >"$(ls "$folder"/*.txt)"
  (cd "$work/B" && replay "answer yes
answer file $work/asked.cbk
key ctrl+s")
  check "a note with ${path_line:-no path} makes Save ask" cmp -s "$work/asked.cbk" "$work/edited.cbk"
  rm -f "$work/asked.cbk"
done
check "and writes nothing else" test "$(cat "$work/victim.conf")" = original -a -z "$(ls -A "$work/B")"

# A lock file nobody holds and no copy goes with is removed at the next start;
# so is a write a crash cut short, once no other window could be making it.
touch "$folder/stale.lock" "$folder/.cubrik-0123456789ab.tmp"
(flock 9 && exec sleep 5) 9>"$folder/held.lock" &
holder=$!
sleep 0.3
replay "answer no
paint"
check "a stale lock goes" test ! -e "$folder/stale.lock"
check "a held one stays" test -e "$folder/held.lock"
check "a half-written file stays while another window runs" test -e "$folder/.cubrik-0123456789ab.tmp"
kill "$holder" 2>/dev/null
wait "$holder" 2>/dev/null
replay "answer no
paint"
check "and goes once none does" test ! -e "$folder/.cubrik-0123456789ab.tmp"

# Several orphans: the newest is asked about first, whatever order the
# folder lists them in (the older one here is written last).
rm -rf "$state"
replay "$edits
wait 31
crash" "$work/doc.cbk"
sed -i 's/^time=.*/time=2000000000/' "$folder"/*.txt
mv "$folder" "$work/first"
replay "$paint_stroke
wait 31
crash" "$work/doc.cbk"
sed -i 's/^time=.*/time=1000000000/' "$folder"/*.txt
mv "$work/first"/* "$folder"
replay "answer yes
save $work/newest.cbk"
check "the newest orphan is offered first" cmp -s "$work/newest.cbk" "$work/edited.cbk"

# The recovery folder is trusted only when it is this user's own: a link to
# a folder, or a folder others may write in, is refused with a message, and
# left as it was.
rm -rf "$state" "$work/shared"
mkdir -p "$state/cubrik" "$work/shared"
chmod 1777 "$work/shared"
ln -s "$work/shared" "$folder"
replay "$edits
wait 31
crash" "$work/doc.cbk"
check "a linked recovery folder is refused" grep -q "symbolic link" "$work/err"
check "its target keeps its mode and gets nothing" \
  test "$(stat -c %a "$work/shared")" = 1777 -a -z "$(ls -A "$work/shared")"
rm "$folder"
mkdir -m 0777 "$folder"
replay "$edits
wait 31
crash" "$work/doc.cbk"
check "a folder others may write in is refused" grep -q "other users may write in it" "$work/err"
check "and stays as it was" test "$(stat -c %a "$folder")" = 777 -a -z "$(ls -A "$folder")"
if [ "$(id -u)" = 0 ]; then
  chmod 0700 "$folder"
  chown 65534 "$folder"
  replay "$edits
wait 31
crash" "$work/doc.cbk"
  check "another user's folder is refused" grep -q "belongs to another user" "$work/err"
fi

exit $((failures > 0))
