#!/usr/bin/env python3
"""Mutation testing of Quendal's C++ code: small faults are put into the given files one at a
time (see mutate_ops.py for the operators), each mutant is built and the tests that can see
the file run against it. A mutant the tests let pass ("survived") points at behaviour that no
test pins down.

  scripts/mutate.py --files model/planet_rules.cpp [--jobs 2] [--max N --seed S] [--list]
  scripts/mutate.py --since main

The survivors reviewed as equivalent (they cannot change behaviour) are listed in
tests/mutants-equivalent.txt; they are not run and count apart from the score. The outcome of
the last run is kept in build-mutate/results.txt (and one JSON line a mutant in
build-mutate/results.jsonl).
"""

import argparse
import collections
import fcntl
import json
import queue
import random
import re
import shlex
import signal
import statistics
import subprocess
import sys
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from mutate_ops import OPERATORS, generate  # noqa: E402
from mutate_run import Stopped, Worker, ctest_selection  # noqa: E402

ROOT = Path(__file__).resolve().parent.parent
BASE = ROOT / "build-mutate"
# The text each file had when its mutants were generated.
generated_from = {}
FOLDERS = ("lists", "model", "io", "optimiser", "app", "cli", "web")
EQUIVALENT_LIST = "tests/mutants-equivalent.txt"
STATUS_NAMES = {"caught": "caught", "survived": "survived", "build": "did not build",
                "timeout": "timed out", "equivalent": "equivalent"}
ENTRY = re.compile(r"^(\S+):(\d+): \[(\w+)\] (.*) → (.*)$")


def log(text):
    print(text, flush=True)


def changed_files(since):
    diff = subprocess.run(["git", "-C", str(ROOT), "diff", "--name-only", since, "--"],
                          check=True, capture_output=True, text=True).stdout.split()
    new = subprocess.run(["git", "-C", str(ROOT), "ls-files", "--others", "--exclude-standard"],
                         check=True, capture_output=True, text=True).stdout.split()
    return [p for p in sorted(set(diff + new)) if p.endswith((".cpp", ".h")) and
            p.split("/")[0] in FOLDERS and (ROOT / p).is_file()]


def load_equivalents(path):
    """{mutant key: (line of the list, reason)}. An entry is a survivor's report line
    followed by two spaces, '#' and the reason."""
    entries = {}
    if not path.exists():
        return entries
    for number, line in enumerate(path.read_text().splitlines(), 1):
        text = line.strip()
        if not text or text.startswith("#"):
            continue
        head, _, reason = text.partition("  # ")
        m = ENTRY.match(head.strip())
        if not m or not reason.strip():
            raise SystemExit(f"{path}:{number}: expected `file:line: [op] original → mutant"
                             f"  # reason`")
        key = (m.group(1), m.group(3), " ".join(m.group(4).split()), " ".join(m.group(5).split()))
        entries[key] = (number, reason.strip())
    return entries


def parse_lines(text):
    m = re.fullmatch(r"(\d+)-(\d+)", text or "")
    if text and not m:
        raise SystemExit("--lines takes A-B")
    return (int(m.group(1)), int(m.group(2))) if m else None


