#!/usr/bin/env python3
"""Seeded mutations of the game's core, each rebuilt and put to the tests.

One at a time, makes a small fault in the sources of src/level, src/player,
src/world, src/save and src/cutscene: a comparison flipped, a whole-number
constant changed by one, or a statement line deleted. Each mutant is built in
a build folder of its own (default build-mutants/, configured on first use;
ccache keeps the rebuilds short) and the test program run on it; a mutant is
killed when the tests fail or hang. The source file is put back after each
mutant, also when the run is interrupted. Prints each mutant, whether it was
killed, and the count.

The same seed and the same sources give the same mutants, so two runs with
different tests (before and after a change to the tests) can be compared:

    scripts/mutate.py                 # 40 mutants, seed 1
    scripts/mutate.py --count 60 --seed 7
    scripts/mutate.py --list          # only prints the mutants
    scripts/mutate.py --only 3,17     # only these of the list
    scripts/mutate.py --build build   # in an existing build folder

Each mutant meets the tests in rounds, each test in a process of its own as
CTest runs them, --jobs at a time, stopping at the first failure: the tests
that took less than a second on the unchanged sources first, the other short
ones only for a mutant that passes those, and the long runs (the
playthroughs, through CTest) only for a mutant that passes both (--no-long
leaves them out).
"""

import argparse
import os
import random
import re
import json
import shutil
import signal
import subprocess
import sys
import time

CORE_FOLDERS = ["src/level", "src/player", "src/world", "src/save", "src/cutscene"]
LONG_TESTS = "Playthrough*"
LONG_SECONDS = 900
QUICK_SECONDS = 1.0

COMPARISONS = {"==": "!=", "!=": "==", "<": "<=", "<=": "<", ">": ">=", ">=": ">"}
COMPARISON = re.compile(r"(?<=[\w)\]] )(==|!=|<=|>=|<|>)(?= [\w(!-])")
WHOLE_NUMBER = re.compile(r"(?<![\w.'\"])(\d+)(?![\w.'\"])")
STATEMENT = re.compile(
    r"^\s*(?!return\b|break\b|continue\b|case\b|default\b|else\b)"
    r"[A-Za-z_][\w.\->\[\]]*(\([^;]*\)|\s*(=|\+=|-=|\|=|&=|\+\+|--)[^;]*)?;\s*$")
DECLARATION = re.compile(r"^\s*(const\s+)?[A-Za-z_][\w:<>,*&]*\s+[*&]?[A-Za-z_]\w*\s*(=|;|\(|\{|\[)")


def is_code(line):
    """A line of code a mutation could change the behaviour of: not a comment,
    a directive, a text or a log line."""
    text = line.strip()
    return (text and not text.startswith(("//", "#", "*", "/*")) and '"' not in text
            and not text.startswith("log"))


def mutation_sites(tree):
    """Every place a mutation could go, as (path, line number, kind, new line)."""
    sites = []
    for folder in CORE_FOLDERS:
        for name in sorted(os.listdir(os.path.join(tree, folder))):
            if not name.endswith(".cpp"):
                continue
            path = os.path.join(folder, name)
            with open(os.path.join(tree, path)) as source:
                lines = source.read().split("\n")
            for number, line in enumerate(lines, 1):
                if not is_code(line):
                    continue
                for match in COMPARISON.finditer(line):
                    flipped = COMPARISONS[match.group(1)]
                    sites.append((path, number, "comparison",
                                  line[:match.start()] + flipped + line[match.end():]))
                if not line.lstrip().startswith(("enum", "static const", "const", "constexpr", "case")):
                    for match in WHOLE_NUMBER.finditer(line):
                        if DECLARATION.match(line) and line[match.start() - 1] == "[":
                            continue  # an array's size
                        changed = str(int(match.group(1)) + 1)
                        sites.append((path, number, "constant",
                                      line[:match.start()] + changed + line[match.end():]))
                if STATEMENT.match(line) and not DECLARATION.match(line):
                    sites.append((path, number, "deleted", ""))
    return sites


