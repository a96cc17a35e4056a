"""What a fresh machine gets: the install script's run set leaves out every tool that only the
tests need, and `make run` installs that set alone and builds only the window and the companion.
"""

import os
import shlex
import subprocess
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
TEST_ONLY = {"chromium", "chromium-driver", "emscripten", "qemu-user", "g++-aarch64-linux-gnu",
             "clang", "googletest", "libgtest-dev", "libgmock-dev", "libbenchmark-dev"}


def run(*command):
    # A make that runs this test must not pass its own flags (-n, -j, ...) on to ours.
    env = {k: v for k, v in os.environ.items() if k not in ("MAKEFLAGS", "MFLAGS", "MAKELEVEL")}
    return subprocess.run(command, cwd=ROOT, env=env, check=True, capture_output=True,
                          text=True).stdout


def listed(*sets):
    return set(run("bash", "scripts/install-deps.sh", "--list", *sets).split())


class Sets(unittest.TestCase):
    def test_run_set_has_no_test_tool_and_test_set_has_every_set(self):
        self.assertEqual(listed("run") & TEST_ONLY, set())
        self.assertLessEqual(listed("run"), listed("package"))
        self.assertLessEqual(listed("run", "web", "package") | TEST_ONLY, listed("test"))
        self.assertEqual(listed(), listed("test"))

    def test_make_run_installs_the_run_set_and_builds_the_two_programs(self):
        printed = run("make", "-n", "run").replace("\\\n", " ")
        commands = [shlex.split(line) for line in printed.splitlines()]
        installs = [c[2:] for c in commands if c[:2] == ["bash", "scripts/install-deps.sh"]]
        self.assertEqual(installs, [["run"]])
        configure = [c for c in commands if c[:2] == ["cmake", "-S"]]
        self.assertEqual(len(configure), 1)
        self.assertIn("-DBUILD_TESTING=OFF", configure[0])
        self.assertIn("-DQUENDAL_BENCH=OFF", configure[0])
        builds = [c for c in commands if c[:2] == ["cmake", "--build"]]
        self.assertEqual([c[c.index("--target") + 1:] for c in builds if "--target" in c],
                         [["quendal", "quendal-calc"]])
        self.assertEqual(len(builds), 1)


if __name__ == "__main__":
    unittest.main()
