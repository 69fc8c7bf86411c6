#!/usr/bin/env python3
"""Checks the delivered language directory taal/.

Language files:
  - every file is a well-formed XML data packet version 2.0 with the expected fields;
  - values hold no character that must be written as a character reference;
  - every language of talen.xml has a file, and every file has the same keys;
  - no text is empty or longer than 255 characters;
  - the format placeholders (%s, %d, %.2f, ...) of a key are the same in every language;
  - menu captions keep exactly one access key, unique within their menu;
  - texts fit the widths that texts.tsv gives for report columns and short fields;
  - no text starts with a lower-case letter that the program cannot capitalise (only a-z are);
  - the warnings a calculation can give at one time fit their 512-character result field;
  - the files say exactly what texts.tsv says (so they were regenerated after an edit).
Unit file:
  - all eleven unit codes, formulas built only from x, numbers, * / + - and parentheses;
  - each pair of formulas, evaluated with the program's formula rules (12-decimal
    intermediate results, its operator precedence), converts with the exact factors and
    round-trips within 1e-9 relative.

Usage: check_taal.py [--taal DIR]   (default: the repository's taal/). Exit status 1 on a fault.
"""

import argparse
import math
import os
import re
import sys
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))

HEADER = '<?xml version="1.0" standalone="yes"?>'
MAX_TEXT = 255

LANGUAGE_FIELDS = [("Taalcode", "string", "50"), ("TaalId", "string", "50"),
                   ("Waarde", "string", "255")]
LIST_FIELDS = [("Taal", "string", "50"), ("Display", "string", "50")]
UNIT_FIELDS = [("eenh_code", "string", "10"), ("metrisch", "string", "20"),
               ("imperial", "string", "20"), ("NaarMetrisch", "string", "100"),
               ("NaarImperial", "string", "100")]

# Items that share one menu (or one menu bar), so their access keys must differ.
# Fixed captions that are no language text are given as they are.
MENUS = {
    "main menu bar": ["S_FILE", "S_LANGUAGE", "S_SIZE"],
    "input window menu bar": ["S_FILE", "S_CLEAR", "S_RESULTS", "S_LANGUAGE", "S_SIZE"],
    "results window menu bar": ["S_FILE", "S_REPORT", "S_GRAPH", "S_LANGUAGE", "S_SIZE"],
    "input window File menu": ["S_FILE_LOAD", "S_SAVE", "S_SAVE_AS", "S_CLOSE"],
    "flexbelt File menu": ["S_FILE_LOAD", "S_SAVE", "S_SAVE_AS", "=&Close"],
    "maintenance File menu": ["S_FILE_LOAD", "S_SAVE", "=&Cancel"],
    "belt Clear menu": ["S_CLEAR_ZONES", "S_RESET_ALL"],
    "chain and flexbelt Clear menu": ["S_CLEAR_LAYOUT", "S_RESET_ALL"],
    "Report menu": ["S_COPY_TEXT_REPORT", "S_PRINT_TEXT_REPORT", "S_SAVE_TEXT_REPORT",
                    "S_ADD_TO_TEXT_REPORT", "S_MAKE_COLUMNAR_REPORT",
                    "S_ADD_TO_COLUMNAR_REPORT", "S_PRINT_TO_PDF"],
    "report window File menu": ["S_PRINT_TEXT_REPORT", "S_PRINT_TO_PDF", "S_CLOSE"],
    "graph menu": ["S_COPY_TO_CLIPBOARD", "S_EXPORT", "S_PRINT", "S_PRINT_TO_PDF"],
}

