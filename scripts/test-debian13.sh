#!/usr/bin/env bash
# Runs VESSA's Windows-side and end-to-end tests as Debian 13 builds and runs them: in a fresh
# Debian 13 root made with debootstrap, with that release's MinGW-w64 (GCC 14, mingw-w64 12,
# toml++ 3.4) and Wine 10. scripts/test.sh calls it in CI on Debian 12;
# a developer runs it alone as root (it makes a root file system and mounts into it):
#   sudo bash scripts/test-debian13.sh
# The root is made in $VESSA_BUILD_DIR/debian13/root (default build/debian13/root) and removed
# at the end, also after a failure or Ctrl+C. Everything runs in a private mount and PID
# namespace: the mounts made for the root are unmounted on the way out and vanish with the
# namespace in any case, and no process started inside outlives the run. Kept between runs:
# the downloaded packages and ccache's files, in $VESSA_DEBIAN13_CACHE (default
# /var/cache/vessa-debian13), and the build trees in build/debian13/build.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VESSA_BUILD_DIR:-$root/build}
build=$(mkdir -p "$build" && cd "$build" && pwd)
work=$build/debian13
chroot_dir=$work/root
cache=${VESSA_DEBIAN13_CACHE:-/var/cache/vessa-debian13}
mirror=${VESSA_DEBIAN_MIRROR:-http://deb.debian.org/debian}

if [ "$(id -u)" -ne 0 ]; then
  echo "test-debian13: needs root for debootstrap, chroot and mounts (sudo bash $0)" >&2
  exit 1
fi

# --- Inside the private namespaces ---------------------------------------------------------
if [ "${1:-}" = --inside ]; then
  mounted=()
  unmount_all() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
  }
  trap unmount_all EXIT
  # mount_at TARGET MOUNT-ARGUMENTS...: mounts on TARGET inside the root, made if need be.
  mount_at() {
    local target=$chroot_dir$1
    shift
    mkdir -p "$target"
    mount "$@" "$target"
    mounted+=("$target")
  }

  mkdir -p "$cache/archives/partial" "$cache/ccache"
  debootstrap --variant=minbase --include=ca-certificates --cache-dir="$cache/archives" \
    trixie "$chroot_dir" "$mirror" >"$work/debootstrap.log" 2>&1 \
    || { tail -30 "$work/debootstrap.log" >&2; exit 1; }
  echo "deb $mirror trixie main" >"$chroot_dir/etc/apt/sources.list"
  cp /etc/resolv.conf "$chroot_dir/etc/resolv.conf"

  # The root a mount point of its own: the HTTPS tests' private namespaces (unshare) change
  # the propagation of /, which fails where / is only a folder.
  mount_at "" --bind "$chroot_dir"
  mount_at /proc -t proc proc
  mount_at /sys --rbind /sys
  mount_at /dev --rbind /dev
  mount_at /var/cache/apt/archives --bind "$cache/archives"
  mount_at /var/cache/vessa-ccache --bind "$cache/ccache"
  # The checkout and the build folder at the same paths as outside, so that compilers, CTest
  # and ccache see the same names.
  mount_at "$root" --bind "$root"
  case "$work/" in
    "$root"/*) ;;
    *) mount_at "$work" --bind "$work" ;;
  esac

  # Only what the release changes runs in the root: its toolchain's vessa.exe and tests under
  # its Wine. The host builds (sanitizers, fuzzing, benchmarks) stay with the first run.
  chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    CCACHE_DIR=/var/cache/vessa-ccache CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1 \
    VESSA_BUILD_DIR="$work/build" VESSA_TEST_PARTS=windows VESSA_DEBIAN13=0 VESSA_SETTINGS_PICTURES=0 \
    bash "$root/scripts/test.sh"
  exit
fi

# --- Outside --------------------------------------------------------------------------------
remove_root() {
  local status=$?
  # The mounts lived in the namespace only; should one be seen here all the same, the root
  # stays rather than be removed through it.
  if findmnt -rn -o TARGET | grep -q "^$chroot_dir\(/\|$\)"; then
    echo "test-debian13: something is still mounted under $chroot_dir; left in place" >&2
  else
    rm -rf --one-file-system "$chroot_dir"
  fi
  exit $status
}
trap remove_root EXIT
trap 'exit 130' INT TERM

command -v debootstrap >/dev/null || VESSA_DEBIAN13=1 bash "$root/scripts/install-deps.sh"
rm -rf --one-file-system "$chroot_dir"  # what a killed run may have left
mkdir -p "$work"
unshare --mount --propagation private --pid --fork --kill-child -- bash "$0" --inside
