#!/usr/bin/env python3
"""Writes the belt reference tables, the shared material tables and the belt input template
into data/ as XML data packets (version 2.0).

    python3 tools/data/build_belt_data.py [--out DIR]

The values live in the tables below, in the units the program stores (mm, m, kg/m2, N/m,
degrees C, m/min). The generated files are committed; change a value here and run the script
again, then run check_belt_data.py.
"""

import argparse
import math
import os
import sys

# ---------------------------------------------------------------------------------------
# Field layouts: (name, type, width, required). type is the packet type: "string", "r8",
# "i4", "boolean", or ("nested", [inner fields]). The order is the order of the record.
# ---------------------------------------------------------------------------------------


def S(name, width, required=False):
    return (name, "string", width, required)


def R(name, required=False):
    return (name, "r8", 0, required)


def I(name, required=False):
    return (name, "i4", 0, required)


def B(name, required=False):
    return (name, "boolean", 0, required)


def N(name, fields):
    return (name, ("nested", fields), 0, False)


PRODUCT_MATERIAAL_FIELDS = [S("mat_code", 50), S("mat_wrijvings_code", 50)]

GELEIDING_MATERIAAL_FIELDS = [
    S("mat_code", 50),
    S("mat_wrijvings_code", 50),
    B("ind_mat"),
    B("ind_flex_upper"),
    B("ind_flex_return"),
    B("ind_flex_curve"),
    B("ind_ket_upper"),
    B("ind_ket_return"),
    B("ind_ket_curve"),
    B("ind_KM4625"),
]

SMERING_FIELDS = [S("smeer_code", 25), S("smering", 3)]

MAT_FIELDS = [
    S("mattype", 15, True),
    S("matserie", 5, True),
    S("matcode", 5, True),
    R("massa", True),
    I("max_werk_bel", True),
    I("min_temp_droog", True),
    I("max_temp_droog", True),
    I("min_temp_smering", True),
    I("max_temp_smering", True),
    R("lin_uitz_coef", True),
    R("steek", True),
    R("min_afst_tw", True),
    R("max_afst_tw", True),
    I("min_aant_wiel", True),
    S("wrijv_coef_onder", 5, True),
    S("wrijv_coef_boven", 5, True),
    R("max_asafstand"),
]

MATSERIE_TANDWIEL_FIELDS = [S("matserie", 5, True), I("tanden", True), R("Dp", True)]

TANDWIEL_FIELDS = [
    S("matserie", 5, True),
    I("tanden", True),
    S("boring", 8, True),
    R("boormaat", True),
    R("Dp", True),
    I("I", True),
    I("Ip", True),
    R("Dw", True),
    R("Bb", True),
    I("SH", True),
    R("SD", True),
    I("aantal_spie", True),
]

TEMP_CORR_FIELDS = [S("matcode", 5, True), I("temp_vanaf", True), I("temp_tot", True),
                    R("tcf", True)]

SUPPORT_FIELDS = [S("Taalcode", 50), S("mat_wrijvings_code", 50)]

OPSTART_FIELDS = [I("v1"), I("v2"), R("SF")]

MAT_SNELHEID_FIELDS = [S("matcode", 5), I("D"), I("W"), I("Z")]

MAT_WIELAFSTAND_FIELDS = [
    S("matserie", 5, True),
    R("afst_vanaf", True),
    R("afst_tm", True),
    R("aantal_wielen", True),
    B("zaagbaar"),
]

ZONE_FIELDS = [I("index"), R("lengte"), R("temp")]

LOAD_FIELDS = [I("index"), R("strength"), R("continue"), R("continue_perc"), R("startup"),
               R("startup_perc")]

