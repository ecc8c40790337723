#!/bin/bash
# Measures Vuka6.exe under Wine against its floor, a bare Win32 program doing the same visible work
# (tools/bench/BareDialog.*), and prints the tables of docs/BENCHMARKS.md; --write puts them into the
# document, --exe FILE measures another build in Vuka6's place (--help lists the rest). The defaults take
# about five minutes, in a Wine prefix and Xvfb of their own: tests elsewhere share only the processors.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$top/build/mingw
"$top/tools/setup-debian.sh" || exit 1
(cd "$top" && cmake --preset mingw >/dev/null) || exit 1
cmake --build "$build" --target Vuka6 poke bench_bare_dialog bench_startup_timer >/dev/null || exit 1

# A desktop's own X server and window manager would add noise of their own.
export VUKA6_XVFB=1
# shellcheck source=../tests/wine-env.sh
source "$top/tests/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$build/bench-env" || exit 1
python3 -B "$top/tools/bench/figures.py" "$@"
