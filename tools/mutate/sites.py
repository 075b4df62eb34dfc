"""Mutation sites of one C++ file: where a one-site change can be made.

Families (the "op" column starts with the family):
  cmp    a comparison flipped (negated) or moved across its boundary
  logic  && and || swapped
  bool   true and false swapped
  int    an integer literal moved by one, up and down
  drop   one return statement or assignment statement dropped (left as ";")
  table  one character of an entry of a namespace-scope table of strings
         (the command table and the name tables)

A site is named by what survives unrelated edits: the file, the text of its
line (code only, blanks collapsed), the op, and its occurrence among sites of
the same op on lines of the same text in that file.
"""

import re
from dataclasses import dataclass

from cxx_tokens import line_texts, tokenize

COMPARISON_MUTANTS = {
    "==": ["!="],
    "!=": ["=="],
    "<": [">=", "<="],
    "<=": [">", "<"],
    ">": ["<=", ">="],
    ">=": ["<", ">"],
}
ASSIGNMENTS = {"=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>="}
CONTROL_HEADERS = {"if", "for", "while", "switch"}
# Words a statement that is not a plain expression starts with.
NOT_EXPRESSION_STARTS = {
    "if", "for", "while", "switch", "case", "default", "else", "do", "break", "continue",
    "goto", "using", "typedef", "static_assert", "return", "try", "catch", "throw",
    "const", "constexpr", "static", "auto", "int", "bool", "char", "wchar_t", "unsigned",
    "signed", "long", "short", "double", "float", "void", "struct", "class", "enum",
}
FUNCTION_BODY_AFTER = {")", "const", "noexcept", "override", "final"}
# printf directives stay as they are: a changed directive is another kind of fault.
_DIRECTIVE = re.compile(r"%[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|L|z|j|t)?[diouxXeEfFgGaAcspn%]")
_INTEGER = re.compile(r"^(0[xX][0-9A-Fa-f]+|0|[1-9][0-9]*)([uUlL]*)$")


@dataclass
class Site:
    file: str        # path relative to the source root
    line: int        # where it is now (for people; not part of its name)
    text: str        # the line's code
    op: str          # family and change, e.g. "cmp < >="
    nth: int         # occurrence among same-op sites on lines of the same text
    start: int       # span of the file's text that the mutant replaces
    end: int
    replacement: str

    @property
    def key(self):
        return (self.file, self.text, self.op, self.nth)

    @property
    def family(self):
        return self.op.split(" ", 1)[0]


@dataclass
class _Brace:
    kind: str                 # namespace, type, function, block, init
    table: bool = False       # an init brace of a namespace-scope array


