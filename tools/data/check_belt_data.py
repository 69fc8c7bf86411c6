#!/usr/bin/env python3
"""Checks the belt and shared reference tables of a data directory.

    python3 tools/data/check_belt_data.py [DATA_DIR]

Checks the XML data packet form of every file, that each file declares the fields the
program declares for it, and that every choice a user can make finds its rows: every belt
series has sprockets, every sprocket has bores, every belt material has temperature bands over
its whole range and speed limits, every series has wheel-spacing bands from a load ratio of 0
up, every friction pair exists. Prints each problem found; exit status 1 when there is one.
"""

import math
import os
import re
import sys
import xml.etree.ElementTree as ET

HEADER = '<?xml version="1.0" standalone="yes"?>'
CHAR_REFS = ("&lt;", "&gt;", "&quot;", "&amp;", "&apos;", "&#013;", "&#010;", "&#009;",
             "&#092;")
I4_MAX = 2**31 - 1

# Declared layouts: "name:type" with type s<width>, r8, i4, bool, and "!" for required;
# a nested field is "name:nested(...)".
LAYOUTS = {
    "product_materiaal.xml": "mat_code:s50 mat_wrijvings_code:s50",
    "geleiding_materiaal.xml": "mat_code:s50 mat_wrijvings_code:s50 ind_mat:bool "
    "ind_flex_upper:bool ind_flex_return:bool ind_flex_curve:bool ind_ket_upper:bool "
    "ind_ket_return:bool ind_ket_curve:bool ind_KM4625:bool",
    "smering.xml": "smeer_code:s25 smering:s3",
    "mat.xml": "mattype:s15! matserie:s5! matcode:s5! massa:r8! max_werk_bel:i4! "
    "min_temp_droog:i4! max_temp_droog:i4! min_temp_smering:i4! max_temp_smering:i4! "
    "lin_uitz_coef:r8! steek:r8! min_afst_tw:r8! max_afst_tw:r8! min_aant_wiel:i4! "
    "wrijv_coef_onder:s5! wrijv_coef_boven:s5! max_asafstand:r8",
    "matserie_tandwiel.xml": "matserie:s5! tanden:i4! Dp:r8!",
    "tandwiel.xml": "matserie:s5! tanden:i4! boring:s8! boormaat:r8! Dp:r8! I:i4! Ip:i4! "
    "Dw:r8! Bb:r8! SH:i4! SD:r8! aantal_spie:i4!",
    "temp_corr_factor.xml": "matcode:s5! temp_vanaf:i4! temp_tot:i4! tcf:r8!",
    "support.xml": "Taalcode:s50 mat_wrijvings_code:s50",
    "opstartfactor.xml": "v1:i4 v2:i4 SF:r8",
    "mat_snelheid.xml": "matcode:s5 D:i4 W:i4 Z:i4",
    "mat_wielafstand.xml": "matserie:s5! afst_vanaf:r8! afst_tm:r8! aantal_wielen:r8! "
    "zaagbaar:bool",
    "matinvoer.xml": "project:s50 mattype:s15! lengte:r8! breedte:r8! p_mat_code:s50! "
    "frc_prod_afw:r8 belasting:r8! gewicht:r8 diameter:r8! bezettingsgraad:i4! "
    "geleidingsmateriaal:s50! g_mat_code:s50! frc_geleiding_afw:r8 product_per_uur:i4 "
    "matsnelheid:r8 product_leading:bool! smering:s3! stuw:i4! hoogteverschil:r8! "
    "tandwiel_grootte:s50! aslengte:r8! asdiameter:s50! aandrijving_centraal:bool! "
    "taal:s50 eenheid:bool temp_zones:i4 "
    "zones:nested(index:i4 lengte:r8 temp:r8) "
    "load_table:nested(index:i4 strength:r8 continue:r8 continue_perc:r8 startup:r8 "
    "startup_perc:r8) "
    "uit_wrijf_product:r8 uit_wrijf_onder:r8 uit_wrijf_boven:r8 uit_max_belasting:r8 "
    "uit_werk_belasting:r8 uit_ond_belasting:r8 uit_draaimoment:r8 uit_omwentelingen:r8 "
    "uit_vermogen_as:r8 uit_motorvermogen:r8 uit_matgewicht:r8 uit_uitzetting_lengte:r8 "
    "uit_uitzetting_breedte:r8 uit_lengte_mat:r8 uit_product_op_baan:r8 "
    "uit_aandrijf_wielen:i4 uit_retour_wielen:i4 uit_lagers_aandrijfas:i4 "
    "uit_lagers_retouras:i4 uit_doorbuiging_aandrijfas:r8 uit_doorbuiging_retouras:r8 "
    "uit_hoekverdraaiing:r8 uit_opstartfactor:r8 uit_max_doorbuiging_aandrijfas:r8 "
    "uit_max_doorbuiging_retouras:r8 uit_max_hoekverdraaiing:r8 uit_warning:s512 "
    "uit_invoerwarning:s255",
    # The friction table declares no fields: its key fields, then one column per class.
    "wrijving.xml": None,
}

