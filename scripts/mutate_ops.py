"""The mutation operators: where each applies in a C++ file and what it writes there.

The operators (their short names appear in every report line):
  rel    a relational operator changed: < to <= and >=, == to != and so on
  log    && and || swapped
  neg    the condition of an if, while or for negated: if (x) -> if (!(x))
  const  an integer literal plus or minus one
  stmt   an expression statement (a call, an assignment, ++n) removed
  ret    a returned value replaced: !(X) for bool functions, {} for other values
  arith  one operand of a binary +, - or * dropped

Binary operators are recognised by the spaces clang-format puts around them (`a < b`, while a
template's `<` and a pointer's `*` touch a neighbour), so the operators rely on formatted code.
Nothing inside comments, literals, directives, #if blocks, template arguments, static_assert,
assert or attributes is mutated.
"""

import bisect
import re

from mutate_lex import INTEGER, tokenize
from mutate_scan import Analysis

OPERATORS = ("rel", "log", "neg", "const", "stmt", "ret", "arith")
REL_SWAPS = {"<": ("<=", ">="), "<=": ("<", ">"), ">": (">=", "<="), ">=": (">", "<"),
             "==": ("!=",), "!=": ("==",)}
# Statements starting with these are not expression statements.
NOT_EXPRESSION = set("""return break continue goto throw case default using typedef static_assert
    co_return co_yield co_await else do if for while switch try catch const constexpr consteval
    static thread_local auto volatile struct class union enum namespace template typename extern
    inline unsigned signed int long short char bool float double void asm friend
    public private protected""".split())
ASSIGNMENTS = {"=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>="}
# Precedence of the binary operators, written with spaces around them; higher binds tighter.
PRECEDENCE = {"*": 13, "/": 13, "%": 13, "+": 12, "-": 12, "<<": 11, ">>": 11, "<=>": 10,
              "<": 9, "<=": 9, ">": 9, ">=": 9, "==": 8, "!=": 8, "&": 7, "^": 6, "|": 5,
              "&&": 4, "||": 3}
STOP_WORDS = {"return", "case", "throw", "co_return", "co_yield", "else", "do"}


class Mutant:
    def __init__(self, path, op, line, edits, original, mutated):
        self.path = path
        self.op = op
        self.line = line
        self.edits = edits  # [(start, end, replacement)], sorted, not overlapping
        self.original = original  # the source lines touched, whitespace collapsed
        self.mutated = mutated  # the same lines mutated

    def key(self):
        """Identifies the mutant across edits elsewhere in the file (line numbers shift)."""
        return (self.path, self.op, self.original, self.mutated)

    def describe(self):
        return f"{self.path}:{self.line}: [{self.op}] {self.original} → {self.mutated}"

    def apply(self, src):
        out, pos = [], 0
        for start, end, text in self.edits:
            out += [src[pos:start], text]
            pos = end
        out.append(src[pos:])
        return "".join(out)


def _is_binary(tok):
    return tok.kind == "op" and tok.space_before and tok.space_after and not tok.template