# Warnings one calculation can give together (the longest choice where two exclude each
# other); each line is followed by CR LF in the 512-character result field.
WARNING_FIELD = 512
WARNING_SETS = {
    "belt": ["S_ONE_ROW_OF_PRODUCTS_ASSUM", "S_LONG_CONVEYOR!", "S_HIGH_BELTSPEED!",
             ("S_BELTLOAD_TOO_HIGH_DO_NOT", "S_HIGH_BELTLOAD,_CONSULT_ZRN"),
             "S_ACTUAL_TORSION_GT_MAXIMUM", "S_CALCULATED_NUMBER_OF_SPRO",
             "S_THIS_APPLICATION_IS_NOT_R"],
    "chain": ["S_HIGH_CHAINSPEED!",
              ("S_CHAINLOAD_TOO_HIGH_DO_NO", "S_HIGH_CHAINLOAD,_CONSULT_ZRN"),
              ("S_PVMINUSLIMIT_APPROACHED", "S_PVMINUSLIMIT_EXCEEDED"),
              "S_45_SERIE_CHAINS_SHOULD_RU", "S_ZRN6800_MATERIAL_IN_DRY",
              "S_THIS_APPLICATION_IS_NOT_R"],
    "flexbelt (two S-curves)": [
        "S_LOAD_TOO_HIGH", "S_PVMINUSLIMIT_EXCEEDED", "S_SPEED_TOO_HIGH", "S_LONG_CONVEYOR!",
        "S_S_CURVE_WARNING", "S_S_CURVE_WARNING", "S_LENGTH_SMALLER_THAN_WIDTH",
        "S_THIS_APPLICATION_IS_NOT_R"],
}

UNIT_CODES = ["MM", "M", "M/MIN", "N", "N/M", "NM", "WATT", "KG/M", "KG/M2", "GR", "C"]

# metric = a * imperial + b, from the exact definitions of the imperial units.
LBF = 4.4482216152605
FT = 0.3048
LB = 0.45359237
EXACT = {
    "MM": (25.4, 0.0),
    "M": (FT, 0.0),
    "M/MIN": (FT, 0.0),
    "N": (LBF, 0.0),
    "N/M": (LBF / FT, 0.0),
    "NM": (LBF * FT, 0.0),
    "WATT": (745.69987158227, 0.0),
    "KG/M": (LB / FT, 0.0),
    "KG/M2": (LB / (FT * FT), 0.0),
    "GR": (28.349523125, 0.0),
    "C": (1 / 1.8, -32 / 1.8),
}
SAMPLES = [0.1, 0.5, 1.0, 2.54, 12.7, 25.4, 100.0, 333.3, 1234.5678, 98765.4321]
TEMPERATURE_SAMPLES = [-40.0, -17.5, 0.0, 20.0, 37.5, 100.0, 250.0]
TOLERANCE = 1e-9

# Delphi-style placeholders: %s %d %.2f %-18s %0:d ..., and %% for a percent sign.
PLACEHOLDER = re.compile(r"%(?:\d+:)?-?(?:\d+|\*)?(?:\.(?:\d+|\*))?[dusefgnmpxDUSEFGNMPX]")
ACCESS_KEY = re.compile(r"&(?!&)(.)")

# Attribute values as written in the file: the characters that must be references.
ATTRIBUTE = re.compile(r'(\w+)="([^"]*)"')
MUST_BE_REFERENCED = "<>'\\\r\n\t"


class Report:
    def __init__(self):
        self.faults = []

    def fault(self, message):
        self.faults.append(message)


# ---------------------------------------------------------------- data packets