# The input record: the inputs in record order (this order decides which missing input is
# reported first), the two nested row sets, then the results the calculation stores.
INVOER_FIELDS = [
    S("project", 50),
    S("mattype", 15, True),
    R("lengte", True),
    R("breedte", True),
    S("p_mat_code", 50, True),
    R("frc_prod_afw"),
    R("belasting", True),
    R("gewicht"),
    R("diameter", True),
    I("bezettingsgraad", True),
    S("geleidingsmateriaal", 50, True),
    S("g_mat_code", 50, True),
    R("frc_geleiding_afw"),
    I("product_per_uur"),
    R("matsnelheid"),
    B("product_leading", True),
    S("smering", 3, True),
    I("stuw", True),
    R("hoogteverschil", True),
    S("tandwiel_grootte", 50, True),
    R("aslengte", True),
    S("asdiameter", 50, True),
    B("aandrijving_centraal", True),
    S("taal", 50),
    B("eenheid"),
    I("temp_zones"),
    N("zones", ZONE_FIELDS),
    N("load_table", LOAD_FIELDS),
    R("uit_wrijf_product"),
    R("uit_wrijf_onder"),
    R("uit_wrijf_boven"),
    R("uit_max_belasting"),
    R("uit_werk_belasting"),
    R("uit_ond_belasting"),
    R("uit_draaimoment"),
    R("uit_omwentelingen"),
    R("uit_vermogen_as"),
    R("uit_motorvermogen"),
    R("uit_matgewicht"),
    R("uit_uitzetting_lengte"),
    R("uit_uitzetting_breedte"),
    R("uit_lengte_mat"),
    R("uit_product_op_baan"),
    I("uit_aandrijf_wielen"),
    I("uit_retour_wielen"),
    I("uit_lagers_aandrijfas"),
    I("uit_lagers_retouras"),
    R("uit_doorbuiging_aandrijfas"),
    R("uit_doorbuiging_retouras"),
    R("uit_hoekverdraaiing"),
    R("uit_opstartfactor"),
    R("uit_max_doorbuiging_aandrijfas"),
    R("uit_max_doorbuiging_retouras"),
    R("uit_max_hoekverdraaiing"),
    S("uit_warning", 512),
    S("uit_invoerwarning", 255),
]

# ---------------------------------------------------------------------------------------
# Lubrication. The codes are also the column names of the speed-limit tables.
# ---------------------------------------------------------------------------------------

SMERING = [
    # smeer_code,    smering
    ("S_DRY", "D"),
    ("S_WATER", "W"),
    ("S_SOAP_WATER", "Z"),
]

# ---------------------------------------------------------------------------------------
# Materials of the product and of wear strips, guides and supports, with friction codes.
# ---------------------------------------------------------------------------------------

PRODUCT_MATERIAAL = [
    ("S_PET", "W_PET"),
    ("S_CRATES", "W_KRAT"),
    ("S_GLASS", "W_GLAS"),
    ("S_CANS", "W_BLIK"),
    ("S_METAL", "W_METAAL"),
    ("S_ALUMINIUM", "W_BLIK"),
    ("S_PLASTIC", "W_PLASTIC"),
    ("S_CARDBOARD", "W_KARTON"),
    ("S_OTHER", "W_ANDERS"),
]

# Which module offers a guide material where. ind_KM4625 marks a curve guide that only the
# KM4625 chain runs on; its curve formula applies to whoever picks the row, so such a row
# must not be offered as an ordinary chain curve material as well.
GELEIDING_COLUMNS = ["ind_mat", "ind_flex_upper", "ind_flex_return", "ind_flex_curve",
                     "ind_ket_upper", "ind_ket_return", "ind_ket_curve", "ind_KM4625"]
GELEIDING_MATERIAAL = [
    # mat_code,         friction,   mat   flex: up   ret   curve  chain: up  ret   curve  KM4625
    ("S_UHMWPE", "W_UHMW", True, True, True, True, True, True, True, False),
    ("S_HDPE", "W_HDPE", True, True, True, False, True, True, False, False),
    # Cast, oil-filled nylon: a curve material; under a belt it runs hot.
    ("S_POLYAMIDE", "W_PA", False, False, False, True, False, False, True, False),
    ("S_ACETAL", "W_POM", True, True, True, False, False, False, False, False),
    ("S_STAINLESS", "W_RVS", True, True, True, True, True, True, True, False),
    # Hardened steel: return ways, and the KM4625's own curve guide.
    ("S_STEEL", "W_STAAL", True, False, True, False, False, True, False, True),
    ("S_OTHER", "W_ANDERS", True, True, True, True, True, True, True, False),
]

