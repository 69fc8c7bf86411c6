#!/usr/bin/env bash
# The delivered language and reference files pass their checkers, and the checkers still
# catch the faults they are meant to catch.
# Usage: delivered_files.sh <zrncalc> <tests/fixtures>
set -eu
root=$(cd "$2/../.." && pwd)
python3 "$root/tools/taal/check_taal.py"
python3 "$root/tools/data/check_belt_data.py"
python3 "$root/tools/data/test_check_belt_data.py"
