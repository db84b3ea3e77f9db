#!/usr/bin/env bash
# Installs every Debian 12 package the project builds, tests and runs with (the list is
# scripts/debian-packages.txt). Quick and quiet when everything is already there.
set -euo pipefail
list=$(dirname "$0")/debian-packages.txt

mapfile -t packages < <(sed 's/#.*//' "$list" | tr -s ' \t' '\n' | grep .)
# dpkg-query fails on a name it has never seen, which is exactly a package to install.
installed=" $({ dpkg-query -W -f='${db:Status-Status} ${Package}\n' "${packages[@]}" 2>/dev/null || true; } |
  awk '$1 == "installed" { printf "%s ", $2 }') "
missing=()
for p in "${packages[@]}"; do
  [[ $installed == *" $p "* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A fresh system has no package lists yet.
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