# Return-way supports. Return rollers get a friction code of their own: an empty code
# would make the return way slide with the carrying way's wear-strip friction, three
# times the drag of a roller.
SUPPORT = [
    ("S_SUPPORT_SLIDER_BED", "W_UHMW"),
    ("S_SUPPORT_WEARSTRIPS", "W_UHMW"),
    ("S_SUPPORT_CHEVRON", "W_HDPE"),
    ("S_SUPPORT_ROLLERS", "W_ROL"),
]

# ---------------------------------------------------------------------------------------
# Coefficients of friction, dry, per friction code and belt friction class. For a product
# code it is the product on the belt, for a guide or support code the belt on that guide.
# Water and soap solution lower them by the factors below. A coefficient of exactly 1 marks
# a combination that is not recommended (like-on-like acetal and nylon wear each other) and
# the unlisted material "W_ANDERS", whose coefficient the user types: the calculation warns
# on it. Rollers roll: their equivalent coefficient does not depend on lubrication.
# ---------------------------------------------------------------------------------------

FRICTION_CLASSES = ["PP", "PE", "POM", "PA"]
FRICTION_DRY = {
    #             PP    PE    POM   PA
    "W_PET": (0.20, 0.18, 0.16, 0.20),
    "W_KRAT": (0.25, 0.30, 0.20, 0.25),
    "W_GLAS": (0.18, 0.16, 0.15, 0.18),
    "W_BLIK": (0.30, 0.22, 0.20, 0.25),
    "W_METAAL": (0.32, 0.25, 0.22, 0.28),
    "W_PLASTIC": (0.25, 0.28, 0.20, 0.25),
    "W_KARTON": (0.35, 0.30, 0.28, 0.32),
    "W_UHMW": (0.15, 0.30, 0.15, 0.18),
    "W_HDPE": (0.18, 0.32, 0.17, 0.20),
    "W_PA": (0.20, 0.25, 0.18, 1.0),
    "W_POM": (0.18, 0.22, 1.0, 0.20),
    "W_RVS": (0.26, 0.18, 0.20, 0.25),
    "W_STAAL": (0.28, 0.20, 0.22, 0.27),
    "W_ROL": (0.05, 0.05, 0.05, 0.05),
    "W_ANDERS": (1.0, 1.0, 1.0, 1.0),
}
LUBRICATION_FACTOR = {"D": 1.0, "W": 0.8, "Z": 0.6}
UNCHANGED_BY_LUBRICATION = {"W_ROL"}


def friction_rows():
    rows = []
    for _, smering in SMERING:
        factor = LUBRICATION_FACTOR[smering]
        for code, dry in FRICTION_DRY.items():
            row = {"smering": smering, "mat_wrijvings_code": code}
            for cls, mu in zip(FRICTION_CLASSES, dry):
                if mu == 1.0 or code in UNCHANGED_BY_LUBRICATION:
                    row[cls] = mu
                else:
                    row[cls] = round(mu * factor, 2)
            rows.append(row)
    return rows


# ---------------------------------------------------------------------------------------
# Belt materials: allowed temperatures (dry and lubricated; a water or soap film needs a
# temperature above freezing), linear expansion in mm per metre per degree C, the friction
# class naming the friction column, and the speeds in m/min from which the program warns.
# ---------------------------------------------------------------------------------------

MATERIALS = {
    #       dry min, max   lubr. min, max  expansion  class  speed D   W   Z
    "PP": dict(dry=(1, 104), lub=(2, 104), alpha=0.15, cls="PP", speed=(35, 50, 60)),
    "PE": dict(dry=(-70, 65), lub=(2, 65), alpha=0.20, cls="PE", speed=(30, 45, 55)),
    "POM": dict(dry=(-45, 90), lub=(2, 90), alpha=0.10, cls="POM", speed=(45, 60, 70)),
    # Nylon takes up water and softens: lubricated it runs cooler than dry.
    "PA": dict(dry=(-46, 120), lub=(2, 80), alpha=0.10, cls="PA", speed=(40, 50, 60)),
}

