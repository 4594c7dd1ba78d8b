# Virtual null-modem cables for the test programs. Source it after
# scripts/common.sh ($TV_ROOT, $TV_BUILD and $WINEPREFIX set); do not run it.
# scripts/wine-test.sh calls tv_nullmodem_start before each test program and
# tv_nullmodem_stop after it, so every program starts with fresh, empty lines.
#
# Each cable is one socat process joining two ptys; each pty is mapped as a
# port of the test prefix through a link in $WINEPREFIX/dosdevices (Wine
# resolves those links when a port is opened, so links made before the
# program starts are all it needs). The wiring:
#
#   COM5  <-> COM6    the main pair: the port under test and the test's device
#   COM1  <-> COM2    a port with a single-digit name (com1 normally points at
#                     /dev/ttyS0; it is re-pointed here and put back on stop)
#   COM15 <-> COM16   ports above 9, which Windows opens only as \\.\COM15
#   COM7  <-> COM8    a spare pair for tests that jam their cable
#   COM3  <-> COM4    a pair for tests that pull its plug (see below)
#   LPT1  <-> COM9    a parallel "device" whose output the test reads on COM9
#
# A test program plays the device on the far end with plain Win32 calls
# (CreateFileA "\\.\COM6", ReadFile, WriteFile), so it would run unchanged on
# Windows with a null-modem driver pair installed under the same numbers.
#
# Environment for the test program:
#   TV_NULLMODEM_PAIRS  the cables as "COM5:COM6 COM1:COM2 ..." (port:far end)
#   TV_NULLMODEM_DIR    Linux folder of the cables' state; Windows sees it
#                       as Z:<path>. To unplug a cable (its far end vanishes,
#                       as when the device's plug is pulled) create the file
#                       "unplug-<PORT>" there (either end's name); the cable's
#                       socat is killed and "unplugged-<PORT>" appears once it
#                       is gone. An unplugged cable stays dead until the
#                       file "replug-<PORT>" asks for it back: its socat is
#                       started again with the same link names (new ptys, as
#                       when the adapter is plugged in again) and
#                       "replugged-<PORT>" appears once both links are there.
#   LD_PRELOAD          the TIOCMGET shim (tests/host/tiocmget_shim.c): a pty
#                       has no modem lines, and without the shim Wine's
#                       WaitCommEvent fails at once on it.

TV_NULLMODEM_CABLES="COM5:COM6 COM1:COM2 COM15:COM16 COM7:COM8 COM3:COM4 LPT1:COM9"

# Builds the shim with the host compiler when it is missing or out of date.
tv_nullmodem_shim() {
  local src=$TV_ROOT/tests/host/tiocmget_shim.c out=$TV_BUILD/host/tiocmget_shim.so
  if [ ! -f "$out" ] || [ "$src" -nt "$out" ]; then
    mkdir -p "$TV_BUILD/host"
    gcc -shared -fPIC -O2 -Wall -Wextra -o "$out.tmp" "$src" -ldl || return 1
    mv -f "$out.tmp" "$out"
  fi
  printf '%s' "$out"
}

# The dosdevices link name of a port: "COM15" -> com15.
tv_nullmodem_link() { printf '%s/dosdevices/%s' "$WINEPREFIX" "$(printf '%s' "$1" | tr 'A-Z' 'a-z')"; }

# One cable: a socat joining two fresh ptys behind the links of ports $1 and $2.
# raw, no echo: bytes cross unchanged, 0x00 and 0xFF included. socat keeps
# both ptys open itself, so a side's program may close and reopen its port
# without ending the cable.
tv_nullmodem_cable() {
  local a=$1 b=$2 dir=$3 la lb
  la=$(tv_nullmodem_link "$a") lb=$(tv_nullmodem_link "$b")
  rm -f "$la" "$lb"
  socat pty,raw,echo=0,link="$la" pty,raw,echo=0,link="$lb" </dev/null >>"$dir/$a.log" 2>&1 &
  printf '%s\n' $! >"$dir/$a.pid"
}

