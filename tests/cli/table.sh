#!/bin/bash
# zrncalc table: a table file shown as JSON, written in both forms, and refused when unreadable.
set -u
zrncalc="$1"
fixtures="$2/tables"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The fixture as JSON: field list with widths and nested fields, values with their types.
if "$zrncalc" table "$fixtures/sample.xml" > "$work/xml.json"; then
    python3 - "$work/xml.json" <<'PY' || fail "JSON of sample.xml"
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
f = d["fields"]
assert [x["name"] for x in f] == ["code", "factor", "count", "active", "zones"], f
assert f[0] == {"name": "code", "type": "string", "width": 20, "required": True}, f[0]
assert f[1] == {"name": "factor", "type": "r8", "required": False}, f[1]
assert [x["type"] for x in f] == ["string", "r8", "i4", "boolean", "nested"]
assert [x["name"] for x in f[4]["fields"]] == ["index", "lengte"], f[4]
r = d["rows"]
assert len(r) == 2, r
assert r[0] == {"code": "A&B <1>", "factor": 0.25, "count": 3, "active": True,
                "zones": [{"index": 1, "lengte": 1.5}, {"index": 2, "lengte": None}]}, r[0]
assert r[1] == {"code": "caf\u00e9 \"x\"\r\ny", "factor": None, "count": None,
                "active": False, "zones": []}, r[1]
PY
else
    fail "zrncalc table sample.xml exited with $?"
fi

# xml -> binary -> json, and xml -> XML (upper-case extension) -> json: nothing lost.
for out in copy.MAT copy.XML; do
    if ! "$zrncalc" table "$fixtures/sample.xml" --save "$work/$out" > "$work/save.out"; then
        fail "--save $out exited with $?"
        continue
    fi
    [ -s "$work/save.out" ] && fail "--save $out printed something"
    "$zrncalc" table "$work/$out" > "$work/$out.json" || fail "reading $out back"
    cmp -s "$work/xml.json" "$work/$out.json" || fail "$out does not read back as the original"
done
head -c 5 "$work/copy.XML" | grep -q '^<?xml' || fail "copy.XML is not in the XML form"
head -c 5 "$work/copy.MAT" | grep -q '^<?xml' && fail "copy.MAT is not in the binary form"

# A file named explicitly is read as it is, even with a ".CDS" override beside it.
cp "$fixtures/sample.xml" "$work/named.xml"
"$zrncalc" table "$2/catalogue/data/mat.xml" --save "$work/named.CDS" || fail "writing named.CDS"
"$zrncalc" table "$work/named.xml" > "$work/named.json" || fail "reading named.xml"
cmp -s "$work/xml.json" "$work/named.json" || fail "named.xml was not read as it is"

# Unreadable files: one line on standard error, nothing on standard output, status 1.
for bad in "$fixtures/missing.xml" "$fixtures/malformed.xml"; do
    "$zrncalc" table "$bad" > "$work/bad.out" 2> "$work/bad.err"
    status=$?
    [ "$status" -eq 1 ] || fail "$(basename "$bad"): status $status, expected 1"
    [ -s "$work/bad.out" ] && fail "$(basename "$bad"): printed on standard output"
    [ "$(wc -l < "$work/bad.err")" -eq 1 ] || fail "$(basename "$bad"): not one line of error"
    grep -q "$(basename "$bad")" "$work/bad.err" || fail "$(basename "$bad"): error does not name the file"
done

[ "$failures" -eq 0 ] && echo "table: all checks passed"
exit "$failures"