# Strength factor by temperature: (from inclusive, to exclusive, factor). The bands of a
# material cover its whole allowed range, dry and lubricated; the last band ends one degree
# above the maximum because a zone temperature is looked up truncated to whole degrees.
TEMP_CORR = {
    "PP": [(1, 10, 0.95), (10, 40, 1.0), (40, 50, 0.92), (50, 60, 0.84), (60, 70, 0.76),
           (70, 80, 0.68), (80, 90, 0.58), (90, 100, 0.5), (100, 105, 0.4)],
    "PE": [(-70, -40, 0.9), (-40, -10, 0.95), (-10, 30, 1.0), (30, 40, 0.9), (40, 50, 0.8),
           (50, 60, 0.7), (60, 66, 0.6)],
    "POM": [(-45, -20, 0.9), (-20, 0, 0.95), (0, 40, 1.0), (40, 50, 0.92), (50, 60, 0.85),
            (60, 70, 0.78), (70, 80, 0.7), (80, 91, 0.62)],
    "PA": [(-46, -20, 0.9), (-20, 0, 0.95), (0, 40, 1.0), (40, 60, 0.9), (60, 80, 0.8),
           (80, 100, 0.7), (100, 121, 0.55)],
}

# ---------------------------------------------------------------------------------------
# Belt series: pitch (mm), sprocket hub width (mm), distance between sprockets across the
# width (mm), fewest wheels on a shaft, and the sprocket tooth counts.
# ---------------------------------------------------------------------------------------

SERIES = {
    #      pitch  hub   min_afst max_afst min wheels  teeth
    "120": dict(pitch=12.7, hub=20.0, spacing=(40, 100), min_wheels=2, teeth=[12, 16, 20, 24]),
    "250": dict(pitch=25.4, hub=25.0, spacing=(50, 150), min_wheels=3,
                teeth=[8, 10, 12, 16, 20]),
    "380": dict(pitch=38.1, hub=30.0, spacing=(60, 150), min_wheels=3, teeth=[8, 10, 12, 16]),
    "500": dict(pitch=50.8, hub=40.0, spacing=(75, 160), min_wheels=3, teeth=[8, 10, 12, 16]),
}

# Belt types: name, series, material, mass (kg/m2), working load (N/m), longest conveyor
# without a warning (m; None: no limit given). Surfaces: FT flat top, FG flush grid,
# RT raised rib.
BELTS = [
    ("ZRN 120 FT PP", "120", "PP", 4.4, 12000, 15),
    ("ZRN 120 FT PE", "120", "PE", 4.7, 10000, 10),
    ("ZRN 120 FT POM", "120", "POM", 6.8, 18000, 20),
    ("ZRN 250 FT PP", "250", "PP", 6.3, 18000, 25),
    ("ZRN 250 FT PE", "250", "PE", 6.7, 12500, 15),
    ("ZRN 250 FT POM", "250", "POM", 9.6, 28000, 35),
    ("ZRN 250 FT PA", "250", "PA", 7.9, 24000, 30),
    ("ZRN 250 FG PP", "250", "PP", 5.6, 16000, 25),
    ("ZRN 250 FG POM", "250", "POM", 8.6, 25000, None),
    ("ZRN 380 FT PP", "380", "PP", 7.8, 22000, 30),
    ("ZRN 380 FT PE", "380", "PE", 8.3, 15000, 20),
    ("ZRN 380 FT POM", "380", "POM", 11.9, 33000, 40),
    ("ZRN 380 RT PP", "380", "PP", 8.5, 22000, 30),
    ("ZRN 500 FT PP", "500", "PP", 9.2, 26000, 35),
    ("ZRN 500 FT PE", "500", "PE", 9.8, 18000, 25),
    ("ZRN 500 FT POM", "500", "POM", 13.8, 40000, None),
    ("ZRN 500 FT PA", "500", "PA", 11.5, 34000, 40),
    ("ZRN 500 FG PP", "500", "PP", 8.3, 24000, 35),
]


def pitch_diameter(pitch, teeth):
    """Pitch circle of a sprocket: each tooth spans one belt pitch as a chord."""
    return round(pitch / math.sin(math.pi / teeth), 1)


