#!/usr/bin/env bash
# CTest's emulator: runs one GoogleTest program under Wine, with the virtual
# serial ports in place, and keeps its XML result for the summary.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
exe=$1
shift
# A second run of the same program (another time zone, say) keeps its own result.
name=${TV_RESULT_NAME:-$(basename "$exe" .exe)}
results=$TV_BUILD/test-results
mkdir -p "$results"
rm -f "$results/$name.xml"
if [ -f "$TV_ROOT/scripts/nullmodem.sh" ]; then
  source "$TV_ROOT/scripts/nullmodem.sh"
  tv_nullmodem_start || { tv_log "virtual null-modem failed to start"; exit 1; }
  trap tv_nullmodem_stop EXIT
fi
"$WINE64" "$exe" --gtest_output="xml:$(tv_winpath "$results/$name.xml")" "$@"
