#!/usr/bin/env bash
# The benchmark: every figure of the program measured in the same run beside
# a baseline, one of our own small programs in tests/programs/ that does only
# what the platform needs for the same job, and their ratio. Prints one
# table (Markdown) with the machine it ran on; asserts nothing about speed.
#
#   bash scripts/bench.sh [--toggles N] [--quick]
#
#   --toggles N  start/stop toggles of the endurance row (default 1000,
#                about a minute here; where the tray icon's removal stalls
#                ~2 s per Stop, as without the prefix's unmanaged windows,
#                ask for fewer, e.g. --toggles 40)
#   --quick      small counts everywhere, to try the script out
set -u
toggles=1000
latency=1000 stream=5000 edit=1000 idle=20 rounds=3 starts=5 files=10000
while [ $# -gt 0 ]; do
  case $1 in
    --toggles) toggles=$2; shift 2 ;;
    --quick) latency=100 stream=1000 edit=200 idle=3 rounds=1 starts=1 toggles=20 files=1000; shift ;;
    *) echo "usage: bash scripts/bench.sh [--toggles N] [--quick]" >&2; exit 2 ;;
  esac
done

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$TV_ROOT/scripts/nullmodem.sh"
tv_install_deps || exit 1
tv_build x64 ON >/dev/null || exit 1
# For the size rows: the i686 program and the minimal window program.
tv_build x86 ON TV-SERKEY combo_window >/dev/null || exit 1
TV_FORCE_XVFB=1 tv_display || exit 1
tv_prefix
tv_wineserver
trap 'tv_nullmodem_stop; tv_shutdown' EXIT
tv_nullmodem_start || exit 1

bin=$TV_BUILD/x64/bin
out=$TV_BUILD/bench
mkdir -p "$out"
rm -f "$out"/*.txt
machine="$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $("$WINE64" --version 2>/dev/null), Xvfb"
echo "machine: $machine"
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"

# One driver program; its output goes to a file (Wine's background processes
# would keep a pipe open), then its commentary is shown.
drivers=()
run() {
  local name=$1; shift
  drivers+=("$name")
  echo "== $name"
  local started=$SECONDS
  "$WINE64" "$bin/$name.exe" "$@" >"$out/$name.txt" 2>&1
  local rc=$?
  grep -v '^ROW|' "$out/$name.txt" | tr -d '\r'
  [ $rc = 0 ] || echo "   ($name ended with code $rc)"
  echo "   ($((SECONDS - started)) s)"
}

run keystroke_benchmark "$latency" "$stream" "$edit" "$idle" "$rounds"
# Where the program's time per batch goes (commentary, no table row).
run batch_profile "$stream"
# Keys per pause: a tenth of the latency messages (100, or 10 with --quick).
run key_pause_benchmark "$((latency / 10))"
# What data rules add per record, beside typing the record (in process).
run rules_benchmark
run startup_benchmark "$starts"
run start_stop_endurance "$toggles"
if [ -f "$bin/dir_benchmark.exe" ]; then
  # Its folder is kept between runs: the files are made only once.
  mkdir -p "$out/dir_$files"
  run dir_benchmark "$(tv_winpath "$out/dir_$files")\\" "$files"
  # Its one line of figures becomes a row of the table.
  tr -d '\r' <"$out/dir_benchmark.txt" | sed -n \
    's#^directory listing of \([0-9]*\) entries.*VODir \([0-9]*\) entries/s, \(FindFirstFileA/FindNextFileA\) \([0-9]*\) entries/s, ratio VODir/plain \([0-9.]*\).*#ROW|directory listing, \1 files, VODir (entries/s)|\2|\4 \3 loop|\5#p' \
    >>"$out/dir_benchmark.txt"
fi

# Each build's program beside the minimal window program built the same way.
drivers+=(sizes)
for build in x86:i686 x64:x86_64; do
  program=$(stat -c %s "$TV_BUILD/${build%:*}/bin/TV-SERKEY.exe")
  window=$(stat -c %s "$TV_BUILD/${build%:*}/bin/combo_window.exe")
  echo "ROW|size of TV-SERKEY.exe, ${build#*:} build, stripped (KiB)|$((program / 1024))|$((window / 1024)) minimal window|$(awk "BEGIN{printf \"%.2f\", $program / $window}")"
done >"$out/sizes.txt"

echo
echo "machine: $machine; load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| row | TV-SERKEY | baseline | ratio |"
echo "| --- | ---: | ---: | ---: |"
for name in "${drivers[@]}"; do cat "$out/$name.txt"; done | tr -d '\r' | grep '^ROW|' | sed 's/^ROW|//; s/|/ | /g; s/^/| /; s/$/ |/'
