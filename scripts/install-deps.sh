#!/usr/bin/env bash
# Installs the Debian 12 packages Korvan builds and tests with. Idempotent:
# only packages that are missing are installed.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang libclang-rt-14-dev
  libtinyxml2-dev libserialport-dev libxlsxwriter-dev
  libgtest-dev googletest
  qt6-base-dev qt6-svg-dev libgl-dev
  python3 python3-openpyxl
  binutils
  openssl
  # The package: dpkg-shlibdeps for its dependencies; the desktop file, AppStream and
  # manual page checks of the installation test.
  dpkg-dev desktop-file-utils appstream man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
