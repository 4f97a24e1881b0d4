#!/usr/bin/env bash
# Installs the Debian packages Vesmarin needs that are not installed yet.
# Usage: scripts/deps.sh build|test
set -euo pipefail

# qt6-tools-dev and qt6-l10n-tools: lrelease, which compiles our Greek for the toolkit's own texts.
build_pkgs=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools libgl-dev libpng-dev zlib1g-dev)
# The tests also read real Windows programs shipped by Debian, compare against icoutils, drive the
# program under a virtual X server with real clicks and keys (and take its screenshots), read the texts its
# boxes really show through the accessibility bus (D-Bus, AT-SPI), validate the desktop files, build the
# Debian package and check it and its manual pages (lintian, man); qt6ct gives the program a dark palette.
test_pkgs=(googletest libgtest-dev nsis-common win32-loader icoutils xvfb xauth desktop-file-utils appstream dpkg-dev file
  xdotool x11-utils xclip imagemagick dbus at-spi2-core python3-pyatspi man-db lintian qt6ct)

case "${1:-build}" in
  build) wanted=("${build_pkgs[@]}") ;;
  test) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}") ;;
  *) echo "usage: $0 build|test" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
