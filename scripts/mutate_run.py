"""The mutation tool's workers: persistent copies of the tree, each with its own Release build,
in which one mutant at a time is written, built incrementally and tested.

build-mutate/worker-N/src is a copy of the tracked and untracked (not ignored) files of the
tree, brought up to date at the start of every run; build-mutate/worker-N/build is configured
as `make build` configures build/ (without the benchmarks, which no test runs).
"""

import json
import os
import re
import shutil
import signal
import subprocess
import time
from pathlib import Path

# A removed statement or a replaced return value often leaves a name unused, and a swapped &&
# or || mixes the two without parentheses; those warnings say nothing about the tests, so they
# do not stop a mutant from being tested. Every other warning is an error, as in `make build`.
QUIET = ("-Wno-unused-parameter -Wno-unused-variable -Wno-unused-but-set-variable "
         "-Wno-unused-but-set-parameter -Wno-unused-function -Wno-unused-local-typedefs "
         "-Wno-parentheses")
CONFIGURE = ["-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release", "-DQUENDAL_WERROR=ON",
             "-DQUENDAL_APP=ON", "-DQUENDAL_BENCH=OFF", "-DQUENDAL_SANITIZE=OFF",
             f"-DCMAKE_CXX_FLAGS={QUIET}"]
NICE = ["nice", "-n", "5"]
# CMake's test discovery runs a test executable as the last step of its build; when a mutant
# makes that run fail, the tests saw it.
DISCOVERY_FAILED = "Error running test executable"
TEST_LINE = re.compile(r"Test\s+#\d+: (\S+) (.*)")


class Stopped(Exception):
    """The run was interrupted."""


def tree_files(root):
    out = subprocess.run(["git", "-C", str(root), "ls-files", "-z", "--cached", "--others",
                          "--exclude-standard"], check=True, capture_output=True).stdout
    return sorted({p for p in out.decode().split("\0") if p and (root / p).is_file()})


def write_source(path, data, build_dir):
    """Writes a source file so that ninja sees it changed: its time must lie after that of
    anything the last build wrote (.ninja_log is written with every step), whatever the
    clock's resolution. Restoring a file's old time would leave a mutant's objects in place."""
    path.write_bytes(data)
    stamp = time.time_ns()
    log = build_dir / ".ninja_log"
    if log.exists():
        stamp = max(stamp, log.stat().st_mtime_ns + 1_000_000)
    os.utime(path, ns=(stamp, stamp))


