#!/bin/bash
# Installs what building, running and testing need on Debian 12 or 13,
# skipping what is there already. Needs root (or sudo).
set -euo pipefail

packages=(
    cmake ninja-build python3
    g++-mingw-w64-x86-64-posix    # the Windows cross compiler and windres
    wine64 xvfb xauth xdotool     # running the program and its tests
    fonts-ipafont-gothic          # Japanese faces for the dialogs under Wine
    fonts-vlgothic fonts-dejavu-core x11-utils  # another Japanese font, Latin faces, xwininfo: font and desktop tests
    locales                       # the ja_JP.UTF-8 sources the font tests build a locale from
    imagemagick                   # screenshots
    googletest                    # GoogleTest sources, built by the project
    clang                         # the native sanitizer and fuzzer build
)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# The sanitizer and fuzzer runtimes come in a package named after clang's
# major version (libclang-rt-14-dev on Debian 12, libclang-rt-19-dev on 13),
# so it is chosen by the clang this release installs, never by a number here.
clang_runtime() {
    local depends
    if installed clang; then
        depends=$(dpkg-query -W -f='${Depends}' clang)
    else
        depends=$(apt-cache depends clang 2>/dev/null | sed -n 's/^ *Depends: //p')
    fi
    grep -oE 'clang-[0-9]+' <<<"$depends" | head -n 1 | sed 's/^clang-/libclang-rt-/; s/$/-dev/'
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
runtime=
if installed clang; then
    runtime=$(clang_runtime)
    [ -n "$runtime" ] || { echo "setup-debian: cannot tell which clang the clang package is" >&2; exit 1; }
    installed "$runtime" || missing+=("$runtime")
fi
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
if [ -z "$runtime" ]; then
    runtime=$(clang_runtime)
    [ -n "$runtime" ] || { echo "setup-debian: this release offers no clang package" >&2; exit 1; }
    missing+=("$runtime")
fi
echo "Installing: ${missing[*]}"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
