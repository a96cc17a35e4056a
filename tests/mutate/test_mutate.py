"""Tests of the mutation tool's generator (scripts/mutate_ops.py) and of the parts of its runner
that decide what a run means: the equivalent list and the restored file's time."""

import os
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
import mutate  # noqa: E402
from mutate_ops import generate  # noqa: E402
from mutate_run import ctest_selection, write_source  # noqa: E402


def body(code):
    return "void Test(int a, int b, int c) {\n" + code + "\n}\n"


def mutated(src, op):
    """The whole mutated sources that operator op makes of src, whitespace collapsed."""
    return sorted(" ".join(m.apply(src).split()) for m in generate("t.cpp", src) if m.op == op)


def flat(src):
    return " ".join(src.split())


# (what, source, operator, the mutated sources expected; every other is a fault)
CASES = [
    ("a comparison gets its boundary moved and negated",
     body("if (a < b) c = 1;"), "rel",
     [body("if (a <= b) c = 1;"), body("if (a >= b) c = 1;")]),
    ("equality flips", body("c = a == b;"), "rel", [body("c = a != b;")]),
    ("greater-or-equal", body("c = a >= b;"), "rel", [body("c = a > b;"), body("c = a < b;")]),
    ("template arguments, casts and the template head are no comparisons",
     "template <typename T>\nT Max(T x) { return std::max<T>(x, static_cast<T>(1)); }\n", "rel",
     []),
    ("nested template arguments closed by >>",
     body("std::vector<std::vector<int>> v;\nc = a > b;"), "rel",
     [body("std::vector<std::vector<int>> v;\nc = a >= b;"),
      body("std::vector<std::vector<int>> v;\nc = a <= b;")]),
    ("-> << and >> are left alone", body("c = p->x << 2 >> a;"), "rel", []),
    ("&& and || swap", body("c = a && b || c;"), "log",
     [body("c = a || b || c;"), body("c = a && b && c;")]),
    ("an rvalue reference is no logical and", "void F(Foo&& x, int&& y);\n", "log", []),
    ("an if's condition is negated", body("if (a > 1)\n    c = 2;"), "neg",
     [body("if (!(a > 1))\n    c = 2;")]),
    ("while and a for's condition", body("while (a) --a;\nfor (int i = 0; i < b; ++i) {}"),
     "neg", [body("while (!(a)) --a;\nfor (int i = 0; i < b; ++i) {}"),
             body("while (a) --a;\nfor (int i = 0; !(i < b); ++i) {}")]),
    ("an if with an initialiser negates only the condition", body("if (int k = a; k < b) c = k;"),
     "neg", [body("if (int k = a; !(k < b)) c = k;")]),
    ("declarations as conditions, range-for and if constexpr are not negated",
     body("if (auto* p = Find(a)) c = 1;\nfor (int x : xs) c += x;\nif constexpr (kOn) c = 2;"),
     "neg", []),
    ("an integer moves by one", body("c = 41;"), "const", [body("c = 40;"), body("c = 42;")]),
    ("hex and suffixes are kept, digit separators read", body("c = 0x1F + 1'000u;"), "const",
     [body("c = 0x1E + 1'000u;"), body("c = 0x1F + 1001u;"), body("c = 0x1F + 999u;"),
      body("c = 0x20 + 1'000u;")]),
    ("an unsigned zero does not go negative", body("c = 0u;"), "const", [body("c = 1u;")]),
    ("a hex literal keeps its width and case", body("c = 0x00ff;"), "const",
     [body("c = 0x00fe;"), body("c = 0x0100;")]),
    ("an index moves, a declared array's bound does not",
     "int F(const int v[3]) {\n    int w[2] = {};\n    return v[2] + w[0];\n}\n", "const",
     ["int F(const int v[3]) {\n    int w[2] = {};\n    return v[1] + w[0];\n}\n",
      "int F(const int v[3]) {\n    int w[2] = {};\n    return v[3] + w[0];\n}\n",
      "int F(const int v[3]) {\n    int w[2] = {};\n    return v[2] + w[-1];\n}\n",
      "int F(const int v[3]) {\n    int w[2] = {};\n    return v[2] + w[1];\n}\n"]),
    ("floats, template arguments and static_assert are left alone",
     body("std::array<int, 3> x{};\nstatic_assert(sizeof(int) == 4);\ndouble d = 1.5e3;"),
     "const", []),
    ("a call, an increment and an assignment are removed",
     body("Update(a);\n++c;\nmodel.Value = b;"), "stmt",
     [body("\n++c;\nmodel.Value = b;"), body("Update(a);\n\nmodel.Value = b;"),
      body("Update(a);\n++c;\n")]),
    ("a braceless body becomes an empty block", body("if (a)\n    Update(b);"), "stmt",
     [body("if (a)\n    {}")]),
    ("declarations, returns and plain expressions stay",
     body("int x = Get(a);\nconst Foo& r = foo;\nFoo* p = Make();\nstd::vector<int> v(3);\n"
          "return;\na + b;"), "stmt", []),
    ("a bool function's result is negated",
     "bool Less(int a, int b) { return a < b; }\nbool Yes() { return true; }\n", "ret",
     ["bool Less(int a, int b) { return !(a < b); }\nbool Yes() { return true; }\n",
      "bool Less(int a, int b) { return a < b; }\nbool Yes() { return false; }\n"]),
    ("a value becomes {} unless it already is the zero value",
     "int Sum(int a) { return a + 1; }\nint Zero() { return 0; }\n"
     "std::string Name() { return \"\"; }\n", "ret",
     ["int Sum(int a) { return {}; }\nint Zero() { return 0; }\n"
      "std::string Name() { return \"\"; }\n"]),
    ("a template function's return type is read past its template head",
     "template <typename T>\nstd::vector<T> Copy(T a) { return {a}; }\n"
     "template <typename T>\nbool Has(T a) { return a.ok; }\n", "ret",
     ["template <typename T>\nstd::vector<T> Copy(T a) { return {}; }\n"
      "template <typename T>\nbool Has(T a) { return a.ok; }\n",
      "template <typename T>\nstd::vector<T> Copy(T a) { return {a}; }\n"
      "template <typename T>\nbool Has(T a) { return !(a.ok); }\n"]),
    ("references and void functions keep their returns",
     "const Foo& Get() { return foo_; }\nvoid Stop() { return; }\n", "ret", []),
    ("a member function after an access label is seen as returning bool",
     "class X {\npublic:\n    bool Empty() const { return n_ == 0; }\n};\n", "ret",
     ["class X {\npublic:\n    bool Empty() const { return !(n_ == 0); }\n};\n"]),
    ("each operand of + and * is dropped at its precedence", body("c = a + b * c;"), "arith",
     [body("c = a + b;"), body("c = a + c;"), body("c = a;"), body("c = b * c;")]),
    ("operands stop at commas and parentheses", body("F(a - b, c);"), "arith",
     [body("F(a, c);"), body("F(b, c);")]),
    ("unary minus, dereference and pointer declarations are no binary operators",
     body("int* p = &a;\nc = -*p;"), "arith", []),
]

