"""Measures Vuka6.exe under Wine against its floor and prints the tables of docs/BENCHMARKS.md; --write
puts them between the document's <!-- figures --> and <!-- sizes --> markers. Run by tools/bench.sh."""
import argparse
import ctypes
import os
import re
import subprocess
import sys
import time
from datetime import datetime, timezone
from pathlib import Path
from statistics import median, quantiles

import exe_sizes

TOP = Path(__file__).resolve().parents[2]
BUILD = TOP / "build/mingw"
WINE, PREFIX = os.environ["WINE"], os.environ["WINEPREFIX"]
TITLE = "Bamzo to Vuka6"  # the floor's too: it shows the same template
LIBC = ctypes.CDLL(None, use_errno=True)


def wine(*args):
    """Runs a console program under Wine; its output as words."""
    return subprocess.run([WINE, *map(str, args)], stdout=subprocess.PIPE, text=True, check=True).stdout.split()


def read(path):
    try:
        return Path(path).read_text(errors="replace")
    except OSError:  # the process has ended
        return ""


def wine_processes(name=None):
    """Wine processes are Linux processes; ours name our prefix in their environment. Each is named after
    its exe's file, which the kernel cuts to 15 characters."""
    return [p for p in os.listdir("/proc") if p.isdigit() and int(p) != os.getpid()
            and f"WINEPREFIX={PREFIX}" in read(f"/proc/{p}/environ").split("\0")
            and name in (None, read(f"/proc/{p}/comm").strip())]


def cpu_ms(pids):
    """The processor time of each process still there, ended threads included, from its CPU-time clock,
    which counts nanoseconds (/proc/<pid>/stat counts 10 ms ticks, too coarse for a spin tick)."""
    times, clock = {}, ctypes.c_int()
    for pid in pids:
        try:
            if LIBC.clock_getcpuclockid(int(pid), ctypes.byref(clock)) == 0:
                times[pid] = time.clock_gettime_ns(clock.value) / 1e6
        except OSError:  # it has just ended
            pass
    return times


def run(exe, seconds=0, steps=(), spinning=False, numbers=()):
    """Starts exe by the launcher: [ms until visible, until idle, processor ms]; with seconds, after poke's
    steps: [processor ms in seconds of the program, of the rest of the prefix and Xvfb; ms; VmHWM, KiB]."""
    launcher = subprocess.Popen([WINE, BUILD / "bench_startup_timer.exe", TITLE, f"Z:{exe}".replace("/", "\\")],
                                stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)  # Wine maps / to Z:
    shown, pid = [float(ms) for ms in launcher.stdout.readline().split()], wine_processes(exe.name[:15])
    if len(shown) != 2 or not pid:
        sys.exit(f"bench: {exe.name} did not show its window")
    pid, poke, measured = pid[0], [BUILD / "poke.exe", TITLE], []
    shown.append(cpu_ms([pid])[pid])
    if seconds:
        before = wine(*poke, *steps, *numbers)
        begin, own = time.monotonic(), cpu_ms([pid])
        # Everything else of the prefix but the launcher, which waits for its input; and Xvfb.
        others = [p for p in wine_processes() if p not in (pid, str(launcher.pid))]
        theirs = cpu_ms(others + read(Path(PREFIX).parent / "wine-env.xvfb").split()[:1])
        time.sleep(seconds)
        own_ms, wall_ms = cpu_ms([pid])[pid] - own[pid], (time.monotonic() - begin) * 1000
        theirs_ms = sum(ms - theirs[p] for p, ms in cpu_ms(theirs).items())
        after = wine(*poke, *numbers)
        measured = [own_ms, theirs_ms, wall_ms, int(re.search(r"VmHWM:\s*(\d+)", read(f"/proc/{pid}/status"))[1])]
        # Numbers that stand still while spinning, or move at rest, would make the figure meaningless.
        if (before != after) != spinning:
            sys.exit(f"bench: {exe.name}: the numbers went from {before} to {after}")
    launcher.communicate()  # once its input ends, the launcher closes the program
    return shown, measured


