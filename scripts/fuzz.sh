#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $DRAWFOLLOW_FUZZ_DIR) and
# runs them one after the other, each for $1 seconds (default 600).
# Findings (crash-*, leak-*, timeout-*) land in build-fuzz/findings/; the corpora grow in
# build-fuzz/corpus/<target>/, seeded from tests/data.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DRAWFOLLOW_FUZZ_DIR:-$root/build-fuzz}
seconds=${1:-600}
bash "$root/scripts/install-deps.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDRAWFOLLOW_BUILD_FUZZERS=ON -DDRAWFOLLOW_BUILD_GUI=OFF -DDRAWFOLLOW_BUILD_TESTS=OFF \
  -DDRAWFOLLOW_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target page_scan_fuzzer history_text_fuzzer

mkdir -p "$build/findings" "$build/corpus/page_scan_fuzzer" "$build/corpus/history_text_fuzzer"
cp -n "$root"/tests/data/update/*.html "$build/corpus/page_scan_fuzzer/"
cp -n "$root"/tests/data/update/chart_draws.txt "$build/corpus/history_text_fuzzer/"
find "$root/tests/data" -maxdepth 1 -name '*.txt' -exec cp -n {} "$build/corpus/history_text_fuzzer/" \;

run() {
  local target=$1; shift
  echo "== $target, $seconds s"
  "$build/fuzz/$target" "$build/corpus/$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -artifact_prefix="$build/findings/$target-" -print_final_stats=1 "$@"
}
run page_scan_fuzzer -dict="$root/fuzz/page_scan.dict"
run history_text_fuzzer
