#!/usr/bin/env python3
"""The mutation check: does a one-line fault make a test fail?

Applies each mutant of tools/mutate/mutants.txt to a scratch copy of the
tree (build/mutate/src), rebuilds the 64-bit test build there incrementally
(build/mutate/build), runs the unit tests under Wine and prints, per mutant,
whether a test failed (killed) or not (survived), then the totals.

    python3 tools/mutate/mutate.py [--only TEXT]... [--lines N,...] [--e2e] [--list]

--only TEXT   only the mutants whose line holds TEXT (e.g. a file name);
              given more than once, those that hold any of them
--lines N,... only the mutants on these lines of the list
--e2e         also the mutants only seen from outside the program: each runs
              the end-to-end test its line names instead of the unit tests
--list        print the mutants and whether their patterns apply; run nothing

It runs on a virtual display and Wine prefix of its own, so it can run beside
anything else. Not part of the tests: a full run takes the better part of an
hour on two cores. The exit status is 0 when every mutant applied, built and
was killed, or survived as marked equivalent.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
LIST = os.path.join(ROOT, "tools", "mutate", "mutants.txt")
WORK = os.path.join(ROOT, "build", "mutate")
SRC = os.path.join(WORK, "src")
BUILD = os.path.join(WORK, "build")
UNIT_TIMEOUT = 300  # seconds; a mutant that hangs the tests counts as killed
E2E_TIMEOUT = 600

LINE = re.compile(r"^(?P<file>[^\s:]+): (?P<pattern>.+?) =>(?P<replacement>.*)$")


class Mutant:
    def __init__(self, number, text, file, pattern, replacement, note):
        self.number = number
        self.text = text
        self.file = file
        self.pattern = pattern
        self.replacement = replacement
        self.note = note
        self.equivalent = note.startswith("equivalent:")
        match = re.match(r"e2e (e2e_\w+):", note)
        self.e2e = match.group(1) if match else None

    def apply(self, source):
        """The mutated text, or the reason it cannot be made."""
        count = source.count(self.pattern)
        if count == 0:
            return None, "pattern not found"
        if count > 1:
            return None, "pattern found %d times" % count
        return source.replace(self.pattern, self.replacement), None


def unescape(text):
    """\\n in the list stands for a line break, \\\\ for a backslash."""
    return re.sub(r"\\(n|\\)", lambda m: "\n" if m.group(1) == "n" else "\\", text)


def read_mutants():
    mutants = []
    with open(LIST, encoding="utf-8") as lines:
        for number, raw in enumerate(lines, 1):
            text = raw.rstrip("\n")
            if not text.strip() or text.startswith("#"):
                continue
            body, _, note = text.partition(" -- ")
            match = LINE.match(body)
            if not match or match["replacement"][:1] not in ("", " "):
                sys.exit("%s:%d: not a mutant line: %s" % (LIST, number, text))
            mutants.append(Mutant(number, text, match["file"], unescape(match["pattern"]),
                                  unescape(match["replacement"][1:]), note))
    return mutants


def tree_files():
    out = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT,
                         check=True, capture_output=True).stdout
    return [f for f in out.decode().split("\0") if f and os.path.isfile(os.path.join(ROOT, f))]


def sync_tree():
    """Copies the working tree to SRC, touching only what differs, so that
    the scratch build stays incremental from run to run. A copied file gets
    the time of the copy: an object built from an older text of it may be
    newer than the working tree's file."""
    files = set(tree_files())
    for name in files:
        source, target = os.path.join(ROOT, name), os.path.join(SRC, name)
        with open(source, "rb") as f:
            data = f.read()
        if os.path.exists(target):
            with open(target, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(source, target)
        shutil.copymode(source, target)
    for folder, _, names in os.walk(SRC):
        for name in names:
            path = os.path.join(folder, name)
            if os.path.relpath(path, SRC) not in files:
                os.remove(path)


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)


def build(targets):
    if not os.path.exists(os.path.join(BUILD, "CMakeCache.txt")):
        subprocess.run(["cmake", "-S", SRC, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Release",
                        "-DCMAKE_TOOLCHAIN_FILE=%s/cmake/toolchain-mingw-x86_64.cmake" % SRC,
                        "-DMASCOT_TESTS=ON"], check=True, capture_output=True)
    command = ["cmake", "--build", BUILD, "-j", str(os.cpu_count() or 2)]
    for target in targets:
        command += ["--target", target]
    result = subprocess.run(command, capture_output=True, text=True)
    return result.returncode == 0, result.stdout + result.stderr


