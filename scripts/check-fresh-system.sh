#!/usr/bin/env bash
# check-fresh-system.sh [FOLDER]
# Tries the README's commands as a new user on a new machine would: makes a minimal Debian 12
# system (debootstrap --variant=minbase bookworm) in FOLDER (default: a new folder under
# /var/tmp), clones the checkout's current commit into it, and inside it with chroot runs
# scripts/install-deps.sh twice (the second run must install and print nothing) and then the
# whole test command, scripts/test.sh. Only committed work is tried. Needs root and the Debian
# mirror of this machine's apt sources; takes long (see the README). The folder is removed
# after a pass and kept after a failure, for a look inside; given again, a kept system is used
# as it is (to try a fix to the package list quickly; the last word belongs to a fresh one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "check-fresh-system.sh needs root (debootstrap, mount, chroot)" >&2; exit 1; }
target=${1:-$(mktemp -d /var/tmp/drawfollow-fresh.XXXXXX)}
commit=$(git -C "$root" rev-parse HEAD)
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
  echo "note: uncommitted changes are not part of the check, only commit $commit"

export DEBIAN_FRONTEND=noninteractive
if ! command -v debootstrap >/dev/null; then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi

# The first URI this machine's apt sources give for a suite (one-line and deb822 formats).
source_uri() {
  local suite=$1
  {
    sed 's/\[[^]]*\]//' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      awk -v suite="$suite" '$1 == "deb" && $3 == suite { print $2 }'
    awk -v suite="$suite" '/^URIs:/ { uri = $2 } /^Suites:/ { for (i = 2; i <= NF; ++i) if ($i == suite) print uri }' \
      /etc/apt/sources.list.d/*.sources 2>/dev/null
  } | head -n 1
}
mirror=$(source_uri bookworm)
mirror=${mirror:-http://deb.debian.org/debian}
security=$(source_uri bookworm-security)

mounted=()
cleanup() {
  local status=$? point
  for point in "${mounted[@]}"; do
    umount "$point" || umount -l "$point" || true
  done
  if [ $status -eq 0 ] && ! grep -q " $target/" /proc/mounts; then
    rm -rf --one-file-system "$target"
  else
    echo "the system is kept in $target" >&2
  fi
}
trap cleanup EXIT

start=$SECONDS
elapsed() { echo "== $1 ($(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s)"; }
if [ -f "$target/etc/debian_version" ]; then
  elapsed "the system kept in $target is used again: not a fresh one"
else
  debootstrap --variant=minbase bookworm "$target" "$mirror" >"$target.debootstrap.log" 2>&1 ||
    { tail -n 20 "$target.debootstrap.log" >&2; exit 1; }
  rm -f "$target.debootstrap.log"
  {
    echo "deb $mirror bookworm main"
    echo "deb $mirror bookworm-updates main"
    [ -z "$security" ] || echo "deb $security bookworm-security main"
  } >"$target/etc/apt/sources.list"
  cp /etc/resolv.conf "$target/etc/resolv.conf"
  elapsed "minimal Debian 12 made in $target from $mirror"
fi

mount -t proc proc "$target/proc" && mounted=("$target/proc" "${mounted[@]}")
mount -t sysfs sysfs "$target/sys" && mounted=("$target/sys" "${mounted[@]}")
mount --bind /dev "$target/dev" && mounted=("$target/dev" "${mounted[@]}")
mount --make-private "$target/dev"
# apt-get logs through a pseudo-terminal.
mount --bind /dev/pts "$target/dev/pts" && mounted=("$target/dev/pts" "${mounted[@]}")

# A clone, not a copy of the folder: build folders and untracked files stay behind.
checkout=/root/drawfollow
rm -rf --one-file-system "$target$checkout"
git clone --quiet --no-checkout "$root" "$target$checkout"
git -C "$target$checkout" checkout --quiet --detach "$commit"

inside() {
  env -i HOME=/root LANG=C.UTF-8 TERM=dumb PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    chroot "$target" bash -c "cd $checkout && $1"
}
inside "bash scripts/install-deps.sh"
elapsed "scripts/install-deps.sh installed everything"
second=$(inside "bash scripts/install-deps.sh" 2>&1)
[ -z "$second" ] || { echo "a second run of install-deps.sh said: $second" >&2; exit 1; }
inside "bash scripts/test.sh"
elapsed "scripts/test.sh passed on a fresh Debian 12 at commit $commit"