# ---------------------------------------------------------------------------------------
# Shaft bores. Round bores carry one key (DIN 6885 proportions): SH is the key height, SD
# the keyway depth in the shaft, so SH - SD is the height the key bears on in the hub. A
# square bore drives on its four flats, entered as four keys: SH is the shaft's half
# diagonal (whole mm) and SD its half side, so SH - SD is the corner band that bears. Bb is
# the bore length (the hub width): the key's bearing length. boormaat is the lever of the
# key force (shaft diameter or side).
#
# Shaft sections, in mm^4: round d: I = pi d^4 / 64, Ip = pi d^4 / 32 (polar moment).
# Square a: I = a^4 / 12, and for the twist the torsion constant 0.1406 a^4 (not the polar
# moment a^4 / 6, which overstates a square shaft's stiffness in torsion). Dw is the shaft
# diameter, for a square the side.
# ---------------------------------------------------------------------------------------

BORES = [
    # name,    shape, size, SH, SD
    ("20 rd", "round", 20, 6, 3.5),
    ("25 rd", "round", 25, 7, 4.0),
    ("30 rd", "round", 30, 7, 4.0),
    ("40 rd", "round", 40, 8, 5.0),
    ("25 sq", "square", 25, 18, 12.5),
    ("40 sq", "square", 40, 28, 20.0),
    ("60 sq", "square", 60, 42, 30.0),
]

HUB_WALL = 6.0  # mm of plastic between the bore and the tooth roots


def bore_envelope(shape, size, sh, sd):
    """Diameter the bore takes out of the sprocket body: a keyed bore with its keyway, or a
    square bore across its corners."""
    if shape == "round":
        return size + 2 * (sh - sd)
    return size * math.sqrt(2)


def bore_fits(pitch, dp, shape, size, sh, sd):
    """A bore fits when the sprocket body around it keeps its wall below the tooth roots, and
    it is not so small that a large sprocket would sit on a thin shaft."""
    envelope = bore_envelope(shape, size, sh, sd)
    return envelope + 2 * HUB_WALL <= dp - 0.5 * pitch and envelope >= 0.2 * dp


def shaft_section(shape, size):
    if shape == "round":
        return round(math.pi * size**4 / 64), round(math.pi * size**4 / 32)
    return round(size**4 / 12), round(0.1406 * size**4)


# ---------------------------------------------------------------------------------------
# Wheel spacing by load ratio (belt pull over allowed strength, a fraction): bands
# (from exclusive, to inclusive, belt width in mm per wheel, zaagbaar). The first band
# starts below 0 so that a ratio of 0 is covered, the last runs on to any overload. A higher
# load puts the wheels closer, never closer than the series' minimum sprocket spacing.
# The small-pitch 120 series is zaagbaar: its wheel count is not rounded up by one.
# ---------------------------------------------------------------------------------------

WHEEL_SPACING = {
    "120": [(-1, 0.25, 100, True), (0.25, 0.5, 80, True), (0.5, 0.75, 65, True),
            (0.75, 9999, 50, True)],
    "250": [(-1, 0.25, 150, False), (0.25, 0.5, 120, False), (0.5, 0.75, 95, False),
            (0.75, 9999, 75, False)],
    "380": [(-1, 0.3, 150, False), (0.3, 0.6, 115, False), (0.6, 9999, 85, False)],
    "500": [(-1, 0.25, 160, False), (0.25, 0.5, 130, False), (0.5, 0.75, 105, False),
            (0.75, 9999, 90, False)],
}

# Start-up factor by belt speed in m/min: (from inclusive, to exclusive, factor). The top
# band is open-ended: it runs to the largest whole number the field holds.
I4_MAX = 2**31 - 1
OPSTART = [(0, 10, 1.0), (10, 20, 1.1), (20, 30, 1.2), (30, 40, 1.3), (40, 50, 1.4),
           (50, 60, 1.5), (60, I4_MAX, 1.6)]

# ---------------------------------------------------------------------------------------
# Rows of each file
# ---------------------------------------------------------------------------------------