def choose(sites, count, seed):
    """`count` sites spread evenly over the folders and the three kinds."""
    chooser = random.Random(seed)
    groups = {}
    for site in sites:
        groups.setdefault((site[0].rsplit("/", 1)[0], site[2]), []).append(site)
    keys = sorted(groups)
    chooser.shuffle(keys)
    for key in keys:
        chooser.shuffle(groups[key])
    chosen = []
    while len(chosen) < count and any(groups.values()):
        for key in keys:
            if groups[key] and len(chosen) < count:
                chosen.append(groups[key].pop())
    return chosen


def line_of(tree, path, number):
    with open(os.path.join(tree, path)) as source:
        return source.read().split("\n")[number - 1].strip()


def run(command, cwd, timeout=None):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return None


class Build:
    def __init__(self, tree, folder, jobs):
        self.tree = tree
        self.folder = os.path.join(tree, folder)
        self.jobs = jobs
        self.tests = os.path.join(self.folder, "tests", "gloamer_tests")

    def configure_and_build_all(self):
        # The world's proof takes minutes and no test of the test program needs it.
        if not os.path.exists(os.path.join(self.folder, "CMakeCache.txt")) and run(
                ["cmake", "-S", ".", "-B", self.folder, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                 "-DGLOAMER_WORLDCHECK=OFF"]
                + (["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []),
                self.tree) != 0:
            sys.exit("mutate: the build folder does not configure")
        if run(["cmake", "--build", self.folder, "-j", str(self.jobs)], self.tree) != 0:
            sys.exit("mutate: the tree does not build")

    def rebuild(self):
        """The test program and the game program built again, the game data
        left as it is: its tools would otherwise remake every file with the
        mutant."""
        game = "gloamer/fast" if os.path.exists(os.path.join(self.folder, "Makefile")) else "gloamer"
        return run(["cmake", "--build", self.folder, "-j", str(self.jobs), "--target", "gloamer_tests"],
                   self.tree) == 0 and run(["cmake", "--build", self.folder, "--target", game], self.tree) == 0

    def test(self, names, seconds):
        """Whether the tests `names` pass (None when one hangs), each in a
        process of its own as CTest runs them, --jobs at a time, stopping at
        the first failure. A test hangs when it takes three times its
        `seconds` on the unchanged sources and half a minute more."""
        pending, running = list(names), []
        env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
        try:
            while pending or running:
                while pending and len(running) < self.jobs:
                    name = pending.pop(0)
                    process = subprocess.Popen([self.tests, "--gtest_filter=" + name], cwd=self.folder, env=env,
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    running.append((process, time.monotonic() + 3 * seconds[name] + 30))
                time.sleep(0.02)
                for process, deadline in list(running):
                    if process.poll() is None:
                        if time.monotonic() > deadline:
                            return None
                    elif process.returncode != 0:
                        return False
                    else:
                        running.remove((process, deadline))
            return True
        finally:
            for process, _ in running:
                if process.poll() is None:
                    process.kill()
                    process.wait()

    def long_tests(self):
        """Whether the long runs pass (None when they hang), both at once."""
        return run(["ctest", "-R", "^" + LONG_TESTS.rstrip("*") + "\\.", "-j", str(self.jobs),
                    "--stop-on-failure", "--no-tests=error", "--timeout", str(LONG_SECONDS)], self.folder) == 0

    def timed_tests(self):
        """Every test but the long runs with the seconds it took, or None when one fails;
        taken from the last run when the test program has not changed since."""
        report = os.path.join(self.folder, "mutate_times.json")
        fresh = os.path.exists(report) and os.path.getmtime(report) > os.path.getmtime(self.tests)
        self.measured = not fresh
        if not fresh and run([self.tests, "--gtest_brief=1", "--gtest_filter=-" + LONG_TESTS,
                "--gtest_output=json:" + report], self.folder) != 0:
            return None
        with open(report) as times:
            suites = json.load(times)["testsuites"]
        return {f"{suite['name']}.{test['name']}": float(test["time"].rstrip("s"))
                for suite in suites for test in suite["testsuite"]}


class Suite:
    """The tests in two rounds: the quick ones first, the slow ones only for a
    mutant the quick ones let through, then the long runs."""

    def __init__(self, build, times, long):
        self.build = build
        self.long = long
        self.times = times
        quick = sorted((name for name, seconds in times.items() if seconds < QUICK_SECONDS), key=times.get)
        slow = sorted((name for name, seconds in times.items() if seconds >= QUICK_SECONDS), key=times.get)
        self.rounds = [names for names in (quick, slow) if names]

    def passes(self):
        for names in self.rounds:
            passed = self.build.test(names, self.times)
            if not passed:
                return passed
        return self.build.long_tests() if self.long else True


def main():
    top = subprocess.run(["git", "rev-parse", "--show-toplevel"], stdout=subprocess.PIPE,
                         text=True, check=True, cwd=os.path.dirname(os.path.abspath(__file__))).stdout.strip()
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--count", type=int, default=40)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--build", default="build-mutants", help="the build folder, from the top of the tree")
    parser.add_argument("--jobs", type=int, default=os.cpu_count())
    parser.add_argument("--list", action="store_true", help="print the mutants only")
    parser.add_argument("--only", help="the numbers of the mutants to run, such as 3,17")
    parser.add_argument("--no-long", action="store_true", help="leave out the playthroughs")
    options = parser.parse_args()

    mutants = list(enumerate(choose(mutation_sites(top), options.count, options.seed), 1))
    if options.list:
        for index, (path, number, kind, new_line) in mutants:
            print(f"{index:3} {path}:{number} {kind}: {line_of(top, path, number)}  ->  {new_line.strip()}")
        return 0
    if options.only:
        wanted = {int(n) for n in options.only.split(",")}
        mutants = [mutant for mutant in mutants if mutant[0] in wanted]

    # A stop (Ctrl-C, kill) puts the mutated file back like an error does.
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    build = Build(top, options.build, options.jobs)
    build.configure_and_build_all()
    times = build.timed_tests()
    if times is None:
        sys.exit("mutate: the tests fail without any mutation")
    suite = Suite(build, times, not options.no_long)
    # The rounds as each mutant meets them, on the unchanged test program: a
    # test that fails only when run in them would count every mutant killed.
    if build.measured and not suite.passes():
        sys.exit("mutate: the tests fail without any mutation when run in rounds")

    killed, survivors, unbuilt = 0, [], 0
    for index, (path, number, kind, new_line) in mutants:
        source_path = os.path.join(top, path)
        with open(source_path) as source:
            original = source.read()
        lines = original.split("\n")
        old_line = lines[number - 1].strip()
        lines[number - 1] = new_line
        try:
            with open(source_path, "w") as source:
                source.write("\n".join(lines))
            if not build.rebuild():
                verdict = "does not build"
                unbuilt += 1
            else:
                passed = suite.passes()
                verdict = "survived" if passed else ("killed (hangs)" if passed is None else "killed")
                if passed:
                    survivors.append(f"{path}:{number} {kind}: {old_line}  ->  {new_line.strip()}")
                else:
                    killed += 1
        finally:
            with open(source_path, "w") as source:
                source.write(original)
        print(f"{index:3} {verdict:15} {path}:{number} {kind}: "
              f"{old_line}  ->  {new_line.strip()}", flush=True)

    build.rebuild()
    built = len(mutants) - unbuilt
    print(f"\nkilled {killed} of {built} mutants that built ({unbuilt} did not build)")
    if survivors:
        print("survivors:\n  " + "\n  ".join(survivors))
    return 0


if __name__ == "__main__":
    sys.exit(main())