# The values a new project starts with; every other field of the template is empty.
TEMPLATE_DEFAULTS = {"bezettingsgraad": 100, "product_leading": True, "stuw": 100,
                     "hoogteverschil": 0.0, "aandrijving_centraal": False, "temp_zones": 1}


class Field:
    def __init__(self, name, ftype, width=0, required=False, fields=None):
        self.name, self.type, self.width = name, ftype, width
        self.required, self.fields = required, fields or []

    def describe(self):
        t = f"s{self.width}" if self.type == "string" else self.type
        if self.type == "nested":
            t = "nested(" + " ".join(f.describe() for f in self.fields) + ")"
        return f"{self.name}:{t}{'!' if self.required else ''}"


def parse_layout(text):
    """Fields of a layout text (see LAYOUTS)."""
    tokens = re.findall(r"[^\s()]+\(|\)|[^\s()]+", text)
    pos = 0

    def fields():
        nonlocal pos
        out = []
        while pos < len(tokens) and tokens[pos] != ")":
            tok = tokens[pos]
            pos += 1
            name, _, t = tok.partition(":")
            if t == "nested(":
                inner = fields()
                pos += 1  # ")"
                out.append(Field(name, "nested", fields=inner))
                continue
            required = t.endswith("!")
            t = t.rstrip("!")
            ftype = {"r8": "r8", "i4": "i4", "bool": "boolean"}.get(t, "string")
            out.append(Field(name, ftype, int(t[1:]) if ftype == "string" else 0, required))
        return out

    return fields()


class Problems(list):
    def add(self, where, message):
        self.append(f"{where}: {message}")


# ---------------------------------------------------------------------------------------
# Packet form
# ---------------------------------------------------------------------------------------


def read_fields(node, where, problems):
    out = []
    for f in node.findall("FIELD"):
        name, ftype = f.get("attrname"), f.get("fieldtype")
        if not name or not ftype:
            problems.add(where, "a FIELD lacks attrname or fieldtype")
            continue
        if ftype not in ("string", "r8", "i4", "boolean", "nested"):
            problems.add(where, f"field {name} has an unexpected fieldtype {ftype}")
        width = 0
        if ftype == "string":
            if not (f.get("WIDTH") or "").isdigit():
                problems.add(where, f"text field {name} has no WIDTH")
            else:
                width = int(f.get("WIDTH"))
        required = f.get("required") == "true"
        if f.get("required") not in (None, "true"):
            problems.add(where, f"field {name} has required=\"{f.get('required')}\"")
        inner = []
        if ftype == "nested":
            sub = f.find("FIELDS")
            if sub is None:
                problems.add(where, f"nested field {name} has no FIELDS")
            else:
                inner = read_fields(sub, f"{where}/{name}", problems)
        out.append(Field(name, ftype, width, required, inner))
    return out


def parse_value(field, text, where, problems):
    try:
        if field.type == "i4":
            if not re.fullmatch(r"-?\d+", text):
                raise ValueError
            v = int(text)
            if not -2**31 <= v <= I4_MAX:
                raise ValueError
            return v
        if field.type == "r8":
            if not re.fullmatch(r"-?\d+(\.\d+)?([eE][-+]?\d+)?", text):
                raise ValueError
            v = float(text)
            if not math.isfinite(v):
                raise ValueError
            return v
        if field.type == "boolean":
            if text not in ("TRUE", "FALSE"):
                raise ValueError
            return text == "TRUE"
    except ValueError:
        problems.add(where, f"{field.name}=\"{text}\" is not a valid {field.type} value")
        return None
    if len(text) > field.width:
        problems.add(where, f"{field.name} \"{text}\" is wider than {field.width}")
    return text


