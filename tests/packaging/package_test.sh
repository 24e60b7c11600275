#!/usr/bin/env bash
# The Debian package CPack makes from this build (scripts/package makes it
# the same way, with Debian's hardening flags): its fields and files, what
# lintian, man, appstreamcli, desktop-file-validate and bash completion make
# of them, and the program run from the unpacked package.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -u
build="$1"
source_dir="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/check.sh"

quietly() { "$@" >"$work/output" 2>&1 || { cat "$work/output"; return 1; }; }
quietly cpack --config "$build/CPackConfig.cmake" -B "$work"
deb="$(ls "$work"/cubrik_*.deb 2>/dev/null | head -n 1)"
check "cpack makes the package" test -n "$deb"
[ -n "$deb" ] || exit 1
field() { dpkg-deb -f "$deb" "$1"; }
version="$("$build/cubrik" --version | sed 's/.* //')"
check "named cubrik, at the program's version" test "$(field Package) $(field Version)" = "cubrik $version"
check "in section graphics" test "$(field Section)" = graphics
check "depending on the libraries the program links" grep -q "libqt6widgets6 (>=" <<<"$(field Depends)"
check "described in more than a line" test "$(field Description | wc -l)" -gt 5

root="$work/root"
dpkg-deb -x "$deb" "$root"
share="$root/usr/share"
for file in bin/cubrik share/applications/cubrik.desktop share/icons/hicolor/scalable/apps/cubrik.svg \
            share/mime/packages/cubrik.xml share/cubrik/help/index.html share/man/man1/cubrik.1.gz \
            share/metainfo/example.cubrik.Cubrik.metainfo.xml share/bash-completion/completions/cubrik \
            share/doc/cubrik/copyright share/doc/cubrik/changelog.gz; do
  check "holds /usr/$file" test -s "$root/usr/$file"
done
for picture in $(cat "$share/cubrik/help/"index*.html | grep -o 'src="[^"]*"' | sed 's/src="\(.*\)"/\1/' | sort -u); do
  check "holds the help page's $picture" test -s "$share/cubrik/help/$picture"
done
program="$root/usr/bin/cubrik"
check "the unpacked program runs" test "$("$program" --version)" = "Cubrik version $version"
check "and exports without a display" "$program" --export "$source_dir/examples/penguin.cbk" "$work/p.stl"
check "the changelog is at the same version" grep -q "^cubrik ($version)" <(zcat "$share/doc/cubrik/changelog.gz")

lintian --fail-on error "$deb" >"$work/lintian" 2>&1
status=$?
check "lintian finds no error" test "$status" -eq 0
grep -E "^[EW]:" "$work/lintian"

check "the desktop entry is valid" desktop-file-validate "$share/applications/cubrik.desktop"
metainfo="$share/metainfo/example.cubrik.Cubrik.metainfo.xml"
check "the AppStream data is valid" quietly appstreamcli validate --no-net "$metainfo"
check "and launches the packaged desktop entry" \
  test -f "$share/applications/$(sed -n 's/.*<launchable type="desktop-id">\(.*\)<.*/\1/p' "$metainfo")"
check "and names this release" grep -q "<release version=\"$version\"" "$metainfo"
check "and the MIT licence" grep -q "<project_license>MIT</project_license>" "$metainfo"
check "as the copyright file does" grep -q "MIT licence" "$share/doc/cubrik/copyright"

# The man page: no warnings, every option of --help and back, the same file types.
zcat "$share/man/man1/cubrik.1.gz" >"$work/cubrik.1"
check "the man page is of this version" grep -q "^\.TH CUBRIK 1 .* \"Cubrik $version\"" "$work/cubrik.1"
check "the man page renders without warnings" test -z "$(MANWIDTH=80 man --warnings -E UTF-8 -l "$work/cubrik.1" 2>&1 >/dev/null)"
MANWIDTH=200 man -E UTF-8 -l "$work/cubrik.1" 2>/dev/null | col -b >"$work/man.txt"
help="$("$program" --help)"
for option in $(grep -o -E -- '--[a-z]+(-[a-z]+)*' <<<"$help" | sort -u); do
  check "the man page describes $option" grep -q -E -- "^ {7}$option( |,|$)" "$work/man.txt"
done
for option in $(grep -o -E -- '^ {7}--[a-z]+(-[a-z]+)*' "$work/man.txt" | sort -u); do
  check "--help names $option" grep -q -E -- "$option([^a-z]|$)" <<<"$help"
done
completion="$share/bash-completion/completions/cubrik"
for types in $(grep -o -E '(FILE|IN|OUT)\.[a-z0-9]+(\|(FILE|IN|OUT)\.[a-z0-9]+)*' <<<"$help" | sort -u); do
  check "the man page's synopsis has $types" grep -q -F "$types" "$work/man.txt"
  check "the completion offers $types" grep -q -F "_filedir '$(sed -E 's/(FILE|IN|OUT)\.//g' <<<"$types")'" "$completion"
done

# The completion at work: what it offers after some words, in a folder of files.
mkdir "$work/files" "$work/files/folder"
touch "$work/files/"{a.cbk,b.STL,c.txt,d.png,e.vox}
complete_words() {
  (cd "$work/files" && bash -c 'source /usr/share/bash-completion/bash_completion; source "$0"
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    _cubrik cubrik "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"; printf "%s\n" "${COMPREPLY[@]}" | sort | xargs' \
    "$completion" cubrik "$@")
}
check "completion: the modes" test "$(complete_words --e)" = "--export"
check "completion: the views" test "$(complete_words --render a.cbk o.png --view b)" = "back bottom"
check "completion: --export's options" test "$(complete_words --export a.cbk o.stl --)" = "--flat --scale --split-colours"
check "completion: a mesh's options" test "$(complete_words --export m.OBJ o.cbk --)" = \
  "--cells --flat --scale --split-colours --surface"
check "completion: models to open" test "$(complete_words '')" = "a.cbk e.vox folder"
check "completion: meshes to write" test "$(complete_words --export a.cbk '')" = "a.cbk b.STL e.vox folder"
check "completion: images to write" test "$(complete_words --render a.cbk '')" = "d.png folder"
exit $((failures > 0))