# Serves unplug and replug requests: polls for "unplug-<PORT>" and
# "replug-<PORT>" files.
tv_nullmodem_controller() {
  local dir=$1 request port cable pid i
  while [ -d "$dir" ]; do
    for request in "$dir"/unplug-* "$dir"/replug-*; do
      [ -e "$request" ] || continue
      port=${request##*/*plug-}
      rm -f "$request"
      for cable in $TV_NULLMODEM_CABLES; do
        case ":$cable:" in *":$port:"*) ;; *) continue ;; esac
        pid=$(cat "$dir/${cable%%:*}.pid" 2>/dev/null)
        case $request in
          */unplug-*)
            if [ -n "$pid" ]; then
              kill "$pid" 2>/dev/null
              while kill -0 "$pid" 2>/dev/null; do sleep 0.02; done
            fi
            rm -f "$dir/replugged-$port"
            : >"$dir/unplugged-$port" ;;
          *)
            if [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null; then
              tv_nullmodem_cable "${cable%%:*}" "${cable##*:}" "$dir"
              for i in $(seq 100); do
                [ -e "$(tv_nullmodem_link "${cable%%:*}")" ] && [ -e "$(tv_nullmodem_link "${cable##*:}")" ] && break
                sleep 0.05
              done
            fi
            rm -f "$dir/unplugged-$port"
            : >"$dir/replugged-$port" ;;
        esac
      done
    done
    sleep 0.05
  done
}

tv_nullmodem_start() {
  local shim dir cable i
  shim=$(tv_nullmodem_shim) || { tv_log "TIOCMGET shim failed to build"; return 1; }
  dir=$TV_BUILD/nullmodem
  tv_nullmodem_stop
  mkdir -p "$dir"
  mkdir -p "$WINEPREFIX/dosdevices"
  # com1 belongs to the prefix (Wine points it at /dev/ttyS0): keep its target.
  readlink "$(tv_nullmodem_link COM1)" >"$dir/com1.saved" 2>/dev/null || : >"$dir/com1.saved"
  for cable in $TV_NULLMODEM_CABLES; do
    tv_nullmodem_cable "${cable%%:*}" "${cable##*:}" "$dir"
  done
  # Return only once every link points at a live pty.
  for i in $(seq 100); do
    local missing=0
    for cable in $TV_NULLMODEM_CABLES; do
      [ -e "$(tv_nullmodem_link "${cable%%:*}")" ] && [ -e "$(tv_nullmodem_link "${cable##*:}")" ] || missing=1
    done
    [ $missing = 0 ] && break
    sleep 0.05
  done
  if [ $missing != 0 ]; then
    tv_log "virtual null-modem: links did not appear"
    tv_nullmodem_stop
    return 1
  fi
  tv_nullmodem_controller "$dir" </dev/null >/dev/null 2>&1 &
  printf '%s\n' $! >"$dir/controller.pid"
  export TV_NULLMODEM_PAIRS=$TV_NULLMODEM_CABLES
  export TV_NULLMODEM_DIR=$dir
  export LD_PRELOAD=$shim${LD_PRELOAD:+:$LD_PRELOAD}
  return 0
}

tv_nullmodem_stop() {
  local dir=$TV_BUILD/nullmodem cable pidfile pid saved
  [ -d "$dir" ] || return 0
  for pidfile in "$dir"/*.pid; do
    [ -e "$pidfile" ] || continue
    pid=$(cat "$pidfile")
    if [ -n "$pid" ] && kill "$pid" 2>/dev/null; then
      local i
      for i in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.02; done
      kill -9 "$pid" 2>/dev/null
    fi
  done
  for cable in $TV_NULLMODEM_CABLES; do
    rm -f "$(tv_nullmodem_link "${cable%%:*}")" "$(tv_nullmodem_link "${cable##*:}")"
  done
  saved=$(cat "$dir/com1.saved" 2>/dev/null)
  [ -n "$saved" ] && ln -sfn "$saved" "$(tv_nullmodem_link COM1)"
  rm -rf "$dir"
  return 0
}