def read_rows(parent, fields, where, problems, enforce_required=True):
    by_name = {f.name: f for f in fields}
    rows = []
    for n, el in enumerate(parent.findall("ROW"), 1):
        here = f"{where} row {n}"
        row = {}
        for name, text in el.attrib.items():
            f = by_name.get(name)
            if f is None or f.type == "nested":
                problems.add(here, f"value for undeclared field {name}")
                continue
            row[name] = parse_value(f, text, here, problems)
        for f in fields:
            if f.type == "nested":
                child = el.find(f.name)
                row[f.name] = read_rows(child, f.fields, f"{here}/{f.name}", problems,
                                        enforce_required) if child is not None else []
            elif f.required and enforce_required and row.get(f.name) is None:
                problems.add(here, f"required field {f.name} has no value")
        for child in el:
            if child.tag not in by_name:
                problems.add(here, f"unexpected element <{child.tag}>")
        for f in fields:
            row.setdefault(f.name, None)
        rows.append(row)
    return rows


def check_raw_text(raw, where, problems):
    """Values must use the character references, never the raw characters."""
    lines = raw.split("\n")
    if lines[0] != HEADER:
        problems.add(where, f"first line is not {HEADER}")
    for value in re.findall(r'="([^"]*)"', raw):
        if any(c in value for c in "<>'\\\t\r\n"):
            problems.add(where, f"value \"{value}\" holds a character it must write as a "
                         "character reference")
        for amp in re.finditer("&", value):
            if not any(value.startswith(ref, amp.start()) for ref in CHAR_REFS):
                problems.add(where, f"value \"{value}\" holds an unknown reference")


def load_packet(path, problems):
    """(fields, rows) of a packet file, or None when it cannot be read as one."""
    where = os.path.basename(path)
    try:
        with open(path, encoding="utf-8", newline="") as f:
            raw = f.read()
    except OSError as e:
        problems.add(where, f"cannot be read: {e.strerror}")
        return None
    check_raw_text(raw, where, problems)
    try:
        root = ET.fromstring(raw.encode("utf-8"))
    except ET.ParseError as e:
        problems.add(where, f"is not well-formed XML: {e}")
        return None
    if root.tag != "DATAPACKET" or root.get("Version") != "2.0":
        problems.add(where, "root is not DATAPACKET Version=\"2.0\"")
        return None
    children = [c.tag for c in root]
    if children != ["METADATA", "ROWDATA"]:
        problems.add(where, f"DATAPACKET holds {children}, not METADATA then ROWDATA")
        return None
    meta = [c.tag for c in root.find("METADATA")]
    if meta != ["FIELDS", "PARAMS"]:
        problems.add(where, f"METADATA holds {meta}, not FIELDS then PARAMS")
        return None
    fields = read_fields(root.find("METADATA/FIELDS"), where, problems)
    # An input template is an empty project: its required inputs are not filled in yet.
    rows = read_rows(root.find("ROWDATA"), fields, where, problems,
                     enforce_required=where != "matinvoer.xml")
    return fields, rows


def check_layout(name, fields, problems):
    expected = LAYOUTS[name]
    if expected is None:
        return
    want = [f.describe() for f in parse_layout(expected)]
    have = [f.describe() for f in fields]
    if want != have:
        missing = [w for w in want if w not in have]
        extra = [h for h in have if h not in want]
        problems.add(name, "declared fields differ from the program's: "
                     f"missing or changed {missing}, unexpected {extra}"
                     if missing or extra else "declared fields are out of order")


# ---------------------------------------------------------------------------------------
# Completeness
# ---------------------------------------------------------------------------------------


def contiguous(bands, where, problems, lo_name, hi_name):
    """Bands sorted by their start, each ending where the next begins."""
    bands = sorted(bands, key=lambda r: r[lo_name])
    for a, b in zip(bands, bands[1:]):
        if a[hi_name] != b[lo_name]:
            gap = "gap" if a[hi_name] < b[lo_name] else "overlap"
            problems.add(where, f"{gap} between {a[lo_name]}..{a[hi_name]} and "
                         f"{b[lo_name]}..{b[hi_name]}")
    for r in bands:
        if not r[lo_name] < r[hi_name]:
            problems.add(where, f"band {r[lo_name]}..{r[hi_name]} is empty")
    return bands