class _Generator:
    def __init__(self, path, src):
        self.path, self.src = path, src
        self.toks = tokenize(src)
        self.an = Analysis(self.toks)
        self.line_starts = [0] + [m.end() for m in re.finditer("\n", src)]
        self.line_code = {}  # line -> (start of its first token, end of its last)
        for t in self.toks:
            lo, hi = self.line_code.get(t.line, (t.start, t.end))
            self.line_code[t.line] = (min(lo, t.start), max(hi, t.end))
        self.mutants = []
        self.seen = set()

    def _line_of(self, offset):
        return bisect.bisect_right(self.line_starts, offset)

    def add(self, op, edits):
        edits = sorted(edits)
        key = tuple(edits)
        if key in self.seen:
            return
        self.seen.add(key)
        src = self.src
        first, last = edits[0][0], edits[-1][1]
        # The code of the lines touched, from their first token to their last: no comment
        # at the end of a line.
        lo = self.line_code[self._line_of(first)][0]
        hi = max(last, self.line_code[self._line_of(max(first, last - 1))][1])
        original = " ".join(src[lo:hi].split())
        mutated_region = Mutant(self.path, op, 0, [(s - lo, e - lo, x) for s, e, x in edits],
                                "", "").apply(src[lo:hi])
        mutated = " ".join(mutated_region.split()) or "(removed)"
        self.mutants.append(Mutant(self.path, op, self._line_of(first), edits, original,
                                   mutated))

    def usable(self, i):
        return not self.an.excluded[i]

    def run(self):
        toks = self.toks
        for i, t in enumerate(toks):
            if not self.usable(i):
                continue
            prev = toks[i - 1].text if i else ""
            if t.kind == "op" and _is_binary(t) and prev != "operator":
                if t.text in REL_SWAPS:
                    for new in REL_SWAPS[t.text]:
                        self.add("rel", [(t.start, t.end, new)])
                elif t.text in ("&&", "||"):
                    self.add("log", [(t.start, t.end, "||" if t.text == "&&" else "&&")])
                elif t.text in ("+", "-", "*"):
                    self._arith(i)
            elif t.kind == "num":
                self._const(i)
            elif t.kind == "id" and t.text in ("if", "while", "for") and self.an.block[i]:
                self._negate(i)
        for first, semi, braceless in self.an.statements:
            self._statement(first, semi, braceless)
        for ret, semi, kind in self.an.returns:
            self._return(ret, semi, kind)
        self.mutants.sort(key=lambda m: (m.edits[0][0], OPERATORS.index(m.op), m.mutated))
        return self.mutants

    def _const(self, i):
        toks = self.toks
        t = toks[i]
        m = INTEGER.match(t.text)
        if not m:
            return
        if 2 <= i < len(toks) - 1 and toks[i - 1].text == "[" and toks[i + 1].text == "]" and \
                toks[i - 2].kind == "id" and i >= 3 and toks[i - 3].kind == "id" and \
                toks[i - 3].text not in STOP_WORDS | {"new", "delete"}:
            return  # an array's bound where it is declared (`int32_t env[3]`)
        digits, suffix = m.group(1).replace("'", ""), m.group(2)
        if digits[:2].lower() in ("0x", "0b"):
            value = int(digits, 0)
        else:
            value = int(digits, 8 if len(digits) > 1 and digits[0] == "0" else 10)
        for new in (value + 1, value - 1):
            if new < 0 and "u" in suffix.lower():
                continue
            if digits[:2].lower() == "0x":
                hex_digits = digits[2:]
                text = f"{abs(new):0{len(hex_digits)}{'x' if hex_digits.islower() else 'X'}}"
                text = f"{'-' if new < 0 else ''}{digits[:2]}{text}"
            else:
                text = str(new)
            text += suffix
            if new < 0 and self.toks[i - 1].text in ("-", "+", "--", "++"):
                text = f"({text})"
            self.add("const", [(t.start, t.end, text)])

    def _negate(self, i):
        toks = self.toks
        if i + 1 >= len(toks) or toks[i + 1].text != "(" or toks[i + 1].match is None:
            return  # `if constexpr` is decided while compiling: left alone
        open_, close = i + 1, toks[i + 1].match
        semis = [k for k in range(open_ + 1, close) if toks[k].text == ";" and
                 self._depth_zero(open_, k)]
        if toks[i].text == "for":
            if len(semis) != 2:
                return  # a range-for
            first, last = semis[0] + 1, semis[1] - 1
        else:
            first, last = (semis[-1] + 1 if semis else open_ + 1), close - 1
        if first > last:
            return
        if any(toks[k].text == "=" and self._depth_zero(open_, k) for k in range(first, last)):
            return  # a declaration as the condition
        self.add("neg", [(toks[first].start, toks[first].start, "!("),
                         (toks[last].end, toks[last].end, ")")])

    def _depth_zero(self, open_, k):
        """Whether token k lies directly inside the parentheses opened at open_."""
        j = open_ + 1
        while j < k:
            m = self.toks[j].match
            if self.toks[j].text in ("(", "[", "{") and m is not None:
                if m >= k:
                    return False
                j = m
            j += 1
        return True

    def _statement(self, first, semi, braceless):
        toks = self.toks
        t = toks[first]
        if t.text in NOT_EXPRESSION or any(self.an.excluded[k] for k in range(first, semi)):
            return
        if t.kind not in ("id", "op") or (t.kind == "op" and t.text not in ("++", "--", "*",
                                                                              "(", "::")):
            return
        k = first + 1 if t.text == "emit" else first
        if toks[k].kind == "id":
            # A qualified name with its template arguments followed by a name, or by & or *
            # written against it and a name: a declaration.
            name_ended = False
            while k < semi:
                u = toks[k]
                if u.kind == "id":
                    if name_ended:
                        return  # `Type name`
                    name_ended = True
                elif u.text == "::":
                    name_ended = False
                elif u.template and u.text == "<" and u.match is not None:
                    k, name_ended = u.match, True
                else:
                    break
                k += 1
            if k + 1 < semi and toks[k].text in ("&", "*", "&&") and not toks[k].space_before \
                    and toks[k + 1].kind == "id":
                return
        texts = {toks[j].text for j in range(first, semi)}
        if not texts & ({"(", "++", "--", "<<", "delete"} | ASSIGNMENTS):
            return  # no visible effect to remove
        self.add("stmt", [(t.start, toks[semi].end, "{}" if braceless else "")])

    def _return(self, ret, semi, kind):
        toks = self.toks
        if semi == ret + 1 or any(self.an.excluded[k] for k in range(ret, semi)):
            return
        first, last = toks[ret + 1], toks[semi - 1]
        value = [toks[k].text for k in range(ret + 1, semi)]
        span = (first.start, last.end)
        boolean = any(w in ("<", "<=", ">", ">=", "==", "!=", "&&", "||") and
                      _is_binary(toks[ret + 1 + k]) for k, w in enumerate(value)) or \
            value[0] == "!" or value in (["true"], ["false"])
        if kind == "bool" or (kind in ("auto", None) and boolean):
            if value in (["true"], ["false"]):
                new = "false" if value == ["true"] else "true"
            else:
                new = f"!({self.src[span[0]:span[1]]})"
            self.add("ret", [(span[0], span[1], new)])
        elif kind == "value" and value not in (["{", "}"], ["0"], ["nullptr"], ["0.0"], ['""']):
            self.add("ret", [(span[0], span[1], "{}")])

    def _arith(self, i):
        toks = self.toks
        prec = PRECEDENCE[toks[i].text]
        left = self._operand(i, -1, prec)
        right = self._operand(i, +1, prec)
        if left is None or right is None:
            return
        lo, hi = toks[left].start, toks[right].end
        self.add("arith", [(lo, hi, self.src[lo:toks[i - 1].end])])
        self.add("arith", [(lo, hi, self.src[toks[i + 1].start:hi])])

    def _operand(self, i, step, prec):
        """The index of the far end of the operand of the binary operator at i, on the left
        (step -1) or the right (+1), or None when it cannot be told."""
        toks = self.toks
        k = i + step
        end = None
        while 0 <= k < len(toks):
            t = toks[k]
            opening = ("(", "[", "{") if step > 0 else (")", "]", "}")
            if (t.text in opening or (t.template and t.text in ("<", ">"))) and \
                    t.match is not None and (t.match - k) * step > 0:
                end = t.match
                k = t.match + step
                continue
            if t.kind == "op":
                if t.text in ("(", "[", "{", ")", "]", "}", ";", ",", "?", ":") or \
                        t.text in ASSIGNMENTS:
                    break
                p = PRECEDENCE.get(t.text)
                if p is not None and _is_binary(t) and (p < prec or (step > 0 and p == prec)):
                    break
            elif t.kind == "id" and t.text in STOP_WORDS:
                break
            end = k
            k += step
        return end


def generate(path, src):
    """All mutants of one file's source text, in source order."""
    return _Generator(path, src).run()
