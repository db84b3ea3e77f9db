#!/usr/bin/env bash
# Installs every Debian 12 package the project builds, tests and runs with.
# Quick and quiet when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsqlite3-dev libsqlitecpp-dev
  libxml2-dev libxlsxwriter-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev qt6-translations-l10n
  fonts-noto-cjk xdg-utils
  unzip
  appstream desktop-file-utils lintian
  python3
  clang libclang-rt-14-dev
  clang-format
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