def check_friction(t, problems):
    smering = [r["smering"] for r in t["smering.xml"]]
    if "D" not in smering:
        problems.add("smering.xml", "no dry code \"D\"")
    if len(set(smering)) != len(smering):
        problems.add("smering.xml", "a lubrication code appears twice")
    fields, rows = t["wrijving.xml#fields"], t["wrijving.xml"]
    names = [f.name for f in fields]
    if names[:2] != ["smering", "mat_wrijvings_code"] or \
            any(f.type != "string" for f in fields[:2]):
        problems.add("wrijving.xml", "does not begin with the text fields smering, "
                     "mat_wrijvings_code")
    classes = [f.name for f in fields[2:] if f.type == "r8"]
    for f in fields[2:]:
        if f.type != "r8":
            problems.add("wrijving.xml", f"column {f.name} is not a real number")
    used_classes = {r[c] for r in t["mat.xml"] for c in ("wrijv_coef_onder", "wrijv_coef_boven")}
    for c in sorted(used_classes - set(classes)):
        problems.add("mat.xml", f"friction class {c} is not a column of wrijving.xml")
    codes = {r["mat_wrijvings_code"] for r in t["product_materiaal.xml"]}
    codes |= {r["mat_wrijvings_code"] for r in t["geleiding_materiaal.xml"]}
    codes |= {r.get("mat_wrijvings_code") for r in t["support.xml"]} - {None, ""}
    pairs = {}
    for r in rows:
        key = (r["smering"], r["mat_wrijvings_code"])
        if key in pairs:
            problems.add("wrijving.xml", f"pair {key} appears twice (the first one is used)")
        pairs[key] = r
    for s in smering:
        for code in sorted(c for c in codes if c):
            r = pairs.get((s, code))
            if r is None:
                problems.add("wrijving.xml", f"no row for lubrication {s}, friction code {code}")
                continue
            for c in classes:
                mu = r.get(c)
                if mu is None or not 0 < mu <= 1:
                    problems.add("wrijving.xml", f"{s}/{code} column {c} = {mu}, not in (0, 1]")
                dry = pairs.get(("D", code), {}).get(c)
                if s != "D" and mu is not None and dry is not None and mu > dry:
                    problems.add("wrijving.xml", f"{s}/{code} {c} {mu} above dry {dry}")


def check_materials(t, problems):
    for name, key in (("product_materiaal.xml", "mat_code"),
                      ("geleiding_materiaal.xml", "mat_code"), ("support.xml", "Taalcode")):
        keys = [r[key] for r in t[name]]
        if len(set(keys)) != len(keys):
            problems.add(name, f"a {key} appears twice")
        for r in t[name]:
            if not r.get(key):
                problems.add(name, f"a row has no {key}")
    rows = t["geleiding_materiaal.xml"]
    for flag in ("ind_mat", "ind_flex_upper", "ind_flex_return", "ind_flex_curve",
                 "ind_ket_upper", "ind_ket_return", "ind_ket_curve", "ind_KM4625"):
        if not any(r.get(flag) for r in rows):
            problems.add("geleiding_materiaal.xml", f"no material offered by {flag}")
    for r in rows:
        if r.get("ind_KM4625") and r.get("ind_ket_curve"):
            problems.add("geleiding_materiaal.xml", f"{r['mat_code']}: a KM4625 curve guide "
                         "offered to every chain would give every chain its curve formula")


def check_belts(t, problems):
    belts = t["mat.xml"]
    names = [b["mattype"] for b in belts]
    if len(set(names)) != len(names):
        problems.add("mat.xml", "a mattype appears twice")
    pitch = {}
    for b in belts:
        w = f"mat.xml {b['mattype']}"
        if not re.fullmatch(r"\d+", b["matserie"] or ""):
            problems.add(w, f"matserie \"{b['matserie']}\" is not a whole number")
        if pitch.setdefault(b["matserie"], b["steek"]) != b["steek"]:
            problems.add(w, "pitch differs from the other belts of its series")
        for a, z in (("min_temp_droog", "max_temp_droog"),
                     ("min_temp_smering", "max_temp_smering"),
                     ("min_afst_tw", "max_afst_tw")):
            if b[a] > b[z]:
                problems.add(w, f"{a} is above {z}")
        for f in ("massa", "max_werk_bel", "steek", "lin_uitz_coef", "min_afst_tw",
                  "min_aant_wiel"):
            if not b[f] > 0:
                problems.add(w, f"{f} is not positive")
    return pitch


