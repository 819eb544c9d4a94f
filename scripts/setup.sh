#!/usr/bin/env bash
# Installs what building and testing Quellor needs on a Debian machine, and nothing that is
# there already. Safe to run again.
set -eu
packages=(
    cmake ninja-build g++ googletest python3                 # native build and unit tests
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64     # the Windows build
    wine wine64 fonts-wine xvfb locales                      # Windows-side tests under Wine
    fonts-wqy-microhei imagemagick x11-utils xdotool         # the window as a user sees it
)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
