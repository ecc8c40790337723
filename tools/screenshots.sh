#!/bin/bash
# Takes the README's screenshots of the real program into docs/:
#   banner-rest.png     the main dialog at rest, the title in the banner
#   banner-rolling.png  spinning, the ball half-way along the banner
#   main-dialog.png     after Start and Fix-all
#   about-mascot.png    the About box with the mascot greeting
#   about-remark.png    the same after a click on the mascot
# and at 150 % and 200 % (144 and 192 DPI) the main dialog after a draw and
# the About box with the mascot: main-dialog-150.png, about-mascot-150.png,
# main-dialog-200.png, about-mascot-200.png.
# Always in a private Xvfb (never on your desktop), with the build's Vuka6.exe
# and poke.exe; build them first (cmake --build --preset mingw).
set -o pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$top/build/mingw
docs=$top/docs
poke_exe=$build/poke.exe
for f in Vuka6.exe poke.exe; do
    [ -f "$build/$f" ] || { echo "screenshots: $build/$f is missing; build first" >&2; exit 1; }
done

# shellcheck source=../tests/wine-env.sh
source "$top/tests/wine-env.sh"
# shellcheck source=../tests/drive.sh
source "$top/tests/drive.sh"
program_pid=
stop() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    wine_env_stop
}
trap stop EXIT
VUKA6_XVFB=1 wine_env_start "$build/screenshots" || exit 1

# A length given at 96 DPI in pixels at the session's DPI, rounded.
scaled() { echo $((($1 * dpi + 48) / 96)); }
# Parks the pointer where no tooltip wakes up.
park() { xdotool mousemove 1270 1010; }

# The part of the screen covering all the given "X Y W H", plus a margin.
shoot() {
    local file=$1 margin=$2
    import -window root "$build/screenshots/screen.png" &&
        crop_covering "$build/screenshots/screen.png" "$file" "$margin" "${@:3}" || die "could not grab the screen"
    echo "screenshots: $file"
}

# A Windows-like desktop behind the pop-ups instead of Xvfb's black.
convert -size 8x8 xc:'#3a6ea5' "$build/screenshots/desktop.png" &&
    display -window root "$build/screenshots/desktop.png" 2>/dev/null

# One session at a display scale; the full set of pictures at 96 DPI, the
# main dialog and the mascot at the others.
session() {
    local dpi=$1 suffix=$2 mascot_w mascot_h balloon_w balloon_h
    wine_env_set_dpi "$dpi" || die "could not set $dpi DPI"
    mascot_w=$(scaled 90) mascot_h=$(scaled 80) balloon_w=$(scaled 284) balloon_h=$(scaled 96)
    wine_env_launch "$build/Vuka6.exe"
    program_pid=$!
    poke "$main" wait 30000 >/dev/null || die "the main dialog did not appear"
    read -r mx my mw mh < <(poke "$main" rect)
    dialog="$mx $my $mw $mh"
    park
    sleep 1
    [ -z "$suffix" ] && shoot "$docs/banner-rest.png" 0 "$dialog"

    # The strip advances a frame every 768 ms; the third of its six frames,
    # 2.3 to 3 s after Start, has the ball in the middle.
    click_control "$main" IDC_START
    park
    sleep 2.6
    [ -z "$suffix" ] && shoot "$docs/banner-rolling.png" 0 "$dialog"

    click_control "$main" IDC_FIX_ALL
    park
    # The pass under way finishes before the title comes back.
    sleep 5
    shoot "$docs/main-dialog$suffix.png" 0 "$dialog"

    click_control "$main" IDC_BANNER
    poke "$about" wait 5000 >/dev/null || die "no About box"
    read -r ax ay aw ah < <(poke "$about" rect)
    click_control "$about" IDC_ABOUT_ICON
    within 5000 popup_at "$balloon_w" "$balloon_h" >/dev/null
    read -r kx ky < <(popup_at "$mascot_w" "$mascot_h")
    read -r bx by < <(popup_at "$balloon_w" "$balloon_h")
    [ -n "$by" ] || die "no mascot and balloon"
    park
    sleep 1
    shoot "$docs/about-mascot$suffix.png" 16 "$ax $ay $aw $ah" "$kx $ky $mascot_w $mascot_h" "$bx $by $balloon_w $balloon_h"

    if [ -z "$suffix" ]; then
        click_at $((kx + mascot_w / 2)) $((ky + mascot_h / 2))
        park
        sleep 1
        shoot "$docs/about-remark.png" 16 "$ax $ay $aw $ah" "$kx $ky $mascot_w $mascot_h" "$bx $by $balloon_w $balloon_h"
    fi

    click_control "$about" IDOK
    within 5000 about_gone
    click_control "$main" IDOK
    wait "$program_pid"
    program_pid=
}

session 96 ""
session 144 -150
session 192 -200
# The prefix is left at the scale the other pictures expect.
wine_env_set_dpi 96
