#!/usr/bin/env python3
"""The mutation check: does a one-line fault make a test fail?

Two sets of faults ("mutants"): the generated set, derived mechanically
from the program's sources by fixed rules (generate.py), and the
hand-written list tools/mutate/mutants.txt for what rules cannot express.
Each mutant is applied to a scratch copy of the tree; only the objects built
from the changed file are recompiled, and a mutant whose objects come out
byte for byte as before is "same code" (the compiler made it the very same
program). The others are relinked and the unit tests run under Wine, the
suites that killed mutants of the same file first, stopping at the first
failure. Two workers share the mutants, each with its own tree, build,
virtual display and Wine prefix.

    python3 tools/mutate/mutate.py [options]

--generated / --listed   only the generated set / only the hand-written list
--only TEXT     only mutants whose id or file holds TEXT (repeatable: any)
--rule NAME     only mutants of this rule, as in their ids (repeatable: any)
--lines N,...   only these lines of mutants.txt
--changed-since REV   only the generated mutants on lines added or changed
                since the git revision REV, and the hand-written ones of
                the files changed since then
--sample N      a random sample of N of the selected mutants ...
--seed S        ... drawn with this seed (default 1)
--survivors     only the mutants whose last result survived
--resume        skip mutants with a result for this very tree
--e2e           also the mutants only seen from outside: each runs the
                end-to-end test its note names instead of the unit tests
-j N            workers (default 2)
--compile-only  only compile each mutant: finds the "same code" ones and
                those that do not compile, whose results a later --resume
                keeps; runs no tests
--list          print the selected mutants, their notes and the notes that
                match nothing; run nothing

Results go to build/mutate/results.jsonl, keyed by the mutant's text and a
hash of the source tree, so a result is reused (--resume) only for the very
program it was found for. The summary of each run is build/mutate/last-run.md;
a run of the whole generated set also writes tools/mutate/last-run.md. The
exit status is 0 when every mutant run was killed, same code, or survived
as noted equivalent.
"""

import argparse
import collections
import hashlib
import json
import os
import queue
import random
import re
import signal
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)
import generate  # noqa: E402
import notes  # noqa: E402

LIST = os.path.join(HERE, "mutants.txt")
NOTES = os.path.join(HERE, "equivalent.txt")
CHECKED_IN_SUMMARY = os.path.join(HERE, "last-run.md")
WORK = os.path.join(ROOT, "build", "mutate")
RESULTS = os.path.join(WORK, "results.jsonl")
SUMMARY = os.path.join(WORK, "last-run.md")
# What the program and its tests are made of; a change anywhere here makes
# earlier results stale.
PROGRAM_PARTS = tuple(d + "/" for d in generate.SOURCE_DIRS) + ("res/", "cmake/", "CMakeLists.txt")
TEST_PARTS = ("tests/", "scripts/")

PROBLEMS = ("survived", "unreached", "killed, though noted equivalent", "no build",
            "not applied")


def tree_hashes():
    """Hashes of the program's files and of the tests' (with the scripts
    that run them). Whether a mutant compiles, and to what, depends on the
    first alone; whether a test kills it, on both."""
    out = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT,
                         check=True, capture_output=True).stdout
    program, tests = hashlib.sha256(), hashlib.sha256()
    for name in sorted(f for f in out.decode().split("\0") if f):
        path = os.path.join(ROOT, name)
        if not name.startswith(PROGRAM_PARTS + TEST_PARTS) or not os.path.isfile(path):
            continue
        digest = program if name.startswith(PROGRAM_PARTS) else tests
        digest.update(name.encode() + b"\0")
        with open(path, "rb") as f:
            digest.update(hashlib.sha256(f.read()).digest())
    return program.hexdigest()[:12] + "-" + tests.hexdigest()[:12]


# Verdicts that the program's text alone decides.
COMPILER_VERDICTS = ("same code", "no build", "compiled")


def result_key(digest, tree, status):
    return (digest, tree.split("-")[0] if status in COMPILER_VERDICTS else tree)


