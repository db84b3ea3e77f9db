#!/usr/bin/env bash
# Installs what is missing, then configures build/ (or $DRAWFOLLOW_BUILD_DIR); arguments go to CMake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DRAWFOLLOW_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
