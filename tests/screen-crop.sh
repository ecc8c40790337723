# Cutting screenshots down to the program's windows, for the scripts that
# look at it under Xvfb. Source this file; it only defines:
#   crop_covering SRC OUT MARGIN "X Y W H"...
#       writes to OUT the part of the picture SRC that covers all the given
#       screen rectangles, widened by MARGIN pixels (not past the top left)

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