def read_text(file, cache):
    if file not in cache:
        path = os.path.join(ROOT, file)
        if os.path.exists(path):
            with open(path, encoding="utf-8", newline="") as f:
                cache[file] = f.read()
        else:
            cache[file] = None
    return cache[file]


def load_mutants(args):
    """Every selected mutant, its mutated text made; and the notes."""
    texts = {}
    mutants = []
    remarks = notes.Notes(NOTES)
    if not args.listed:
        for m in generate.generate(ROOT):
            m.note = remarks.find(m)
            mutants.append(m)
    if not args.generated:
        mutants.extend(notes.read_list(LIST))
    for m in mutants:
        text = read_text(m.file, texts)
        m.mutated, m.problem = m.mutate(text) if text is not None else (None, "no file")
        m.shown = m.label(text) if text is not None else m.id
        m.digest = hashlib.sha1((m.file + "\0" + (m.mutated or m.problem)).encode()).hexdigest()
    return mutants, remarks


def read_results():
    records = []
    if os.path.exists(RESULTS):
        with open(RESULTS) as f:
            for line in f:
                if line.strip():
                    records.append(json.loads(line))
    return records


def changed_lines(rev):
    """{file: set of line numbers} of the program's sources added or changed since rev."""
    diff = subprocess.run(["git", "diff", "-U0", rev, "--"] + list(PROGRAM_PARTS), cwd=ROOT,
                          capture_output=True, text=True, check=True).stdout
    changed, file = {}, None
    for line in diff.splitlines():
        if line.startswith("+++ "):
            file = line[6:] if line.startswith("+++ b/") else None
        elif line.startswith("@@") and file is not None:
            start, count = re.search(r"\+(\d+)(?:,(\d+))?", line).groups()
            first = int(start)
            changed.setdefault(file, set()).update(range(first, first + int(count or 1)))
    return changed


def select(mutants, args, records):
    lines = {int(n) for n in args.lines.split(",") if n.strip()}
    changed = changed_lines(args.changed_since) if args.changed_since else None
    chosen = [m for m in mutants
              if (not args.only or any(t in m.id or t in m.file for t in args.only))
              and (not args.rule or m.rule in args.rule)
              and (not lines or (m.origin == "listed" and m.number in lines))
              and (changed is None or (m.file in changed and (
                  m.origin == "listed" or m.line in changed[m.file])))]
    if args.survivors:
        last = {}
        for r in records:
            last[r["digest"]] = r["status"]
        chosen = [m for m in chosen if last.get(m.digest) in ("survived", "unreached")]
    if args.sample:
        chosen = random.Random(args.seed).sample(chosen, min(args.sample, len(chosen)))
        order = {id(m): n for n, m in enumerate(mutants)}
        chosen.sort(key=lambda m: order[id(m)])
    return chosen


class TestOrder:
    """For each file, the suites that killed its mutants, most kills first;
    before any kill, the suites of the test file named like it. Learns
    from every result as it comes."""

    def __init__(self, records):
        self.kills = collections.defaultdict(collections.Counter)
        for r in records:
            self.learn(r)
        self.by_name = {}
        unit = os.path.join(ROOT, "tests", "unit")
        for name in sorted(os.listdir(unit)):
            if name.endswith("_test.cpp"):
                with open(os.path.join(unit, name), encoding="utf-8") as f:
                    suites = re.findall(r"^TEST(?:_F)?\((\w+),", f.read(), re.M)
                self.by_name[name[:-len("_test.cpp")]] = list(dict.fromkeys(suites))

    def learn(self, record):
        if record["status"] == "killed" and record.get("killer"):
            self.kills[record["file"]][record["killer"]] += 1

    def first(self, file):
        if self.kills[file]:
            return [s for s, _ in self.kills[file].most_common(3)]
        base = os.path.splitext(os.path.basename(file))[0]
        for test, suites in self.by_name.items():
            if test in base or base in test:
                return suites[:3]
        return []


