"""One worker of the mutation check: a scratch copy of the tree, its own
build and, around it, its own virtual display and Wine prefix.

    scripts/with-own-display python3 tools/mutate/worker.py ROOT DIR

mutate.py starts it that way. It copies ROOT's working tree to DIR/src,
builds the tests in DIR/build (Ninja), keeps a copy of every object as built
from the unmutated tree (DIR/baseline), then reads one job per line on
stdin and answers one line on stdout, both JSON:

    {"file": F, "text": MUTATED TEXT, "e2e": TEST or null, "first": [SUITES]}
    {"status": S, "detail": D, "seconds": T, "killer": SUITE or null}

A job changes the one file, recompiles only the objects built from it, and
stops there when they come out byte for byte as before ("same code": the
compiler made the mutant into the very same program). Otherwise it relinks
and runs the unit tests (the suites in "first" before the others, stopping
at the first failure) or the named end-to-end test. Afterwards the file and
the objects are put back as they were, times included, so the next job
again recompiles only what it changes.
"""

import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time

UNIT_TARGETS = ["unit_tests"]
E2E_TARGETS = ["mascot", "probe", "winmm_standin"]
OBJECTS = (".obj", ".res")
# What a job that linked leaves holding its mutant, besides the objects.
LINKED = ["libmascot_core.a", "libmascot_platform.a", "mascot.exe", "tests/unit_tests.exe"]


def log(text):
    print(text, file=sys.stderr, flush=True)


def tree_files(root):
    out = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=root,
                         check=True, capture_output=True).stdout
    return [f for f in out.decode().split("\0") if f and os.path.isfile(os.path.join(root, f))]


