#!/bin/bash
# Runs a window test program at 120, 144 and 192 DPI (125 %, 150 % and 200 %),
# one run each, in a Wine prefix of their own in DIR (made on the first run),
# so that a changed scale never reaches the prefix the other tests share.
#   tests/dpi-run.sh DIR window_tests.exe [arguments...]

[ $# -ge 2 ] || { echo "usage: $0 DIR prog.exe [args...]" >&2; exit 125; }
dir=$1
shift
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$dir" || exit 125

status=0
for dpi in 120 144 192; do
    echo "== $dpi DPI =="
    wine_env_set_dpi "$dpi" || { echo "dpi-run: could not set $dpi DPI" >&2; exit 125; }
    wine_env_test "$WINE" "$@" || status=1
done
exit $status