class Worker:
    def __init__(self, root, base, index, log):
        self.root = root
        self.index = index
        self.dir = base / f"worker-{index}"
        self.src = self.dir / "src"
        self.build = self.dir / "build"
        self.log = log
        self.proc = None
        self.stopping = False

    # -- setting up -------------------------------------------------------------------------

    def sync(self):
        """Brings the copy up to date with the tree; returns how many files changed."""
        wanted = tree_files(self.root)
        changed = 0
        for rel in wanted:
            source, target = self.root / rel, self.src / rel
            data = source.read_bytes()
            if target.is_file() and target.stat().st_size == len(data) and \
                    target.read_bytes() == data:
                continue
            target.parent.mkdir(parents=True, exist_ok=True)
            write_source(target, data, self.build)
            shutil.copymode(source, target)
            changed += 1
        keep = set(wanted)
        for path in list(self.src.rglob("*")) if self.src.exists() else []:
            if path.is_file() and str(path.relative_to(self.src)) not in keep:
                path.unlink()
                changed += 1
        return changed

    def setup(self):
        """Syncs, configures when needed and builds everything."""
        self.dir.mkdir(parents=True, exist_ok=True)
        changed = self.sync()
        setup_log = self.dir / "setup.log"
        stamp = self.build / "mutate-configure.txt"
        with open(setup_log, "w") as out:
            fresh = not stamp.exists() or stamp.read_text() != "\n".join(CONFIGURE)
            if fresh:
                self.log(f"worker {self.index}: configuring a Release build in {self.build}")
                self._check(["cmake", "-S", str(self.src), "-B", str(self.build)] + CONFIGURE,
                            out, setup_log)
                stamp.write_text("\n".join(CONFIGURE))
            self.log(f"worker {self.index}: {changed} files changed in the copy; building"
                     + (" all of it, on one core (this takes long)" if fresh else ""))
            self._check(NICE + ["cmake", "--build", str(self.build), "-j", "1"], out, setup_log)

    def _check(self, cmd, out, log_path):
        if self._run(cmd, out, None) != 0:
            raise RuntimeError(f"worker {self.index}: `{' '.join(cmd)}` failed, see {log_path}")

    def _run(self, cmd, out, timeout, env=None, cwd=None):
        """Runs cmd in a process group of its own; returns its status, or None on timeout."""
        if self.stopping:
            raise Stopped()
        self.proc = subprocess.Popen(cmd, stdout=out, stderr=subprocess.STDOUT, env=env,
                                     cwd=cwd, start_new_session=True)
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            self.proc.wait()
            return None
        finally:
            self.proc = None
            if self.stopping:
                raise Stopped()

    def kill(self):
        proc = self.proc
        if proc is not None and proc.poll() is None:
            try:
                os.killpg(proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    def stop(self):
        self.stopping = True
        self.kill()

    # -- what a file reaches ----------------------------------------------------------------

    def tests(self):
        """The ctest tests as {name: executable relative to the build directory or None}."""
        out = subprocess.run(["ctest", "--show-only=json-v1"], cwd=self.build, check=True,
                             capture_output=True, text=True).stdout
        result = {}
        for test in json.loads(out)["tests"]:
            exe = test.get("command", [None])[0]
            if exe and Path(exe).is_relative_to(self.build):
                exe = str(Path(exe).relative_to(self.build))
            else:
                exe = None
            result[test["name"]] = exe
        return result

    def _query(self, nodes):
        """{node: [outputs]} from ninja's graph."""
        run = subprocess.run(["ninja", "-C", str(self.build), "-t", "query"] + sorted(nodes),
                             capture_output=True, text=True)
        if run.returncode != 0:
            raise RuntimeError(f"ninja -t query failed: {run.stderr.strip()}")
        out = run.stdout
        outputs, node, section = {}, None, None
        for line in out.splitlines():
            if not line.startswith(" "):
                node = line.rstrip(":")
                outputs[node] = []
            elif line.strip() in ("input:", "outputs:") or line.strip().startswith("input:"):
                section = line.strip().split(":")[0]
            elif section == "outputs" and node is not None:
                outputs[node].append(line.strip())
        return outputs

    def reached(self, start):
        """Every node of the build graph that depends on the nodes in start, order-only
        dependencies included (a test that runs the companion depends on it that way)."""
        seen, frontier = set(start), set(start)
        while frontier:
            found = self._query(frontier)
            frontier = {o for outs in found.values() for o in outs} - seen
            seen |= frontier
        return seen

    def objects_of(self, rel):
        """The object files compiled from rel, or that include it (from ninja's deps log)."""
        path = str(self.src / rel)
        out = subprocess.run(["ninja", "-C", str(self.build), "-t", "deps"],
                             capture_output=True, text=True).stdout
        objects, current = set(), None
        for line in out.splitlines():
            if line and not line.startswith(" "):
                current = line.split(":")[0]
            elif line.strip() == path and current:
                objects.add(current)
        return objects

    # -- one mutant -------------------------------------------------------------------------

    def try_mutant(self, rel, mutated, original, targets, ctest_args, timeout, build_timeout):
        """Builds and tests one mutant of the file rel. Returns (status, detail, build
        seconds, test seconds); status is caught, survived, build or timeout."""
        path = self.src / rel
        out_path = self.dir / "mutant.log"
        write_source(path, mutated, self.build)
        try:
            with open(out_path, "w") as out:
                t0 = time.monotonic()
                status = self._run(NICE + ["ninja", "-C", str(self.build), "-j", "1"] + targets,
                                   out, build_timeout)
                build_s = time.monotonic() - t0
            text = out_path.read_text(errors="replace")
            if status != 0:
                if DISCOVERY_FAILED in text:
                    return "caught", "a test executable failed listing its tests", build_s, 0.0
                return "build", first_error(text).replace(f"{self.src}/", ""), build_s, 0.0
            status, test_s, text = self.run_tests(ctest_args, timeout)
            if status is None:
                return "timeout", f"tests ran past {timeout:.0f} s", build_s, test_s
            if status != 0:
                return "caught", failed_test(text), build_s, test_s
            return "survived", "", build_s, test_s
        finally:
            write_source(path, original, self.build)

    def run_tests(self, ctest_args, timeout):
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        out_path = self.dir / "tests.log"
        with open(out_path, "w") as out:
            t0 = time.monotonic()
            status = self._run(NICE + ["ctest", "-j1", "--stop-on-failure", "--no-tests=error"]
                               + ctest_args, out, timeout, env=env, cwd=self.build)
            seconds = time.monotonic() - t0
        return status, seconds, out_path.read_text(errors="replace")


def failed_test(text):
    for m in TEST_LINE.finditer(text):
        if "Passed" not in m.group(2):
            return m.group(1)
    return "tests failed"


def first_error(text):
    for line in text.splitlines():
        if "error:" in line or "Error" in line:
            return line.strip()[:200]
    return "the build failed"


def ctest_selection(names, all_names):
    """ctest arguments that run exactly the tests in names, by the shorter of an include or an
    exclude list of exact names."""
    def pattern(group):
        return "^(" + "|".join(re.sub(r"([][^$.|?*+(){}\\])", r"\\\1", n)
                               for n in sorted(group)) + ")$"
    others = set(all_names) - set(names)
    if not others:
        return []
    if len(others) < len(names):
        return ["-E", pattern(others)]
    return ["-R", pattern(names)]