def read_packet(path, expected_fields, report):
    """Rows of a data packet as dicts, or None when the file is not a sound packet."""
    name = os.path.basename(path)
    try:
        with open(path, encoding="utf-8", newline="") as f:
            raw = f.read()
    except (OSError, UnicodeDecodeError) as e:
        report.fault(f"{name}: cannot be read as UTF-8 ({e})")
        return None
    if not raw.startswith(HEADER):
        report.fault(f"{name}: does not start with {HEADER}")
    for line_no, line in enumerate(raw.split("\n"), 1):
        for attr, value in ATTRIBUTE.findall(line):
            bad = sorted({ch for ch in value if ch in MUST_BE_REFERENCED})
            if bad:
                report.fault(f"{name}:{line_no}: {attr} holds {bad!r} unescaped")
            for ref in re.findall(r"&[^;]*;", value):
                if ref not in ("&lt;", "&gt;", "&quot;", "&amp;", "&apos;",
                               "&#013;", "&#010;", "&#009;", "&#092;"):
                    report.fault(f"{name}:{line_no}: unexpected reference {ref}")
    try:
        root = ET.fromstring(raw.encode("utf-8"))
    except ET.ParseError as e:
        report.fault(f"{name}: not well-formed XML ({e})")
        return None
    if root.tag != "DATAPACKET" or root.get("Version") != "2.0":
        report.fault(f"{name}: root is not DATAPACKET Version 2.0")
        return None
    fields = root.findall("./METADATA/FIELDS/FIELD")
    found = [(f.get("attrname"), f.get("fieldtype"), f.get("WIDTH")) for f in fields]
    if found != expected_fields:
        report.fault(f"{name}: fields {found}, expected {expected_fields}")
    if root.find("./METADATA/PARAMS") is None:
        report.fault(f"{name}: METADATA has no PARAMS")
    rowdata = root.find("./ROWDATA")
    if rowdata is None:
        report.fault(f"{name}: no ROWDATA")
        return None
    return [dict(row.attrib) for row in rowdata.findall("ROW")]


# ---------------------------------------------------------------- language files


def read_widths(path):
    """{key: max width} from the max column of the text table, when it is there."""
    widths = {}
    if not os.path.exists(path):
        return widths
    header = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if not line or line.startswith("#"):
                continue
            cells = line.split("\t")
            if header is None:
                header = cells
                continue
            row = dict(zip(header, cells))
            if row.get("max"):
                widths[row["key"]] = int(row["max"])
    return widths


def check_against_source(languages, source_path, report):
    """Every text of the files equals the text of the source table."""
    if not os.path.exists(source_path):
        return
    sys.path.insert(0, HERE)
    import build_taal

    try:
        source = build_taal.read_texts(source_path)
    except build_taal.SourceError as e:
        report.fault(f"texts.tsv: {e}")
        return
    for code, texts in languages.items():
        wanted = source.get(code, {})
        differing = sorted(key for key in set(wanted) | set(texts)
                           if wanted.get(key) != texts.get(key))
        if differing:
            report.fault(f"{code}: {len(differing)} texts differ from texts.tsv (first: "
                         f"{differing[0]}); run build_taal.py")


def placeholders(text):
    return PLACEHOLDER.findall(text.replace("%%", ""))


def stray_percent(text):
    """A '%' that starts no placeholder, in a text that is used as a format pattern."""
    rest = PLACEHOLDER.sub("", text.replace("%%", ""))
    return "%" in rest


def access_keys(text):
    return ACCESS_KEY.findall(text)


