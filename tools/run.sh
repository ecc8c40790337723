#!/bin/bash
# Builds Vuka6.exe and runs it under Wine.
#
# With a display ($DISPLAY set) the program opens there and is yours to use.
# Without one it runs inside a private Xvfb: Start, then Fix-all, are
# pressed, a screenshot of the dialog is saved, and its path and the six
# numbers are printed.
set -o pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$top/build/mingw

"$top/tools/setup-debian.sh" || exit 1
(cd "$top" && cmake --preset mingw >/dev/null) || exit 1
cmake --build "$build" --target Vuka6 poke >/dev/null || exit 1

# shellcheck source=../tests/wine-env.sh
source "$top/tests/wine-env.sh"
# shellcheck source=../tests/drive.sh
source "$top/tests/drive.sh"
poke_exe=$build/poke.exe
trap wine_env_stop EXIT

# A desktop's window manager takes care of the window, so it gets a prefix
# of its own; the tests' prefix leaves windows unmanaged for their Xvfb.
if [ -n "${DISPLAY:-}" ]; then
    wine_env_start "$build/desktop" desktop || exit 1
    "$WINE" "$build/Vuka6.exe"
    exit 0
fi
wine_env_start "$build" || exit 1

wine_env_launch "$build/Vuka6.exe"
poke "$main" wait 60000 click IDC_START sleep 1000 click IDC_FIX_ALL sleep 500 >/dev/null || exit 1
numbers=$(numbers)
read -r x y w h < <(poke "$main" rect)

shot=$top/build/Vuka6-screenshot.png
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot"
poke "$main" close >/dev/null
wait

echo "Screenshot: $shot"
echo "Numbers: ${numbers% }"
