#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/ (or $DRAWFOLLOW_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DRAWFOLLOW_BUILD_DIR:-$root/build}
bash "$root/scripts/configure.sh" "$@"
cmake --build "$build" -j"$(nproc)"
