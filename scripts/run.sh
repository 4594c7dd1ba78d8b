#!/usr/bin/env bash
# Builds TV-SERKEY and shows it at work under Wine: COM1 is wired by a
# virtual null-modem cable to COM2, where a simulated barcode scanner sends a
# line every few seconds, and a typing target window waits for the keys.
#
# With a display: press Start in TV-SERKEY, click into the typing target, and
# watch the scanned lines arrive as typed keys; choose "Type as text" in the
# notification icon's menu to have them typed exactly as sent. Close
# TV-SERKEY to end.
# Without a display: the same runs on a private Xvfb. Start is clicked for
# you, the sample lines arrive in key mode, "Type as text" is switched on
# through the icon's menu, the same lines arrive again as exact text, and
# screenshots are saved to the paths printed at the end.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$TV_ROOT/scripts/nullmodem.sh"
tv_install_deps || exit 1
tv_build x64 OFF || exit 1
headless=
[ -z "${DISPLAY:-}" ] && headless=1
tv_display || exit 1
tv_prefix
tv_wineserver
cleanup() {
  [ -n "${device_pid:-}" ] && kill "$device_pid" 2>/dev/null
  tv_nullmodem_stop
  [ -n "$headless" ] && tv_shutdown
  return 0
}
trap cleanup EXIT
tv_nullmodem_start || exit 1
bin=$TV_BUILD/x64/bin
# Start from the first-run settings (COM1, 9600 8N1), whatever an earlier run saved.
"$WINE64" reg delete 'HKCU\Software\Talvik\TV-SERKEY' /f >/dev/null 2>&1

"$WINE64" "$bin/typing_target.exe" &
target_pid=$!
sleep 2
"$WINE64" "$bin/TV-SERKEY.exe" "$@" &
program_pid=$!

if [ -z "$headless" ]; then
  "$WINE64" "$bin/device_simulator.exe" COM2 3000 &
  device_pid=$!
  tv_log "press Start in TV-SERKEY, then click into the typing target; for the exact text choose Type as text in the notification icon's menu (right click); close TV-SERKEY to end"
  wait "$program_pid"
  kill "$target_pid" 2>/dev/null
  exit 0
fi

shots=$TV_BUILD/screenshots
mkdir -p "$shots"
converter=$(tv_imagemagick) || tv_log "ImageMagick not found: no screenshots"
# A path is printed only for a picture that was really written.
shoot() {
  rm -f "$shots/$1"
  if [ -n "$converter" ] && xwd -root -silent | "$converter" xwd:- "$shots/$1" 2>/dev/null && [ -s "$shots/$1" ]; then
    echo "screenshot: $shots/$1"
  else
    tv_log "screenshot $1 could not be written"
  fi
}
window_of() { xdotool search --sync --onlyvisible --name "$1" | head -1; }
click_at() {  # window, x and y as fractions of its size
  local win=$1 X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove "$(awk "BEGIN{print int($X + $WIDTH * $2)}")" "$(awk "BEGIN{print int($Y + $HEIGHT * $3)}")" click 1
}
main=$(window_of 'TV-SERKEY, Release')
target=$(window_of 'Typing target')
# The sample lines from the simulated scanner into the typing target.
send_lines() {
  click_at "$target" 0.5 0.5
  "$WINE64" "$bin/device_simulator.exe" COM2 700 5 &
  device_pid=$!
  wait "$device_pid"
  device_pid=
  sleep 2
}
sleep 2
shoot 1-before-start.png
# The Start button fills the right part of the window.
click_at "$main" 0.68 0.6
sleep 2
send_lines
shoot 2-key-mode.png
# "Type as text" on, as a user does it: a right click on the notification
# icon (the first one in Wine's own tray window, below its caption), then a
# click on "Type as text", the fourth item, 0.37 of the way down the menu
# (Show, Stop, Ports on this computer, a separator, Type as text, Pause between
# keys, Start with Windows, Data rules..., Device..., Pause typing, a separator, Exit). Keys typed here
# would not reach it: Xvfb has no window manager to give it the focus.
tray=$(xdotool search --onlyvisible --name 'Wine System Tray' | head -1)
if [ -n "$tray" ]; then
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  xdotool mousemove --window "$tray" 12 $((HEIGHT - 12)) click 3
  sleep 1
  # The menu: the program's one visible window without a title.
  for win in $(xdotool search --onlyvisible --classname 'tv-serkey.exe'); do
    [ -z "$(xdotool getwindowname "$win")" ] && menu=$win
  done
  [ -n "${menu:-}" ] && click_at "$menu" 0.4 0.37
  sleep 1
fi
"$WINE64" reg query 'HKCU\Software\Talvik\TV-SERKEY\Options' /v TypeText 2>/dev/null | grep -q '0x1' ||
  tv_log "Type as text could not be switched on through the notification icon"
send_lines
shoot 3-text-mode.png
xdotool search --name 'Typing target' >/dev/null && kill "$program_pid" "$target_pid" 2>/dev/null
