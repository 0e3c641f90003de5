"""Mutants derived mechanically from the program's sources.

Every line with logic gets the same treatment, so that the faults tried are
not only the ones the tests' authors thought of:

  ==to!= !=to==            each equality test turned round
  <to<= <to> <=to< <=to>=  each ordering test moved to its neighbours
  >to>= >to< >=to> >=to<=
  &&to|| ||to&&            each logical operator swapped
  negate-if negate-while   each condition negated
  negate-for negate-?:
  flip-bool                true <-> false, TRUE <-> FALSE
  int+1 int-1              each integer literal moved by one (0 only up)
  entry+1 entry-1 swap     each entry of a constant table moved by one, and
                           each pair of neighbouring entries swapped
  delete-call              each statement that is a call, deleted
  delete-assign            each statement that is an assignment (or ++/--),
                           deleted
  return-const             each return of a value replaced by a constant of
                           the function's type (bool: true and false)
  delete-return            each early `return;` made an empty statement `{}`
                           (not `;`, which -Wextra calls an empty body), so
                           the guard before it lets control run on: the
                           guard's condition is still evaluated, only the
                           leaving is gone. Not for a return after which the
                           function ends anyway (nothing but the ends of
                           blocks and untaken else branches follow, no loop
                           holds it): that is no fault. Its id names the line
                           of the guard (the if, else or loop whose body
                           holds it) rather than the return's own, which
                           would not tell one `return;` from another
  sentinel                 each string literal that is a settings value the
                           program writes, passes as a read's default or
                           compares a read with ("0", "1", "Default",
                           "Right", "Left", "Center", "Top", "Bottom",
                           "User", "NOT"; found by their text, and no
                           other literal of the program has one of them)
                           replaced by "0" ("0" by "1") and by a neighbour
                           of its family (SENTINELS)

Never touched: comments, string and character literals but those
sentinels (no message, file, section or key name, format), preprocessor lines
(but for the command numbers of res/resource.h), static_assert, array bounds
in declarations (literals and constants used only there), bit-field widths
of fields nothing reads (unused), and the values of enumerations: the state
numbers only name states and index the program's own tables, in order, and a
shifted one collides with its neighbour; the prime bits only name a set.
Not comparisons: the brackets of casts and of explicit template arguments
(std::min<LONG>(a, b)). Not negated: a condition that declares its variable
(while (int n = f())), which no expression can negate.

A mutant's id is FILE:LINE:RULE:OCCURRENCE, where OCCURRENCE counts the
mutants of that rule on that line from the left; its key for notes is the
same with the line's text (whitespace collapsed) instead of its number, so a
note survives edits elsewhere in the file.
"""

import os
import re

SOURCE_DIRS = ("alarm", "anim", "app", "info", "mascot", "settings")
# Of the resource identifiers only the command numbers carry behaviour: they
# are what WM_COMMAND brings. The others only name a resource or a control
# for the script and the code alike.
RESOURCE_HEADER = "res/resource.h"
COMMAND_DEFINE = re.compile(r"#define\s+IDM_\w+\s+(\d+)\s*$")


class Token:
    __slots__ = ("kind", "text", "start", "end", "line")

    def __init__(self, kind, text, start, end, line):
        self.kind, self.text, self.start, self.end, self.line = kind, text, start, end, line

    def __repr__(self):
        return "%s:%r@%d" % (self.kind, self.text, self.line)


PUNCTUATORS = sorted(
    "<<= >>= ... ->* :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= .* "
    "{ } [ ] ( ) ; : ? , . + - * / % & | ^ ! ~ = < > #".split(), key=len, reverse=True)
IDENTIFIER = re.compile(r"[A-Za-z_]\w*")
NUMBER = re.compile(r"0[xX][0-9A-Fa-f]+[uUlL]*|\d+(?:\.\d+)?(?:[eE][+-]?\d+)?[uUlLfF]*")