def check_languages(taal_dir, widths, report):
    list_rows = read_packet(os.path.join(taal_dir, "talen.xml"), LIST_FIELDS, report)
    if not list_rows:
        report.fault("talen.xml: no languages")
        return {}
    languages = {}
    for row in list_rows:
        code, display = row.get("Taal", ""), row.get("Display", "")
        if not code or not display:
            report.fault(f"talen.xml: row without Taal or Display: {row}")
            continue
        rows = read_packet(os.path.join(taal_dir, f"{code}.xml"), LANGUAGE_FIELDS, report)
        if rows is None:
            continue
        texts = {}
        keys_in_order = []
        for row in rows:
            key = row.get("Taalcode", "")
            if key in texts:
                report.fault(f"{code}: key {key} appears twice")
            if row.get("TaalId") != " ":
                report.fault(f"{code}: {key}: TaalId is {row.get('TaalId')!r}, not one space")
            texts[key] = row.get("Waarde")
            keys_in_order.append(key)
        if keys_in_order != sorted(keys_in_order):
            report.fault(f"{code}: rows are not ordered by key")
        languages[code] = texts

    if not languages:
        return languages
    reference_code = "engels" if "engels" in languages else next(iter(languages))
    reference = languages[reference_code]
    for code, texts in languages.items():
        for key in sorted(set(reference) - set(texts)):
            report.fault(f"{code}: key {key} is missing")
        for key in sorted(set(texts) - set(reference)):
            report.fault(f"{code}: key {key} is not in {reference_code}")

    for code, texts in languages.items():
        for key, text in sorted(texts.items()):
            where = f"{code}: {key}"
            if text is None or not text.strip():
                report.fault(f"{where}: empty text")
                continue
            if len(text) > MAX_TEXT:
                report.fault(f"{where}: {len(text)} characters, more than {MAX_TEXT}")
            if key in widths and len(text) > widths[key]:
                report.fault(f"{where}: {text!r} is {len(text)} wide, the column holds "
                             f"{widths[key]}")
            first = text[0]
            if first.isalpha() and first.islower() and not ("a" <= first <= "z"):
                report.fault(f"{where}: starts with {first!r}, which the program cannot "
                             "capitalise; write it in upper case")
            ref_text = reference.get(key)
            if ref_text is None:
                continue
            if placeholders(text) != placeholders(ref_text):
                report.fault(f"{where}: placeholders {placeholders(text)} differ from "
                             f"{reference_code} {placeholders(ref_text)}")
            if placeholders(ref_text) and stray_percent(text):
                report.fault(f"{where}: a '%' that starts no placeholder in a format text")
            ref_keys, keys = access_keys(ref_text), access_keys(text)
            if ref_keys and len(keys) != 1:
                report.fault(f"{where}: {text!r} needs exactly one access key")
            if not ref_keys and keys:
                report.fault(f"{where}: {text!r} has an access key, {reference_code} has none")

    for code, texts in languages.items():
        for menu, items in MENUS.items():
            seen = {}
            for item in items:
                caption = item[1:] if item.startswith("=") else texts.get(item, "")
                for letter in access_keys(caption)[:1]:
                    letter = letter.lower()
                    if letter in seen:
                        report.fault(f"{code}: {menu}: {item} and {seen[letter]} share "
                                     f"the access key '{letter}'")
                    seen[letter] = item

    for code, texts in languages.items():
        for module, items in WARNING_SETS.items():
            total = 0
            for item in items:
                choices = item if isinstance(item, tuple) else (item,)
                total += max(len(texts.get(key, "")) for key in choices) + 2
            if total > WARNING_FIELD:
                report.fault(f"{code}: the {module} warnings together take {total} "
                             f"characters, the field holds {WARNING_FIELD}")
    return languages


# ---------------------------------------------------------------- formula evaluator


class FormulaError(Exception):
    pass


def float_to_str(value):
    """The program's general number form: 15 significant digits, no trailing zeros."""
    text = "%.15g" % value
    if "e" in text:
        mantissa, exponent = text.split("e")
        text = f"{mantissa}E{int(exponent)}"
    return text


def format_number(value):
    """The evaluator's result form: 12 decimals, trailing zeros and a final '.0' removed."""
    text = "%.12f" % value
    text = text.rstrip("0")
    if text.endswith("."):
        text += "0"
    if text.endswith(".0"):
        text = text[:-2]
    return text


NUMBER_TEXT = re.compile(r"[+-]?\d+(\.\d+)?([eE][+-]?\d+)?")


def to_number(text):
    text = text.strip().replace(",", ".")
    if not NUMBER_TEXT.fullmatch(text):
        raise FormulaError("Error, convert to numeric value:" + text)
    return float(text)


