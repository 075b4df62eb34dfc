"""Checks of the site finder: python3 -m unittest discover tools/mutate"""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from sites import find_sites, mutant_text  # noqa: E402


def ops(src):
    return [(s.text, s.op) for s in find_sites("f.cpp", src)]


class SkippedText(unittest.TestCase):
    def test_comments_strings_and_preprocessor_lines_hold_no_site(self):
        src = '''#include <vector>
#define LIMIT (a < 3 && b > 4)
// x < 1 && true
/* y == 2 */
void f() { log("a < 1 && true"); }
'''
        self.assertEqual(ops(src), [])

    def test_template_brackets_are_not_comparisons(self):
        src = "bool f(long v) { return v < static_cast<long long>(1) && v > 0; }\n"
        cmps = [op for _, op in ops(src) if op.startswith("cmp")]
        self.assertEqual(sorted(set(cmps)), ["cmp < <=", "cmp < >=", "cmp > <=", "cmp > >="])

    def test_arrows_and_shifts_are_left_alone(self):
        src = "void f(S* p) { p->x = p->y >> 2; }\n"
        self.assertNotIn("cmp", " ".join(op for _, op in ops(src)))

    def test_array_sizes_of_parameters_are_not_literals_to_move(self):
        src = "void f(int out[4]) { out[3] = 0; }\n"
        self.assertNotIn("int 4 5", [op for _, op in ops(src)])
        self.assertIn("int 3 4", [op for _, op in ops(src)])


class Drops(unittest.TestCase):
    def test_assignments_drop_but_declarations_do_not(self):
        src = "void f(int* v) {\n  int a = 1;\n  *v = a;\n  a += 2;\n  Text t = g();\n}\n"
        drops = [text for text, op in ops(src) if op == "drop assign"]
        self.assertEqual(drops, ["*v = a;", "a += 2;"])

    def test_the_last_return_of_a_function_stays(self):
        src = "int f(int a) {\n  if (a) return 1;\n  return 2;\n}\n"
        self.assertEqual([text for text, op in ops(src) if op == "drop return"], ["if (a) return 1;"])

    def test_a_return_after_a_case_label_drops(self):
        src = "void f(int a) {\n  switch (a) {\n    case 1: return;\n    default: break;\n  }\n  g();\n}\n"
        self.assertIn(("case 1: return;", "drop return"), ops(src))

    def test_a_dropped_statement_keeps_the_line_count(self):
        src = "void f(int& a) {\n  a = g(1,\n        2);\n  h();\n}\n"
        site = [s for s in find_sites("f.cpp", src) if s.op == "drop assign"][0]
        self.assertEqual(mutant_text(src, site).count("\n"), src.count("\n"))


class Literals(unittest.TestCase):
    def test_a_literal_moved_below_zero_is_parenthesized(self):
        src = "int f(int a) { return a - 0; }\n"
        site = [s for s in find_sites("f.cpp", src) if s.op == "int 0 -1"][0]
        self.assertIn("a - (-1)", mutant_text(src, site))

    def test_hex_and_suffixes_are_kept(self):
        src = "unsigned f() { return 0xFFu + 10L; }\n"
        names = [op for _, op in ops(src)]
        self.assertIn("int 0xFFu 0x100u", names)
        self.assertIn("int 10L 9L", names)


class Tables(unittest.TestCase):
    def test_only_entries_of_namespace_scope_tables_change_and_directives_stay(self):
        src = 'const Entry table[2] = {\n  {L"%d SOURCE.", 10},\n  {L"<SW>", 5},\n};\nvoid f() { g(L"R x"); }\n'
        tables = [op for _, op in ops(src) if op.startswith("table")]
        self.assertEqual(tables, ["table S s", "table S s"])
        site = [s for s in find_sites("f.cpp", src) if s.op.startswith("table")][0]
        self.assertIn('L"%d sOURCE."', mutant_text(src, site))


class Names(unittest.TestCase):
    def test_a_site_keeps_its_name_when_lines_are_added_elsewhere(self):
        src = "void f(int& a) {\n  a = 1;\n}\n"
        moved = "// a comment\nvoid g();\n\n" + src
        self.assertEqual({s.key for s in find_sites("f.cpp", src)}, {s.key for s in find_sites("f.cpp", moved)})

    def test_identical_lines_are_told_apart_by_occurrence(self):
        src = "void f(bool& a) {\n  a = true;\n  g();\n  a = true;\n}\n"
        keys = [s.key for s in find_sites("f.cpp", src) if s.op == "drop assign"]
        self.assertEqual([k[3] for k in keys], [0, 1])


if __name__ == "__main__":
    unittest.main()
