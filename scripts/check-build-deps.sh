#!/usr/bin/env bash
# check-build-deps.sh BUILD_DIR [PACKAGE_LIST]
# Fails when CMake's configure step in BUILD_DIR found something under /usr (a package's CMake
# folder, a library, a program) that no package of PACKAGE_LIST (default:
# scripts/debian-packages.txt) brings in, by itself or through its dependencies. Such a build
# only works on a machine where somebody happened to install that package; a fresh one stops.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: check-build-deps.sh BUILD_DIR [PACKAGE_LIST]}
list=${2:-$root/scripts/debian-packages.txt}
cache=$build/CMakeCache.txt
[ -f "$cache" ] || { echo "no CMakeCache.txt in $build: configure first" >&2; exit 2; }

mapfile -t named < <(sed 's/#.*//' "$list" | tr -s ' \t' '\n' | grep .)
# Every Debian system has the packages of priority "required" (the minimal base debootstrap
# makes: dpkg, apt, coreutils...), so they count as named.
mapfile -t -O "${#named[@]}" named < <(dpkg-query -W -f='${db:Status-Status} ${Priority} ${Package}\n' |
  awk '$1 == "installed" && $2 == "required" { print $3 }')
# What the list brings in: the named packages and every installed package they depend on.
declare -A covered=()
while read -r package; do
  covered[$package]=1
done < <(apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts --no-breaks \
  --no-replaces --no-enhances "${named[@]}" 2>/dev/null | sed -n 's/^<\{0,1\}\([a-z0-9][^ <>:]*\).*/\1/p')

# Where CMake found things: the package folders (*_DIR) and the files (FILEPATH: libraries,
# programs). A shared header folder names no package; the library found with it does.
mapfile -t found < <(sed -n 's/^\([A-Za-z0-9_.+-]*\):\(PATH\|FILEPATH\)=\(\/usr\/.*\)$/\1 \2 \3/p' "$cache" |
  awk '($2 == "FILEPATH" || $1 ~ /_DIR$/) && $1 !~ /_INCLUDE_DIR$/ { print $1 "\t" $3 }')

# The file that stands for an entry: a package folder's own config file (a folder such as
# cmake/Qt6 may be shared), the file itself otherwise.
representative() {
  local path=$1 config
  if [ -d "$path" ]; then
    config=$(find "$path" -maxdepth 1 \( -name '*Config.cmake' -o -name '*-config.cmake' \) | sort | head -n 1)
    [ -n "$config" ] && path=$config
  fi
  echo "$path"
}

# Other names of the same file: the one a symbolic link (an alternative such as /usr/bin/c++)
# leads to, and the same under / for the files a package installs there on merged /usr.
aliases() {
  local resolved
  resolved=$(readlink -f "$1" || echo "$1")
  printf '%s\n' "$resolved" "${1#/usr}" "${resolved#/usr}" | grep -vxF "$1" | sort -u
}

# owned[path]=space-separated owners, for the paths dpkg knows; one dpkg-query for them all.
declare -A owned=()
ask_dpkg() {
  local owners path
  [ $# -gt 0 ] || return 0
  while IFS= read -r line; do
    [[ $line == diversion* ]] && continue
    owners=${line%%: /*}
    path=/${line#*: /}
    owned[$path]=$(echo "$owners" | tr ',' '\n' | sed 's/^ *//; s/:.*//' | tr '\n' ' ')
  done < <(dpkg-query -S "$@" 2>/dev/null || true)
}

declare -A entry_path=()
for entry in "${found[@]}"; do
  entry_path[${entry%%$'\t'*}]=$(representative "${entry#*$'\t'}")
done
ask_dpkg "${entry_path[@]}"
declare -a second=()
for path in "${entry_path[@]}"; do
  [ -n "${owned[$path]:-}" ] || mapfile -t -O "${#second[@]}" second < <(aliases "$path")
done
ask_dpkg "${second[@]}"

status=0
for name in $(printf '%s\n' "${!entry_path[@]}" | sort); do
  path=${entry_path[$name]}
  packages=${owned[$path]:-}
  if [ -z "$packages" ]; then
    for alias in $(aliases "$path"); do
      packages=${packages:-${owned[$alias]:-}}
    done
  fi
  if [ -z "$packages" ]; then
    echo "CMake's $name found $path, which no Debian package installed" >&2
    status=1
    continue
  fi
  ok=0
  for package in $packages; do
    [ -n "${covered[$package]:-}" ] && ok=1
  done
  if [ $ok -eq 0 ]; then
    shown=${packages% }
    echo "CMake's $name found $path from ${shown// /, }, which $(basename "$list") does not install: add ${packages%% *} to it" >&2
    status=1
  fi
done
exit $status