def tokens(formula):
    """The evaluator's scanner, for the part of its language a unit formula may use."""
    out = []
    i = 0
    while i < len(formula):
        ch = formula[i]
        if ord(ch) <= 13 or ch == " ":
            i += 1
            continue
        previous = out[-1][0] if out else "start"
        if ch.isdigit() or (ch == "-" and i + 1 < len(formula) and formula[i + 1].isdigit()
                            and previous in ("start", "(")):
            m = re.match(r"-?\d+(\.\d+)?([eE][+-]?\d+)?", formula[i:])
            rest = formula[i + len(m.group(0)):]
            if rest[:1] in (".", "e", "E"):
                raise FormulaError("Wrong number in " + formula)
            out.append(("number", m.group(0)))
            i += len(m.group(0))
        elif ch.isalpha() or ch == "_":
            m = re.match(r"[A-Za-z_][A-Za-z0-9_.]*", formula[i:])
            if formula[i + len(m.group(0)):].startswith("("):
                raise FormulaError("a function call is not used in unit formulas")
            out.append(("name", m.group(0)))
            i += len(m.group(0))
        elif ch in "+-*/()":
            out.append((ch, ch))
            i += 1
        else:
            break  # a character that starts no token ends the formula
    out.append(("end", ""))
    return out


class Parser:
    """Builds the evaluator's tree: '*' and '/' bind tighter than '+' and '-', all group
    from the left; a leading '-' of a term negates the whole term."""

    def __init__(self, formula):
        self.tokens = tokens(formula)
        self.pos = -1
        self.current = ("start", "")
        self.previous = ("start", "")
        self.depth = 0

    def advance(self):
        self.previous = self.current
        self.pos += 1
        self.current = self.tokens[min(self.pos, len(self.tokens) - 1)]

    def expression(self):
        node = self.term()
        while self.current[0] in ("+", "-"):
            node = (self.current[0], node, self.term())
        if self.current[0] == "end":
            return node
        if self.current[0] == ")":
            self.depth -= 1
            return node
        raise FormulaError("Invalid expression")

    def term(self):
        self.advance()
        negate = False
        if self.previous[0] in ("start", "(", "+", "-"):
            if self.current[0] == "-":
                negate = True
                self.advance()
            elif self.current[0] == "+":
                self.advance()
        node = self.factor()
        while self.current[0] in ("*", "/"):
            op = self.current[0]
            self.advance()
            node = (op, node, self.factor())
        return ("neg", node) if negate else node

    def factor(self):
        kind, text = self.current
        if kind == "(":
            self.depth += 1
            node = self.expression()
            if self.current[0] != ")":
                raise FormulaError("invalid formule")
        elif kind in ("number", "name"):
            node = (kind, text)
        else:
            raise FormulaError("? operand ")
        self.advance()
        return node

    def parse(self):
        node = self.expression()
        if self.depth != 0:
            raise FormulaError("invalid formule")
        return node


def evaluate_node(node, variables):
    kind = node[0]
    if kind == "number":
        return node[1]
    if kind == "name":
        if node[1].lower() not in variables:
            raise FormulaError("Unknown variable:" + node[1])
        return variables[node[1].lower()]
    if kind == "neg":
        return format_number(-to_number(evaluate_node(node[1], variables)))
    if kind == "/":
        right = to_number(evaluate_node(node[2], variables))
        if abs(right) < 1e-8:
            return "0"
        return format_number(to_number(evaluate_node(node[1], variables)) / right)
    left = to_number(evaluate_node(node[1], variables))
    right = to_number(evaluate_node(node[2], variables))
    result = {"+": left + right, "-": left - right, "*": left * right}[kind]
    return format_number(result)


def evaluate(formula, x=None):
    """The text result of a formula, as the program's evaluator gives it."""
    variables = {} if x is None else {"x": float_to_str(x)}
    return evaluate_node(Parser(formula.rstrip(" ;")).parse(), variables)


def convert(formula, value):
    return to_number(evaluate(formula, value))


# Known results of the evaluator that the emulation above must reproduce before its
# verdict on the unit formulas counts.
EVALUATOR_CASES = [
    ("2+3*4", None, "14"),
    ("x/25.4", 25.4, "1"),
    ("x*2", 25.4, "50.8"),
    ("2 * (-3)", None, "-6"),
    ("5/0", None, "0"),
    ("1/3", None, "0.333333333333"),
    ("3 # 4", None, "3"),
    ("2 * -3", None, FormulaError("? operand ")),
    ("x*", 1.0, FormulaError("? operand ")),
    ("(1+2", None, FormulaError("invalid formule")),
]


