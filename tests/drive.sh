# Driving the program from outside, for the scripts that run it under Xvfb
# (tests/end_to_end.sh, tools/screenshots.sh, tools/run.sh). Source this file
# after tests/wine-env.sh and set poke_exe to the build's poke.exe; a step
# that cannot be done ends the script through die.

die() { echo "${0##*/}: FAILED: $*" >&2; exit 1; }

main="Bamzo to Vuka6"
about="Bamzo to Vuka6のﾊﾞｰｼﾞｮﾝ情報"

# poke's own status, not tr's: a poke that found no window must fail.
poke() { "$WINE" "$poke_exe" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# within MS COMMAND...: runs COMMAND until it succeeds, for at most MS milliseconds.
within() {
    local end=$(($(now_ms) + $1))
    shift
    until "$@"; do
        [ "$(now_ms)" -ge "$end" ] && return 1
        sleep 0.1
    done
}

click_at() { xdotool mousemove "$1" "$2" click 1; }
# click_control TITLE ID: in the middle of control ID (IDC_START) of window TITLE.
click_control() {
    local x y w h
    read -r x y w h < <(poke "$1" ctrlrect "$2")
    [ -n "$h" ] || die "no control $2 in '$1'"
    click_at $((x + w / 2)) $((y + h / 2))
}

# The program's visible top-level windows, "X Y W H ENABLED CLASS [TITLE]"
# each. Tooltips come and go with the pointer and are left out.
windows() { poke "$main" windows | grep -v ' tooltips_class32'; }
# popup_at W H: "X Y" of the untitled pop-up of that size; fails if there is none.
popup_at() { windows | awk -v w="$1" -v h="$2" '$3 == w && $4 == h && NF == 6 { print $1, $2; found = 1; exit } END { exit !found }'; }
about_gone() { [ "$(poke "$about" visible)" = 0 ]; }
numbers() { poke "$main" text IDC_NUMBER1 text IDC_NUMBER2 text IDC_NUMBER3 text IDC_NUMBER4 text IDC_NUMBER5 text IDC_NUMBER6 | tr '\n' ' '; }

# crop_covering SRC OUT MARGIN "X Y W H"...: the part of the picture SRC that
# covers all the given screen rectangles, widened by MARGIN (not past the top left).
crop_covering() {
    local src=$1 out=$2 margin=$3 rect x y w h left=99999 top=99999 right=0 bottom=0
    shift 3
    for rect in "$@"; do
        read -r x y w h <<<"$rect"
        ((x < left)) && left=$x
        ((y < top)) && top=$y
        ((x + w > right)) && right=$((x + w))
        ((y + h > bottom)) && bottom=$((y + h))
    done
    left=$((left < margin ? 0 : left - margin)) top=$((top < margin ? 0 : top - margin))
    # Without the time it was taken, a picture of the same pixels is the same file.
    convert "$src" -crop "$((right + margin - left))x$((bottom + margin - top))+$left+$top" +repage \
        -define png:exclude-chunks=date,time "$out"
}
