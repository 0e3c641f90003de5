"""The two checked-in files about mutants.

mutants.txt is the hand-written list of one-line faults (see its head).

equivalent.txt holds the notes on generated mutants: which ones no user
could ever notice (and why), and which ones only a test from outside the
process sees (and which). A note names a mutant by its file, the text of
the line it mutates (whitespace collapsed), its rule and its occurrence on
the line, so it survives edits elsewhere in the file:

    FILE: LINE TEXT
        RULE [OCCURRENCE] -- equivalent: WHY
        RULE [OCCURRENCE] -- e2e TEST: WHAT FAILS

Without an occurrence a note covers every mutant of its rule on the line;
for e2e notes RULE may be * (every mutant of the line). Where a file has
the same line more than once, FILE@N names the N-th of them; plain FILE
names them all.
"""

import re

NOTE = re.compile(r"^(?:equivalent: (?P<why>.+)|e2e (?P<test>e2e_\w+): (?P<what>.+))$")


class Note:
    def __init__(self, text, where):
        match = NOTE.match(text.strip())
        if not match:
            raise ValueError("%s: not a note: %s" % (where, text))
        self.text = text.strip()
        self.where = where
        self.equivalent = match["why"] is not None
        self.e2e = match["test"]
        self.reason = match["why"] or match["what"]
        self.used = 0


# -- the hand-written list ---------------------------------------------------
LIST_LINE = re.compile(r"^(?P<file>[^\s:]+): (?P<pattern>.+?) =>(?P<replacement>.*)$")


def unescape(text):
    """\\n in the list stands for a line break, \\\\ for a backslash."""
    return re.sub(r"\\(n|\\)", lambda m: "\n" if m.group(1) == "n" else "\\", text)


class ListedMutant:
    """A fault of mutants.txt: a pattern that occurs once in its file."""

    origin = "listed"

    def __init__(self, number, text, file, pattern, replacement, note):
        self.number, self.text, self.file = number, text, file
        self.pattern, self.replacement = pattern, replacement
        self.note = note
        self.id = "mutants.txt:%d" % number
        self.rule = "listed"

    def mutate(self, source):
        """(the mutated text, None) or (None, why it cannot be made)."""
        count = source.count(self.pattern)
        if count == 0:
            return None, "pattern not found"
        if count > 1:
            return None, "pattern found %d times" % count
        return source.replace(self.pattern, self.replacement), None

    def label(self, source):
        return self.text


def read_list(path):
    mutants = []
    with open(path, encoding="utf-8") as lines:
        for number, raw in enumerate(lines, 1):
            text = raw.rstrip("\n")
            if not text.strip() or text.startswith("#"):
                continue
            body, _, note = text.partition(" -- ")
            match = LIST_LINE.match(body)
            if not match or match["replacement"][:1] not in ("", " "):
                raise SystemExit("%s:%d: not a mutant line: %s" % (path, number, text))
            mutants.append(ListedMutant(number, text, match["file"], unescape(match["pattern"]),
                                        unescape(match["replacement"][1:]),
                                        Note(note, "%s:%d" % (path, number)) if note else None))
    return mutants


# -- notes on generated mutants ----------------------------------------------
def normalise(text):
    return " ".join(text.split())


class Notes:
    def __init__(self, path):
        self.path = path
        self.entries = {}  # (file, line text) -> [(rule, occurrence or None, Note)]
        self.all = []
        target = None
        with open(path, encoding="utf-8") as lines:
            for number, raw in enumerate(lines, 1):
                line = raw.rstrip("\n")
                where = "%s:%d" % (path, number)
                if not line.strip() or line.lstrip().startswith("#"):
                    continue
                if not line[0].isspace():
                    file, sep, text = line.partition(": ")
                    if not sep:
                        raise SystemExit("%s: expected FILE: LINE TEXT" % where)
                    file, _, copy = file.partition("@")
                    target = (file, normalise(text))
                    copy = int(copy) if copy.isdigit() else None
                    self.entries.setdefault(target, [])
                    continue
                if target is None:
                    raise SystemExit("%s: a note before any line" % where)
                head, sep, body = line.strip().partition(" -- ")
                parts = head.split()
                if not sep or len(parts) not in (1, 2) or (len(parts) == 2 and
                                                          not parts[1].isdigit()):
                    raise SystemExit("%s: expected RULE [OCCURRENCE] -- NOTE" % where)
                try:
                    note = Note(body, where)
                except ValueError as error:
                    raise SystemExit(str(error))
                if parts[0] == "*" and note.equivalent:
                    raise SystemExit("%s: an equivalence is argued rule by rule" % where)
                occurrence = int(parts[1]) if len(parts) == 2 else None
                note.target, note.copy = target, copy
                note.rule, note.occurrence = parts[0], occurrence
                self.entries[target].append((parts[0], occurrence, note))
                self.all.append(note)

    def find(self, mutant):
        """The note on a generated mutant, or None; counts its use."""
        for rule, occurrence, note in self.entries.get((mutant.file, mutant.line_text), []):
            if (rule in ("*", mutant.rule) and occurrence in (None, mutant.occurrence)
                    and note.copy in (None, mutant.line_copy)):
                note.used += 1
                return note
        return None

    def stale(self):
        return [note for note in self.all if not note.used]
