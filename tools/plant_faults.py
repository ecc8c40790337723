#!/usr/bin/env python3
"""Plants one small fault at a time in the product's sources, rebuilds what it touches, runs the tests,
and prints each fault they miss and the score. Run it from a tree with both presets built."""
import argparse, json, os, pathlib, random, re, signal, subprocess, sys, time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ["app", "draw", "banner", "mascot", "about", "framework"]
SWAPS = "< <= > >= == != && || + - TRUE FALSE true false".split()  # in pairs; each turns into the other
KINDS = [  # where in a line a fault may go, and what it puts there; binary operators are spaced in our code
    (r"(?<= )(<=|>=|<|>|&&|\|\||\+|-)(?= )|==|!=", lambda m: SWAPS[SWAPS.index(m[0]) ^ 1]),
    (r"(?<![\w.])\d+(?![\w.])", lambda m: {"0": "1", "1": "0"}.get(m[0], str(int(m[0]) + 1))),
    (r"(?<=return )(TRUE|FALSE|true|false)\b", lambda m: SWAPS[SWAPS.index(m[0]) ^ 1]),
    (r"!(?=[\w(])", lambda m: ""),
    # A statement that is just a call; the empty statement left keeps an if above it whole.
    (r"^(?!(if|for|while|switch|return|sizeof)\b)(::)?[A-Za-z_][\w:]*((\.|->)\w+)*\(.*\);$", lambda m: ";"),
]
HIDDEN = re.compile(r'//[^\n]*|/\*.*?\*/|"(\\.|[^"\\\n])*"|\'(\\.|[^\'\\\n])*\'', re.S)

def faults_in(path):
    """Every fault the kinds allow in one file, as (path, line number, line before, line after)."""
    text = pathlib.Path(path).read_text(encoding="utf-8")
    # Comments and literals blanked out, every offset kept, so that nothing is planted in them.
    code = HIDDEN.sub(lambda m: re.sub(r"[^\n]", " ", m[0]), text).split("\n")
    found = []
    for number, (line, masked) in enumerate(zip(text.split("\n"), code), 1):
        body, indent = masked.strip(), len(masked) - len(masked.lstrip())
        if not body or body[0] == "#" or "static_assert" in body or re.search(r"\)( const)? = 0;$", body):
            continue  # preprocessor lines and pure virtual functions
        # A header's "Name();" declares, it does not call; "f(a,\n  g(b));" ends with one ")" too many.
        calls = path.endswith(".cpp") and body.count("(") == body.count(")")
        for pattern, after in KINDS if calls else KINDS[:-1]:
            for m in re.finditer(pattern, body):
                found.append((path, number, line, line[:m.start() + indent] + after(m) + line[m.end() + indent:]))
    return found

def choose(count, seed):
    """count faults, the folders taking turns while they have faults left, each drawn by the seed."""
    rng, chosen, turn = random.Random(seed), [], 0
    pools = [[f for name in sorted(os.listdir(folder)) if name.endswith((".cpp", ".h"))
              for f in faults_in(f"{folder}/{name}")] for folder in FOLDERS]
    while len(chosen) < count and any(pools):
        pool, turn = pools[turn % len(pools)], turn + 1
        chosen += [pool.pop(rng.randrange(len(pool)))] if pool else []
    return chosen

def run(command, env=None, timeout=None, failed=None):
    """Whether the command passes; with failed, the tests that fail are added to it, by program."""
    running = f"/tmp/vuka6-running.{os.getpid()}"  # GoogleTest removes it only at the end of a whole run
    env = env and {**env, "TEST_PREMATURE_EXIT_FILE": running}
    try:
        done = subprocess.run(command, env=env, timeout=timeout, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, text=True, errors="replace")
    except subprocess.TimeoutExpired:  # a hang catches the fault too; the Wine kin end with wineserver -k
        done = subprocess.CompletedProcess(command, "hung", "")
    if os.path.exists(running):  # a test program that ended early, even with exit code 0
        os.remove(running)
        done.returncode = done.returncode or "ended early"
    if failed is not None and done.returncode:
        names = re.findall(r"^\[  FAILED  \] (\S+) \(\d+ ms\)", done.stdout, re.M) or [f"exit {done.returncode}"]
        failed += [f"{os.path.basename(command[-1])}:{name}" for name in names]
    return done.returncode == 0

def stop(signum, frame):
    # One exception only: a second Ctrl-C must not break off the restoring of the source.
    for sig in (signal.SIGINT, signal.SIGTERM):
        signal.signal(sig, signal.SIG_IGN)
    raise KeyboardInterrupt

