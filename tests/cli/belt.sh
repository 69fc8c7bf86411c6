#!/bin/bash
# zrncalc belt: a belt session replayed from the command line, on the belt report fixture.
# Usage: belt.sh <zrncalc> <tests/fixtures>
set -u
zrncalc="$1"
fixtures="$2/belt_report"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

belt() { "$zrncalc" belt --data "$fixtures/data" --taal "$fixtures/taal" "$@"; }

# A complete project typed in as a user would, zones after the zone count.
session=(--set project=Packer --set mattype=M25-PP --set lengte=10 --set breedte=600
         --set p_mat_code=S_MAT_PET --set gewicht=500 --set diameter=80
         --set geleidingsmateriaal=S_SUP_STRIPS --set g_mat_code=S_GM_HDPE
         --set product_per_uur=3600 --set smering=D --set tandwiel_grootte=16
         --set asdiameter="40 sq" --set temp_zones=2 --zone 1:lengte=6 --zone 1:temp=30
         --zone 2:lengte=4 --zone 2:temp=50)

if belt "${session[@]}" --json --save "$work/packer.MAT" > "$work/a.json" 2> "$work/a.err"; then
    python3 - "$work/a.json" <<'PY' || fail "JSON of the typed session"
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
assert set(d) == {"record", "zones", "load_table", "blocking_field", "input_warning"}, list(d)
r = d["record"]
for name in ("project", "mattype", "lengte", "breedte", "belasting", "gewicht", "temp_zones",
             "aandrijving_centraal", "taal", "eenheid", "uit_werk_belasting", "uit_motorvermogen",
             "uit_aandrijf_wielen", "uit_warning", "uit_invoerwarning"):
    assert name in r, name
assert "zones" not in r and "load_table" not in r
assert r["project"] == "Packer" and r["mattype"] == "M25-PP"
assert r["lengte"] == 10 and r["breedte"] == 600 and r["aslengte"] == 700, r  # width + 100 mm
assert r["temp_zones"] == 2 and r["aandrijving_centraal"] is False
assert r["frc_prod_afw"] is None
assert r["uit_werk_belasting"] > 0 and r["uit_aandrijf_wielen"] >= 1, r
assert d["blocking_field"] is None and d["input_warning"] == "", d
z = d["zones"]
assert [x["index"] for x in z] == list(range(1, 11)), z
assert (z[0]["lengte"], z[0]["temp"], z[1]["lengte"], z[1]["temp"]) == (6, 30, 4, 50), z[:2]
assert z[2]["lengte"] is None, z[2]
loads = d["load_table"]
assert [x["index"] for x in loads] == list(range(1, 11))
assert loads[1]["strength"] > 0 and loads[2]["strength"] is None, loads[:3]
PY
    [ -s "$work/a.err" ] && fail "the typed session printed on standard error: $(cat "$work/a.err")"
else
    fail "typed session exited with $?: $(cat "$work/a.err")"
fi

# The saved project loads back to the same record, zones, load rows and results.
belt --project "$work/packer.MAT" --json > "$work/b.json" || fail "--project exited with $?"
cmp -s "$work/a.json" "$work/b.json" || fail "the saved project does not load back the same"

# An incomplete record names the field that blocks the calculation; zones mismatch too.
belt --set mattype=M25-PP --json > "$work/c.json" || fail "incomplete record exited with $?"
jq -e '.blocking_field == "lengte"' "$work/c.json" > /dev/null || fail "blocking field: $(jq -c .blocking_field "$work/c.json")"
belt --project "$work/packer.MAT" --set lengte=11 --json > "$work/d.json" || fail "mismatch exited with $?"
jq -e '.blocking_field == "zones.lengte" and (.input_warning | length > 0)' "$work/d.json" > /dev/null ||
    fail "zone mismatch: $(jq -c '[.blocking_field, .input_warning]' "$work/d.json")"

# A refused value: its message, status 1, nothing on standard output, nothing saved.
belt --project "$work/packer.MAT" --set temp_zones=11 --json --save "$work/refused.MAT" \
    > "$work/e.out" 2> "$work/e.err"
