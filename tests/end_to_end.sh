#!/bin/bash
# One user session on the real Vuka6.exe, driven by real X input: a draw and
# a second one from the keyboard alone, then mouse clicks on Start, two
# toggles, Fix-all, the banner, the About box's icon, the mascot, OK, Exit.
# After each click the windows are checked from outside with poke; what the
# balloon showed goes to <build>/end_to_end/, and so does the private Xvfb
# of a run outside tools/test.sh, so the clicks never land on a real desktop.
#   tests/end_to_end.sh path/to/Vuka6.exe path/to/poke.exe

[ $# -eq 2 ] || { echo "usage: $0 Vuka6.exe poke.exe" >&2; exit 2; }
exe=$(realpath "$1") && poke_exe=$(realpath "$2") || exit 2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=$(dirname "$exe")/end_to_end
mkdir -p "$out" || exit 2

program_pid=
failures=0

# For a fault that leaves the session usable: report it and carry on, so one
# run shows every fault at once.
bad() {
    echo "end_to_end: FAILED: $*" >&2
    failures=$((failures + 1))
}
note() { echo "end_to_end: $*"; }

# shellcheck source=wine-env.sh
source "$here/wine-env.sh"
# shellcheck source=drive.sh
source "$here/drive.sh"
VUKA6_XVFB=1 wine_env_use "$out" || die "could not start Wine and Xvfb (see $out/wine-env.log)"
cleanup() {
    [ $? = 0 ] || wine_env_report Vuka6.exe "$program_pid" "$status"
    # A failed run may leave the program up, possibly behind a modal box;
    # only our own process is ended, never another test's.
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
    wine_env_stop
}
trap cleanup EXIT
command -v xdotool >/dev/null && command -v import >/dev/null || die "xdotool and ImageMagick are needed"

ended() { ! _wine_env_alive "$program_pid"; }

# main_enabled 1 (or 0): the main dialog is shown and enabled (or disabled).
main_enabled() { windows | grep -q "^[0-9-]* [0-9-]* [0-9]* [0-9]* $1 #32770 $main\$"; }
no_popups() { [ "$(windows | awk 'NF == 6' | wc -l)" = 0 ]; }
about_shown() { [ "$(poke "$about" visible)" = 1 ]; }
mascot_and_balloon() { popup_at 90 80 && popup_at 284 96; } >/dev/null
back_to_main() { about_gone && no_popups && main_enabled 1; }

numbers_differ_from() { [ "$(numbers)" != "$1" ]; }
# slot ID CHECKED_ENABLED: "10" when the toggle is checked and no longer
# clickable, "01" when it is open.
slot() { [ "$(poke "$main" checked "$1" enabled "$1" | tr -d '\n')" = "$2" ]; }
fix_all_enabled() { [ "$(poke "$main" enabled IDC_FIX_ALL)" = "$1" ]; }

screen=$out/screen.png
grab() { import -window root "$screen" || die "import could not read the display"; }
# Saves the part of the last grab that covers the About box, mascot and balloon.
save_shot() { crop_covering "$screen" "$out/$1.png" 12 "$ax $ay $aw $ah" "$kx $ky 90 80" "$bx $by 284 96"; }
# The balloon's text area (its picture leaves the text 35..274 x 12..86).
text_area() { convert "$screen" -crop "240x74+$(($1 + 35))+$(($2 + 12))" +repage "$3"; }
# Pixels dark enough to be letters.
ink() { convert "$1" -colorspace Gray -threshold 40% -negate -format '%[fx:round(mean*w*h)]' info:; }
differs() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" != 0 ]; }
# Grabs the screen; true when the balloon's text area, saved to FILE, holds
# letters and (given OLD) differs from OLD.
balloon_says() {
    grab
    text_area "$bx" "$by" "$1"
    [ "$(ink "$1")" -gt 50 ] && { [ -z "$2" ] || differs "$2" "$1"; }
}

# --- The program comes up at rest ---------------------------------------------
wine_env_launch "$exe"
program_pid=$!
poke "$main" wait 30000 >/dev/null || die "the main dialog did not appear within 30 s"
read -r mx my mw mh < <(poke "$main" rect)
note "main dialog at $mx,$my ${mw}x$mh"
fix_all_enabled 0 || bad "Fix-all is enabled before Start"

# --- The keyboard alone: Tab to Start, Space, Tab to Fix-all, Space, Space, Enter -
# Exit is first in the tab order and has the focus when the dialog opens.
xdotool key Tab space
within 3000 fix_all_enabled 1 || die "Tab and Space from the opened dialog did not start a draw"
xdotool key Tab space
within 3000 fix_all_enabled 0 || die "Tab and Space after Start did not fix the rest"
xdotool key space
within 3000 fix_all_enabled 1 || {
    ended && die "the Space after Fix-all ended the program"
    die "the Space after Fix-all did not start a second draw"
}
# Round from Start past Fix-all and Exit to the first toggle: Enter fixes it.
xdotool key Tab Tab Tab Return
within 3000 slot IDC_FIX1 10 || {
    ended && die "Enter on the first toggle ended the program"
    die "Enter on the first toggle did not fix its slot"
}

# --- Start, two toggles, Fix-all ------------------------------------------------
# What a draw gives is the window tests' to check; here, that real clicks
# reach the real program's controls.
first=$(numbers)
click_control "$main" IDC_START
within 2000 numbers_differ_from "$first" || bad "after Start the numbers do not change: $first"

click_control "$main" IDC_FIX1
within 2000 slot IDC_FIX1 10 || bad "toggle IDC_FIX1 is not checked and disabled after its click"
click_control "$main" IDC_FIX4
within 2000 slot IDC_FIX4 10 || bad "toggle IDC_FIX4 is not checked and disabled after its click"
slot IDC_FIX2 01 || bad "toggle IDC_FIX2 changed although it was not clicked"

click_control "$main" IDC_FIX_ALL
within 3000 fix_all_enabled 0 || bad "Fix-all is still enabled after its click"
note "numbers: $(numbers)"

# --- The banner opens the About box over a disabled main dialog -----------------
click_control "$main" IDC_BANNER
within 5000 about_shown || die "no About box after the banner click"
read -r ax ay aw ah < <(poke "$about" rect)
note "About box at $ax,$ay ${aw}x$ah"
within 2000 main_enabled 0 || bad "the main dialog is still enabled behind the About box"

# --- The icon summons the mascot on the box's top edge, its balloon beside it ----
click_control "$about" IDC_ABOUT_ICON
within 5000 mascot_and_balloon || die "no 90x80 mascot and 284x96 balloon after the icon click"
read -r kx ky < <(popup_at 90 80)
read -r bx by < <(popup_at 284 96)
# Painting lags the window a little.
greeting=$out/greeting-text.png
within 3000 balloon_says "$greeting" || bad "the balloon shows no greeting"
save_shot 6-mascot

# --- A click on the ball: a remark replaces the greeting ----------------------
click_at $((kx + 45)) $((ky + 40))
remark=$out/remark-text.png
within 3000 balloon_says "$remark" "$greeting" ||
    bad "the balloon text did not change after a click on the mascot"
save_shot 7-remark

# --- OK: a farewell, then box, mascot and balloon go together -------------------
read -r ox oy ow oh < <(poke "$about" ctrlrect IDOK)
clicked=$(now_ms)
click_at $((ox + ow / 2)) $((oy + oh / 2))
farewell=$out/farewell-text.png
# The farewell is held for about 2 s; look for it well inside that time.
within 1500 balloon_says "$farewell" "$remark" ||
    bad "no farewell reached the screen after OK (the balloon kept its old text; see $out/8-farewell.png)"
save_shot 8-farewell
within 4000 back_to_main ||
    die "3-4 s after OK still up: $(windows | tr '\n' ';')"
took=$(($(now_ms) - clicked))
note "About box, mascot and balloon gone ${took} ms after OK"
((took >= 1500)) || bad "the box closed after $took ms: the farewell was not held"

# --- Exit ends the process cleanly ------------------------------------------------
click_control "$main" IDOK
within 10000 ended || die "the program still runs 10 s after Exit"
wait "$program_pid"
status=$?
program_pid=
[ "$status" = 0 ] || bad "the program exited with code $status"

if [ "$failures" -gt 0 ]; then
    echo "end_to_end: $failures check(s) failed; the balloon's pictures are in $out" >&2
    exit 1
fi
note "all checks passed"