def plant(faults, builds, suites, env, timeout, matrix=None):
    """Plants each fault in turn; returns, per folder, how many did not compile, were caught, survived.
    With matrix, every suite runs on every fault, and the tests that fail each are written there."""
    def suites_pass(since, failed=None):  # those whose program the build has changed since then
        passed = True
        for f, s in suites:
            if (not f or os.path.getmtime(f) > since) and (passed or failed is not None):
                passed = run(s, env, timeout if f else None, failed) and passed
        if not passed:  # nothing hung or half-ended may meet the next fault
            run([env["WINESERVER"], "-k"], env)
        return passed
    if not (all(run(b) for b in builds) and suites_pass(0)):
        sys.exit("plant_faults: the build or the tests fail without a fault (or take longer than --timeout)")
    score, began = {folder: [0, 0, 0] for folder in FOLDERS}, time.time()
    for path, number, before, after in faults:
        source, since = pathlib.Path(path), time.time()
        text = source.read_bytes()  # as bytes, so that it goes back exactly as it was
        lines = text.split(b"\n")
        try:
            source.write_bytes(b"\n".join(lines[:number - 1] + [after.encode()] + lines[number:]))
            failed = [] if matrix else None
            outcome = 0 if not all(run(b) for b in builds) else 2 if suites_pass(since, failed) else 1
            if matrix and outcome:
                matrix.write(json.dumps({"fault": f"{path}:{number}: {after.strip()}", "failed": failed}) + "\n")
                matrix.flush()
        finally:
            # Written anew, not given back its old time: what was built from the fault is older, so rebuilt.
            source.write_bytes(text)
        score[path.split("/")[0]][outcome] += 1
        tag = ["  (did not compile)", "  (caught)", ""][outcome]
        print(f"{path}:{number}: {before.strip()} -> {after.strip()}{tag}", flush=True)
    return score, time.time() - began

def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--count", type=int, default=40)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--tests", help="a ctest -R pattern for build/mingw, run instead of the quick suites")
    ap.add_argument("--timeout", type=int, default=120, help="seconds before a suite (--tests: a test) counts as hung")
    ap.add_argument("--matrix", type=argparse.FileType("w"), help="run every suite on every fault, and write"
                    " which tests each caught fault fails to this file, a JSON object a line")
    ap.add_argument("--list", action="store_true", help="print the faults the seed chooses, and nothing else")
    args = ap.parse_args()
    os.chdir(TOP)
    faults = choose(args.count, args.seed)
    if args.list:
        print("\n".join(f"{p}:{n}: {b.strip()} -> {a.strip()}" for p, n, b, a in faults))
        return 0
    for sig in (signal.SIGINT, signal.SIGTERM):
        signal.signal(sig, stop)
    # One Wine environment for the session, held by a shell that Ctrl-C does not reach (a session of
    # its own); it hands us its variables, and ends the environment when our end of its stdin closes.
    holder = subprocess.Popen(["bash", "-c", "source tests/wine-env.sh; wine_env_start build/mingw || exit 1;"
                               " trap wine_env_stop EXIT; WINESERVER=$_WINE_ENV_SERVER python3 -c"
                               " 'import json, os; print(json.dumps(dict(os.environ)))'; read"],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, start_new_session=True)
    try:
        env = json.loads(holder.stdout.readline() or "null")
        if not env:
            sys.exit("plant_faults: the Wine environment did not start (see build/mingw/wine-env.log)")
        if args.tests:
            builds = [["cmake", "--build", "build/mingw"]]
            suites = [(None, ["ctest", "--test-dir", "build/mingw", "-R", args.tests, "--no-tests=error",
                              "--timeout", str(args.timeout)])]
        else:
            builds = [["cmake", "--build", "build/mingw", "--target", "core_tests", "window_tests"],
                      ["cmake", "--build", "build/native", "--target", "core_tests"]]
            programs = ["build/native/tests/core_tests", "build/mingw/tests/core_tests.exe",
                        "build/mingw/tests/window_tests.exe"]
            suites = [(f, [env["WINE"]] * f.endswith(".exe") + [f]) for f in programs]
        score, took = plant(faults, builds, suites, env, args.timeout, args.matrix)
    finally:
        holder.communicate()  # closes its stdin and waits until the environment has ended
    print(f"\n{len(faults)} faults in {took:.0f} s, {took / max(len(faults), 1):.0f} s each")
    print(f"{'':10} planted  did not compile  caught  survived  caught of those that compiled")
    for folder, (broken, caught, survived) in [*score.items(), ("all", [sum(v) for v in zip(*score.values())])]:
        share = f"{100 * caught / (caught + survived):.0f} %" if caught + survived else "-"
        print(f"{folder:10} {broken + caught + survived:7}  {broken:15}  {caught:6}  {survived:8}  {share:>6}")

if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit("plant_faults: interrupted; the source is as it was")
