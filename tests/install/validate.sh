#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo, as installed, pass their
# validators, and the icons and manual page are where desktops look for them.
# Argument: the build folder.
set -euo pipefail
PREFIX=$(mktemp -d /tmp/dorvik-validate-XXXXXX)
trap 'rm -rf "$PREFIX"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cmake --install "$1" --prefix "$PREFIX" > /dev/null
ID=io.github.dorvik_linux.Dorvik
desktop-file-validate "$PREFIX/share/applications/$ID.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$PREFIX/share/metainfo/$ID.metainfo.xml" || fail "metainfo"
for size in 64 128 256; do
    icon=$PREFIX/share/icons/hicolor/${size}x$size/apps/$ID.png
    identify -format '%w %h %[channels]\n' "$icon" | grep -q "^$size $size srgba" || fail "icon $icon"
done
grep -q "^Icon=$ID$" "$PREFIX/share/applications/$ID.desktop" || fail "the entry names another icon"
grep -q "^Exec=dorvik" "$PREFIX/share/applications/$ID.desktop" || fail "the entry starts another program"
if command -v groff > /dev/null; then
    warnings=$(groff -man -ww -z "$PREFIX/share/man/man6/dorvik.6" 2>&1)
    [ -z "$warnings" ] || fail "manual page: $warnings"
fi
grep -q "MIT" "$PREFIX/share/doc/dorvik/LICENSE" || fail "licence"
echo "install metadata: ok"
