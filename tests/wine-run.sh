#!/bin/bash
# Runs a Windows program under Wine and returns its exit code; meant as
# CMake's CROSSCOMPILING_EMULATOR:   tests/wine-run.sh prog.exe args...
#
# If a run script has started the environment (tests/wine-env.sh) once for
# the whole run, the program is just run in it. Otherwise this script sets
# up the environment itself (about 3 s), in this folder:
#   1. $VUKA6_BUILD_DIR if set;
#   2. else the nearest folder above the program that holds CMakeCache.txt,
#      i.e. the build folder, wherever CMake put the executable in it;
#   3. else the program's own folder.
# The program's stdin, stdout and stderr are passed through unchanged.

[ $# -ge 1 ] || { echo "usage: $0 prog.exe [args...]" >&2; exit 125; }

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh"

dir=$VUKA6_BUILD_DIR
if [ -z "$dir" ]; then
    dir=$(cd "$(dirname "$1")" 2>/dev/null && pwd) || dir=$PWD
    search=$dir
    while [ "$search" != / ]; do
        [ -f "$search/CMakeCache.txt" ] && { dir=$search; break; }
        search=$(dirname "$search")
    done
fi
wine_env_use "$dir" || exit 125

wine_env_test "$@"
