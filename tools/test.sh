#!/bin/bash
# Builds everything and runs every test: the window-free code natively
# (AddressSanitizer, UBSan, a short fuzz run) and the program under Wine
# inside a private Xvfb. Extra arguments go to both ctest runs
# (for instance: tools/test.sh -R DrawDlg).
#
#   tools/test.sh --busy [ctest arguments]
#
# runs the tests while one `yes > /dev/null` per core keeps every core busy,
# as on a machine that is building something else: a test that races the
# program's timers or the display then shows it.
#
#   tools/test.sh --faults [ctest arguments]
#
# makes the fault sweep fail every call the program makes, one run each,
# instead of the few of each function that the quick sweep fails.
set -o pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top" || exit 1

busy=0
while [ $# -gt 0 ]; do
    case $1 in
        --busy) busy=1 ;;
        --faults) export VUKA6_FAULT_SWEEP=full ;;
        *) break ;;
    esac
    shift
done

"$top/tools/setup-debian.sh" || exit 1
# A warning in the program's own code fails the run (not a plain build's).
for preset in native mingw; do
    cmake --preset "$preset" -DVUKA6_WERROR=ON >/dev/null || exit 1
    cmake --build --preset "$preset" || exit 1
done

# shellcheck source=../tests/wine-env.sh
source "$top/tests/wine-env.sh"
load=()
finish() {
    [ ${#load[@]} -eq 0 ] || kill "${load[@]}" 2>/dev/null
    wine_env_stop
}
wine_env_start "$top/build/mingw" || exit 1
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if [ "$busy" = 1 ]; then
    for _ in $(seq "$(nproc)"); do
        yes >/dev/null &
        load+=($!)
    done
    echo "Busy: ${#load[@]} × yes, one per core"
fi

log=$(mktemp)
status=0
for preset in native mingw; do
    echo "== $preset =="
    ctest --preset "$preset" "$@" 2>&1 | tee -a "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
done

# One closing line for both runs.
passed=0 failed=0
while read -r _ _ _ fail _ _ _ _ total; do
    passed=$((passed + total - fail))
    failed=$((failed + fail))
done < <(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log")
rm -f "$log"
echo "Tests: $passed passed, $failed failed"
exit $status
