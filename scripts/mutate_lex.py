"""A C++ tokenizer for the mutation tool: just enough C++ to find the places worth mutating.

Comments, string and character literals and preprocessor lines never yield tokens that a
mutation operator would touch: comments and directives produce no token at all, literals one
opaque token. Code between #if/#ifdef/#ifndef and #endif is marked, since which branch is
compiled is not known here. The tokenizer also pairs brackets and the angle brackets of
template arguments, so that the operators can tell a comparison from a template argument list.
"""

import re

PUNCTUATORS = sorted(
    """<=> <<= >>= ->* ... :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= .* ##
    { } [ ] ( ) ; : , . ? ~ ! + - * / % ^ & | = < > #""".split(),
    key=len,
    reverse=True,
)
STRING_PREFIXES = ("u8R", "uR", "UR", "LR", "R", "u8", "u", "U", "L")
IDENT = re.compile(r"[A-Za-z_][A-Za-z0-9_]*")
NUMBER = re.compile(r"\.?[0-9](?:[eEpP][+-]|'[0-9A-Za-z_]|[0-9A-Za-z_.])*")
INTEGER = re.compile(r"^(0[xX][0-9a-fA-F']+|0[bB][01']+|[0-9][0-9']*)([uUlLzZ]*)$")


class Token:
    __slots__ = ("kind", "text", "start", "end", "line", "space_before", "space_after",
                 "in_cond", "match", "template")

    def __init__(self, kind, text, start, end, line):
        self.kind = kind  # "id", "num", "str", "op"
        self.text = text
        self.start = start
        self.end = end
        self.line = line
        self.space_before = False
        self.space_after = False
        self.in_cond = False  # inside a preprocessor conditional block
        self.match = None  # index of the paired bracket, template angle brackets included
        self.template = False  # an angle bracket of template arguments

    def __repr__(self):
        return f"Token({self.kind}, {self.text!r}, line {self.line})"


def _skip_directive(src, i):
    """Returns the end of the preprocessor line starting at i, continuations and comments
    included, and the directive's name."""
    m = re.compile(r"#\s*([A-Za-z_]*)").match(src, i)
    name = m.group(1) if m else ""
    n = len(src)
    while i < n and src[i] != "\n":
        if src.startswith("/*", i):
            close = src.find("*/", i + 2)
            i = n if close < 0 else close + 2
        elif src.startswith("//", i):
            while i < n and src[i] != "\n":
                i += 1
        elif src[i] == "\\" and src.startswith("\n", i + 1):
            i += 2
        else:
            i += 1
    return i, name


def _string_end(src, i, prefix_len):
    """The end of the string literal whose prefix starts at i."""
    j = i + prefix_len
    if src[i:j].endswith("R"):
        open_paren = src.find("(", j + 1)
        delim = src[j + 1:open_paren]
        close = src.find(")" + delim + '"', open_paren)
        return len(src) if close < 0 else close + len(delim) + 2
    quote = src[j]
    j += 1
    while j < len(src) and src[j] != quote and src[j] != "\n":
        j += 2 if src[j] == "\\" else 1
    return j + 1


def tokenize(src):
    """Splits C++ source into tokens (see Token), skipping comments and directives."""
    tokens = []
    i, n, line = 0, len(src), 1
    line_start = True  # only whitespace since the last newline
    cond_depth = 0
    space = True
    while i < n:
        c = src[i]
        if c == "\n":
            line += 1
            line_start, space = True, True
            i += 1
            continue
        if c in " \t\r\f\v":
            space = True
            i += 1
            continue
        if src.startswith("//", i):
            while i < n and src[i] != "\n":
                i += 1
            space = True
            continue
        if src.startswith("/*", i):
            close = src.find("*/", i + 2)
            end = n if close < 0 else close + 2
            line += src.count("\n", i, end)
            i, space = end, True
            continue
        if c == "#" and line_start:
            end, name = _skip_directive(src, i)
            line += src.count("\n", i, end)
            if name in ("if", "ifdef", "ifndef"):
                cond_depth += 1
            elif name == "endif":
                cond_depth = max(0, cond_depth - 1)
            i, space = end, True
            continue
        line_start = False
        start = i
        kind = None
        m = IDENT.match(src, i)
        if m:
            word = m.group(0)
            if word in STRING_PREFIXES and i + len(word) < n and src[i + len(word)] in "\"'":
                kind, i = "str", _string_end(src, i, len(word))
            else:
                kind, i = "id", m.end()
        elif c in "\"'":
            kind, i = "str", _string_end(src, i, 0)
        elif c.isdigit() or (c == "." and i + 1 < n and src[i + 1].isdigit()):
            kind, i = "num", NUMBER.match(src, i).end()
        else:
            for p in PUNCTUATORS:
                if src.startswith(p, i):
                    kind, i = "op", i + len(p)
                    break
            else:
                kind, i = "op", i + 1  # a stray character: keep going
        tok = Token(kind, src[start:i], start, i, line)
        line += src.count("\n", start, i)  # raw strings may span lines
        tok.space_before = space
        tok.in_cond = cond_depth > 0
        if tokens:
            tokens[-1].space_after = space
        tokens.append(tok)
        space = False
    if tokens:
        tokens[-1].space_after = True
    _pair_brackets(tokens)
    _pair_templates(tokens)
    return tokens


def _pair_brackets(tokens):
    stack = []
    closers = {")": "(", "]": "[", "}": "{"}
    for i, t in enumerate(tokens):
        if t.kind != "op":
            continue
        if t.text in ("(", "[", "{"):
            stack.append(i)
        elif t.text in closers:
            # Unbalanced text (a half-written file) pairs what it can.
            while stack and tokens[stack[-1]].text != closers[t.text]:
                stack.pop()
            if stack:
                j = stack.pop()
                tokens[j].match, t.match = i, j


_TEMPLATE_STOP = {";", "{", "}", "&&", "||", "?", "==", "!=", "<=", ">=", "=", "+=", "-="}


def _pair_templates(tokens):
    """Marks the angle brackets of template arguments: a `<` written against a name (as
    clang-format writes `std::min<int>`), or after `template`, closed by a `>` (or half of a
    `>>`) before anything that cannot stand in template arguments."""
    for i, t in enumerate(tokens):
        if t.text != "<" or t.kind != "op" or i == 0 or t.template:
            continue
        prev = tokens[i - 1]
        if not (prev.text == "template" or (prev.kind == "id" and not t.space_before)):
            continue
        if i >= 2 and tokens[i - 2].text == "operator":
            continue
        depth, j = 1, i + 1
        opened = [i]
        while j < len(tokens):
            u = tokens[j]
            if u.kind == "op":
                if u.text in _TEMPLATE_STOP:
                    break
                if u.text in ("(", "[") and u.match is not None:
                    j = u.match + 1
                    continue
                if u.text in (")", "]"):
                    break
                if u.text == "<" and tokens[j - 1].kind == "id" and not u.space_before:
                    depth += 1
                    opened.append(j)
                elif u.text in (">", ">>"):
                    closes = 1 if u.text == ">" else 2
                    for _ in range(min(closes, depth)):
                        k = opened.pop()
                        tokens[k].template = True
                        tokens[k].match = j
                        u.match = k
                    u.template = True
                    depth -= closes
                    if depth <= 0:
                        break
            j += 1
