#!/bin/bash
# Runs a Windows program under Wine and returns its exit code; meant as
# CMake's CROSSCOMPILING_EMULATOR:   tests/wine-run.sh prog.exe args...
# It runs in the environment a run script has started (tests/wine-env.sh),
# or else brings one up (about 3 s) in the nearest folder above the program
# that holds CMakeCache.txt, the build folder, or else the program's own.

[ $# -ge 1 ] || { echo "usage: $0 prog.exe [args...]" >&2; exit 125; }
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

search=$(cd "$(dirname "$1")" && pwd) || exit 125
dir=$search
while [ "$search" != / ]; do
    [ -f "$search/CMakeCache.txt" ] && { dir=$search; break; }
    search=$(dirname "$search")
done
wine_env_use "$dir" || exit 125
wine_env_test "$WINE" "$@"
