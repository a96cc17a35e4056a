"""The structure of a C++ file that the mutation operators need, from its tokens: which
tokens lie in code that no mutant touches (#if blocks, template arguments, static_assert,
assert, attributes), which lie in a function's body, the expression statements and the return
statements, and what kind of value each function returns.

Braces are classified as they open: a block of code (a function's or lambda's body, a control
statement's), a class or enum body, a namespace, or a braced initialiser; statements are only
looked for in blocks of code.
"""

CONTROL = ("if", "for", "while", "switch")
SPECIFIERS = {"static", "inline", "constexpr", "consteval", "constinit", "virtual", "explicit",
              "friend", "extern"}
EXCLUDING_CALLS = {"static_assert", "assert", "alignas", "decltype", "sizeof", "alignof"}
LABELS = ("case", "default", "public", "private", "protected")


class _Scope:
    __slots__ = ("kind", "stmt_start", "depth", "ret")

    def __init__(self, kind, stmt_start, depth, ret):
        self.kind = kind  # "block" (code), "class", "ns" or "init" (a braced initialiser)
        self.stmt_start, self.depth = stmt_start, depth  # the statement under way
        self.ret = ret  # the enclosing function's return kind: bool, void, ref, auto, value


class Analysis:
    """One pass over a file's tokens: excluded tokens, statements and returns."""

    def __init__(self, toks):
        self.toks = toks
        n = len(toks)
        self.excluded = [t.in_cond for t in toks]
        self.block = [False] * n  # inside a code block (a function or lambda body)
        self.statements = []  # (first, semicolon, braceless)
        self.returns = []  # (return index, semicolon, return kind)
        self._exclude_regions()
        self._walk()

    def _exclude_regions(self):
        toks = self.toks
        for i, t in enumerate(toks):
            end = None
            if t.text in EXCLUDING_CALLS and i + 1 < len(toks) and toks[i + 1].text == "(":
                end = toks[i + 1].match
            elif t.template and t.text == "<" and t.match is not None:
                end = t.match
            elif t.text == "[" and i + 1 < len(toks) and toks[i + 1].text == "[":
                end = t.match
            if end is not None:
                for k in range(i, end + 1):
                    self.excluded[k] = True

    def _scope_kind(self, i, start, depth, outer):
        toks = self.toks
        prev = toks[i - 1].text if i else ""
        head = [t.text for t in toks[start:i]]
        if outer.kind == "init":
            return "block" if prev in (")", "mutable", "]") else "init"
        if depth > 0:  # braces inside parentheses: a lambda's body or an initialiser
            return "block" if prev in (")", "mutable", "]") or self._trailing_type(start, i) \
                else "init"
        while head and head[0] in ("template", "typedef"):
            head = _after_template(head)
        if "namespace" in head or (head and head[0] == "extern"):
            return "ns"
        if head and head[0] in ("class", "struct", "union", "enum"):
            return "class"
        if prev in ("=", ",", "return", "(", "?") or (toks[i - 1].kind == "op" and prev not in (
                ")", "]", ";", "{", "}", ":", ">")):
            return "init"
        if toks[i - 1].kind in ("id", "num") and prev not in ("else", "do", "try", "const",
                                                              "noexcept", "override", "final",
                                                              "mutable"):
            return "block" if "(" in head else "init"
        return "block"

    def _trailing_type(self, start, i):
        texts = [t.text for t in self.toks[start:i]]
        return "->" in texts

    def _lambda_kind(self, start, i):
        texts = [t.text for t in self.toks[start:i]]
        if "->" in texts:
            return classify_type(texts[len(texts) - texts[::-1].index("->"):])
        return "auto"

    def _return_kind(self, start, i, outer):
        """The return kind of the function whose body opens at token i, or the enclosing
        function's for a control block."""
        toks = self.toks
        head = toks[start:i]
        if toks[i - 1].text in ("]", "mutable"):
            return self._lambda_kind(start, i)
        if not head or head[0].text in CONTROL + ("else", "do", "try", "catch") or \
                toks[i - 1].text in ("else", "do", "try"):
            return outer.ret
        open_paren = None
        k = 0
        while k < len(head):
            t = head[k]
            if t.template and t.match is not None:
                k = t.match - start + 1
                continue
            if t.text == "(":
                open_paren = k
                break
            k += 1
        if open_paren is None or head[open_paren].match is None:
            return outer.ret
        close = head[open_paren].match - start
        texts = [t.text for t in head]
        if "->" in texts[close:]:
            return classify_type(texts[texts.index("->", close) + 1:])
        if open_paren > 0 and texts[open_paren - 1] == "]":
            return "auto"  # a lambda without a trailing return type
        name = open_paren - 1
        if name >= 1 and texts[name - 1] == "operator":
            name -= 1
        while name >= 2 and texts[name - 1] == "::":
            name -= 2
        if name >= 1 and texts[name - 1] == "~":
            name -= 1
        return classify_type(texts[:max(name, 0)])

    def _walk(self):
        toks = self.toks
        scope = _Scope("ns", 0, 0, None)
        stack = []
        braceless_at = -1
        i = 0
        while i < len(toks):
            t = toks[i]
            self.block[i] = scope.kind == "block"
            text = t.text if t.kind in ("op", "id") else None
            if text == "{":
                kind = self._scope_kind(i, scope.stmt_start, scope.depth, scope)
                ret = scope.ret
                if kind == "block" and scope.depth == 0:
                    ret = self._return_kind(scope.stmt_start, i, scope)
                elif kind == "block":
                    ret = self._lambda_kind(scope.stmt_start, i)
                stack.append(scope)
                scope = _Scope(kind, i + 1, 0, ret)
            elif text == "}":
                if stack:
                    inner, scope = scope, stack.pop()
                    if inner.kind != "init" and scope.depth == 0:
                        scope.stmt_start = i + 1
            elif text in ("(", "["):
                scope.depth += 1
            elif text in (")", "]"):
                scope.depth -= 1
                if text == ")" and scope.depth == 0 and t.match is not None:
                    kw = t.match - 1
                    if kw >= 0 and toks[kw].text == "constexpr":
                        kw -= 1
                    if kw >= scope.stmt_start and toks[kw].text in CONTROL and i + 1 < len(
                            toks) and toks[i + 1].text not in ("{", ";"):
                        scope.stmt_start = braceless_at = i + 1
            elif text in ("else", "do") and t.kind == "id":
                scope.stmt_start = i + 1
                if i + 1 < len(toks) and toks[i + 1].text not in ("{", "if"):
                    braceless_at = i + 1
            elif text == ":" and scope.depth == 0 and scope.stmt_start < len(toks) and \
                    toks[scope.stmt_start].text in LABELS:
                scope.stmt_start = i + 1
            elif text == ";" and scope.depth == 0:
                first = scope.stmt_start
                if scope.kind == "block" and first < i:
                    if toks[first].text == "return":
                        self.returns.append((first, i, scope.ret))
                    else:
                        self.statements.append((first, i, first == braceless_at))
                scope.stmt_start = i + 1
            i += 1


def _after_template(head):
    """The words after a leading `template <...>` or `typedef`."""
    if head[0] == "typedef":
        return head[1:]
    depth = 0
    for k, w in enumerate(head[1:], 1):
        depth += {"<": 1, ">": -1, ">>": -2}.get(w, 0)
        if depth <= 0 and w in (">", ">>"):
            return head[k + 1:]
    return []


def classify_type(texts):
    # Attributes, access labels and a template head are not part of the type.
    for mark in ("]", ":"):
        if mark in texts:
            texts = texts[len(texts) - texts[::-1].index(mark):]
    while texts and texts[0] == "template":
        texts = _after_template(texts)
    texts = [w for w in texts if w not in SPECIFIERS]
    if not texts:
        return "void"
    if texts[-1] in ("&", "&&"):
        return "ref"
    if texts == ["void"]:
        return "void"
    if texts in (["bool"], ["const", "bool"]):
        return "bool"
    if texts[0] in ("auto", "decltype"):
        return "auto"
    return "value"
