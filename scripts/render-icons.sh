#!/usr/bin/env bash
# Renders the application icon (packaging/icons/drawfollow.svg) into the PNG sizes the build
# installs and builds into the window. Run it after changing the drawing and commit the PNGs;
# it needs rsvg-convert (Debian package librsvg2-bin), which the build itself does not.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
icons=$root/packaging/icons
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$icons/drawfollow.svg" -o "$icons/drawfollow-$size.png"
done