def parse_args(argv):
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--files", nargs="*", default=[], help="C++ files, relative to the tree")
    p.add_argument("--since", help="the C++ files changed since this revision")
    p.add_argument("--jobs", type=int, default=1, help="worker copies run side by side")
    p.add_argument("--max", type=int, help="run at most N mutants, sampled")
    p.add_argument("--seed", type=int, default=1, help="the sample's seed")
    p.add_argument("--ops", help="only these operators, comma-separated: " + ",".join(OPERATORS))
    p.add_argument("--lines", help="only mutants on lines A-B")
    p.add_argument("--list", action="store_true", help="print the mutants, run nothing")
    p.add_argument("--timeout-factor", type=float, default=3.0,
                   help="a mutant's tests may take this many times the unmutated run's "
                   "(+10 s, at least 60 s)")
    p.add_argument("--build-timeout", type=float, default=1800.0)
    args = p.parse_args(argv)
    files = [str(Path(f).resolve().relative_to(ROOT)) if Path(f).is_absolute() else f
             for f in args.files]
    if args.since:
        files += changed_files(args.since)
    args.files = list(dict.fromkeys(files))
    for f in args.files:
        if not (ROOT / f).is_file():
            raise SystemExit(f"no such file: {f}")
    if not args.files and args.since:
        print(f"no C++ file under {'/, '.join(FOLDERS)}/ changed since {args.since}: "
              "nothing to mutate")
        raise SystemExit(0)
    if not args.files:
        raise SystemExit("no C++ files to mutate (give --files or --since)")
    if args.ops:
        unknown = set(args.ops.split(",")) - set(OPERATORS)
        if unknown:
            raise SystemExit(f"unknown operators: {', '.join(sorted(unknown))}")
    args.lines = parse_lines(args.lines)
    args.jobs = max(1, args.jobs)
    return args


def select_mutants(args, equivalents):
    """(mutants to run, mutants listed as equivalent, generated count by operator)."""
    generated = collections.Counter()
    run, equivalent = [], []
    for f in args.files:
        generated_from[f] = (ROOT / f).read_text(errors="replace")
        mutants = generate(f, generated_from[f])
        if args.ops:
            mutants = [m for m in mutants if m.op in args.ops.split(",")]
        if args.lines:
            mutants = [m for m in mutants if args.lines[0] <= m.line <= args.lines[1]]
        for m in mutants:
            generated[m.op] += 1
            (equivalent if m.key() in equivalents else run).append(m)
    if args.max is not None and len(run) > args.max:
        order = {id(m): k for k, m in enumerate(run)}
        run = sorted(random.Random(args.seed).sample(run, args.max), key=lambda m: order[id(m)])
    return run, equivalent, generated


class Plan:
    """What one file's mutants need: the targets to build and the tests to run."""

    def __init__(self, targets, tests, ctest_args):
        self.targets, self.tests, self.ctest_args = targets, tests, ctest_args
        self.timeout = None


def make_plans(worker, files):
    tests = worker.tests()
    test_exes = {exe for exe in tests.values() if exe}
    commands = json.loads((worker.build / "compile_commands.json").read_text())
    objects_by_source = collections.defaultdict(set)
    for entry in commands:
        words = shlex.split(entry["command"])
        if "-o" in words[:-1]:
            objects_by_source[entry["file"]].add(words[words.index("-o") + 1])
    plans = {}
    for f in files:
        objects = objects_by_source.get(str(worker.src / f)) or worker.objects_of(f)
        if not objects:
            log(f"warning: no target compiles {f}: its mutants are left out")
            continue
        reached = worker.reached(objects)
        exes = sorted(n for n in reached if n in test_exes)
        names = sorted(n for n, exe in tests.items() if exe in reached)
        # Programs the tests run (the companion) are built too; the window's program is not.
        helpers = [n for n in reached if n.startswith("bin/") and n not in test_exes and
                   worker.reached({n}) & set(exes)]
        plans[f] = Plan(exes + sorted(helpers), names, ctest_selection(names, tests))
    return plans


def baseline(worker, plans, factor):
    """Runs each distinct set of tests once unmutated: it must pass, and its time sets the
    mutants' time limit."""
    done = {}
    for f, plan in plans.items():
        key = tuple(plan.tests)
        if not plan.tests:
            continue
        if key not in done:
            t0 = time.monotonic()
            status = worker._run(["ninja", "-C", str(worker.build), "-j", "1"] + plan.targets,
                                 subprocess.DEVNULL, None)
            build_s = time.monotonic() - t0
            if status != 0:
                raise SystemExit(f"the unmutated tree does not build in {worker.build}")
            status, test_s, text = worker.run_tests(plan.ctest_args, None)
            if status != 0:
                raise SystemExit(f"the tests fail without any mutant ({worker.dir}/tests.log):"
                                 f"\n{text[-2000:]}")
            # At least a minute: the machine is shared, and a slow run is no hang.
            done[key] = max(factor * test_s + 10, 60.0)
            log(f"baseline for {f}: {len(plan.tests)} tests in {test_s:.1f} s (build check "
                f"{build_s:.1f} s); a mutant's tests may take {done[key]:.0f} s")
        plan.timeout = done[key]