# -- the workers -------------------------------------------------------------
class Workers:
    def __init__(self, count):
        self.count = count
        self.processes = []

    def start(self):
        for n in range(1, self.count + 1):
            work = os.path.join(WORK, "w%d" % n)
            os.makedirs(work, exist_ok=True)
            env = dict(os.environ, MASCOT_WINEPREFIX=os.path.join(work, "wineprefix"))
            log = open(os.path.join(work, "worker.log"), "w")
            command = [os.path.join(ROOT, "scripts", "with-own-display"), sys.executable,
                       os.path.join(HERE, "worker.py"), ROOT, work]
            self.processes.append(subprocess.Popen(command, stdin=subprocess.PIPE,
                                                   stdout=subprocess.PIPE, stderr=log, env=env,
                                                   text=True, start_new_session=True))

    def stop(self):
        for p in self.processes:
            if p.poll() is None:
                os.killpg(p.pid, signal.SIGTERM)
        for p in self.processes:
            try:
                p.wait(timeout=30)
            except subprocess.TimeoutExpired:
                os.killpg(p.pid, signal.SIGKILL)


def run_jobs(jobs, args, order, on_result):
    """Runs the jobs on the workers; returns the workers' set-up figures."""
    pending = queue.Queue()
    for job in jobs:
        pending.put(job)
    workers = Workers(min(args.j, len(jobs)))
    workers.start()
    facts = []
    failures = []

    def drive(process):
        ready = json.loads(process.stdout.readline() or '{"error": "the worker ended"}')
        if "error" in ready:
            failures.append(ready["error"])
            return
        facts.append(dict(ready, at=time.time()))
        while not failures:
            try:
                m = pending.get_nowait()
            except queue.Empty:
                break
            process.stdin.write(json.dumps({"file": m.file, "text": m.mutated,
                                            "e2e": m.e2e_run, "first": order.first(m.file),
                                            "compile_only": args.compile_only}) + "\n")
            process.stdin.flush()
            answer = json.loads(process.stdout.readline() or '{"error": "the worker ended"}')
            if "error" in answer:
                failures.append("%s (at %s)" % (answer["error"], m.id))
                return
            on_result(m, answer)
        process.stdin.close()
        final = json.loads(process.stdout.readline() or '{"undone": false}')
        if not final.get("undone"):
            failures.append("a worker's tree did not pass after its last job: %s" %
                            final.get("detail"))

    threads = [threading.Thread(target=drive, args=(p,), daemon=True)
               for p in workers.processes]
    try:
        for t in threads:
            t.start()
        for t in threads:
            while t.is_alive():
                t.join(1)
    finally:
        workers.stop()
    if failures:
        sys.exit("the check stopped: " + "; ".join(failures) + " (see build/mutate/w*/worker.log)")
    return facts


# -- reporting ---------------------------------------------------------------
def outcome(m, record, args):
    """The final word on a mutant: its result read together with its note."""
    note = m.note
    if m.problem:
        return "not applied"
    if record is None or record["status"] == "compiled" and not args.compile_only:
        if note and note.e2e and not args.e2e:
            return "e2e, not run"
        return "not run"
    status = record["status"]
    if note and note.equivalent:
        # Outside the unit tests' reach, the note's reason is the whole answer.
        if status in ("survived", "unreached"):
            return "equivalent"
        if status == "killed":
            return "killed, though noted equivalent"
    if status == "no build" and m.origin == "generated":
        return "does not compile"
    return status


ORDER = ["killed", "same code", "compiled", "equivalent", "e2e, not run", "does not compile", "survived",
         "unreached", "killed, though noted equivalent", "no build", "not applied", "not run"]


def table(title, groups):
    columns = [s for s in ORDER if any(c.get(s) for c in groups.values())]
    lines = ["| %s | mutants | %s |" % (title, " | ".join(columns)),
             "|---|---:|" + "---:|" * len(columns)]
    for name in sorted(groups):
        counts = groups[name]
        lines.append("| %s | %d | %s |" % (name.replace("|", "\\|"), sum(counts.values()),
                                           " | ".join(str(counts.get(s, 0)) for s in columns)))
    return lines


