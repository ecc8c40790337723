#!/bin/bash
# Installs what building, running and testing need on Debian 12, skipping
# what is there already. Needs root (or sudo).
set -euo pipefail

packages=(
    cmake ninja-build python3
    g++-mingw-w64-x86-64-posix    # the Windows cross compiler and windres
    wine64 xvfb xauth xdotool     # running the program and its tests
    fonts-ipafont-gothic          # Japanese faces for the dialogs under Wine
    fonts-vlgothic fonts-dejavu-core x11-utils  # another Japanese font, Latin faces, xwininfo: font and desktop tests
    imagemagick                   # screenshots
    googletest                    # GoogleTest sources, built by the project
    clang libclang-rt-14-dev      # the native sanitizer and fuzzer build
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