def mat_rows():
    rows = []
    for mattype, serie, matcode, massa, load, max_length in BELTS:
        m, s = MATERIALS[matcode], SERIES[serie]
        row = {
            "mattype": mattype, "matserie": serie, "matcode": matcode, "massa": massa,
            "max_werk_bel": load,
            "min_temp_droog": m["dry"][0], "max_temp_droog": m["dry"][1],
            "min_temp_smering": m["lub"][0], "max_temp_smering": m["lub"][1],
            "lin_uitz_coef": m["alpha"], "steek": s["pitch"],
            "min_afst_tw": s["spacing"][0], "max_afst_tw": s["spacing"][1],
            "min_aant_wiel": s["min_wheels"],
            "wrijv_coef_onder": m["cls"], "wrijv_coef_boven": m["cls"],
        }
        if max_length is not None:
            row["max_asafstand"] = max_length
        rows.append(row)
    return rows


def sprocket_rows():
    return [{"matserie": serie, "tanden": z, "Dp": pitch_diameter(s["pitch"], z)}
            for serie, s in SERIES.items() for z in s["teeth"]]


def bore_rows():
    rows = []
    for serie, s in SERIES.items():
        for z in s["teeth"]:
            dp = pitch_diameter(s["pitch"], z)
            for name, shape, size, sh, sd in BORES:
                if not bore_fits(s["pitch"], dp, shape, size, sh, sd):
                    continue
                i, ip = shaft_section(shape, size)
                rows.append({
                    "matserie": serie, "tanden": z, "boring": name, "boormaat": size,
                    "Dp": dp, "I": i, "Ip": ip, "Dw": size, "Bb": s["hub"], "SH": sh,
                    "SD": sd, "aantal_spie": 1 if shape == "round" else 4,
                })
    return rows


def temp_corr_rows():
    return [{"matcode": code, "temp_vanaf": lo, "temp_tot": hi, "tcf": f}
            for code, bands in TEMP_CORR.items() for lo, hi, f in bands]


def snelheid_rows():
    return [{"matcode": code, "D": m["speed"][0], "W": m["speed"][1], "Z": m["speed"][2]}
            for code, m in MATERIALS.items()]


def wielafstand_rows():
    return [{"matserie": serie, "afst_vanaf": lo, "afst_tm": hi, "aantal_wielen": s,
             "zaagbaar": z}
            for serie, bands in WHEEL_SPACING.items() for lo, hi, s, z in bands]


def invoer_rows():
    """The empty project: defaults of a new record, ten layout rows, ten load rows."""
    return [{
        "bezettingsgraad": 100,
        "product_leading": True,
        "stuw": 100,
        "hoogteverschil": 0,
        "aandrijving_centraal": False,
        "temp_zones": 1,
        "zones": [{"index": i, "temp": 20} for i in range(1, 11)],
        "load_table": [{"index": i} for i in range(1, 11)],
    }]


def wrijving_fields():
    return [S("smering", 3), S("mat_wrijvings_code", 50)] + [R(c) for c in FRICTION_CLASSES]


def tables():
    """File name, fields and rows of every file this script writes."""
    cols = ["mat_code", "mat_wrijvings_code"] + GELEIDING_COLUMNS
    return [
        ("product_materiaal.xml", PRODUCT_MATERIAAL_FIELDS,
         [dict(mat_code=c, mat_wrijvings_code=w) for c, w in PRODUCT_MATERIAAL]),
        ("geleiding_materiaal.xml", GELEIDING_MATERIAAL_FIELDS,
         [dict(zip(cols, r)) for r in GELEIDING_MATERIAAL]),
        ("smering.xml", SMERING_FIELDS, [dict(smeer_code=c, smering=s) for c, s in SMERING]),
        ("wrijving.xml", wrijving_fields(), friction_rows()),
        ("mat.xml", MAT_FIELDS, mat_rows()),
        ("matserie_tandwiel.xml", MATSERIE_TANDWIEL_FIELDS, sprocket_rows()),
        ("tandwiel.xml", TANDWIEL_FIELDS, bore_rows()),
        ("temp_corr_factor.xml", TEMP_CORR_FIELDS, temp_corr_rows()),
        ("support.xml", SUPPORT_FIELDS,
         [dict(Taalcode=k, mat_wrijvings_code=w) for k, w in SUPPORT]),
        ("opstartfactor.xml", OPSTART_FIELDS, [dict(v1=a, v2=b, SF=f) for a, b, f in OPSTART]),
        ("mat_snelheid.xml", MAT_SNELHEID_FIELDS, snelheid_rows()),
        ("mat_wielafstand.xml", MAT_WIELAFSTAND_FIELDS, wielafstand_rows()),
        ("matinvoer.xml", INVOER_FIELDS, invoer_rows()),
    ]


