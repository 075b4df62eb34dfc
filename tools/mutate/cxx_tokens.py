"""A C++ tokenizer just good enough to find mutation sites.

It keeps the exact character span of every token, so a mutant is the source
with one span replaced, and it drops what must never be mutated: comments and
preprocessor lines (#include, #pragma, macros with their continuations).
"""

import re
from dataclasses import dataclass

# Longest first, so that "<<=" is never read as "<" "<" "=" and "->" is not a
# minus and a greater-than.
PUNCTUATORS = sorted(
    """
    ... <<= >>= ->* <=> :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= ##
    { } [ ] ( ) ; : ? , . + - * / % ^ & | ~ ! = < > #
    """.split(),
    key=len,
    reverse=True,
)

_IDENT = re.compile(r"[A-Za-z_][A-Za-z0-9_]*")
# An integer or floating literal, with digit separators and suffixes.
_NUMBER = re.compile(r"(?:0[xX][0-9A-Fa-f']+|0[bB][01']+|\d[\d']*(?:\.[\d']*)?(?:[eE][+-]?\d+)?|\.\d[\d']*(?:[eE][+-]?\d+)?)[A-Za-z_]*")
_STRING_PREFIX = re.compile(r"(?:u8|u|U|L)?R?(?=[\"'])")


@dataclass
class Token:
    kind: str     # "ident", "number", "string", "char", "punct"
    text: str
    start: int    # offset of the first character in the file
    end: int      # offset just past the last character
    line: int     # 1-based line of the first character


def _skip_string(src, i, quote):
    """Index just past a quoted literal whose opening quote is at i."""
    i += 1
    while i < len(src):
        c = src[i]
        if c == "\\":
            i += 2
            continue
        if c == quote or c == "\n":
            return i + 1
        i += 1
    return i


def _skip_raw_string(src, i):
    """Index just past R"delim( ... )delim" whose quote is at i."""
    open_paren = src.index("(", i)
    delimiter = src[i + 1:open_paren]
    close = src.index(")" + delimiter + '"', open_paren)
    return close + len(delimiter) + 2


def tokenize(src):
    """Tokens of src, and the spans of its comments (for line texts)."""
    tokens = []
    comments = []
    i = 0
    line = 1
    at_line_start = True
    n = len(src)
    while i < n:
        c = src[i]
        if c == "\n":
            line += 1
            i += 1
            at_line_start = True
            continue
        if c in " \t\r\f\v":
            i += 1
            continue
        if c == "\\" and i + 1 < n and src[i + 1] == "\n":
            i += 2
            line += 1
            continue
        if src.startswith("//", i):
            end = src.find("\n", i)
            end = n if end < 0 else end
            comments.append((i, end))
            i = end
            continue
        if src.startswith("/*", i):
            end = src.find("*/", i + 2)
            end = n if end < 0 else end + 2
            comments.append((i, end))
            line += src.count("\n", i, end)
            i = end
            continue
        if c == "#" and at_line_start:
            # A preprocessor line, with its backslash continuations; comments
            # inside it go with it.
            j = i
            while j < n:
                if src.startswith("/*", j):
                    k = src.find("*/", j + 2)
                    j = n if k < 0 else k + 2
                    continue
                if src[j] == "\\" and j + 1 < n and src[j + 1] == "\n":
                    j += 2
                    continue
                if src[j] == "\n":
                    break
                j += 1
            line += src.count("\n", i, j)
            i = j
            continue
        at_line_start = False
        prefix = _STRING_PREFIX.match(src, i)
        if prefix is not None and i + len(prefix.group(0)) < n:
            q = i + len(prefix.group(0))
            if src[q] in "\"'":
                if prefix.group(0).endswith("R") and src[q] == '"':
                    end = _skip_raw_string(src, q)
                else:
                    end = _skip_string(src, q, src[q])
                kind = "string" if src[q] == '"' else "char"
                tokens.append(Token(kind, src[i:end], i, end, line))
                line += src.count("\n", i, end)
                i = end
                continue
        m = _NUMBER.match(src, i) if (c.isdigit() or (c == "." and i + 1 < n and src[i + 1].isdigit())) else None
        if m:
            tokens.append(Token("number", m.group(0), i, m.end(), line))
            i = m.end()
            continue
        m = _IDENT.match(src, i)
        if m:
            tokens.append(Token("ident", m.group(0), i, m.end(), line))
            i = m.end()
            continue
        for p in PUNCTUATORS:
            if src.startswith(p, i):
                tokens.append(Token("punct", p, i, i + len(p), line))
                i += len(p)
                break
        else:
            # Anything else (a stray character) stands alone.
            tokens.append(Token("punct", c, i, i + 1, line))
            i += 1
    return tokens, comments


def line_texts(src, comments):
    """Each line's code without comments, blanks collapsed: the text that
    names a site across edits elsewhere in the file."""
    chars = list(src)
    for start, end in comments:
        for k in range(start, end):
            if chars[k] != "\n":
                chars[k] = " "
    return [" ".join(text.split()) for text in "".join(chars).split("\n")]
