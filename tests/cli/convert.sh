#!/usr/bin/env bash
# zrncalc convert: one value through the formulas of a unit file.
# Usage: convert.sh <zrncalc> <tests/fixtures>
set -u
zrncalc=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
fixtures=$2
failures=0

expect_output() { # expected, then the arguments of convert
    local expected=$1
    shift
    local out
    out=$("$zrncalc" convert "$@" 2>&1)
    local status=$?
    if [[ $status -ne 0 || "$out" != "$expected" ]]; then
        echo "FAIL: convert $* gave '$out' (status $status), expected '$expected'"
        failures=$((failures + 1))
        return 1
    fi
}

# The delivered unit file beside the program.
expect_output 1 MM 25.4 --to imperial
expect_output 25.4 MM 1 --to metric
expect_output 32 C 0 --to imperial
expect_output -40 C -40 --to imperial
expect_output 100 C 212 --to metric
expect_output 0 NO_SUCH_CODE 12 --to imperial

# Another language directory, absolute or relative to where the command runs.
expect_output 50.8 MM 2 --to metric --taal "$fixtures/lang"
(cd "$fixtures" && expect_output 50.8 MM 2 --to metric --taal lang) || failures=$((failures + 1))

# A directory without unit file.
err=$("$zrncalc" convert MM 1 --to imperial --taal "$fixtures/lang/missing" 2>&1 >/dev/null)
status=$?
out=$("$zrncalc" convert MM 1 --to imperial --taal "$fixtures/lang/missing" 2>/dev/null)
if [[ $status -ne 1 || "$err" != "error: Taaldirectory niet gevonden" || -n "$out" ]]; then
    echo "FAIL: missing unit file gave status $status, stderr '$err', stdout '$out'"
    failures=$((failures + 1))
fi

# A value that is no number, and a bad formula, are errors too.
for args in "MM abc --to metric" "BAD 1 --to imperial --taal $fixtures/lang"; do
    # shellcheck disable=SC2086
    if "$zrncalc" convert $args >/dev/null 2>&1; then
        echo "FAIL: convert $args succeeded"
        failures=$((failures + 1))
    fi
done

exit $((failures > 0))
