#!/usr/bin/env bash
# Checks the formatting, configures, checks that every package CMake found comes with
# scripts/debian-packages.txt, builds (warnings are errors), runs every test through CTest,
# runs clang-tidy on the sources the change touches, builds the Debian package and installs,
# starts and removes it, builds the core libraries, the command-line tool and their tests under
# AddressSanitizer and UndefinedBehaviorSanitizer in their own folder and runs them again, and
# last builds the two fuzz targets and runs each for a few seconds. The window's tests under
# the sanitizers and the threaded tests under ThreadSanitizer take longer than this command
# may: the presets asan and tsan run them (README, Development).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DRAWFOLLOW_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/check-format.sh"
bash "$root/scripts/configure.sh" -DDRAWFOLLOW_WERROR=ON
bash "$root/scripts/check-build-deps.sh" "$build"
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" -j"$(nproc)" --output-on-failure
bash "$root/scripts/clang-tidy-changed.sh" "$build"
bash "$root/scripts/check-package.sh"
cd "$root"
cmake --preset asan >/dev/null
cmake --build --preset asan-core -j"$(nproc)"
ctest --preset asan-core -j"$(nproc)"
bash "$root/scripts/fuzz.sh" 5
