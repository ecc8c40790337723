#!/bin/bash
# Runs the fault sweep: one session of tests/FaultSweep.cpp for each chosen
# call of the program failing (VUKA6_FAULT), each in a process of its own.
#
#   tests/fault_sweep.sh build/mingw/tests/fault_sweep.exe          the quick sweep
#   tests/fault_sweep.sh build/mingw/tests/fault_sweep.exe --full   every call (or VUKA6_FAULT_SWEEP=full)
#
# A session without a fault counts the calls of each function. The quick
# sweep then fails the first and the last call of each and three between
# them, alone, and for malloc also from each of them on; the full sweep
# fails every one, in both ways. A run that crashes, hangs (two minutes) or
# fails a check is reported with its output and the VUKA6_FAULT that repeats
# it alone under tests/wine-run.sh. The full sweep runs VUKA6_SWEEP_JOBS
# sessions at a time (default 3), each with a Wine prefix and an Xvfb of its
# own, so that they cannot take each other's focus.
set -o pipefail

exe=$(realpath "${1:?usage: $0 fault_sweep.exe [--full]}") || exit 1
full=0
[ "$2" = --full ] || [ "$VUKA6_FAULT_SWEEP" = full ] && full=1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(dirname "$exe")/fault-sweep
mkdir -p "$work" || exit 1
rm -f "$work"/*.log "$work"/*.report "$work"/failed.*
start=$SECONDS

# Counting: "calls <function> <count>" for each function (Windows line ends).
"$here/wine-run.sh" "$exe" >"$work/count.log" 2>&1 || { cat "$work/count.log"; echo "fault sweep: the count run failed"; exit 1; }
runs=()
while read -r _ function count; do
    if [ "$count" -eq 0 ]; then
        indices=
    elif [ "$full" = 1 ]; then
        indices=$(seq "$count")
    else
        indices=$(printf '%s\n' 1 $(((count + 3) / 4)) $(((count + 1) / 2)) $(((3 * count + 3) / 4)) "$count" | sort -nu)
    fi
    for index in $indices; do
        runs+=("$function:$index")
        [ "$full" = 1 ] || [ "$function" = malloc ] && runs+=("$function:$index+")
    done
    echo "fault sweep: $function: $count calls"
done < <(tr -d '\r' <"$work/count.log" | grep '^calls ')
[ ${#runs[@]} -gt 0 ] || { cat "$work/count.log"; echo "fault sweep: nothing counted"; exit 1; }
echo "fault sweep: ${#runs[@]} runs"

# The functions of the test program on the failing call's stack; those of
# Wine's own libraries are not the exe's, and addr2line cannot name them.
callers() {
    local addresses
    addresses=$(tr -d '\r' <"$1" | sed -n 's/^fault: callers //p')
    [ -n "$addresses" ] || return 0
    x86_64-w64-mingw32-addr2line -f -C -e "$exe" $addresses | sed -n '1~2{/^??$/!s/^/    called from /p}'
}

# One run: its output goes to the log only when it fails.
run_one() {
    local fault=$1 log status
    log="$work/${fault/:/-}.log"
    VUKA6_FAULT=$fault wine_env_test timeout -k 10 120 "$WINE" "$exe" >"$log" 2>&1
    status=$?
    [ $status -eq 0 ] && { rm -f "$log"; return 0; }
    [ $status -eq 124 ] && echo "hung for two minutes" >>"$log"
    # Whole, even when another worker reports at the same time.
    {
        echo "FAILED $fault (exit code $status):"
        callers "$log"
        sed 's/^/    /' "$log"
    } >"$log.report"
    flock "$work/report.lock" cat "$log.report"
    rm -f "$log.report"
    return 1
}

# A worker runs every jobs-th run from its first, in the environment it is given.
worker() {
    local first=$1 jobs=$2 failed=0 i
    for ((i = first; i < ${#runs[@]}; i += jobs)); do
        run_one "${runs[i]}" || failed=$((failed + 1))
    done
    echo "$failed" >"$work/failed.$first"
}

. "$here/wine-env.sh"
if [ "$full" = 1 ]; then
    jobs=${VUKA6_SWEEP_JOBS:-3}
    for ((k = 0; k < jobs; k++)); do
        (
            unset WINEPREFIX
            VUKA6_XVFB=1 wine_env_use "$work/env-$k" >/dev/null || { echo "fault sweep: worker $k has no Wine"; exit 1; }
            worker "$k" "$jobs"
        ) &
    done
    wait
else
    jobs=1
    wine_env_use "$(dirname "$exe")/.." || exit 1
    worker 0 1
fi

failed=0
for ((k = 0; k < jobs; k++)); do
    [ -f "$work/failed.$k" ] || { echo "fault sweep: worker $k did not finish"; failed=$((failed + 1)); continue; }
    failed=$((failed + $(cat "$work/failed.$k")))
done
echo "fault sweep: ${#runs[@]} runs, $failed failed, in $((SECONDS - start)) s"
[ "$failed" -eq 0 ]