def check_sprockets(t, pitch, problems):
    sprockets = t["matserie_tandwiel.xml"]
    seen = set()
    for s in sprockets:
        w = f"matserie_tandwiel.xml {s['matserie']}/{s['tanden']}"
        if (s["matserie"], s["tanden"]) in seen:
            problems.add(w, "appears twice")
        seen.add((s["matserie"], s["tanden"]))
        if s["matserie"] not in pitch:
            problems.add(w, "series has no belt")
        elif s["tanden"] < 3:
            problems.add(w, "fewer than 3 teeth")
        else:
            dp = pitch[s["matserie"]] / math.sin(math.pi / s["tanden"])
            if abs(dp - s["Dp"]) > 0.05 + 1e-9:
                problems.add(w, f"Dp {s['Dp']} does not match pitch and teeth ({dp:.2f})")
    for serie in pitch:
        if not any(s["matserie"] == serie for s in sprockets):
            problems.add("matserie_tandwiel.xml", f"series {serie} has no sprocket")

    bores = t["tandwiel.xml"]
    for s in sprockets:
        # The bore list is filtered on series, teeth and Dp written with two decimals.
        mine = [b for b in bores if b["matserie"] == s["matserie"]
                and b["tanden"] == s["tanden"] and round(b["Dp"], 2) == round(s["Dp"], 2)]
        w = f"tandwiel.xml {s['matserie']}/{s['tanden']}"
        if not mine:
            problems.add(w, "sprocket has no bore")
        names = [b["boring"] for b in mine]
        if len(set(names)) != len(names):
            problems.add(w, "a bore name appears twice")
    for b in bores:
        w = f"tandwiel.xml {b['matserie']}/{b['tanden']}/{b['boring']}"
        if (b["matserie"], b["tanden"]) not in seen:
            problems.add(w, "belongs to no sprocket")
        for f in ("boormaat", "I", "Ip", "Dw", "Bb", "aantal_spie"):
            if not b[f] > 0:
                problems.add(w, f"{f} is not positive")
        if not b["SH"] > b["SD"]:
            problems.add(w, "SH is not above SD: the key would bear on nothing")
        # The shaft's real section: round, or square with the torsion constant 0.1406 a^4.
        d = b["Dw"]
        round_ = (math.pi * d**4 / 64, math.pi * d**4 / 32)
        square = (d**4 / 12, 0.1406 * d**4)
        if not any(abs(b["I"] - i) <= 1 and abs(b["Ip"] - ip) <= 1 for i, ip in (round_, square)):
            problems.add(w, f"I {b['I']} / Ip {b['Ip']} are not the section of a round or "
                         f"square shaft of {d} mm")


def check_temperatures(t, problems):
    belts = t["mat.xml"]
    bands = t["temp_corr_factor.xml"]
    for code in sorted({b["matcode"] for b in belts}):
        mine = [r for r in bands if r["matcode"] == code]
        w = f"temp_corr_factor.xml {code}"
        if not mine:
            problems.add(w, "no temperature bands")
            continue
        lo = min(min(b["min_temp_droog"], b["min_temp_smering"]) for b in belts
                 if b["matcode"] == code)
        hi = max(max(b["max_temp_droog"], b["max_temp_smering"]) for b in belts
                 if b["matcode"] == code)
        mine = contiguous(mine, w, problems, "temp_vanaf", "temp_tot")
        if mine[0]["temp_vanaf"] > lo:
            problems.add(w, f"bands begin at {mine[0]['temp_vanaf']}, above the minimum {lo}")
        if mine[-1]["temp_tot"] <= hi:
            problems.add(w, f"bands end at {mine[-1]['temp_tot']} (exclusive), not above the "
                         f"maximum {hi}")
        for r in mine:
            if not 0 < r["tcf"] <= 1:
                problems.add(w, f"tcf {r['tcf']} not in (0, 1]")