def pace(seconds, phases, facts, start, end, whole_size, selected):
    """What the run took, and what the whole generated set would take."""
    workers = max(1, len(facts))
    ready = min(f["at"] for f in facts)
    setup = ready - start
    working = end - ready
    per = working / len(seconds)
    lines = ["Ran %d mutants on %d workers in %.1f minutes: %.1f minutes of set-up (copy, build, "
             "Wine prefix, one run of the unit tests: %.1f s), then %.2f s of the wall clock per "
             "mutant (%.1f s on one worker)." % (len(seconds), workers, (end - start) / 60,
                                               setup / 60, max(f["unit_seconds"] for f in facts),
                                               per, sum(seconds) / len(seconds))]
    steps = ", ".join("%s %.1f s in %d" % (name, sum(v) / len(v), len(v))
                      for name, v in sorted(phases.items()))
    if steps:
        lines.append("Mean time of each step where it ran: %s." % steps)
    flaky = sorted({t for f in facts for t in f.get("flaky", [])})
    if flaky:
        lines.append("Without any mutant, %s failed once and passed when run again; a verdict "
                     "of the tests counts only when it shows twice." % ", ".join(flaky))
    if selected < whole_size:
        lines.append("At that pace the whole generated set (%d mutants) takes about %.0f minutes."
                     % (whole_size, (setup + whole_size * per) / 60))
    return lines