class _Walker:
    """Walks the tokens once, keeping the brace and paren context."""

    def __init__(self, tokens):
        self.t = tokens
        self.template_angles = self._find_template_angles()
        self.parameter_brackets = set()

    # ---- templates -------------------------------------------------------
    def _find_template_angles(self):
        """Indices of < and > (and >>) tokens that bracket template arguments."""
        t = self.t
        marked = set()
        for i, tok in enumerate(t):
            if tok.text != "<" or i == 0 or i in marked:
                continue
            before = t[i - 1]
            if before.kind != "ident" and before.text != ">":
                continue
            depth = 1
            parens = 0
            inner = [i]
            j = i + 1
            while j < len(t) and depth > 0:
                x = t[j].text
                if t[j].kind in ("string", "char"):
                    break
                if x == "<":
                    depth += 1
                    inner.append(j)
                elif x == ">":
                    depth -= 1
                    inner.append(j)
                elif x == ">>":
                    depth -= 2
                    inner.append(j)
                elif x in ("(", "["):
                    parens += 1
                elif x in (")", "]"):
                    parens -= 1
                    if parens < 0:
                        break
                elif x in (";", "{", "}", "?", "||", "&&", "==", "!=", "<=", ">=", "=", "+", "-",
                           "!", ".", "->", "/", "%", "<<", "|", "^"):
                    break
                j += 1
            if depth != 0 or parens != 0:
                continue
            after = t[j].text if j < len(t) else ";"
            if after in ("(", "::", "{", ">", ">>", ",", ")", "&", "&&", "*", ";", "...", "[") or t[j].kind == "ident":
                marked.update(inner)
        return marked

    # ---- the walk ----------------------------------------------------------
    def walk(self):
        """Yields (kind, index, extra) for each candidate site."""
        t = self.t
        braces = []           # _Brace
        parens = []           # (token index, opener kind: control, params, call)
        statement_start = set()
        i = 0
        while i < len(t):
            tok = t[i]
            x = tok.text
            prev = t[i - 1].text if i > 0 else ";"
            in_code = bool(braces) and braces[-1].kind in ("function", "block")
            at_namespace = not any(b.kind in ("function", "block") for b in braces)

            if x == "{":
                braces.append(self._classify_brace(i, braces))
                if braces[-1].kind in ("function", "block"):
                    statement_start.add(i + 1)
            elif x == "}":
                closed = braces.pop() if braces else _Brace("namespace")
                if closed.kind == "block":
                    statement_start.add(i + 1)
            elif x == "(":
                if prev in CONTROL_HEADERS:
                    parens.append("control")
                elif at_namespace and i > 0 and t[i - 1].kind == "ident":
                    parens.append("params")
                else:
                    parens.append("other")
            elif x == ")":
                kind = parens.pop() if parens else "other"
                if kind == "control" and in_code:
                    statement_start.add(i + 1)
            elif x == ";" and in_code and not parens:
                statement_start.add(i + 1)
            elif x in ("else", "do") and in_code:
                statement_start.add(i + 1)
            elif x == "[" and parens and parens[-1] == "params":
                self.parameter_brackets.add(i)

            if i in statement_start and in_code and not parens and x not in ("{", "}"):
                if x in ("case", "default"):
                    colon = self._label_colon(i)
                    if colon is not None:
                        statement_start.add(colon + 1)
                else:
                    yield ("statement", i, braces[-1])
            if x in COMPARISON_MUTANTS and i not in self.template_angles and prev != "operator":
                yield ("cmp", i, None)
            elif x in ("&&", "||") and prev != "operator" and not (parens and parens[-1] == "params"):
                yield ("logic", i, None)
            elif x in ("true", "false"):
                yield ("bool", i, None)
            elif tok.kind == "number" and not self._in_parameter_brackets(i):
                yield ("int", i, None)
            elif tok.kind == "string" and braces and braces[-1].table:
                yield ("table", i, None)
            i += 1

    def _label_colon(self, i):
        """Index of the : that ends the case label starting at i."""
        depth = 0
        for j in range(i, len(self.t)):
            x = self.t[j].text
            if x in ("(", "[", "{"):
                depth += 1
            elif x in (")", "]", "}"):
                depth -= 1
            elif x == ":" and depth == 0:
                return j
            elif x == ";":
                return None
        return None

    def _in_parameter_brackets(self, i):
        return i > 0 and (i - 1) in self.parameter_brackets

    def _classify_brace(self, i, braces):
        t = self.t
        prev = t[i - 1].text if i > 0 else ";"
        inside = braces[-1].kind if braces else "namespace"
        if inside in ("function", "block"):
            if prev in (")", ";", "{", "}", "else", "do", ":", "try") or prev in FUNCTION_BODY_AFTER:
                # A { right after another init brace is a nested init list.
                if prev == "{" and braces[-1].kind == "init":
                    return _Brace("init")
                return _Brace("block")
            return _Brace("init")
        if inside == "init":
            return _Brace("init", table=braces[-1].table)
        # Namespace or class scope: look back to the start of the declaration.
        j = i - 1
        words = []
        while j >= 0 and t[j].text not in (";", "{", "}"):
            words.append(t[j].text)
            j -= 1
        if prev in FUNCTION_BODY_AFTER:
            return _Brace("function")
        if "namespace" in words or ('"C"' in words and "extern" in words):
            return _Brace("namespace")
        if "=" in words or prev == "]":
            return _Brace("init", table="[" in words and inside == "namespace")
        if {"struct", "class", "union", "enum"} & set(words):
            return _Brace("type")
        return _Brace("init")


def _statement_end(tokens, i):
    """Index of the ; that ends the statement starting at i (or None)."""
    depth = 0
    for j in range(i, len(tokens)):
        x = tokens[j].text
        if x in ("(", "[", "{"):
            depth += 1
        elif x in (")", "]", "}"):
            depth -= 1
            if depth < 0:
                return None
        elif x == ";" and depth == 0:
            return j
    return None


def _is_declaration(lhs):
    """Whether the tokens before an = declare something (int x = ...)."""
    for a, b in zip(lhs, lhs[1:]):
        if b.kind != "ident":
            continue
        if a.kind == "ident" or a.text == ">":
            return True
        if a.text in ("&", "*", "&&") and a is not lhs[0]:
            return True
    return False


