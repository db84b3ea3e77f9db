#!/usr/bin/env bash
# Builds the Debian package from the existing build, has lintian check it, installs it with
# apt-get as a user would, checks that both programs run from their installed place (the window
# starts offscreen, saves a picture of itself and quits) and removes the package again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DRAWFOLLOW_BUILD_DIR:-$root/build}
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

rm -f "$build"/drawfollow_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$build"/drawfollow_*.deb)
[ -f "$deb" ] || { echo "cpack made no package" >&2; exit 1; }
# Debian's own checks of a package: not one error or warning.
lintian --fail-on error,warning "$deb" || { echo "lintian finds fault with $(basename "$deb")" >&2; exit 1; }

work=$(mktemp -d)
cleanup() {
  rm -rf "$work"
  $SUDO apt-get remove -y -qq drawfollow >/dev/null 2>&1 || true
}
trap cleanup EXIT
$SUDO apt-get install -y -qq "$deb" >/dev/null 2>"$work/apt.log" || { cat "$work/apt.log" >&2; exit 1; }

/usr/bin/drawfollow-cli --version
# Installed, both the command line and the helper program it hands the spreadsheet export to
# keep the history in the per-user folder, even for root, who could write beside them.
XDG_DATA_HOME="$work/xdg" /usr/bin/drawfollow-cli export-xlsx history >/dev/null
[ -s "$work/xdg/DrawFollow/lishi.xlsx" ] || { echo "the installed export did not write to the user's folder" >&2; exit 1; }
for folder in /usr/bin /usr/libexec/drawfollow; do
  [ ! -e "$folder/ZembraRAV.db" ] || { echo "an installed program kept its history in $folder" >&2; exit 1; }
done
# Answered without any display.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/drawfollow --version
QT_QPA_PLATFORM=offscreen /usr/bin/drawfollow --data-dir "$work/data" --screenshot "$work/start.png"
[ -s "$work/start.png" ] || { echo "the installed window did not start" >&2; exit 1; }
echo "package $(basename "$deb") installs and runs"