def sync_tree(root, src):
    """Copies the working tree to src, touching only what differs, so that
    the scratch build stays incremental from run to run. A copied file gets
    the time of the copy: an object built from an older text of it may be
    newer than the working tree's file."""
    files = set(tree_files(root))
    for name in files:
        source, target = os.path.join(root, name), os.path.join(src, name)
        with open(source, "rb") as f:
            data = f.read()
        if os.path.exists(target):
            with open(target, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(source, target)
        shutil.copymode(source, target)
    for folder, _, names in os.walk(src):
        for name in names:
            path = os.path.join(folder, name)
            if os.path.relpath(path, src) not in files:
                os.remove(path)


class Worker:
    def __init__(self, root, work):
        self.root = root
        self.src = os.path.join(work, "src")
        self.build = os.path.join(work, "build")
        self.baseline = os.path.join(work, "baseline")
        self.work = work
        self.wineserver = os.environ.get("MASCOT_WINESERVER", "wineserver")
        self.wine = os.environ.get("MASCOT_WINE", "wine")

    # -- set-up --------------------------------------------------------------
    def ninja(self, targets, check=False):
        result = subprocess.run(["ninja", "-C", self.build] + targets, capture_output=True,
                                text=True, errors="replace")
        if check and result.returncode != 0:
            raise RuntimeError("build failed:\n" + result.stdout[-3000:])
        return result.returncode == 0, result.stdout + result.stderr

    def set_up(self):
        os.makedirs(self.src, exist_ok=True)
        sync_tree(self.root, self.src)
        if not os.path.exists(os.path.join(self.build, "build.ninja")):
            subprocess.run(["cmake", "-G", "Ninja", "-S", self.src, "-B", self.build,
                            "-DCMAKE_BUILD_TYPE=Release", "-DMASCOT_TESTS=ON",
                            "-DCMAKE_TOOLCHAIN_FILE=%s/cmake/toolchain-mingw-x86_64.cmake" %
                            self.src], check=True, capture_output=True)
        self.ninja(UNIT_TARGETS + E2E_TARGETS, check=True)
        self.read_dependencies()
        self.unit_objects = self.objects_of("unit_tests")
        # The baseline: every object as built from the unmutated tree.
        shutil.rmtree(self.baseline, ignore_errors=True)
        for obj in self.objects:
            copy = os.path.join(self.baseline, obj)
            os.makedirs(os.path.dirname(copy), exist_ok=True)
            shutil.copy2(os.path.join(self.build, obj), copy)
        # A wine server that stays between runs, so that each run of the
        # tests starts in a fraction of a second; no crash dialog waits for
        # a click nobody makes.
        subprocess.run([self.wineserver, "-p"], check=True)
        self.wine_run(["reg", "add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog",
                       "/t", "REG_DWORD", "/d", "0", "/f"], 120)
        start = time.time()
        code, output = self.wine_run([self.unit_exe()], 600)
        self.unit_seconds = time.time() - start
        # A test that fails once and passes when run again is no fault of
        # the tree; the verdicts on mutants ask for a failure twice.
        failed = sorted(set(re.findall(r"^\[  FAILED  \] (\w+\.\w+)", output, re.M)))
        if code != 0 and not failed or any(not self.unit_run(t, 60)[0] for t in failed):
            raise RuntimeError("the unit tests fail without any mutant:\n" + output[-3000:])
        self.flaky = failed
        self.suite_seconds = {name: int(ms) / 1000 for name, ms in re.findall(
            r"^\[-+\] \d+ tests? from (\w+) \((\d+) ms total\)", output, re.M)}

    def read_dependencies(self):
        """Which objects each source and header goes into."""
        out = subprocess.run(["ninja", "-C", self.build, "-t", "deps"], check=True,
                             capture_output=True, text=True).stdout
        self.dependents = {}
        self.objects = []
        current = None
        for line in out.splitlines():
            if line and not line[0].isspace():
                current = line.split(":")[0]
                if current.endswith(OBJECTS):
                    self.objects.append(current)
                else:
                    current = None
            elif current and line.strip():
                path = os.path.realpath(os.path.join(self.build, line.strip()))
                self.dependents.setdefault(path, []).append(current)
        # The resource compiler's object records no dependencies; it is
        # built from the script and the header of identifiers.
        rc_objects = [o for o in self.objects_of("mascot") if o.endswith(".res")]
        for obj in rc_objects:
            if obj not in self.objects:
                self.objects.append(obj)
            for name in ("res/mascot.rc", "res/resource.h"):
                path = os.path.realpath(os.path.join(self.src, name))
                self.dependents.setdefault(path, []).append(obj)
        self.rc_script = os.path.join(self.src, "res", "mascot.rc")

    def objects_of(self, target):
        out = subprocess.run(["ninja", "-C", self.build, "-t", "inputs", target], check=True,
                             capture_output=True, text=True).stdout
        return {line.strip() for line in out.splitlines() if line.strip().endswith(OBJECTS)}

    def unit_exe(self):
        return os.path.join(self.build, "tests", "unit_tests.exe")

    # -- running tests -------------------------------------------------------
    def wine_run(self, arguments, timeout):
        """(exit code or None when it timed out, output) of a Windows program.
        The output goes through a file: Wine's own background processes,
        started by whichever program comes first, inherit the output and
        would hold a pipe open as long as the wine server lives."""
        output = os.path.join(self.work, "wine-output.txt")
        with open(output, "w") as sink:
            process = subprocess.Popen([self.wine] + arguments, stdout=sink,
                                       stderr=subprocess.STDOUT, start_new_session=True)
            try:
                code = process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
                code = None
        with open(output, errors="replace") as f:
            text = f.read()
        if re.search(r"X connection to \S+ broken", text):
            raise Broken("the worker's display went away")
        return code, text

    def unit_run(self, gtest_filter, timeout):
        """(passed, detail, the failing suite)."""
        arguments = [self.unit_exe(), "--gtest_fail_fast", "--gtest_brief=1"]
        if gtest_filter:
            arguments.append("--gtest_filter=" + gtest_filter)
        code, output = self.wine_run(arguments, timeout)
        if code is None:
            return False, "timed out", None
        if code == 0:
            return True, "passed", None
        failed = re.findall(r"^\[  FAILED  \] (\w+)\.(\w+)", output, re.M)
        if failed:
            return False, "%s.%s" % failed[0], failed[0][0]
        return False, "exit code %d" % code, None

    def timeout(self, suites):
        """Long enough for the suites on a busy machine; a mutant that makes
        them hang is killed sooner than by a fixed limit."""
        return 15 + 3 * sum(self.suite_seconds.get(s, 1) for s in suites)

    def unit_tests(self, first):
        """The verdict of the unit tests. A failure counts once it shows
        again, alone or in the same runs: a test that fails now and then
        must not pass a mutant off as killed."""
        verdict = self.unit_phases(first)
        passed, detail, killer = verdict
        if passed or killer is None:
            return verdict
        if not self.unit_run(detail, self.timeout([killer]))[0]:
            return verdict
        again = self.unit_phases(first)
        if not again[0]:
            return again
        return True, "passed (%s failed once, then not again)" % detail, None

    def unit_phases(self, first):
        first = [s for s in first if s in self.suite_seconds]
        if not first:
            return self.unit_run(None, self.timeout(self.suite_seconds))
        chosen = ":".join(s + ".*" for s in first)
        passed, detail, killer = self.unit_run(chosen, self.timeout(first))
        if not passed:
            return passed, detail, killer
        rest = [s for s in self.suite_seconds if s not in first]
        return self.unit_run("-" + chosen, self.timeout(rest))

    def e2e_test(self, name):
        # The test runs as in the suite, with a wine server that ends when
        # its programs do (a lasting one would keep ctest waiting on the
        # output of Wine's background processes).
        subprocess.run([self.wineserver, "-k"])
        result = subprocess.run(["ctest", "-R", "^%s$" % name, "--output-on-failure", "--timeout",
                                 "600"], cwd=self.build, capture_output=True, text=True,
                                errors="replace")
        # A mutant may leave copies of the program running (one that lets a
        # second copy start, say): end everything in this worker's prefix.
        subprocess.run([self.wineserver, "-k"])
        subprocess.run([self.wineserver, "-p"])
        fails = re.findall(r"^FAIL: (.*)$", result.stdout, re.M)
        if "Timeout" in result.stdout and not fails:
            fails = ["timed out"]
        detail = name + (": " + fails[0] if fails else "")
        return result.returncode == 0, detail, name

    # -- one job -------------------------------------------------------------
    def run(self, job):
        """(status, detail, killing suite); self.phases times the steps."""
        self.phases = {}
        path = os.path.join(self.src, job["file"])
        with open(path, "rb") as f:
            original = f.read()
        times = os.stat(path)
        rc_times = os.stat(self.rc_script)
        objects = self.dependents.get(os.path.realpath(path), [])
        linked = False
        try:
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write(job["text"])
            if job["file"] == "res/resource.h":
                os.utime(self.rc_script)
            clock = time.time()
            built, output = self.ninja(objects)
            self.phases["compile"] = time.time() - clock
            if not built:
                errors = [l for l in output.splitlines() if "error" in l]
                return "no build", errors[0].strip() if errors else "build failed", None
            changed = [o for o in objects if not same_bytes(os.path.join(self.build, o),
                                                            os.path.join(self.baseline, o))]
            if not changed:
                return "same code", "%d object(s) as before" % len(objects), None
            if job.get("compile_only"):
                return "compiled", "%d of %d object(s) changed" % (len(changed), len(objects)), None
            if not job.get("e2e") and not any(o in self.unit_objects for o in changed):
                return "unreached", "not in the unit tests: " + ", ".join(changed), None
            linked = True
            clock = time.time()
            built, output = self.ninja(E2E_TARGETS if job.get("e2e") else UNIT_TARGETS)
            self.phases["link"] = time.time() - clock
            if not built:
                return "no build", "link failed", None
            clock = time.time()
            if job.get("e2e"):
                passed, detail, killer = self.e2e_test(job["e2e"])
            else:
                passed, detail, killer = self.unit_tests(job.get("first") or [])
            self.phases["tests"] = time.time() - clock
            return ("survived" if passed else "killed"), detail, killer
        finally:
            with open(path, "wb") as f:
                f.write(original)
            os.utime(path, ns=(times.st_atime_ns, times.st_mtime_ns))
            os.utime(self.rc_script, ns=(rc_times.st_atime_ns, rc_times.st_mtime_ns))
            # The objects go back with their old times: newer ones would
            # count as built after Ninja recorded their dependencies, and be
            # compiled again. What was linked from them goes instead.
            for obj in objects:
                shutil.copy2(os.path.join(self.baseline, obj), os.path.join(self.build, obj))
            if linked:
                for output in LINKED:
                    if os.path.exists(os.path.join(self.build, output)):
                        os.remove(os.path.join(self.build, output))


class Broken(Exception):
    """The worker cannot go on: no verdict it gives would mean anything."""


def same_bytes(a, b):
    try:
        with open(a, "rb") as x, open(b, "rb") as y:
            return x.read() == y.read()
    except FileNotFoundError:
        return False


def main():
    root, work = sys.argv[1], sys.argv[2]
    # The answers go to the coordinator alone; whatever else anything prints
    # goes to the log.
    answers = os.fdopen(os.dup(1), "w")
    os.dup2(2, 1)

    def answer(message):
        answers.write(json.dumps(message) + "\n")
        answers.flush()

    worker = Worker(root, work)
    start = time.time()
    try:
        worker.set_up()
    except Exception as error:  # reported to the coordinator, which stops
        answer({"error": str(error)})
        return 1
    answer({"ready": True, "unit_seconds": worker.unit_seconds, "flaky": worker.flaky,
            "setup_seconds": time.time() - start})
    for line in sys.stdin:
        job = json.loads(line)
        start = time.time()
        try:
            status, detail, killer = worker.run(job)
        except Broken as error:
            answer({"error": str(error)})
            return 1
        log("%s %s: %s" % (job["file"], status, detail))
        answer({"status": status, "detail": detail, "killer": killer,
                "seconds": round(time.time() - start, 2),
                "phases": {k: round(v, 2) for k, v in worker.phases.items()}})
    # Back as the working tree has it: proof that every job was undone.
    try:
        worker.ninja(UNIT_TARGETS + E2E_TARGETS, check=True)
        passed, detail, _ = worker.unit_tests([])
    except (Broken, RuntimeError) as error:
        passed, detail = False, str(error)
    answer({"undone": passed, "detail": detail})
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