def summarise(selected, outcomes, records_used, args, tree, timing, whole_size):
    total = collections.Counter(outcomes[m.id] for m in selected)
    folders = collections.defaultdict(collections.Counter)
    rules = collections.defaultdict(collections.Counter)
    for m in selected:
        folders[m.file.split("/")[0] + "/"][outcomes[m.id]] += 1
        rules[m.rule][outcomes[m.id]] += 1
    out = ["# Mutation check: the last run", ""]
    generated = sum(m.origin == "generated" for m in selected)
    listed = len(selected) - generated
    parts = []
    if generated:
        parts.append("the whole generated set (%d mutants)" % whole_size if generated == whole_size
                     else "%d of the %d generated mutants" % (generated, whole_size))
    if listed:
        parts.append("%d mutants of the hand-written list" % listed)
    out.append("Tree `%s`, %s: %s%s." % (tree, time.strftime("%Y-%m-%d"),
                                         " and ".join(parts) or "no mutants",
                                         ", end-to-end tests included" if args.e2e else ""))
    out.append("")
    if timing:
        out += timing + [""]
    out += ["## Totals", "", "| outcome | mutants |", "|---|---:|"]
    out += ["| %s | %d |" % (s, total[s]) for s in ORDER if total.get(s)]
    out += ["", "## By folder", ""] + table("folder", folders)
    out += ["", "## By rule", ""] + table("rule", rules)
    for heading, wanted in (("Survivors", ("survived", "unreached", "no build", "not applied",
                                           "killed, though noted equivalent")),
                            ("Equivalent", ("equivalent",)),
                            ("Only seen from outside, not run", ("e2e, not run",)),
                            ("Does not compile", ("does not compile",))):
        chosen = [m for m in selected if outcomes[m.id] in wanted]
        if not chosen:
            continue
        out += ["", "## %s (%d)" % (heading, len(chosen)), ""]
        for m in chosen:
            reason = ""
            if m.note and outcomes[m.id] in ("equivalent", "e2e, not run"):
                reason = " — " + m.note.reason
            elif records_used.get(m.id):
                reason = " — " + outcomes[m.id] + ": " + records_used[m.id]["detail"]
            out.append("- `%s`%s" % (m.shown, reason))
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--generated", action="store_true")
    parser.add_argument("--listed", action="store_true")
    parser.add_argument("--only", action="append", default=[])
    parser.add_argument("--rule", action="append", default=[])
    parser.add_argument("--lines", default="")
    parser.add_argument("--changed-since", default="")
    parser.add_argument("--sample", type=int, default=0)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--survivors", action="store_true")
    parser.add_argument("--resume", action="store_true")
    parser.add_argument("--e2e", action="store_true")
    parser.add_argument("-j", type=int, default=2)
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--compile-only", action="store_true")
    args = parser.parse_args()
    if args.generated and args.listed:
        args.generated = args.listed = False

    mutants, remarks = load_mutants(args)
    records = read_results()
    selected = select(mutants, args, records)
    whole_size = sum(m.origin == "generated" for m in mutants)
    stale = remarks.stale() if not args.listed else []

    if args.list:
        for m in selected:
            mark = "-"
            if m.problem:
                mark = m.problem
            elif m.note:
                mark = "equivalent" if m.note.equivalent else m.note.e2e
            print("%-14s %s" % (mark, m.shown))
        for note in stale:
            print("%s: note matches nothing: %s: %s  %s" % (note.where, note.target[0],
                                                          note.target[1], note.rule))
        print("%d mutants" % len(selected), file=sys.stderr)
        return 0

    tree = tree_hashes()
    # A compiled-only mutant has no result yet, beyond being different code.
    done = {}
    for r in records:
        if r["status"] != "compiled" or args.compile_only:
            done[result_key(r["digest"], r["tree"], r["status"])] = r

    def result(m):
        return done.get((m.digest, tree)) or done.get((m.digest, tree.split("-")[0]))
    for m in selected:
        m.e2e_run = m.note.e2e if m.note and m.note.e2e and args.e2e else None
    jobs = [m for m in selected if not m.problem
            and not (m.note and m.note.e2e and not args.e2e and not args.compile_only)
            and not (args.resume and result(m))]
    order = TestOrder(records)
    start = time.time()
    seconds = []
    phases = collections.defaultdict(list)
    lock = threading.Lock()
    os.makedirs(WORK, exist_ok=True)

    def on_result(m, answer):
        record = dict(answer, id=m.id, file=m.file, rule=m.rule, origin=m.origin,
                      digest=m.digest, tree=tree, when=time.strftime("%Y-%m-%d %H:%M:%S"))
        with lock:
            with open(RESULTS, "a") as f:
                f.write(json.dumps(record, ensure_ascii=False) + "\n")
            if record["status"] != "compiled" or args.compile_only:
                done[result_key(m.digest, tree, record["status"])] = record
            order.learn(record)
            seconds.append(answer["seconds"])
            for phase, spent in answer.get("phases", {}).items():
                phases[phase].append(spent)
            print("[%d/%d] %-10s %s  [%s] %.1fs" % (len(seconds), len(jobs),
                                                    answer["status"].upper(), m.shown,
                                                    answer["detail"], answer["seconds"]),
                  flush=True)

    facts = []
    if jobs:
        print("%d mutants to run on %d workers (setting up: copy, build, Wine prefix)" %
              (len(jobs), min(args.j, len(jobs))), flush=True)
        facts = run_jobs(jobs, args, order, on_result)

    outcomes, records_used = {}, {}
    for m in selected:
        record = result(m)
        if record:
            records_used[m.id] = record
        outcomes[m.id] = outcome(m, record, args)
    timing = []
    if seconds:
        timing = pace(seconds, phases, facts, start, time.time(), whole_size, len(selected))
    if not jobs:
        timing.append("Nothing was run: every result comes from an earlier run of this tree.")
    report = summarise(selected, outcomes, records_used, args, tree, timing, whole_size)
    if stale and not args.only and not args.rule and not args.sample and not args.survivors:
        report += ["", "## Notes that match no mutant (%d)" % len(stale), ""]
        report += ["- %s: `%s` %s" % (n.where, n.target[1], n.rule) for n in stale]
    text = "\n".join(report) + "\n"
    with open(SUMMARY, "w", encoding="utf-8") as f:
        f.write(text)
    whole = not (args.only or args.rule or args.lines or args.sample or args.survivors or args.listed
                 or args.compile_only or args.changed_since)
    if whole:
        with open(CHECKED_IN_SUMMARY, "w", encoding="utf-8") as f:
            f.write(text)
    print()
    print("\n".join(report))
    print("\nsummary: %s" % os.path.relpath(CHECKED_IN_SUMMARY if whole else SUMMARY, ROOT))
    problems = [m for m in selected if outcomes[m.id] in PROBLEMS]
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
