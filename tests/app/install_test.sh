#!/usr/bin/env bash
# cmake --install puts the program, its help, the desktop entry, the icon and
# the .cbk file type where a desktop finds them, and the file type works.
# Usage: install_test.sh BUILD_DIR
set -u
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
source "$(dirname "$0")/../support/check.sh"

check "cmake --install succeeds" cmake --install "$build" --prefix "$prefix"
for file in bin/cubrik libexec/cubrik-window share/cubrik/help/index.html share/cubrik/help/index.ja.html \
            share/applications/cubrik.desktop \
            share/icons/hicolor/scalable/apps/cubrik.svg share/mime/packages/cubrik.xml; do
  check "installs $file" test -f "$prefix/$file"
done
check "the desktop entry is valid" desktop-file-validate "$prefix/share/applications/cubrik.desktop"
check "the file type builds into a MIME database" update-mime-database "$prefix/share/mime"
check "which knows .cbk files" grep -q "x-cubrik-model" "$prefix/share/mime/globs2"
exit $((failures > 0))
