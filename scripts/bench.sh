#!/usr/bin/env bash
# Keystroke latency and throughput of the whole path (device -> null-modem ->
# TV-SERKEY -> keys in another program's window). Prints figures only.
#   bash scripts/bench.sh [single-byte messages = 1000] [stream bytes = 5000]
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$TV_ROOT/scripts/nullmodem.sh"
tv_install_deps || exit 1
tv_build x64 ON >/dev/null || exit 1
TV_FORCE_XVFB=1 tv_display || exit 1
tv_prefix
tv_wineserver
trap 'tv_nullmodem_stop; tv_shutdown' EXIT
tv_nullmodem_start || exit 1
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(/usr/lib/wine/wine64 --version 2>/dev/null)"
"$WINE64" "$TV_BUILD/x64/bin/keystroke_benchmark.exe" "$@"
