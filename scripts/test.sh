#!/usr/bin/env bash
# Builds both targets and runs every test under Wine on a private display.
# Ends with the line "N passed, N failed"; exits non-zero on any failure.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
tv_install_deps || exit 1
tv_log "building i686"
tv_build x86 OFF || { echo "0 passed, 1 failed"; exit 1; }
tv_log "building x86_64 with tests"
tv_build x64 ON || { echo "0 passed, 1 failed"; exit 1; }
TV_FORCE_XVFB=1 tv_display || exit 1
tv_prefix
tv_wineserver
trap tv_shutdown EXIT
rm -rf "$TV_BUILD/test-results"
mkdir -p "$TV_BUILD/test-results"
programs=$(ctest --test-dir "$TV_BUILD/x64" -N | sed -n 's/^ *Test *#[0-9]*: *//p' | tr '\n' ' ')
ctest --test-dir "$TV_BUILD/x64" --output-on-failure ${TV_CTEST_ARGS:-} | tee "$TV_BUILD/test-results/ctest.log"
failed_programs=$(sed -n 's/^ *[0-9]* - \([A-Za-z0-9_]*\) (.*/\1/p' "$TV_BUILD/test-results/ctest.log" | tr '\n' ' ')
python3 "$TV_ROOT/scripts/summary.py" "$TV_BUILD/test-results" "$programs" "$failed_programs"