def main():
    parser = argparse.ArgumentParser(prog="tools/bench.sh")
    parser.add_argument("--write", action="store_true", help="write the tables into docs/BENCHMARKS.md")
    for option, default in ("--runs", 30), ("--spin-rounds", 5), ("--spin-seconds", 12), ("--idle-seconds", 20):
        parser.add_argument(option, type=int, default=default)
    parser.add_argument("--exe", type=Path, help="measure this build in Vuka6's place (prints only)")
    args = parser.parse_args()
    exes = ((args.exe or BUILD / "Vuka6.exe").resolve(), BUILD / "bench_bare_dialog.exe")

    # The first Wine program of a run starts the wineserver and the prefix's services, which settle a while.
    spin_ms, banner_ms, slots = map(int, wine(BUILD / "bench_startup_timer.exe", "periods"))
    numbers = [step for i in range(1, slots + 1) for step in ("text", f"IDC_NUMBER{i}")]
    time.sleep(3)
    print(f"{args.runs} starts of each, then {args.spin_rounds} rounds of spinning, then at rest", file=sys.stderr)
    run(exes[0]), run(exes[1])  # the first start of each pays for cold caches in Wine and the OS
    starts = ([], [])
    for number in range(args.runs):  # who goes first alternates: the machine's slow spells fall on both alike
        for which in number % 2, 1 - number % 2:
            starts[which].append(run(exes[which])[0])
    spin, spun = ["click", "IDC_START", "sleep", 1000], ([], [])
    for number in range(args.spin_rounds):
        for which in number % 2, 1 - number % 2:
            own_ms, theirs_ms, wall_ms, _ = run(exes[which], args.spin_seconds, spin, True, numbers)[1]
            spun[which].append([own_ms / (wall_ms // spin_ms), theirs_ms / (wall_ms // spin_ms)])  # per tick
    # While both programs rest, what the processors do is nearly all other work.
    before = [int(n) for n in read("/proc/stat").split()[1:5]]
    # The banner finishes its pass of six pictures after the numbers stop.
    drawn = spin + ["click", "IDC_FIX_ALL", "sleep", 6 * banner_ms + 1500]
    rest = [run(exes[0], args.idle_seconds, drawn, False, numbers)[1],
            run(exes[1], args.idle_seconds, ["sleep", 1000], False, numbers)[1]]
    user, nice, system, idle = (int(n) - then for n, then in zip(read("/proc/stat").split()[1:5], before))
    busy = os.cpu_count() * (user + nice + system) / (user + nice + system + idle)

    def spread(values, digits=0, bold=False):  # "median (p25–p75)"
        low, middle, high = (f"{q:.{digits}f}" for q in quantiles(values, n=4, method="inclusive"))
        return (f"**{middle}**" if bold else middle) + f" ({low}–{high})"

    def goal(value, limit, text="≤ 1.1"):
        return f"{text}: {'met' if value <= limit else 'not met'}"

    def row(*cells):
        return "| " + " | ".join(map(str, cells)) + " |"

    def start_row(figure, k, limit=None):
        ratios = [mine[k] / floor[k] for mine, floor in zip(*starts)]
        return row(figure, spread([s[k] for s in starts[0]]), spread([s[k] for s in starts[1]]),
                   spread(ratios, 2, bold=True), goal(median(ratios), limit) if limit else "—")

    ratios = [mine[0] / floor[0] for mine, floor in zip(*spun)]
    tick = [[median(r[k] for r in spun[which]) for k in (0, 1)] for which in (0, 1)]
    sizes, idle_s = [exe.stat().st_size for exe in exes], args.idle_seconds
    cpu = re.search(r"model name\s*: (.*)", read("/proc/cpuinfo"))[1]
    memory = os.sysconf("SC_PHYS_PAGES") * os.sysconf("SC_PAGE_SIZE") / 2**30
    figures = [
        f"Run on {datetime.now(timezone.utc):%Y-%m-%d %H:%M} UTC: {os.cpu_count()} cores ({cpu}), {memory:.1f} GiB, "
        f"Linux {os.uname().release}, {' '.join(wine('--version'))} (64-bit), Xvfb 1280×1024×24, the Release build.",
        "", row("Figure", "Vuka6.exe", "Floor", "Vuka6 ÷ floor", "Goal"), "|---|---|---|---|---|",
        start_row("Start → window visible, ms, median (p25–p75)", 0, 1.1),
        start_row("Start → first idle after showing, ms", 1),
        start_row("Start → first idle: the program's processor time, ms", 2, 1.1),
        row(f"Spinning: processor time per {spin_ms} ms tick, ms (program), median of {args.spin_rounds} rounds",
            f"{tick[0][0]:.3f}", f"{tick[1][0]:.3f}",
            f"**{median(ratios):.2f}** ({min(ratios):.2f}–{max(ratios):.2f})", goal(median(ratios), 1.1)),
        row("Spinning: same, wineserver + Wine services + Xvfb", f"{tick[0][1]:.3f}", f"{tick[1][1]:.3f}",
            f"{tick[0][1] / tick[1][1]:.2f}", "—"),
        row(f"At rest: program's processor time over {idle_s} s, ms (Vuka6 after a draw)", f"{rest[0][0]:.1f}",
            f"{rest[1][0]:.1f}", "—", goal(rest[0][0], rest[1][0] + idle_s, f"≤ floor + {idle_s}")),
        row(f"At rest: wineserver + Wine services + Xvfb over {idle_s} s, ms", f"{rest[0][1]:.0f}",
            f"{rest[1][1]:.0f}", "—", "—"),
        row("Exe size, bytes (Release, stripped, static)", *sizes, f"{sizes[0] / sizes[1]:.1f}", "—"),
        row("Peak working set as Linux sees it (VmHWM), KiB (Vuka6 after a draw, floor after start)",
            rest[0][3], rest[1][3], f"{rest[0][3] / rest[1][3]:.2f}", "—"),
        "", f"Startup: {args.runs} starts of each program, alternating. Spin: {args.spin_rounds} rounds of "
        f"{args.spin_seconds} s of each, alternating; per round {' '.join(f'{r:.3f}' for r in ratios)} "
        f"(Vuka6 ÷ floor). Machine: load average {' '.join(read('/proc/loadavg').split()[:3])} at the end; while "
        f"both programs were at rest, other work kept {busy:.2f} of its {os.cpu_count()} cores busy."]
    blocks = {"figures": "\n".join(figures)}
    if exes[0].with_suffix(".map").exists():
        parts = exe_sizes.breakdown(exes[0].with_suffix(".map"), exes[0], sorted((TOP / "res").glob("*.bmp")))
        blocks["sizes"] = "\n".join([row("Part of Vuka6.exe", "Bytes", "Share"), "|---|---|---|"] +
                                    [row(part, size, f"{100 * size / parts[-1][1]:.1f} %") for part, size in parts])
    print("\n\n".join(blocks.values()))
    if args.write and not args.exe:
        text = (TOP / "docs/BENCHMARKS.md").read_text()
        for name, block in blocks.items():
            head, begin, tail = text.partition(f"<!-- {name} -->\n")
            end = tail.index(f"\n<!-- /{name} -->")  # no markers, no figures
            text = head + begin + block + tail[end:]
        (TOP / "docs/BENCHMARKS.md").write_text(text)


if __name__ == "__main__":
    main()
