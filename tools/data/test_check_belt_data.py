#!/usr/bin/env python3
"""The checker passes the generated data and finds each kind of fault planted in a copy.

    python3 tools/data/test_check_belt_data.py
"""

import contextlib
import io
import os
import re
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import build_belt_data  # noqa: E402
import check_belt_data  # noqa: E402

# (what is broken, file, pattern, replacement, text the checker must report)
FAULTS = [
    ("a sprocket without bores", "tandwiel.xml",
     r' *<ROW matserie="120" tanden="12" [^\n]*\n', "", "120/12: sprocket has no bore"),
    ("a gap between temperature bands", "temp_corr_factor.xml",
     r'matcode="PP" temp_vanaf="40"', 'matcode="PP" temp_vanaf="41"', "gap between"),
    ("temperature bands stopping at the maximum", "temp_corr_factor.xml",
     r'temp_vanaf="100" temp_tot="105"', 'temp_vanaf="100" temp_tot="104"',
     "not above the maximum 104"),
    ("a missing friction pair", "wrijving.xml",
     r' *<ROW smering="Z" mat_wrijvings_code="W_ROL"[^\n]*\n', "",
     "no row for lubrication Z, friction code W_ROL"),
    ("a friction pair given twice", "wrijving.xml",
     r'( *<ROW smering="D" mat_wrijvings_code="W_PET"[^\n]*\n)', r"\1\1", "appears twice"),
    ("a raw apostrophe in a value", "product_materiaal.xml",
     r'mat_code="S_PET"', 'mat_code="S_\'PET"', "character reference"),
    ("wheel spacing that misses a load ratio of 0", "mat_wielafstand.xml",
     r'matserie="250" afst_vanaf="-1"', 'matserie="250" afst_vanaf="0"',
     "does not cover a load ratio of 0"),
    ("start-up bands ending at 999 m/min", "opstartfactor.xml",
     r'v2="2147483647"', 'v2="999"', "faster speeds find no start-up factor"),
    ("a pitch diameter that does not fit pitch and teeth", "matserie_tandwiel.xml",
     r'tanden="12" Dp="98.1"', 'tanden="12" Dp="98.6"', "does not match pitch and teeth"),
    ("a field no longer required", "mat.xml",
     r'attrname="mattype" fieldtype="string" WIDTH="15" required="true"',
     'attrname="mattype" fieldtype="string" WIDTH="15"', "declared fields differ"),
    ("a made-up second moment of area", "tandwiel.xml",
     r'boring="40 sq" boormaat="40" Dp="82.2" I="\d+"',
     'boring="40 sq" boormaat="40" Dp="82.2" I="99999"', "not the section"),
    ("a template with nine layout rows", "matinvoer.xml",
     r' *<ROW index="10" temp="20"/>\n', "", "zones rows are not index 1 to 10"),
    ("a template with a value beyond the defaults", "matinvoer.xml",
     r'<ROW bezettingsgraad="100"', '<ROW mattype="ZRN 250 FT PP" bezettingsgraad="100"',
     "mattype is 'ZRN 250 FT PP'"),
    ("a KM4625 guide offered to every chain", "geleiding_materiaal.xml",
     r'(mat_code="S_STEEL"[^\n]*)ind_ket_curve="FALSE"', r'\1ind_ket_curve="TRUE"',
     "would give every chain its curve formula"),
    ("a belt material without speed limits", "mat_snelheid.xml",
     r' *<ROW matcode="PA"[^\n]*\n', "", "0 rows for material PA"),
    ("a decimal comma", "mat.xml", r'steek="12.7"', 'steek="12,7"', "not a valid r8 value"),
    ("a belt whose friction class has no column", "mat.xml",
     r'wrijv_coef_onder="PA"', 'wrijv_coef_onder="PA66"', "PA66 is not a column"),
    ("a key that bears on nothing", "tandwiel.xml",
     r'boring="25 rd"([^\n]*)SH="7" SD="4"', r'boring="25 rd"\1SH="4" SD="4"',
     "SH is not above SD"),
]


class CheckerTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        with contextlib.redirect_stdout(io.StringIO()):
            build_belt_data.main(["--out", self.dir.name])

    def tearDown(self):
        self.dir.cleanup()

    def test_generated_data_passes(self):
        self.assertEqual(check_belt_data.check(self.dir.name), [])

    def test_planted_faults_are_reported(self):
        for what, name, pattern, replacement, expected in FAULTS:
            with self.subTest(what):
                path = os.path.join(self.dir.name, name)
                with open(path, encoding="utf-8") as f:
                    original = f.read()
                broken, n = re.subn(pattern, replacement, original, count=1)
                self.assertEqual(n, 1, f"pattern not found in {name}")
                with open(path, "w", encoding="utf-8") as f:
                    f.write(broken)
                try:
                    problems = check_belt_data.check(self.dir.name)
                finally:
                    with open(path, "w", encoding="utf-8") as f:
                        f.write(original)
                self.assertTrue(any(expected in p for p in problems),
                                f"expected '{expected}' among {problems}")

    def test_missing_file_is_reported(self):
        os.remove(os.path.join(self.dir.name, "support.xml"))
        problems = check_belt_data.check(self.dir.name)
        self.assertTrue(any(p.startswith("support.xml: cannot be read") for p in problems),
                        problems)


if __name__ == "__main__":
    unittest.main()
