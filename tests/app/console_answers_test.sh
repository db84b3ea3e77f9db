#!/usr/bin/env bash
# The window program answers --version and --help, and refuses an unknown option, on a
# console without any display: before the window system is started, with the usual statuses.
set -euo pipefail
program=$1
version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
bare() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }

out=$(bare --version) || fail "--version exits with $?"
[ "$out" = "drawfollow $version" ] || fail "--version prints '$out'"

out=$(bare --help) || fail "--help exits with $?"
grep -q -- '--data-dir' <<<"$out" || fail "--help does not name --data-dir"
grep -q 'drawfollow \[options\]' <<<"$out" || fail "--help does not name the program: $out"

status=0
err=$(bare --no-such-option 2>&1 >/dev/null) || status=$?
[ "$status" -eq 1 ] || fail "an unknown option exits with $status"
grep -q '未知选项 no-such-option' <<<"$err" || fail "an unknown option is refused with '$err'"

status=0
err=$(bare --data-dir 2>&1 >/dev/null) || status=$?
[ "$status" -eq 1 ] || fail "--data-dir without a folder exits with $status"
echo "ok"