SKIPPED = [
    ("comments", body("// if (a < b) Update(a + 1);\n/* c = a && b; */")),
    ("string and character literals", body('Log("a < b && c + 1");\nchar q = \'<\';')),
    ("raw strings", body('Log(R"x(if (a < b) return 1;)x");')),
    ("preprocessor lines", "#include <vector>\n#define LIMIT (1 + 2)\n#pragma once\n"),
    ("code in #if blocks", "#if defined(X)\n" + body("if (a < b) Update(a + 1);") + "#endif\n"),
]


class GeneratorTest(unittest.TestCase):
    def test_operators(self):
        for what, src, op, expected in CASES:
            with self.subTest(what):
                self.assertEqual(mutated(src, op), sorted(flat(e) for e in expected))

    def test_nothing_is_mutated_in_skipped_text(self):
        for what, src in SKIPPED:
            with self.subTest(what):
                made = [m.describe() for m in generate("t.cpp", src)
                        if m.op != "stmt" or "Log" not in m.original]
                self.assertEqual(made, [])

    def test_report_line_names_the_line_and_both_versions(self):
        src = "int F(int a) {\n    return a + 1; // one more\n}\n"
        lines = {m.describe() for m in generate("model/f.cpp", src)}
        self.assertIn("model/f.cpp:2: [const] return a + 1; → return a + 2;", lines)


class EquivalentListTest(unittest.TestCase):
    def test_entry_matches_the_mutant_after_the_line_moved(self):
        src = "int F(int a) {\n    return a * 1;\n}\n"
        moved = "// a comment above\n\n" + src
        wanted = [m for m in generate("model/f.cpp", src) if m.mutated == "return a;"]
        self.assertEqual(len(wanted), 1)
        with tempfile.TemporaryDirectory() as d:
            path = Path(d) / "list.txt"
            path.write_text("# header\n\n" + wanted[0].describe() + "  # times one\n")
            entries = mutate.load_equivalents(path)
        matches = [m for m in generate("model/f.cpp", moved) if m.key() in entries]
        self.assertEqual([m.line for m in matches], [4])
        self.assertEqual(entries[matches[0].key()], (3, "times one"))

    def test_entry_without_reason_is_refused(self):
        with tempfile.TemporaryDirectory() as d:
            path = Path(d) / "list.txt"
            path.write_text("model/f.cpp:2: [const] return a; → return 1;\n")
            with self.assertRaises(SystemExit):
                mutate.load_equivalents(path)


class RunnerTest(unittest.TestCase):
    def test_restored_file_is_newer_than_the_last_build(self):
        # Ninja rebuilds only inputs newer than their outputs: a restored file stamped with
        # its old time, or no later than a fast build's last step, would keep the mutant's
        # object file.
        with tempfile.TemporaryDirectory() as d:
            build = Path(d) / "build"
            build.mkdir()
            log = build / ".ninja_log"
            log.write_text("")
            future = time.time_ns() + 5_000_000_000
            os.utime(log, ns=(future, future))
            source = Path(d) / "a.cpp"
            write_source(source, b"int x;\n", build)
            self.assertGreater(source.stat().st_mtime_ns, future)
            self.assertEqual(source.read_bytes(), b"int x;\n")

    def test_ctest_selection_runs_exactly_the_named_tests(self):
        names = ["A.b", "A.c", "Golden/x (1)", "gui_tests"]
        self.assertEqual(ctest_selection(names, names), [])
        self.assertEqual(ctest_selection(["gui_tests"], names), ["-R", "^(gui_tests)$"])
        self.assertEqual(ctest_selection(names[:3], names), ["-E", "^(gui_tests)$"])
        self.assertEqual(ctest_selection(["Golden/x (1)"], names),
                         ["-R", r"^(Golden/x \(1\))$"])


if __name__ == "__main__":
    unittest.main()
