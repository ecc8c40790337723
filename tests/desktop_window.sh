#!/bin/bash
# On a desktop, tools/run.sh opens the program in a prefix of the desktop
# kind: its window must be one the window manager manages, not an
# override-redirect one as in the tests' prefix. A private Xvfb stands in
# for the desktop.
#   tests/desktop_window.sh Vuka6.exe BUILD_DIR
[ $# -eq 2 ] || { echo "usage: $0 Vuka6.exe BUILD_DIR" >&2; exit 2; }
exe=$1

# shellcheck source=wine-env.sh
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
trap '[ $? = 0 ] || wine_env_report Vuka6.exe "$pid"; wine_env_stop' EXIT
# The same folder as tools/run.sh, so both use one prefix.
VUKA6_XVFB=1 wine_env_start "$2/desktop" desktop || exit 1

wine_env_launch "$exe"
pid=$!
window=$(timeout 30 xdotool search --sync --name '^Bamzo to Vuka6$' 2>/dev/null | head -1)
[ -n "$window" ] || { echo "desktop_window: the main dialog did not appear" >&2; exit 1; }

info=$(xwininfo -id "$window")
printf '%s\n' "$info" | grep -E 'Override Redirect|Map State'
grep -q 'Override Redirect State: no' <<<"$info"