def check_evaluator(report):
    for formula, x, expected in EVALUATOR_CASES:
        try:
            got = evaluate(formula, x)
        except FormulaError as e:
            got = e
        if isinstance(expected, FormulaError):
            ok = isinstance(got, FormulaError) and str(got) == str(expected)
        else:
            ok = got == expected
        if not ok:
            report.fault(f"formula rules: {formula!r} gives {got!r}, expected {expected!r}")


SAFE_FORMULA = re.compile(r"[x0-9.*/+\-()]+")


def close(got, want):
    """Within TOLERANCE relative; a value of exactly 0 must come back as 0 (to 1e-12)."""
    return abs(got - want) <= max(TOLERANCE * abs(want), 1e-12)


def check_units(taal_dir, report):
    rows = read_packet(os.path.join(taal_dir, "eenheden.xml"), UNIT_FIELDS, report)
    if rows is None:
        return
    units = {row.get("eenh_code"): row for row in rows}
    for code in UNIT_CODES:
        if code not in units:
            report.fault(f"eenheden.xml: unit code {code} is missing")
    for code, row in units.items():
        if code not in EXACT:
            report.fault(f"eenheden.xml: unknown unit code {code}")
            continue
        if not row.get("metrisch") or not row.get("imperial"):
            report.fault(f"eenheden.xml: {code} lacks a label")
        to_metric, to_imperial = row.get("NaarMetrisch", ""), row.get("NaarImperial", "")
        for formula in (to_metric, to_imperial):
            if not SAFE_FORMULA.fullmatch(formula):
                report.fault(f"eenheden.xml: {code}: {formula!r} uses more than x, numbers, "
                             "* / + - and parentheses")
            if re.search(r"(^|[-+*/(])-", formula):
                report.fault(f"eenheden.xml: {code}: {formula!r} has a minus sign where the "
                             "evaluator reads a unary minus")
        a, b = EXACT[code]
        samples = TEMPERATURE_SAMPLES if code == "C" else SAMPLES
        try:
            problem = first_conversion_problem(to_metric, to_imperial, a, b, samples)
        except FormulaError as e:
            problem = f"formula fails: {e}"
        if problem:
            report.fault(f"eenheden.xml: {code}: {problem}")


def first_conversion_problem(to_metric, to_imperial, a, b, samples):
    """The first sample that converts wrongly or does not come back, or None."""
    for imperial in samples:
        metric = convert(to_metric, imperial)
        if not close(metric, a * imperial + b):
            return f"{to_metric} of {imperial} gives {metric!r}, exact {a * imperial + b!r}"
        back = convert(to_imperial, metric)
        if not close(back, imperial):
            return f"imperial {imperial} -> {metric!r} -> {back!r}"
    for metric in samples:
        imperial = convert(to_imperial, metric)
        if not close(imperial, (metric - b) / a):
            return f"{to_imperial} of {metric} gives {imperial!r}, exact {(metric - b) / a!r}"
        back = convert(to_metric, imperial)
        if not close(back, metric):
            return f"metric {metric} -> {imperial!r} -> {back!r}"
    return None


# ---------------------------------------------------------------- main


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--taal", default=os.path.join(REPO, "taal"),
                        help="language directory to check (default: the repository's taal/)")
    args = parser.parse_args()

    report = Report()
    widths = read_widths(os.path.join(HERE, "texts.tsv"))
    languages = check_languages(args.taal, widths, report)
    check_against_source(languages, os.path.join(HERE, "texts.tsv"), report)
    check_evaluator(report)
    check_units(args.taal, report)

    for fault in report.faults:
        print(fault)
    keys = len(next(iter(languages.values()))) if languages else 0
    print(f"check_taal: {len(languages)} languages, {keys} keys, "
          f"{len(report.faults)} faults")
    return 1 if report.faults else 0


if __name__ == "__main__":
    sys.exit(main())
