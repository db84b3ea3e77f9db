#!/usr/bin/env bash
# Checks the formatting, builds (warnings are errors) and runs every test through CTest, builds
# the Debian package and installs, starts and removes it, then builds the core libraries and their tests under AddressSanitizer and UndefinedBehaviorSanitizer
# in their own folder and runs them again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DRAWFOLLOW_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/check-format.sh"
bash "$root/scripts/build.sh" -DDRAWFOLLOW_WERROR=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" -j"$(nproc)" --output-on-failure
bash "$root/scripts/check-package.sh"
cd "$root"
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)"
ctest --preset asan -j"$(nproc)"
