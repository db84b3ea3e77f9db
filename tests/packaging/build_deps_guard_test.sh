#!/usr/bin/env bash
# The dependency guard passes on this build with the project's package list, and fails naming
# the package when that package is taken out of a copy of the list; on a made-up cache it
# reports what no package installed and leaves header folders and paths outside /usr alone.
set -euo pipefail
root=$1
build=$2
guard=$root/scripts/check-build-deps.sh
list=$root/scripts/debian-packages.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

bash "$guard" "$build" || fail "the guard refuses the project's own list"

expect_named() {
  local package=$1
  sed "s/\(^\| \)$package\( \|$\)/\1\2/" "$list" >"$work/list.txt"
  ! grep -qw -- "$package" "$work/list.txt" || fail "could not take $package out of the list"
  if bash "$guard" "$build" "$work/list.txt" 2>"$work/out.txt"; then
    fail "the guard passed without $package"
  fi
  grep -q "add $package to it" "$work/out.txt" || fail "the guard did not name $package: $(cat "$work/out.txt")"
}
expect_named libxml2-dev
if grep -q '^Qt6OpenGL_DIR:PATH=/usr/' "$build/CMakeCache.txt"; then
  expect_named libqt6opengl6-dev
fi

mkdir "$work/made-up"
cat >"$work/made-up/CMakeCache.txt" <<'CACHE'
Nothing_DIR:PATH=/usr/lib/drawfollow-guard-test/cmake/Nothing
Shared_INCLUDE_DIR:PATH=/usr/include
Local_LIBRARY:FILEPATH=/opt/drawfollow-guard-test/libLocal.so
CMAKE_COMMAND:INTERNAL=/usr/lib/drawfollow-guard-test/cmake
CACHE
if bash "$guard" "$work/made-up" 2>"$work/out.txt"; then
  fail "the guard passed a folder no package installed"
fi
[ "$(wc -l <"$work/out.txt")" -eq 1 ] || fail "expected one complaint: $(cat "$work/out.txt")"
grep -q "Nothing_DIR found /usr/lib/drawfollow-guard-test/cmake/Nothing, which no Debian package installed" \
  "$work/out.txt" || fail "unexpected complaint: $(cat "$work/out.txt")"

rm "$work/made-up/CMakeCache.txt"
status=0
bash "$guard" "$work/made-up" 2>/dev/null || status=$?
[ $status -eq 2 ] || fail "a folder without a cache gave status $status"
echo "dependency guard checks passed"