status=$?
[ "$status" -eq 1 ] || fail "refused value: status $status, expected 1"
[ -s "$work/e.out" ] && fail "refused value: printed on standard output"
grep -q "^error: .*temp_zones" "$work/e.err" || fail "refused value: message '$(cat "$work/e.err")'"
[ -e "$work/refused.MAT" ] && fail "refused value: the project was saved"
belt --set bezettingsgraad=abc --json > /dev/null 2> "$work/f.err" && fail "non-numeric percentage accepted"
grep -q "abc" "$work/f.err" || fail "non-numeric percentage: message '$(cat "$work/f.err")'"
belt --set mattype=NO-SUCH-BELT --json > /dev/null 2>&1 && fail "an unknown belt type was accepted"

# The text report, also written as a report file.
belt --project "$work/packer.MAT" --report --rtf "$work/packer.rtf" > "$work/metric.txt" ||
    fail "--report exited with $?"
head -1 "$work/metric.txt" | grep -qx " \{32\}Belt report test \{32\}" || fail "report title: $(head -1 "$work/metric.txt")"
grep -q "^- length           : 10.00         m  " "$work/metric.txt" || fail "metric length line"
grep -q "$(printf '\r')" "$work/metric.txt" && fail "report lines end in CR on standard output"
head -c 5 "$work/packer.rtf" | grep -q '^{\\rtf' || fail "--rtf did not write a Rich Text Format file"

# Imperial units change what the report shows, not the stored values.
belt --project "$work/packer.MAT" --units imperial --report > "$work/imperial.txt" ||
    fail "imperial --report exited with $?"
grep -q "^- length           : 32.81         ft " "$work/imperial.txt" ||
    fail "imperial length line: $(grep -- '- length' "$work/imperial.txt")"
belt --project "$work/packer.MAT" --units imperial --json > "$work/imperial.json" ||
    fail "imperial --json exited with $?"
cmp -s "$work/a.json" "$work/imperial.json" || fail "imperial units changed the stored values"

# Typed in imperial, stored metric: 2 inch is 50.8 mm.
belt --units imperial --set diameter=2 --json > "$work/g.json" || fail "imperial entry exited with $?"
jq -e '.record.diameter == 50.8' "$work/g.json" > /dev/null || fail "imperial entry stored $(jq .record.diameter "$work/g.json")"

# The columnar line, with and without its header; another language.
belt --project "$work/packer.MAT" --columnar --header > "$work/col.txt" || fail "--columnar exited with $?"
[ "$(wc -l < "$work/col.txt")" -eq 6 ] || fail "columnar with header: $(wc -l < "$work/col.txt") lines"
tail -1 "$work/col.txt" | grep -q "^Packer         M25-PP       600.0" || fail "columnar line: $(tail -1 "$work/col.txt")"
belt --project "$work/packer.MAT" --columnar > "$work/col1.txt" || fail "--columnar alone exited with $?"
[ "$(wc -l < "$work/col1.txt")" -eq 1 ] || fail "columnar without header: $(wc -l < "$work/col1.txt") lines"
belt --project "$work/packer.MAT" --lang frans --report | grep -q "DONNÉES D'ENTRÉE" ||
    fail "--lang frans did not give the French report in UTF-8"

# Exactly one output, and a language that exists.
belt --json --report > /dev/null 2>&1 && fail "--json with --report accepted"
belt > /dev/null 2>&1 && fail "no output option accepted"
belt --lang klingon --json > /dev/null 2>&1 && fail "an unknown language was accepted"

# The program's own data and language directories beside it.
"$zrncalc" belt --json > "$work/own.json" || fail "default directories exited with $?"
jq -e '.blocking_field == "mattype"' "$work/own.json" > /dev/null || fail "template: $(jq -c .blocking_field "$work/own.json")"

[ "$failures" -eq 0 ] && echo "belt: all checks passed"
exit "$failures"
