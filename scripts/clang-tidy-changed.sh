#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy on the program's C++ sources (store, io,
# analysis, net, cli, app) that a change touches, and fails on any finding. The tests are left
# out: through the GoogleTest and QtTest headers each of their files takes clang-tidy about
# seven times as long, more than the test command can spend. The change is what differs from
# the point where this branch left origin/main (or main), uncommitted edits included; on main
# itself (a fresh clone, or CI) it is the last commit, a merge with everything it brought in.
# Only files the build folder compiles are checked: the compile commands give clang-tidy the
# flags and the generated headers.
#   bash scripts/clang-tidy-changed.sh [build folder] [base commit]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${DRAWFOLLOW_BUILD_DIR:-$root/build}}
cd "$root"

base=${2:-}
if [[ -z "$base" ]]; then
    head=$(git rev-parse HEAD)
    base=$(git merge-base HEAD origin/main 2>/dev/null || git merge-base HEAD main 2>/dev/null || true)
    if [[ -z "$base" || "$base" == "$head" ]]; then
        base=$(git rev-parse -q --verify HEAD~1 || true)
    fi
fi
if [[ -z "$base" ]]; then
    echo "clang-tidy: a single commit and no origin/main: nothing to compare with"
    exit 0
fi
if [[ ! -f "$build/compile_commands.json" ]]; then
    echo "clang-tidy: $build/compile_commands.json is missing: configure the build first" >&2
    exit 1
fi

mapfile -t changed < <(git diff --name-only --diff-filter=d "$base" -- {store,io,analysis,net,cli,app}/'*.cpp' | sort -u)
# The compile commands name every file by its absolute path.
mapfile -t compiled < <(python3 -c 'import json,sys; print("\n".join(e["file"] for e in json.load(open(sys.argv[1]))))' \
    "$build/compile_commands.json" | sort -u)
files=()
for f in "${changed[@]}"; do
    if printf '%s\n' "${compiled[@]}" | grep -qxF "$root/$f"; then
        files+=("$root/$f")
    fi
done
echo "clang-tidy: ${#files[@]} changed source file(s) since $(git rev-parse --short "$base")"
if ((${#files[@]} == 0)); then
    exit 0
fi
# Every finding is an error; the counts of warnings clang-tidy left out (system headers,
# headers outside HeaderFilterRegex) are noise.
printf '%s\0' "${files[@]}" |
    xargs -0 -n 1 -P "$(nproc)" clang-tidy -p "$build" --quiet --warnings-as-errors='*' 2> >(grep -v '^[0-9]* warnings\? \(and [0-9]* errors\? \)\?generated\.$' >&2)
