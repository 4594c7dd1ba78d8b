#!/usr/bin/env bash
# CTest's emulator: runs one GoogleTest program under Wine, with the virtual
# serial ports in place, and keeps its XML result for the summary. A program
# of the i686 build runs under the 32-bit Wine of the i686 chroot, which
# scripts/test.sh has mounted (see scripts/i686.sh).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
exe=$(readlink -f "$1")
shift
program=$(basename "$exe" .exe)
# A second run of the same program (another time zone, say) keeps its own result.
name=${TV_RESULT_NAME:-$program}
i686=
case $exe in "$(readlink -f "$TV_BUILD")"/x86/*) i686=1 ;; esac
results=$TV_BUILD/test-results
if [ -n "$i686" ]; then
  source "$TV_ROOT/scripts/i686.sh"
  results=$TV_BUILD/test-results-x86
  export WINEPREFIX=$TV_I686_WINEPREFIX
  if [ -z "${TV_I686_PRELOAD:-}" ] || ! mountpoint -q "$TV_I686_CHROOT$TV_ROOT"; then
    tv_log "the i686 chroot is not mounted: run the i686 tests through scripts/test.sh"
    exit 1
  fi
fi
mkdir -p "$results"
rm -f "$results/$name.xml"
if [ -f "$TV_ROOT/scripts/nullmodem.sh" ]; then
  source "$TV_ROOT/scripts/nullmodem.sh"
  tv_nullmodem_start || { tv_log "virtual null-modem failed to start"; exit 1; }
  trap tv_nullmodem_stop EXIT
fi
xml=--gtest_output="xml:$(tv_winpath "$results/$name.xml")"
filter=()
if [ -n "$i686" ]; then
  chosen=$(tv_i686_filter "$program")
  case " $* " in *" --gtest_filter="*) chosen= ;; esac
  [ -n "$chosen" ] && filter=(--gtest_filter="$chosen")
fi
# tv_i686_run <gtest arguments...>: one run of the program in the chroot.
tv_i686_run() {
  # The cables' ptys are the host's (the chroot shares /dev); only the
  # preload differs, as the chroot's 32-bit Wine needs a 32-bit shim.
  # TV_I686_TIMEOUT is a hang guard: a 32-bit program that crashes under
  # emulation can hang in Wine's crash handling instead of exiting.
  tv_i686_env LD_PRELOAD="$TV_I686_PRELOAD" TV_NULLMODEM_PAIRS="${TV_NULLMODEM_PAIRS:-}" \
    TV_NULLMODEM_DIR="${TV_NULLMODEM_DIR:-}" ${TZ:+TZ="$TZ"} wine "$exe" "$@"
  local rc=$?
  # A program that died leaves the programs it started running, and they
  # hold CTest's output pipe open: end them all, then start afresh.
  if [ $rc != 0 ]; then
    tv_i686_env wineserver -k >/dev/null 2>&1
    tv_i686_env wineserver -w >/dev/null 2>&1
    tv_i686_env wineserver -p >/dev/null 2>&1
    tv_i686_env wine cmd /c exit >/dev/null 2>&1
  fi
  return $rc
}
if [ -n "$i686" ] && tv_i686_isolated "$program" && [ -n "${filter[*]}" ]; then
  # One process per case, so that one crash of the emulated Wine costs that
  # case alone; each case's result goes to <name>.d/, a case that left none
  # is named in <name>.d/crashed.txt (both read by scripts/summary.py).
  cases=$(TV_I686_TIMEOUT=120 tv_i686_env wine "$exe" --gtest_list_tests "${filter[@]}" 2>/dev/null | tr -d '\r' |
    awk '/^[^ ]/ {suite = $1; next} /^  [^ ]/ {print suite $1}')
  dir=$results/$name.d
  rm -rf "$dir"
  mkdir -p "$dir"
  rc=0
  [ -n "$cases" ] || { tv_log "$program: no cases listed"; rc=1; }
  for c in $cases; do
    tv_nullmodem_start || { tv_log "virtual null-modem failed to start"; exit 1; }
    TV_I686_TIMEOUT=${TV_I686_TIMEOUT:-300} tv_i686_run --gtest_output="xml:$(tv_winpath "$dir/$c.xml")" \
      --gtest_filter="$c" "$@"
    crc=$?
    # A case that passed but whose process then died counts as crashed.
    [ $crc != 0 ] && ! grep -q '<failure' "$dir/$c.xml" 2>/dev/null && rm -f "$dir/$c.xml"
    [ -s "$dir/$c.xml" ] || echo "$c" >>"$dir/crashed.txt"
    [ $crc = 0 ] || rc=1
  done
  exit $rc
elif [ -n "$i686" ]; then
  TV_I686_TIMEOUT=${TV_I686_TIMEOUT:-600} tv_i686_run "$xml" "${filter[@]}" "$@"
  exit $?
else
  "$WINE64" "$exe" "$xml" "$@"
fi
