#!/usr/bin/env python3
"""check_version.py on headers that differ only in their version: one table, each row the two macros and the
finding expected (None: none)."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_version  # noqa: E402

ROWS = [
    ("1,10,0,0", "1.10.0.0", None),
    ("2,0,3,0", "2.0.3.0", None),
    ("1,10,0,1", "1.10.0.1", "the fourth field must be 0"),
    ("1,10,0,1", "1.10.0.0", "is not OPTIVUE_VERSION_NUMBERS 1.10.0.1"),
    ("1,10,0,0", "1.10.1.0", "is not OPTIVUE_VERSION_NUMBERS 1.10.0.0"),
    ("1,10,0", "1.10.0", "is not four numbers"),
    ("1,70000,0,0", "1.70000.0.0", "is not four numbers"),
    ("255,255,65535,0", "255.255.65535.0", None),
    ("256,0,0,0", "256.0.0.0", "the first two fields must be at most 255"),
    ("1,256,0,0", "1.256.0.0", "the first two fields must be at most 255"),
]


class CheckVersionTest(unittest.TestCase):
    def test_each_row(self):
        for numbers, text, expected in ROWS:
            with self.subTest(numbers=numbers, text=text):
                header = (f"#define OPTIVUE_PRODUCT_NAME \"Optivue\"\n#define OPTIVUE_VERSION_NUMBERS {numbers}\n"
                          f"#define OPTIVUE_VERSION_TEXT \"{text}\"\n")
                problems = check_version.findings(header)
                if expected is None:
                    self.assertEqual([], problems)
                else:
                    self.assertTrue(any(expected in p for p in problems), problems)


if __name__ == "__main__":
    unittest.main()