def tokenize(text):
    """The tokens of a C++ source; comments dropped, each preprocessor line
    one token of kind "pp", literals whole."""
    tokens = []
    i, line, n = 0, 1, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if c == "\n":
            line, i, line_start = line + 1, i + 1, True
            continue
        if c in " \t\r\f\v":
            i += 1
            continue
        if c == "#" and line_start:
            j = i
            while True:
                k = text.find("\n", j)
                if k < 0:
                    k = n
                    break
                if text[i:k].rstrip("\r").endswith("\\"):
                    j = k + 1
                    continue
                break
            tokens.append(Token("pp", text[i:k], i, k, line))
            line += text.count("\n", i, k)
            i = k
            continue
        line_start = False
        if text.startswith("//", i):
            k = text.find("\n", i)
            i = n if k < 0 else k
            continue
        if text.startswith("/*", i):
            k = text.find("*/", i + 2)
            k = n if k < 0 else k + 2
            line += text.count("\n", i, k)
            i = k
            continue
        if c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            tokens.append(Token("str" if c == '"' else "char", text[i:j + 1], i, j + 1, line))
            i = j + 1
            continue
        m = IDENTIFIER.match(text, i)
        if m:
            tokens.append(Token("id", m.group(), i, m.end(), line))
            i = m.end()
            continue
        m = NUMBER.match(text, i)
        if m:
            tokens.append(Token("num", m.group(), i, m.end(), line))
            i = m.end()
            continue
        for p in PUNCTUATORS:
            if text.startswith(p, i):
                tokens.append(Token("op", p, i, i + len(p), line))
                i += len(p)
                break
        else:
            raise ValueError("line %d: cannot read %r" % (line, c))
    return tokens


class Mutant:
    """One generated fault: text[start:end] of file becomes replacement."""

    origin = "generated"
    note = None  # set from the notes file

    def __init__(self, file, line, rule, start, end, replacement, line_text):
        self.file, self.line, self.rule = file, line, rule
        self.start, self.end, self.replacement = start, end, replacement
        self.line_text = " ".join(line_text.split())
        self.occurrence = 0  # set once the line's mutants are known
        self.line_copy = 1

    @property
    def id(self):
        return "%s:%d:%s:%d" % (self.file, self.line, self.rule, self.occurrence)

    @property
    def key(self):
        return (self.file, self.line_text, self.rule, self.occurrence)

    def apply(self, text):
        return text[:self.start] + self.replacement + text[self.end:]

    def mutate(self, text):
        return self.apply(text), None

    def label(self, text):
        copy = "@%d" % self.line_copy if self.line_copy > 1 else ""
        return "%s%s  %s" % (self.id, copy, self.describe(text))

    def describe(self, text):
        """The mutated line(s), for listings."""
        first = text.rfind("\n", 0, self.start) + 1
        last = text.find("\n", self.end)
        last = len(text) if last < 0 else last
        changed = text[first:self.start] + self.replacement + text[self.end:last]
        return " ".join(changed.split())


COMPARISONS = {"==": ["!="], "!=": ["=="], "<": ["<=", ">"], "<=": ["<", ">="],
               ">": [">=", "<"], ">=": [">", "<="]}
ASSIGNMENTS = {"=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>="}
CASTS = {"static_cast", "reinterpret_cast", "const_cast", "dynamic_cast", "template"}
DECLARATION_STARTS = {"const", "constexpr", "static", "auto", "unsigned", "signed", "long", "short",
                      "int", "char", "bool", "float", "double", "void", "struct", "extern",
                      "using", "typedef", "volatile", "thread_local", "enum", "class"}
STATEMENT_KEYWORDS = {"return", "case", "default", "break", "continue", "goto", "if", "else",
                      "while", "for", "do", "switch", "delete", "throw", "sizeof", "new",
                      "static_assert", "namespace", "using", "typedef"}
BUILTIN_TYPES = {"char", "int", "unsigned", "short", "long", "bool", "float", "double", "wchar_t"}
FUNCTION_QUALIFIERS = {"static", "inline", "constexpr", "extern", "CALLBACK", "WINAPI", "APIENTRY",
                       "virtual", "explicit"}
INTEGER_TYPES = {"int", "unsigned", "long", "short", "char", "size_t", "UINT", "DWORD", "WORD",
                 "LRESULT", "INT_PTR", "LONG_PTR", "UINT_PTR", "LONG", "COLORREF", "BYTE", "WPARAM",
                 "LPARAM"}