# ---------------------------------------------------------------------------------------
# XML data packet writer
# ---------------------------------------------------------------------------------------

CHAR_REFS = {"<": "&lt;", ">": "&gt;", '"': "&quot;", "&": "&amp;", "'": "&apos;",
             "\r": "&#013;", "\n": "&#010;", "\t": "&#009;", "\\": "&#092;"}


def escape(text):
    return "".join(CHAR_REFS.get(c, c) for c in text)


def format_value(ftype, value):
    if ftype == "boolean":
        if not isinstance(value, bool):
            raise TypeError(f"not a yes/no value: {value!r}")
        return "TRUE" if value else "FALSE"
    if ftype == "i4":
        if isinstance(value, bool) or not isinstance(value, int):
            raise TypeError(f"not a whole number: {value!r}")
        if not -2**31 <= value < 2**31:
            raise ValueError(f"whole number out of range: {value}")
        return str(value)
    if ftype == "r8":
        x = float(value)
        if not math.isfinite(x):
            raise ValueError(f"not a finite number: {value!r}")
        # Shortest text that reads back as the same number, always with "."
        return str(int(x)) if x.is_integer() and abs(x) < 1e15 else repr(x)
    return escape(str(value))


def write_fields(out, fields, indent):
    pad = " " * indent
    out.append(f"{pad}<FIELDS>")
    for name, ftype, width, required in fields:
        nested = isinstance(ftype, tuple)
        attrs = f'attrname="{escape(name)}" fieldtype="{"nested" if nested else ftype}"'
        if ftype == "string":
            attrs += f' WIDTH="{width}"'
        if required:
            attrs += ' required="true"'
        if nested:
            out.append(f"{pad}  <FIELD {attrs}>")
            write_fields(out, ftype[1], indent + 4)
            out.append(f"{pad}    <PARAMS/>")
            out.append(f"{pad}  </FIELD>")
        else:
            out.append(f"{pad}  <FIELD {attrs}/>")
    out.append(f"{pad}</FIELDS>")


def write_rows(out, fields, rows, indent, where):
    pad = " " * indent
    names = {f[0] for f in fields}
    for row in rows:
        unknown = set(row) - names
        if unknown:
            raise KeyError(f"{where}: values for undeclared fields {sorted(unknown)}")
        attrs, nested = "", []
        for name, ftype, width, _ in fields:
            value = row.get(name)
            if isinstance(ftype, tuple):
                nested.append((name, ftype[1], value or []))
                continue
            if value is None:
                continue
            text = format_value(ftype, value)
            if ftype == "string" and len(str(value)) > width:
                raise ValueError(f"{where}: {name} '{value}' is wider than {width}")
            attrs += f' {name}="{text}"'
        if not nested:
            out.append(f"{pad}<ROW{attrs}/>")
            continue
        out.append(f"{pad}<ROW{attrs}>")
        for name, inner, inner_rows in nested:
            out.append(f"{pad}  <{name}>")
            write_rows(out, inner, inner_rows, indent + 4, f"{where}/{name}")
            out.append(f"{pad}  </{name}>")
        out.append(f"{pad}</ROW>")


def packet(fields, rows, where):
    out = ['<?xml version="1.0" standalone="yes"?>', '<DATAPACKET Version="2.0">',
           "  <METADATA>"]
    write_fields(out, fields, 4)
    out += ["    <PARAMS/>", "  </METADATA>", "  <ROWDATA>"]
    write_rows(out, fields, rows, 4, where)
    out += ["  </ROWDATA>", "</DATAPACKET>"]
    return "\n".join(out) + "\n"


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "..", "data"))
    args = parser.parse_args(argv)
    os.makedirs(args.out, exist_ok=True)
    for file_name, fields, rows in tables():
        text = packet(fields, rows, file_name)
        with open(os.path.join(args.out, file_name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
        print(f"{file_name}: {len(rows)} rows")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