def _drop_site(tokens, i, enclosing, src):
    """The drop mutant for the statement at i, if it is a return or an assignment."""
    first = tokens[i]
    end = _statement_end(tokens, i)
    if end is None:
        return None
    statement = tokens[i:end]
    following = tokens[end + 1].text if end + 1 < len(tokens) else "}"
    if first.text == "return":
        # The last return of a function only turns into falling off its end.
        if following == "}" and enclosing.kind == "function":
            return None
        kind = "return"
    else:
        if first.text in NOT_EXPRESSION_STARTS or first.kind != "ident" and first.text not in ("*", "("):
            return None
        depth = 0
        assign = None
        for k, tok in enumerate(statement):
            if tok.text in ("(", "[", "{"):
                depth += 1
            elif tok.text in (")", "]", "}"):
                depth -= 1
            elif depth == 0 and tok.text in ASSIGNMENTS:
                assign = k
                break
        if assign is None or assign == 0 or _is_declaration(statement[:assign]):
            return None
        kind = "assign"
    start, stop = first.start, tokens[end].end
    # Keep the line count, so the compiler's line numbers stay those of the file.
    return kind, start, stop, ";" + "\n" * src.count("\n", start, stop)


def _bumped(literal, delta):
    m = _INTEGER.match(literal)
    if not m:
        return None
    digits, suffix = m.groups()
    value = int(digits, 0) + delta
    if value < 0:
        return "(-%d%s)" % (-value, suffix)
    text = "0x%X" % value if digits[:2].lower() == "0x" else str(value)
    return text + suffix


def _table_change(literal):
    """One character of a string literal changed, and its label."""
    quote = literal.index('"')
    body_start = quote + 1
    body = literal[body_start:-1]
    protected = set()
    for m in _DIRECTIVE.finditer(body):
        protected.update(range(m.start(), m.end()))
    k = 0
    candidates = []
    while k < len(body):
        if body[k] == "\\":
            protected.update(range(k, k + 2))
            k += 2
            continue
        if k not in protected:
            candidates.append(k)
        k += 1
    letters = [k for k in candidates if body[k].isascii() and body[k].isalpha()]
    if letters:
        k = letters[0]
        new = body[k].swapcase()
    elif candidates:
        k = candidates[0]
        new = chr(ord(body[k]) + 1)
        if new in '"\\':
            new = chr(ord(new) + 1)
    else:
        return None
    mutated = literal[:body_start] + body[:k] + new + body[k + 1:] + literal[-1]
    return "%s %s" % (body[k], new), mutated


def find_sites(path, src):
    """Every site of the file's text src (path is relative to the root)."""
    tokens, comments = tokenize(src)
    texts = line_texts(src, comments)
    raw = []   # (line, op, start, end, replacement)
    walker = _Walker(tokens)
    for kind, i, extra in walker.walk():
        tok = tokens[i]
        if kind == "cmp":
            for new in COMPARISON_MUTANTS[tok.text]:
                raw.append((tok.line, "cmp %s %s" % (tok.text, new), tok.start, tok.end, new))
        elif kind == "logic":
            new = "||" if tok.text == "&&" else "&&"
            raw.append((tok.line, "logic %s %s" % (tok.text, new), tok.start, tok.end, new))
        elif kind == "bool":
            new = "false" if tok.text == "true" else "true"
            raw.append((tok.line, "bool %s %s" % (tok.text, new), tok.start, tok.end, new))
        elif kind == "int":
            for delta in (1, -1):
                new = _bumped(tok.text, delta)
                if new is not None:
                    raw.append((tok.line, "int %s %s" % (tok.text, new.strip("()")), tok.start, tok.end, new))
        elif kind == "table":
            change = _table_change(tok.text)
            if change is not None:
                label, mutated = change
                raw.append((tok.line, "table " + label, tok.start, tok.end, mutated))
        elif kind == "statement":
            drop = _drop_site(tokens, i, extra, src)
            if drop is not None:
                what, start, stop, new = drop
                raw.append((tok.line, "drop " + what, start, stop, new))
    raw.sort(key=lambda r: (r[2], r[1]))
    seen = {}
    sites = []
    for line, op, start, end, new in raw:
        text = texts[line - 1]
        nth = seen.get((text, op), 0)
        seen[(text, op)] = nth + 1
        sites.append(Site(path, line, text, op, nth, start, end, new))
    return sites


def mutant_text(src, site):
    return src[:site.start] + site.replacement + src[site.end:]
