#!/usr/bin/env bash
# Builds TV-SERKEY and starts it under Wine. On the user's display it stays
# until closed; with no display it runs on a private Xvfb, and a screenshot of
# the window is saved to the path printed at the end.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
tv_install_deps || exit 1
tv_build x64 OFF || exit 1
headless=
[ -z "${DISPLAY:-}" ] && headless=1
tv_display || exit 1
tv_prefix
tv_wineserver
if [ -z "$headless" ]; then
  "$WINE64" "$TV_BUILD/x64/bin/TV-SERKEY.exe" "$@"
  exit 0
fi
trap tv_shutdown EXIT
"$WINE64" "$TV_BUILD/x64/bin/TV-SERKEY.exe" "$@" &
sleep 6
shot=$TV_BUILD/screenshots/main-window.png
mkdir -p "$(dirname "$shot")"
xwd -root -silent | convert xwd:- "$shot"
echo "screenshot: $shot"
