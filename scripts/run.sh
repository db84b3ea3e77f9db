#!/usr/bin/env bash
# Installs, builds and starts DrawFollow. Arguments go to the program (e.g. --data-dir DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DRAWFOLLOW_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
if [ -x "$build/app/drawfollow" ]; then
  exec "$build/app/drawfollow" "$@"
fi
exec "$build/cli/drawfollow-cli" --help