BOOLEAN_TYPES = {"bool": ("true", "false"), "BOOL": ("TRUE", "FALSE")}
POINTER_TYPES = {"HWND", "HDC", "HRGN", "HFONT", "HBITMAP", "HMODULE", "HICON", "HMENU", "HANDLE",
                 "HINSTANCE", "HGDIOBJ", "HBRUSH", "LPCSTR", "LPSTR", "LPVOID"}


class Source:
    """One file's tokens with what the rules need to know about them."""

    def __init__(self, file, text):
        self.file, self.text = file, text
        self.tokens = tokenize(text)
        self.lines = text.split("\n")
        self.partner = {}
        self.angle = set()  # indices of < > that are template brackets
        self.brace_kind = {}  # index of { -> namespace, class, enum, init, function, block
        self.excluded = set()  # token indices no rule touches
        self.decl_bounds = set()  # indices of tokens inside declaration array bounds
        self.functions = []  # (open brace index, close brace index, return type tokens)
        self.conditions = []  # (rule, first token index, last token index)
        self.statements = []  # (first, last (the ;), kind)
        self.returns = []  # (return token index, semicolon index, type tokens)
        self.bare_returns = []  # (return token index, semicolon index) of `return;`
        self.tables = []  # (open brace index, array levels)
        self._match()
        self._scan()

    def tok(self, i):
        return self.tokens[i] if 0 <= i < len(self.tokens) else None

    def text_of(self, i):
        t = self.tok(i)
        return t.text if t else ""

    # -- structure -----------------------------------------------------------
    def _explicit_arguments(self, i):
        """Marks `name<TYPE>(` (say std::min<LONG>(a, b)) as brackets: only
        type names between them and a call after them, which no comparison
        of values can be."""
        if self.tok(i - 1) is None or self.tok(i - 1).kind != "id":
            return False
        j = i + 1
        while self.tok(j) is not None and (self.tok(j).kind == "id" or self.text_of(j) == "::"):
            j += 1
        if j == i + 1 or self.text_of(j) != ">" or self.text_of(j + 1) != "(":
            return False
        self.angle.update((i, j))
        return True

    def _match(self):
        toks = self.tokens
        for i, t in enumerate(toks):
            if t.kind == "op" and t.text == "<" and self._explicit_arguments(i):
                continue
            if t.kind == "op" and t.text == "<" and self.text_of(i - 1) in CASTS:
                depth = 0
                for j in range(i, len(toks)):
                    if toks[j].text == "<":
                        depth += 1
                    elif toks[j].text == ">":
                        depth -= 1
                        if depth == 0:
                            self.angle.update((i, j))
                            break
                    elif toks[j].text in (";", "{"):
                        break
        stack = []
        for i, t in enumerate(toks):
            if t.kind != "op":
                continue
            if t.text in "([{":
                stack.append(i)
            elif t.text in ")]}":
                if not stack:
                    raise ValueError("%s:%d: unbalanced %s" % (self.file, t.line, t.text))
                j = stack.pop()
                self.partner[i], self.partner[j] = j, i
        if stack:
            raise ValueError("%s: unbalanced %s" % (self.file, toks[stack[-1]].text))

    def _head(self, i, stop):
        """Indices of the tokens that lead up to index i in its statement."""
        j = i - 1
        while j > stop:
            t = self.tokens[j]
            if t.kind == "pp" or t.text in (";", "{", "}") and t.kind == "op":
                if t.text == "}" and self.brace_kind.get(self.partner[j]) == "init":
                    j = self.partner[j] - 1
                    continue
                break
            if t.text in (")", "]") and t.kind == "op":
                j = self.partner[j] - 1
                continue
            j -= 1
        return list(range(j + 1, i))

    def _classify_brace(self, i, context, stop):
        prev = self.tok(i - 1)
        head = [self.tokens[k].text for k in self._head(i, stop)]
        if context in ("init",):
            return "init"
        if "=" in head:
            return "init"
        if "namespace" in head or (head[:1] == ["extern"] and len(head) == 2):
            return "namespace"
        if "enum" in head:
            return "enum"
        if head and head[0] in ("struct", "class", "union") and "(" not in head:
            return "class"
        if prev is None:
            return "block"
        if prev.text in (")", "const", "override", "noexcept"):
            return "function" if context in ("namespace", "class") else "block"
        if prev.text in ("else", "do", "try"):
            return "block"
        if prev.text in (";", "{", "}", ":") and context in ("function", "block"):
            return "block"
        return "init"

    def _scan(self):
        toks = self.tokens
        # static_assert and preprocessor lines are off limits.
        for i, t in enumerate(toks):
            if t.kind == "pp":
                self.excluded.add(i)
            elif t.text == "static_assert" and self.text_of(i + 1) == "(":
                end = self.partner[i + 1]
                self.excluded.update(range(i, end + 2))
        self._region(0, len(toks), "namespace", -1, None)

    def _region(self, i, end, context, stop, function):
        """Walks the tokens in [i, end) of a region of the given kind."""
        toks = self.tokens
        while i < end:
            t = toks[i]
            if t.kind == "pp":
                i += 1
                continue
            if t.text == "{" and t.kind == "op":
                kind = self._classify_brace(i, context, stop)
                self.brace_kind[i] = kind
                close = self.partner[i]
                if kind == "function":
                    head = self._head(i, stop)
                    function = self._return_type(head)
                    self.functions.append((i, close, function))
                if kind == "init":
                    self._init(i, close)
                elif kind in ("function", "block"):
                    self._statements(i + 1, close, function)
                else:
                    self._region(i + 1, close, kind, i, function)
                i = close + 1
                continue
            if context in ("namespace", "class", "enum"):
                self._declaration_token(i, context)
            i += 1

    def _declaration_token(self, i, context):
        t = self.tokens[i]
        if context == "enum":
            self.excluded.add(i)
        if t.text == "[" and t.kind == "op" and self._is_declarator_bracket(i):
            self.decl_bounds.update(range(i, self.partner[i] + 1))
        if context == "class" and t.text == "unused" and self.text_of(i + 1) == ":":
            self.excluded.update((i + 1, i + 2))

    def _is_declarator_bracket(self, i):
        prev = self.tok(i - 1)
        if prev is None:
            return False
        if prev.text == "]":
            return self._is_declarator_bracket(self.partner[i - 1])
        if prev.text == ")":
            opening = self.partner[i - 1]
            return self.text_of(opening + 1) in ("&", "*")
        if prev.kind != "id":
            return False
        if prev.text in BUILTIN_TYPES:
            return True  # the bound of an array type: using Text = char[N]
        before = self.tok(i - 2)
        if before is None:
            return False
        if before.kind == "id":
            return before.text not in STATEMENT_KEYWORDS
        return before.text in ("*", "&") or (before.text == ">" and (i - 2) in self.angle)

    def _return_type(self, head):
        """The return type's tokens of a function whose head is given."""
        names = []
        in_template = 0
        for idx in head:
            t = self.tokens[idx]
            if idx in self.angle:
                in_template += 1 if t.text == "<" else -1
                continue
            if in_template:
                continue
            if t.text == "(":
                break
            names.append(t.text)
        return [x for x in names[:-1] if x not in FUNCTION_QUALIFIERS and x != "template"]

    def _init(self, i, close):
        """A braced initialiser; a table when it initialises an array."""
        for k in range(i + 1, close):
            if self.tokens[k].text == "{" and self.tokens[k].kind == "op":
                self.brace_kind.setdefault(k, "init")
        head = self._head(i, -1)
        levels = 0
        for k in head:
            if self.tokens[k].text == "[" and k in self.decl_bounds:
                levels += 1
        # Declarations inside functions are not walked as declarations;
        # their array bounds are found here.
        if levels == 0:
            for k in head:
                if self.tokens[k].text == "[" and self._is_declarator_bracket(k):
                    self.decl_bounds.update(range(k, self.partner[k] + 1))
                    levels += 1
        if levels:
            self.tables.append((i, levels))

    # -- statements ----------------------------------------------------------
    def _statements(self, i, end, function):
        toks = self.tokens
        while i < end:
            t = toks[i]
            text = t.text
            if t.kind == "pp" or (text == ";" and t.kind == "op"):
                i += 1
                continue
            if text == "{" and t.kind == "op":
                kind = "block"
                self.brace_kind[i] = kind
                self._statements(i + 1, self.partner[i], function)
                i = self.partner[i] + 1
                continue
            if text in ("if", "while", "switch") and self.text_of(i + 1) == "(":
                close = self.partner[i + 1]
                # A condition that declares its variable cannot be negated.
                declares = self.text_of(i + 2) in DECLARATION_STARTS
                if text != "switch" and close > i + 2 and not declares:
                    self.conditions.append(("negate-" + text, i + 2, close - 1))
                i = close + 1
                continue
            if text == "for" and self.text_of(i + 1) == "(":
                close = self.partner[i + 1]
                semis = self._top_level(i + 2, close, ";")
                if len(semis) == 2 and semis[1] > semis[0] + 1:
                    self.conditions.append(("negate-for", semis[0] + 1, semis[1] - 1))
                i = close + 1
                continue
            if text in ("else", "do"):
                i += 1
                continue
            if text == "case":
                while toks[i].text != ":":
                    i += 1
                i += 1
                continue
            if text == "default" and self.text_of(i + 1) == ":":
                i += 2
                continue
            if t.kind == "id" and self.text_of(i + 1) == ":" and text not in STATEMENT_KEYWORDS:
                i += 2  # a label
                continue
            semi = self._statement_end(i, end)
            if text == "return":
                if semi > i + 1 and function is not None:
                    self.returns.append((i, semi, function))
                elif semi == i + 1:
                    self.bare_returns.append((i, semi))
            elif text not in STATEMENT_KEYWORDS and not self._is_declaration(i, semi):
                kind = self._expression_kind(i, semi)
                if kind:
                    self.statements.append((i, semi, kind))
            self._inner_declarations(i, semi)
            i = semi + 1

    def _inner_declarations(self, i, semi):
        for k in range(i, semi):
            t = self.tokens[k]
            if t.text == "[" and t.kind == "op" and self._is_declarator_bracket(k) \
                    and self._is_declaration(i, semi):
                self.decl_bounds.update(range(k, self.partner[k] + 1))
            elif t.text == "{" and t.kind == "op" and k not in self.brace_kind:
                self.brace_kind[k] = "init"
                self._init(k, self.partner[k])

    def _statement_end(self, i, end):
        toks = self.tokens
        while i < end:
            t = toks[i]
            if t.kind == "op" and t.text in "([{":
                i = self.partner[i] + 1
                continue
            if t.kind == "op" and t.text == ";":
                return i
            i += 1
        return end

    def _top_level(self, i, end, text):
        found = []
        while i < end:
            t = self.tokens[i]
            if t.kind == "op" and t.text in "([{":
                i = self.partner[i] + 1
                continue
            if t.text == text and t.kind == "op":
                found.append(i)
            i += 1
        return found

    def _is_declaration(self, i, semi):
        toks = self.tokens
        if toks[i].text in DECLARATION_STARTS:
            return True
        if toks[i].kind != "id":
            return False
        j = i + 1
        while j + 1 < semi and toks[j].text == "::" and toks[j + 1].kind == "id":
            j += 2
        if j < semi and toks[j].text == "<" and j in self.angle:
            while not (toks[j].text == ">" and j in self.angle):
                j += 1
            j += 1
        while j < semi and toks[j].text in ("*", "&", "const"):
            j += 1
        return j < semi and toks[j].kind == "id" and toks[j].text not in STATEMENT_KEYWORDS

    def _expression_kind(self, i, semi):
        toks = self.tokens
        if toks[i].text in ("++", "--") or toks[semi - 1].text in ("++", "--"):
            return "delete-assign"
        k = i
        while k < semi:
            t = toks[k]
            if t.kind == "op" and t.text in "([{":
                k = self.partner[k] + 1
                continue
            if t.kind == "op" and t.text in ASSIGNMENTS:
                return "delete-assign"
            k += 1
        if toks[semi - 1].text == ")" and toks[i].kind == "id":
            return "delete-call"
        return None

    # -- mutants -------------------------------------------------------------
    def line_text(self, line):
        return self.lines[line - 1]

    def mutants(self):
        found = []

        def add(rule, first, last, replacement):
            a, b = self.tokens[first], self.tokens[last]
            found.append(Mutant(self.file, a.line, rule, a.start, b.end, replacement,
                                self.line_text(a.line)))

        toks = self.tokens
        for i, t in enumerate(toks):
            if i in self.excluded:
                continue
            if t.kind == "op" and t.text in COMPARISONS and i not in self.angle:
                for other in COMPARISONS[t.text]:
                    add("%sto%s" % (t.text, other), i, i, other)
            elif t.kind == "op" and t.text in ("&&", "||"):
                other = "||" if t.text == "&&" else "&&"
                add("%sto%s" % (t.text, other), i, i, other)
            elif t.kind == "op" and t.text == "?":
                first = self._condition_start(i)
                add("negate-?:", first, i - 1, "!(%s)" % self.span(first, i - 1))
            elif t.kind == "id" and t.text in ("true", "false", "TRUE", "FALSE"):
                flipped = {"true": "false", "false": "true", "TRUE": "FALSE", "FALSE": "TRUE"}
                add("flip-bool", i, i, flipped[t.text])
            elif t.kind == "num" and i not in self.decl_bounds:
                table = self._in_table(i)
                for delta in (1, -1):
                    moved = shifted(t.text, delta)
                    if moved is not None:
                        add(("entry%+d" if table else "int%+d") % delta, i, i, moved)
        for rule, first, last in self.conditions:
            if not any(k in self.excluded for k in (first, last)):
                add(rule, first, last, "!(%s)" % self.span(first, last))
        for first, semi, kind in self.statements:
            add(kind, first, semi, ";")
        for ret, semi, type_tokens in self.returns:
            value = toks[ret + 1]
            if semi == ret + 2 and (value.kind == "num" or value.text in LITERAL_WORDS):
                continue  # a constant already: the literal rules move it
            for constant in constants_of(type_tokens):
                add("return-const", ret + 1, semi - 1, constant)
        for ret, semi in self.bare_returns:
            if not self._ends_function(ret, semi):
                # Named by the guard's line, which tells it from the other
                # returns of the file; only the return changes.
                first = self._guard(ret)
                add("delete-return", first, semi, self.text[toks[first].start:toks[ret].start] + "{}")
        for i, t in enumerate(toks):
            if t.kind == "str" and i not in self.excluded and t.text in SENTINELS \
                    and self.tok(i - 1).kind != "str" and self.tok(i + 1).kind != "str" \
                    and not (self.tok(i - 1).kind == "id" and self.tok(i - 1).end == t.start):
                for other in SENTINELS[t.text]:
                    add("sentinel", i, i, other)
        for brace, levels in self.tables:
            self._swaps(brace, levels, add)
        found.extend(self._command_numbers())
        found.sort(key=lambda m: (m.line, m.start, m.end))
        seen = {}
        for m in found:
            seen[(m.line, m.rule)] = seen.get((m.line, m.rule), 0) + 1
            m.occurrence = seen[(m.line, m.rule)]
        # Which of the lines with the same text it is, for notes that must
        # tell them apart.
        copies = {}
        for number, text in enumerate(self.lines, 1):
            key = " ".join(text.split())
            copies[key] = copies.get(key, 0) + 1
            for m in found:
                if m.line == number:
                    m.line_copy = copies[key]
        return found

    def span(self, first, last):
        return self.text[self.tokens[first].start:self.tokens[last].end]

    def _condition_start(self, q):
        toks = self.tokens
        j = q - 1
        while j >= 0:
            t = toks[j]
            if t.kind == "op" and t.text in (")", "]", "}"):
                j = self.partner[j] - 1
                continue
            if t.kind == "op" and (t.text in ("(", "[", "{", ",", ";", "?", ":")
                                   or t.text in ASSIGNMENTS) or t.text == "return":
                break
            j -= 1
        return j + 1

    # -- early returns -------------------------------------------------------
    def _ends_function(self, ret, semi):
        """True when the `return;` from ret to semi is where its function
        ends anyway: nothing but the ends of blocks (and else branches not
        taken) follows it, and no loop holds it, so without it the very
        same statements run."""
        j = ret
        while True:  # the heads of statements without braces around it
            prev = self.tok(j - 1)
            if prev is None:
                break
            if prev.text == ")" and prev.kind == "op":
                keyword = self.text_of(self.partner[j - 1] - 1)
                if keyword in ("while", "for"):
                    return False
                if keyword != "if":
                    break
                j = self.partner[j - 1] - 1
            elif prev.text == "do":
                return False
            elif prev.text == "else":
                j -= 1
            else:
                break
        j = semi + 1
        while True:
            t = self.tok(j)
            if t is None:
                return True
            if t.kind == "pp":
                j += 1
            elif t.kind == "op" and t.text == "}":
                opening = self.partner[j]
                if self.brace_kind.get(opening) == "function":
                    return True
                if self._loop_body(opening):
                    return False
                j += 1
            elif t.text == "else":
                j = self._skip_statement(j + 1)
            else:
                return False

    def _guard(self, ret):
        """The first token of the statement whose body holds the return:
        the `if` of `if (c) return;` or of `if (c) { ...; return; }`; the
        return itself where no such statement is (a case, a plain block)."""
        prev = self.tok(ret - 1)
        if prev is not None and prev.text == ")" and prev.kind == "op":
            keyword = self.partner[ret - 1] - 1
            if self.text_of(keyword) in ("if", "while", "for"):
                return keyword
        if prev is not None and prev.text in ("else", "do"):
            return ret - 1
        j = ret - 1
        while j >= 0:
            t = self.tokens[j]
            if t.kind == "op" and t.text in ("}", ")", "]"):
                j = self.partner[j] - 1
                continue
            if t.text in ("case", "default"):
                return ret
            if t.kind == "op" and t.text == "{":
                break
            j -= 1
        if j < 0 or self.brace_kind.get(j) != "block":
            return ret
        prev = self.tok(j - 1)
        if prev is not None and prev.text in ("else", "do"):
            return j - 1
        if prev is not None and prev.text == ")":
            keyword = self.partner[j - 1] - 1
            if self.text_of(keyword) in ("if", "while", "for", "switch"):
                return keyword
        return ret

    def _loop_body(self, brace):
        prev = self.tok(brace - 1)
        if prev is None:
            return False
        if prev.text == "do":
            return True
        return prev.text == ")" and self.text_of(self.partner[brace - 1] - 1) in ("while", "for")

    def _skip_statement(self, j):
        """The index just past the statement that starts at j."""
        t = self.tok(j)
        if t is None:
            return j
        if t.kind == "op" and t.text == "{":
            return self.partner[j] + 1
        if t.text in ("if", "while", "for", "switch") and self.text_of(j + 1) == "(":
            after = self._skip_statement(self.partner[j + 1] + 1)
            if t.text == "if" and self.text_of(after) == "else":
                after = self._skip_statement(after + 1)
            return after
        if t.text == "do":
            after = self._skip_statement(j + 1)  # the body; then while (...);
            return self.partner[after + 1] + 2
        return self._statement_end(j, len(self.tokens)) + 1

    def _in_table(self, i):
        """True when token i is an entry of a constant table."""
        for brace, levels in self.tables:
            if brace < i < self.partner[brace]:
                return True
        return False

    def _swaps(self, brace, levels, add):
        close = self.partner[brace]
        entries = []
        start = brace + 1
        for comma in self._top_level(brace + 1, close, ",") + [close]:
            if comma > start:
                entries.append((start, comma - 1))
            start = comma + 1
        for (a0, a1), (b0, b1) in zip(entries, entries[1:]):
            left, right = self.span(a0, a1), self.span(b0, b1)
            if left != right:
                between = self.text[self.tokens[a1].end:self.tokens[b0].start]
                add("swap", a0, b1, right + between + left)
        if levels > 1:
            for first, last in entries:
                if self.tokens[first].text == "{":
                    self._swaps(first, levels - 1, add)

    def _command_numbers(self):
        if self.file != RESOURCE_HEADER:
            return []
        found = []
        for t in self.tokens:
            m = COMMAND_DEFINE.match(t.text)
            if t.kind == "pp" and m:
                start = t.start + m.start(1)
                for delta in (1, -1):
                    moved = shifted(m.group(1), delta)
                    if moved is not None:
                        found.append(Mutant(self.file, t.line, "int%+d" % delta, start,
                                            start + len(m.group(1)), moved, t.text))
        return found