def run_unit_tests():
    """(passed, the first failing test or what went wrong)."""
    command = [os.path.join(SRC, "scripts", "wine-run"),
               os.path.join(BUILD, "tests", "unit_tests.exe"), "--gtest_fail_fast"]
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               text=True, errors="replace", start_new_session=True)
    try:
        output, _ = process.communicate(timeout=UNIT_TIMEOUT)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return False, "timed out"
    with open(os.path.join(WORK, "last-unit-run.txt"), "w") as log:
        log.write(output)
    if process.returncode == 0:
        passed = re.findall(r"^\[  PASSED  \] (\d+) test", output, re.M)
        return True, "%s tests passed" % (passed[0] if passed else "no")
    failed = re.findall(r"^\[  FAILED  \] (\S+)", output, re.M)
    return False, failed[0] if failed else "exit code %d" % process.returncode


def run_e2e_test(name):
    result = subprocess.run(["ctest", "-R", "^%s$" % name, "--output-on-failure", "--timeout",
                             str(E2E_TIMEOUT)], cwd=BUILD, capture_output=True, text=True,
                            errors="replace")
    # A mutant may leave copies of the program running (one that lets a
    # second copy start, say): end everything in this run's own prefix.
    subprocess.run([os.environ["MASCOT_WINESERVER"], "-k"], capture_output=True)
    fails = re.findall(r"^FAIL: (.*)$", result.stdout, re.M)
    if "Timeout" in result.stdout and not fails:
        fails = ["timed out"]
    return result.returncode == 0, (name + ": " + fails[0]) if fails else name


def check(mutant):
    """(status, detail) for one mutant."""
    path = os.path.join(SRC, mutant.file)
    if not os.path.exists(path):
        return "not applied", "no file " + mutant.file
    with open(path, encoding="utf-8", newline="") as f:
        original = f.read()
    mutated, reason = mutant.apply(original)
    if mutated is None:
        return "not applied", reason
    write(path, mutated)
    try:
        built, log = build(["mascot", "probe"] if mutant.e2e else ["unit_tests"])
        if not built:
            errors = [l for l in log.splitlines() if "error" in l]
            return "no build", errors[0] if errors else "build failed"
        passed, detail = run_e2e_test(mutant.e2e) if mutant.e2e else run_unit_tests()
        return ("survived" if passed else "killed"), detail
    finally:
        write(path, original)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", action="append", default=[])
    parser.add_argument("--lines", default="")
    parser.add_argument("--e2e", action="store_true")
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()

    lines = {int(n) for n in args.lines.split(",") if n.strip()}
    mutants = [m for m in read_mutants()
               if (not args.only or any(t in m.text for t in args.only))
               and (not lines or m.number in lines)]
    if args.list:
        for m in mutants:
            path = os.path.join(ROOT, m.file)
            source = open(path, encoding="utf-8").read() if os.path.exists(path) else ""
            reason = m.apply(source)[1] if source else "no file"
            print("%4d %-12s %s" % (m.number, reason or "applies", m.text))
        return 0

    # A display and Wine prefix of our own, made once per run.
    if "MASCOT_MUTATE_INNER" not in os.environ:
        os.makedirs(WORK, exist_ok=True)
        env = dict(os.environ, MASCOT_MUTATE_INNER="1",
                   MASCOT_WINEPREFIX=os.path.join(WORK, "wineprefix"))
        command = [os.path.join(ROOT, "scripts", "with-own-display"), sys.executable,
                   os.path.abspath(__file__)] + sys.argv[1:]
        return subprocess.run(command, env=env).returncode

    sync_tree()
    built, log = build(["unit_tests", "mascot", "probe"])
    if not built:
        print(log)
        sys.exit("the unmutated tree does not build")
    passed, detail = run_unit_tests()
    if not passed:
        sys.exit("the unit tests fail without any mutant: " + detail)

    # Mutants of one file in a row, so that each rebuild recompiles one file.
    order = sorted(mutants, key=lambda m: (m.file, m.number))
    counts = {}
    survivors = []
    start = time.time()
    for m in order:
        if m.e2e and not args.e2e:
            status, detail = "e2e, not run", m.e2e
        else:
            status, detail = check(m)
        if m.equivalent and status == "survived":
            status = "equivalent"
        elif m.equivalent and status == "killed":
            status = "killed, though marked equivalent"
        if status in ("survived", "not applied", "no build"):
            survivors.append(m)
        counts[status] = counts.get(status, 0) + 1
        print("%4d %-12s %s  [%s]" % (m.number, status.upper(), m.text, detail), flush=True)

    print()
    print("mutants: %d in %.0f minutes" % (len(order), (time.time() - start) / 60))
    for status in ("killed", "survived", "equivalent", "killed, though marked equivalent",
                   "e2e, not run", "not applied", "no build"):
        if counts.get(status):
            print("  %-34s %d" % (status, counts[status]))
    if survivors:
        print("to look at:")
        for m in survivors:
            print("  %4d %s" % (m.number, m.text))
    # Put the scratch tree back as the working tree has it.
    sync_tree()
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
