#!/usr/bin/env bash
# zrncalc eval FORMULA [NAME=VALUE ...]: the result on standard output, or "error: " and the
# evaluator's message on standard error with exit status 1.
set -u
zrncalc="$1"
failures=0

expect_result() { # expected formula [variables...]
    local expected="$1"
    shift
    local out status
    out="$("$zrncalc" eval "$@" 2>/dev/null)"
    status=$?
    if [[ $status -ne 0 || "$out" != "$expected" ]]; then
        echo "FAIL: eval $* gave [$out] status $status, expected [$expected] status 0"
        failures=$((failures + 1))
    fi
}

expect_error() { # message formula [variables...]
    local message="$1"
    shift
    local out err status
    err="$("$zrncalc" eval "$@" 2>&1 >/dev/null)"
    status=$?
    out="$("$zrncalc" eval "$@" 2>/dev/null)"
    if [[ $status -ne 1 || "$err" != "error: $message" || -n "$out" ]]; then
        echo "FAIL: eval $* gave [$out] [$err] status $status, expected [error: $message] status 1"
        failures=$((failures + 1))
    fi
}

expect_result "14" "2+3*4"
expect_result "50.8" "x*2" "x=25.4"
expect_result '"AB"' 'upper(s)' 's="ab"'
expect_result "-4" "-x^2" "x=2"
expect_result "6" "a:=2; a*3"
expect_error "? operand " "2 * -3"
expect_error "Unknown variable:y" "x+y" "x=1"
expect_error "String value end error" '"abc'

# The line break after the result, and nothing else.
bytes="$("$zrncalc" eval "1/4" | od -An -c | tr -d ' ')"
if [[ "$bytes" != '0.25\n' ]]; then
    echo "FAIL: eval 1/4 wrote [$bytes]"
    failures=$((failures + 1))
fi

exit $((failures > 0))