LITERAL_WORDS = {"true", "false", "TRUE", "FALSE", "nullptr", "NULL"}

# The texts the program writes to its settings file, passes as a read's
# default and compares what it reads with; each goes to "0" (a "0" to "1")
# and to a neighbour of its own family: on and off; a missing time ("Default")
# and a place; the places across and down the screen (where "Default" and
# "Center" belong to both); the alarm's sound ("0", "1", "User"); and the
# read default that marks a missing key ("NOT").
SENTINELS = {
    '"0"': ['"1"'],
    '"1"': ['"0"'],
    '"Default"': ['"0"', '"Center"'],
    '"Right"': ['"0"', '"Left"'],
    '"Left"': ['"0"', '"Right"'],
    '"Center"': ['"0"', '"Default"'],
    '"Top"': ['"0"', '"Bottom"'],
    '"Bottom"': ['"0"', '"Top"'],
    '"User"': ['"0"', '"1"'],
    '"NOT"': ['"0"', '"Default"'],
}


def shifted(literal, delta):
    """The integer literal moved by delta, in its own notation and suffix;
    None where the rule has nothing to give (0 - 1, floats)."""
    m = re.match(r"^(0[xX])([0-9A-Fa-f]+)([uUlL]*)$", literal)
    if m:
        value = int(m.group(2), 16) + delta
        if value < 0:
            return None
        digits = "%0*X" % (len(m.group(2)), value)
        if m.group(2).islower():
            digits = digits.lower()
        return m.group(1) + digits + m.group(3)
    m = re.match(r"^(\d+)([uUlL]*)$", literal)
    if not m:
        return None
    if len(m.group(1)) > 1 and m.group(1).startswith("0"):
        return None  # octal: none in the program
    value = int(m.group(1)) + delta
    if value < 0:
        return None
    return str(value) + m.group(2)


