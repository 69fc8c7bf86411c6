#!/usr/bin/env python3
"""Writes the language directory taal/ from the source tables beside this script.

    texts.tsv  one row per language key, one column per language
    units.tsv  one row per unit code: labels and the two conversion formulas

Output, all as client-dataset XML data packets (version 2.0):

    taal/talen.xml       the language list, in Language-menu order
    taal/<code>.xml      one language file per language, rows ordered by key
    taal/eenheden.xml    the unit file

Values are escaped by hand with the character references the program's table
reader expects; no XML library does the writing, so nothing else slips in.

Usage: build_taal.py [--out DIR]   (default: the repository's taal/)
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))

# Language code (the base name of its file) and the name shown in the Language menu.
LANGUAGES = [
    ("engels", "English"),
    ("nederlands", "Nederlands"),
    ("duits", "Deutsch"),
    ("frans", "Français"),
    ("italiaans", "Italiano"),
    ("spaans", "Español"),
    ("portugees", "Português"),
]

HEADER = '<?xml version="1.0" standalone="yes"?>'

# Characters a value may not hold literally, with the reference written instead.
REFERENCES = {
    "<": "&lt;",
    ">": "&gt;",
    '"': "&quot;",
    "&": "&amp;",
    "'": "&apos;",
    "\r": "&#013;",
    "\n": "&#010;",
    "\t": "&#009;",
    "\\": "&#092;",
}

SOURCE_ESCAPES = {"n": "\r\n", "t": "\t", "s": " ", "\\": "\\"}


class SourceError(Exception):
    pass


def escape(value):
    return "".join(REFERENCES.get(ch, ch) for ch in value)


def unescape_source(text, where):
    """Turns the escapes of a source cell into the text they stand for."""
    out = []
    i = 0
    while i < len(text):
        ch = text[i]
        if ch == "\\":
            if i + 1 >= len(text) or text[i + 1] not in SOURCE_ESCAPES:
                raise SourceError(f"{where}: unknown escape in {text!r}")
            out.append(SOURCE_ESCAPES[text[i + 1]])
            i += 2
        else:
            out.append(ch)
            i += 1
    return "".join(out)


def read_tsv(path):
    """Rows of a tab-separated table as dicts; '#' lines and blank lines are skipped."""
    rows = []
    header = None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line or line.startswith("#"):
                continue
            cells = line.split("\t")
            if header is None:
                header = cells
                continue
            if len(cells) != len(header):
                raise SourceError(
                    f"{path}:{number}: {len(cells)} columns, expected {len(header)}")
            row = dict(zip(header, cells))
            row["_where"] = f"{os.path.basename(path)}:{number}"
            rows.append(row)
    if header is None:
        raise SourceError(f"{path}: no header row")
    return header, rows


def read_texts(path):
    """{language code: {key: text}} from the combined text table."""
    header, rows = read_tsv(path)
    missing = [code for code, _ in LANGUAGES if code not in header]
    if missing:
        raise SourceError(f"{path}: no column for {', '.join(missing)}")
    texts = {code: {} for code, _ in LANGUAGES}
    for row in rows:
        key = row["key"]
        if key in texts["engels"]:
            raise SourceError(f"{row['_where']}: key {key} appears twice")
        for code, _ in LANGUAGES:
            texts[code][key] = unescape_source(row[code], f"{row['_where']} ({code})")
    return texts


def packet(fields, rows):
    """One XML data packet: fields are (name, attributes text), rows lists of (name, value)."""
    lines = [HEADER, '<DATAPACKET Version="2.0"><METADATA><FIELDS>']
    for name, attributes in fields:
        lines.append(f'<FIELD attrname="{name}" {attributes}/>')
    lines.append("</FIELDS><PARAMS/></METADATA><ROWDATA>")
    for row in rows:
        cells = " ".join(f'{name}="{escape(value)}"' for name, value in row)
        lines.append(f"<ROW {cells}/>")
    lines.append("</ROWDATA></DATAPACKET>")
    return "\n".join(lines) + "\n"


def language_list():
    fields = [
        ("Taal", 'fieldtype="string" WIDTH="50"'),
        ("Display", 'fieldtype="string" WIDTH="50"'),
    ]
    rows = [[("Taal", code), ("Display", display)] for code, display in LANGUAGES]
    return packet(fields, rows)


def language_file(texts):
    fields = [
        ("Taalcode", 'fieldtype="string" WIDTH="50"'),
        ("TaalId", 'fieldtype="string" WIDTH="50"'),
        ("Waarde", 'fieldtype="string" required="true" WIDTH="255"'),
    ]
    rows = [[("Taalcode", key), ("TaalId", " "), ("Waarde", texts[key])]
            for key in sorted(texts)]
    return packet(fields, rows)


def unit_file(path):
    _, units = read_tsv(path)
    fields = [
        ("eenh_code", 'fieldtype="string" WIDTH="10"'),
        ("metrisch", 'fieldtype="string" WIDTH="20"'),
        ("imperial", 'fieldtype="string" WIDTH="20"'),
        ("NaarMetrisch", 'fieldtype="string" WIDTH="100"'),
        ("NaarImperial", 'fieldtype="string" WIDTH="100"'),
    ]
    names = [name for name, _ in fields]
    rows = [[(name, unit[name]) for name in names] for unit in units]
    return packet(fields, rows)


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(REPO, "taal"),
                        help="directory to write (default: the repository's taal/)")
    args = parser.parse_args()

    try:
        texts = read_texts(os.path.join(HERE, "texts.tsv"))
        units = unit_file(os.path.join(HERE, "units.tsv"))
    except (OSError, SourceError) as e:
        print(f"build_taal: {e}", file=sys.stderr)
        return 1

    os.makedirs(args.out, exist_ok=True)
    write(os.path.join(args.out, "talen.xml"), language_list())
    for code, _ in LANGUAGES:
        write(os.path.join(args.out, f"{code}.xml"), language_file(texts[code]))
    write(os.path.join(args.out, "eenheden.xml"), units)
    print(f"build_taal: {len(LANGUAGES)} languages, {len(texts['engels'])} keys each, "
          f"written to {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
