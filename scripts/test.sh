#!/usr/bin/env bash
# Builds both targets with their tests and runs them under Wine on a private
# display: the x86_64 suite under the host's Wine, then the i686 build under
# 32-bit Wine in an emulated chroot (scripts/i686.sh); the download made from
# both (scripts/package.sh) is checked too. Prints one result line per build
# and one for the download, and ends with the line "N passed, N failed" over
# all; exits non-zero on any failure.
#   TV_CTEST_ARGS   extra CTest arguments for both runs, e.g. '-R ^util$'
#   TV_I686_TESTS   CTest regex of the programs the 32-bit run takes
#                   (default: all of them; see i686.sh)
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$TV_ROOT/scripts/i686.sh"
tv_install_deps || exit 1
tv_log "building i686 with tests"
tv_build x86 ON || { echo "0 passed, 1 failed"; exit 1; }
tv_log "building x86_64 with tests"
tv_build x64 ON || { echo "0 passed, 1 failed"; exit 1; }
# The download made from these builds, and its check (one result line).
results_package=$TV_BUILD/test-results-package
mkdir -p "$results_package"
tv_log "download: scripts/package.sh and its check"
if bash "$TV_ROOT/scripts/package.sh" >"$results_package/package.log" 2>&1; then
  python3 "$TV_ROOT/tests/package/check_package.py" "$TV_ROOT/dist"
else
  cat "$results_package/package.log"
  echo "  FAILED: scripts/package.sh"
  echo "package: 0 passed, 1 failed"
fi | tee "$results_package/summary.txt"
i686_ready=1
tv_i686_prepare || i686_ready=
TV_FORCE_XVFB=1 tv_display || exit 1
tv_prefix
tv_wineserver
trap 'tv_i686_stop; tv_shutdown' EXIT
for sig in INT TERM HUP; do trap "tv_log 'stopped by SIG$sig'; exit 130" "$sig"; done

# tv_run_suite <x64|x86> <results folder> <label> [ctest arguments...]
tv_run_suite() {
  local arch=$1 results=$2 label=$3 programs failed
  shift 3
  rm -rf "$results"
  mkdir -p "$results"
  programs=$(ctest --test-dir "$TV_BUILD/$arch" -N "$@" ${TV_CTEST_ARGS:-} | sed -n 's/^ *Test *#[0-9]*: *//p' | tr '\n' ' ')
  ctest --test-dir "$TV_BUILD/$arch" --output-on-failure "$@" ${TV_CTEST_ARGS:-} | tee "$results/ctest.log"
  failed=$(sed -n 's/^ *[0-9]* - \([A-Za-z0-9_]*\) (.*/\1/p' "$results/ctest.log" | tr '\n' ' ')
  python3 "$TV_ROOT/scripts/summary.py" "$results" "$programs" "$failed" "$label" | tee "$results/summary.txt"
}
# "P F" from a suite's result line.
tv_counts() { sed -n 's/^.*: \([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p' "$1/summary.txt" 2>/dev/null | tail -1; }

tv_log "x86_64 tests"
tv_run_suite x64 "$TV_BUILD/test-results" x86_64
tv_log "i686 tests under 32-bit Wine (emulated)"
results32=$TV_BUILD/test-results-x86
if [ -n "$i686_ready" ] && tv_i686_start; then
  subset=()
  [ -z "${TV_CTEST_ARGS:-}" ] && subset=(-R "${TV_I686_TESTS:-$TV_I686_DEFAULT_TESTS}")
  tv_run_suite x86 "$results32" "i686" "${subset[@]}"
else
  mkdir -p "$results32"
  echo "i686: 0 passed, 1 failed (the 32-bit Wine chroot could not be prepared)" | tee "$results32/summary.txt"
fi
tv_i686_stop

read -r p64 f64 <<<"$(tv_counts "$TV_BUILD/test-results")"
read -r p32 f32 <<<"$(tv_counts "$results32")"
read -r ppk fpk <<<"$(tv_counts "$results_package")"
passed=$(( ${p64:-0} + ${p32:-0} + ${ppk:-0} )) failed=$(( ${f64:-1} + ${f32:-1} + ${fpk:-1} ))
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
