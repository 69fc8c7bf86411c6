#!/usr/bin/env bash
# Sets everything up, checks the source format, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' \
    | xargs -r clang-format --dry-run -Werror
ctest --test-dir build --output-on-failure -j2