class Results:
    def __init__(self, total, equivalents, generated, run_started):
        self.run_started = run_started
        self.records = []
        self.total = total
        self.equivalents = equivalents
        self.generated = generated
        self.lock = threading.Lock()
        self.started = time.monotonic()
        BASE.mkdir(exist_ok=True)
        self.jsonl = open(BASE / "results.jsonl", "w")

    def add(self, m, status, detail, build_s, test_s):
        with self.lock:
            self.records.append((m, status, detail, build_s, test_s))
            self.jsonl.write(json.dumps({
                "file": m.path, "line": m.line, "op": m.op, "original": m.original,
                "mutant": m.mutated, "status": status, "detail": detail,
                "build_s": round(build_s, 2), "test_s": round(test_s, 2)}, ensure_ascii=False)
                + "\n")
            self.jsonl.flush()
            log(f"[{len(self.records):>4}/{self.total}] {STATUS_NAMES[status]:<13} "
                f"{m.path}:{m.line} [{m.op}] ({build_s:.1f} s build, {test_s:.1f} s tests)"
                + (f" {detail}" if detail and status != "survived" else ""))
            self.summary("in progress")  # results.txt is readable while a long run goes on

    def summary(self, state=""):
        """The report, also written to results.txt; state says how the run stands."""
        counts = collections.Counter(s for _, s, *_ in self.records)
        counts["equivalent"] = len(self.equivalents)
        lines = []
        survivors = sorted((m for m, s, *_ in self.records if s == "survived"),
                           key=lambda m: (m.path, m.edits[0][0]))
        lines.append(f"Survivors ({len(survivors)}):")
        lines += [f"  {m.describe()}" for m in survivors] or ["  none"]
        if self.equivalents:
            lines.append(f"Listed as equivalent in {EQUIVALENT_LIST}, not run "
                         f"({len(self.equivalents)}):")
            lines += [f"  {m.describe()}" for m in self.equivalents]
        lines.append("")
        lines.append("Generated by operator: " + ", ".join(
            f"{op} {self.generated[op]}" for op in OPERATORS))
        per_op = collections.defaultdict(collections.Counter)
        for m, s, *_ in self.records:
            per_op[m.op][s] += 1
        for op in OPERATORS:
            if per_op[op]:
                lines.append(f"  {op:<6} " + ", ".join(
                    f"{STATUS_NAMES[s]} {per_op[op][s]}" for s in STATUS_NAMES if per_op[op][s]))
        caught = counts["caught"] + counts["timeout"]
        scored = caught + counts["survived"]
        score = f"{100.0 * caught / scored:.1f}%" if scored else "n/a"
        stopped = f" ({state})" if state else ""
        lines.append(
            f"{len(self.records)} of {self.total} mutants run{stopped}: caught "
            f"{counts['caught']}, survived {counts['survived']}, did not build {counts['build']}, "
            f"timed out {counts['timeout']}, equivalent {counts['equivalent']}")
        lines.append(f"score {score} = (caught + timed out) / (caught + timed out + survived)")
        built = [b + t for _, s, _, b, t in self.records if s != "build"]
        every = [b + t for _, _, _, b, t in self.records]
        if every:
            lines.append(f"time per mutant: median {statistics.median(every):.1f} s (build + "
                         f"tests)" + (f", {statistics.median(built):.1f} s for those that built"
                                      if built else ""))
        now = time.monotonic()
        lines.append(f"whole run {now - self.run_started:.0f} s, of which "
                     f"{self.started - self.run_started:.0f} s bringing the copies up to date "
                     f"and running the tests unmutated")
        text = "\n".join(lines)
        (BASE / "results.txt").write_text(text + "\n")
        return text