def constants_of(type_tokens):
    if not type_tokens or "&" in type_tokens:
        return []
    if "*" in type_tokens:
        return ["nullptr"]
    base = type_tokens[-1]
    if base == "void":
        return []
    if base in BOOLEAN_TYPES:
        return list(BOOLEAN_TYPES[base])
    if base in INTEGER_TYPES:
        return ["0"]
    if base in POINTER_TYPES:
        return ["nullptr"]
    return ["{}"]


def program_files(root):
    files = []
    for folder in SOURCE_DIRS:
        for name in sorted(os.listdir(os.path.join(root, folder))):
            if name.endswith((".cpp", ".h")):
                files.append("%s/%s" % (folder, name))
    if os.path.exists(os.path.join(root, RESOURCE_HEADER)):
        files.append(RESOURCE_HEADER)
    return files


def read_sources(root, files=None):
    sources = []
    for file in files or program_files(root):
        with open(os.path.join(root, file), encoding="utf-8", newline="") as f:
            sources.append(Source(file, f.read()))
    return sources


def exclude_bound_constants(sources):
    """A constant whose every use is an array bound (or a static_assert) is
    a size; its value is left alone like the literal bounds."""
    definitions = {}
    for source in sources:
        toks = source.tokens
        for i, t in enumerate(toks):
            if (t.text == "constexpr" and i + 4 < len(toks) and toks[i + 2].kind == "id"
                    and toks[i + 3].text == "=" and toks[i + 4].kind == "num"
                    and source.text_of(i + 5) == ";"):
                definitions[toks[i + 2].text] = (source, i + 4, i + 2)
    for name, (home, literal, defined) in definitions.items():
        only_bounds = True
        for source in sources:
            for i, t in enumerate(source.tokens):
                if t.text != name or (source is home and i == defined):
                    continue
                if i not in source.decl_bounds and i not in source.excluded:
                    only_bounds = False
        if only_bounds:
            home.excluded.add(literal)


def generate(root, files=None):
    """Every generated mutant of the program's sources under root, in file
    and line order. The constants are judged against every program file
    even when only some files are asked for."""
    sources = read_sources(root)
    exclude_bound_constants(sources)
    mutants = []
    for source in sources:
        if files and source.file not in files:
            continue
        seen = set()
        for m in source.mutants():
            # Two rules that write the same text make one mutant.
            result = (m.start, m.end, m.replacement)
            if result not in seen:
                seen.add(result)
                mutants.append(m)
    return mutants
