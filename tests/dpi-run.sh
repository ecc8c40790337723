#!/bin/bash
# Runs a window test program at the display scales 120, 144 and 192 DPI
# (125 %, 150 % and 200 %), one run each, in a Wine prefix of their own, so
# that a changed scale never reaches the prefix the other tests share:
#
#   tests/dpi-run.sh DIR window_tests.exe [arguments...]
#
# DIR holds the prefix (made on the first run). The display in use is
# shared; without one, a private Xvfb is started. Fails if any run fails.

[ $# -ge 2 ] || { echo "usage: $0 DIR prog.exe [args...]" >&2; exit 125; }
dir=$1
shift
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The caller's prefix (tools/test.sh exports one) is not the one to change.
unset WINEPREFIX
. "$here/wine-env.sh"
wine_env_use "$dir" || exit 125

status=0
for dpi in 120 144 192; do
    echo "== $dpi DPI =="
    wine_env_set_dpi "$dpi" || { echo "dpi-run: could not set $dpi DPI" >&2; exit 125; }
    wine_env_test "$@" || status=1
done
exit $status
