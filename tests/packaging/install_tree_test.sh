#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks that every file lands in its
# freedesktop place, that the installed programs report their version, that the window finds
# the manual where it looks for it, and that the desktop entry, the AppStream data and the man
# pages pass their validators where those are installed.
set -euo pipefail
build=$1
version=$2
app_id=$3
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
usr=$dest/usr
for file in \
  bin/drawfollow bin/drawfollow-cli libexec/drawfollow/drawfollow-cli-update libexec/drawfollow/drawfollow-cli-export-xlsx \
  share/doc/drawfollow/manual/index.html share/doc/drawfollow/manual/demo.html \
  share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
  share/icons/hicolor/scalable/apps/$app_id.svg \
  share/icons/hicolor/16x16/apps/$app_id.png share/icons/hicolor/256x256/apps/$app_id.png \
  share/man/man1/drawfollow.1.gz share/man/man1/drawfollow-cli.1.gz \
  share/doc/drawfollow/changelog.gz share/doc/drawfollow/copyright; do
  [ -s "$usr/$file" ] || fail "missing $file"
done
# Every picture the manual shows and every page it links to is installed with it.
for target in $(grep -ho '\(src\|href\)="[^"#:]*' "$usr"/share/doc/drawfollow/manual/*.html | sed 's/.*="//' | sort -u); do
  [ -s "$usr/share/doc/drawfollow/manual/$target" ] || fail "the manual refers to $target, which is not installed"
done
# The window looks for the manual at this place relative to its own folder.
[ -s "$usr/bin/../share/doc/drawfollow/manual/index.html" ] || fail "no manual beside the window"

[ "$("$usr/bin/drawfollow-cli" --version)" = "drawfollow-cli $version" ] || fail "drawfollow-cli --version"
QT_QPA_PLATFORM=offscreen "$usr/bin/drawfollow" --version | grep -qx "drawfollow $version" || fail "drawfollow --version"
grep -q "^Name\[zh_CN\]=" "$usr/share/applications/$app_id.desktop" || fail "no Chinese name in the desktop entry"
grep -q "release version=\"$version\"" "$usr/share/metainfo/$app_id.metainfo.xml" || fail "metainfo version"

# Both validators come with scripts/install-deps.sh.
# Not even a hint (such as two main categories) from the desktop entry's validator.
notes=$(desktop-file-validate "$usr/share/applications/$app_id.desktop" 2>&1) || fail "desktop entry: $notes"
[ -z "$notes" ] || fail "desktop entry: $notes"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" >/dev/null || fail "AppStream data"
for page in drawfollow drawfollow-cli; do
  warnings=$(zcat "$usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "man page $page: $warnings"
done
grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
  "$usr/share/doc/drawfollow/copyright" || fail "the copyright file is not in Debian's machine-readable format"
zcat "$usr/share/doc/drawfollow/changelog.gz" | head -1 | grep -q "^drawfollow ($version) " ||
  fail "the changelog's first entry is not version $version"
echo "install tree complete"