def check_speeds(t, problems):
    codes = [r["smering"] for r in t["smering.xml"]]
    columns = {f.name for f in t["mat_snelheid.xml#fields"]}
    for c in codes:
        if c not in columns:
            problems.add("mat_snelheid.xml", f"no column for lubrication code {c}")
    rows = t["mat_snelheid.xml"]
    for code in sorted({b["matcode"] for b in t["mat.xml"]}):
        mine = [r for r in rows if r["matcode"] == code]
        if len(mine) != 1:
            problems.add("mat_snelheid.xml", f"{len(mine)} rows for material {code}, not 1")
        for r in mine:
            for c in codes:
                if c in columns and not (r.get(c) or 0) > 0:
                    problems.add("mat_snelheid.xml", f"{code} has no speed limit {c}")

    bands = contiguous(t["opstartfactor.xml"], "opstartfactor.xml", problems, "v1", "v2")
    if bands and bands[0]["v1"] != 0:
        problems.add("opstartfactor.xml", f"bands begin at {bands[0]['v1']}, not 0")
    if bands and bands[-1]["v2"] != I4_MAX:
        problems.add("opstartfactor.xml", f"the top band ends at {bands[-1]['v2']}: faster "
                     "speeds find no start-up factor")
    for r in bands:
        if not (r.get("SF") or 0) >= 1:
            problems.add("opstartfactor.xml", f"SF {r.get('SF')} below 1")


def check_wheel_spacing(t, problems):
    rows = t["mat_wielafstand.xml"]
    for serie in sorted({b["matserie"] for b in t["mat.xml"]}):
        mine = [r for r in rows if r["matserie"] == serie]
        w = f"mat_wielafstand.xml {serie}"
        if not mine:
            problems.add(w, "no wheel-spacing bands")
            continue
        mine = contiguous(mine, w, problems, "afst_vanaf", "afst_tm")
        if not mine[0]["afst_vanaf"] < 0:
            problems.add(w, "first band does not cover a load ratio of 0 (afst_vanaf is "
                         "exclusive)")
        if mine[-1]["afst_tm"] < 1000:
            problems.add(w, f"bands end at a load ratio of {mine[-1]['afst_tm']}: an "
                         "overloaded belt finds no band")
        least = max(b["min_afst_tw"] for b in t["mat.xml"] if b["matserie"] == serie)
        for r in mine:
            if r["aantal_wielen"] < least:
                problems.add(w, f"spacing {r['aantal_wielen']} mm is below the minimum "
                             f"sprocket spacing {least} mm")


def check_template(t, problems):
    rows = t["matinvoer.xml"]
    if len(rows) != 1:
        problems.add("matinvoer.xml", f"holds {len(rows)} records, not 1")
        return
    row = rows[0]
    for name, value in row.items():
        if name in ("zones", "load_table"):
            continue
        if value != TEMPLATE_DEFAULTS.get(name):
            problems.add("matinvoer.xml", f"{name} is {value!r}, the default is "
                         f"{TEMPLATE_DEFAULTS.get(name)!r}")
    for nested, defaults in (("zones", {"temp": 20.0}), ("load_table", {})):
        inner = row.get(nested, [])
        if [r.get("index") for r in inner] != list(range(1, 11)):
            problems.add("matinvoer.xml", f"{nested} rows are not index 1 to 10")
        for r in inner:
            values = {k: v for k, v in r.items() if k != "index" and v is not None}
            if values != defaults:
                problems.add("matinvoer.xml", f"{nested} row {r.get('index')} holds "
                             f"{values}, not {defaults}")


def check(data_dir):
    problems = Problems()
    t = {}
    for name in LAYOUTS:
        got = load_packet(os.path.join(data_dir, name), problems)
        if got is None:
            continue
        fields, rows = got
        check_layout(name, fields, problems)
        t[name], t[name + "#fields"] = rows, fields
    if len(t) != 2 * len(LAYOUTS):
        return problems  # the rules below need every file
    pitch = {}
    for rule in (check_friction, check_materials, check_belts, check_sprockets,
                 check_temperatures, check_speeds, check_wheel_spacing, check_template):
        try:
            if rule is check_sprockets:
                rule(t, pitch, problems)
            elif rule is check_belts:
                pitch = rule(t, problems)
            else:
                rule(t, problems)
        except (KeyError, TypeError) as e:
            # A value the form check already reported as missing or wrong.
            problems.add(rule.__name__, f"stopped at a missing or wrong value ({e!r})")
    return problems


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    data_dir = argv[0] if argv else os.path.join(here, "..", "..", "data")
    problems = check(data_dir)
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} problem(s) in {os.path.normpath(data_dir)}")
        return 1
    print(f"{len(LAYOUTS)} files in {os.path.normpath(data_dir)}: form, layouts and "
          "completeness are in order")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
