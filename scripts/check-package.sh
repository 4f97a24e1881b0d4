#!/usr/bin/env bash
# Builds the Debian package and checks, by hand, that it installs and runs on a clean Debian 12:
# a minimal system is made with debootstrap in a scratch folder, the package is installed there with apt
# (which brings its dependencies), and both programs are started. Needs root and Debian's package mirror.
# Usage: sudo bash scripts/check-package.sh [scratch-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-$(mktemp -d /tmp/vesmarin-deb12.XXXXXX)}
[ "$(id -u)" -eq 0 ] || { echo "run as root (debootstrap and chroot need it)" >&2; exit 2; }
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap

bash scripts/deps.sh test
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)"
(cd build/default && cpack -G DEB >/dev/null)
deb=$(ls build/default/vesmarin_*_amd64.deb | tail -n 1)

[ -x "$root/bin/bash" ] || debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
cp "$deb" "$root/tmp/vesmarin.deb"
mount --bind /proc "$root/proc"
trap 'umount "$root/proc"' EXIT
chroot "$root" bash -euc '
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq /tmp/vesmarin.deb >/dev/null
  vesmarin-icons --help >/dev/null
  mkdir -p /tmp/home
  # The program waits at its first-start message; still running after 5 s means it started.
  set +e
  HOME=/tmp/home QT_QPA_PLATFORM=offscreen timeout 5 vesmarin >/dev/null 2>&1
  rc=$?
  set -e
  [ "$rc" -eq 124 ] || { echo "vesmarin ended with status $rc" >&2; exit 1; }
  ls /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqxcb.so >/dev/null
'
echo "The package installs and runs on a clean Debian 12 ($root)."