def work(worker, jobs, plans, sources, results, timeout_build):
    while True:
        try:
            m = jobs.get_nowait()
        except queue.Empty:
            return
        plan = plans[m.path]
        original = sources[m.path]
        mutated = m.apply(original.decode()).encode()
        if not plan.tests:
            # Built into no test: nothing can catch it.
            results.add(m, "survived", "no test runs this code", 0.0, 0.0)
            continue
        status, detail, build_s, test_s = worker.try_mutant(
            m.path, mutated, original, plan.targets, plan.ctest_args, plan.timeout,
            timeout_build)
        results.add(m, status, detail, build_s, test_s)


def interrupt(signum, frame):
    raise KeyboardInterrupt()


def main(argv):
    run_started = time.monotonic()
    # Ctrl-C and a plain kill both stop the workers and put the mutated files back.
    signal.signal(signal.SIGINT, interrupt)
    signal.signal(signal.SIGTERM, interrupt)
    args = parse_args(argv)
    equivalents = load_equivalents(ROOT / EQUIVALENT_LIST)
    mutants, equivalent, generated = select_mutants(args, equivalents)
    matched = {m.key() for m in equivalent}
    for key, (number, _) in equivalents.items():
        if key[0] in args.files and key not in matched:
            log(f"{EQUIVALENT_LIST}:{number}: no such mutant any more: the entry is stale")
    log(f"{sum(generated.values())} mutants in {len(args.files)} files (" + ", ".join(
        f"{op} {generated[op]}" for op in OPERATORS) + f"); {len(equivalent)} listed as "
        f"equivalent; {len(mutants)} to run")
    if args.list:
        signal.signal(signal.SIGPIPE, signal.SIG_DFL)  # | head
        for m in mutants:
            print(m.describe())
        for m in equivalent:
            print(f"{m.describe()}  # equivalent: {equivalents[m.key()][1]}")
        return 0
    BASE.mkdir(exist_ok=True)
    lock = open(BASE / "lock", "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        raise SystemExit("another mutation run is using build-mutate/")
    workers = [Worker(ROOT, BASE, k, log) for k in range(args.jobs)]
    results = None
    try:
        run_threads(workers, [lambda w=w: w.setup() for w in workers])
        plans = make_plans(workers[0], args.files)
        mutants = [m for m in mutants if m.path in plans]
        baseline(workers[0], plans, args.timeout_factor)
        # The mutants apply to the text the copies were built from: a tree edited since the
        # mutants were generated would mix old and new files in every build.
        sources = {f: (workers[0].src / f).read_bytes() for f in plans}
        for w in workers:
            for f in plans:
                if (w.src / f).read_bytes() != sources[f] or \
                        sources[f].decode(errors="replace") != generated_from[f]:
                    raise SystemExit(f"{f} changed while the run was setting up: "
                                     "run again on a tree left alone")
        jobs = queue.Queue()
        for m in mutants:
            jobs.put(m)
        results = Results(len(mutants), equivalent, generated, run_started)
        run_threads(workers, [lambda w=w: work(w, jobs, plans, sources, results,
                                               args.build_timeout) for w in workers])
        log(results.summary())
        return 0
    except (KeyboardInterrupt, Stopped):
        if results:
            log(results.summary("interrupted"))
        return 130


def run_threads(workers, targets):
    """Runs the callables side by side. An exception in one, or Ctrl-C, stops every worker's
    process; once all have put their files back, it is raised."""
    errors = []

    def guard(fn):
        try:
            fn()
        except Stopped:
            pass
        except BaseException as e:  # noqa: BLE001 - passed on to the main thread
            errors.append(e)
            for w in workers:
                w.stop()

    threads = [threading.Thread(target=guard, args=(fn,)) for fn in targets]
    for t in threads:
        t.start()
    try:
        while any(t.is_alive() for t in threads):
            for t in threads:
                t.join(timeout=0.5)
    except KeyboardInterrupt:
        log("interrupted: stopping the workers")
        for w in workers:
            w.stop()
        for t in threads:
            t.join()
        raise
    if errors:
        raise errors[0]


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
