#!/usr/bin/env bash
# Takes the user manual's pictures of the window (docs/manual/images/*.png) and the README's
# pictures of it on three screens (docs/screenshot-*.png) on the offscreen platform, over a sample history made up here (three years of draws from a fixed seed), so
# that the pictures come out the same on every run. Builds first when needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DRAWFOLLOW_BUILD_DIR:-$root/build}
out=$root/docs/manual/images
bash "$root/scripts/build.sh" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Eight different numbers 1..30 per draw, from a linear congruential generator.
awk 'BEGIN {
  seed = 20260101
  for (year = 2023; year <= 2025; ++year)
    for (seq = 1; seq <= 150; ++seq) {
      delete used
      line = sprintf("%d%03d", year, seq)
      for (k = 0; k < 8; ) {
        seed = (seed * 1103515245 + 12345) % 2147483648
        n = int(seed / 65536) % 30 + 1
        if (n in used) continue
        used[n] = 1; ++k
        line = line sprintf(" %02d", n)
      }
      printf "%s\r\n", line
    }
}' >"$work/sample.txt"

mkdir -p "$work/data" "$out"
"$build/cli/drawfollow-cli" --data-dir "$work/data" import "$work/sample.txt" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/tools/manual_screenshots" "$work/data" "$out"
# Each screen picture starts the window afresh: the scale factor is read once, at start-up.
shoot() {
  QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$3 "$build/tools/manual_screenshots" "$work/data" --screen "$1" "$root/docs/$2"
}
shoot 1024x600 screenshot-1024x600.png 1
shoot 1366x768 screenshot-1366x768.png 1
shoot 1920x1080 screenshot-1920x1080-scale1.5.png 1.5
