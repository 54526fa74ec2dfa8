#!/usr/bin/env bash
# Runs a Windows program under Wine with the tests' private prefix, quietly.
#   wine_run.sh WINE PREFIX --init [DPI] make the prefix if it is not there yet,
#                                        with the screen's DPI (96 unless given)
#   wine_run.sh WINE PREFIX PROGRAM ...  run PROGRAM, exit with its exit code
set -euo pipefail
wine=$1 prefix=$2
shift 2
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$1" = --init ]; then
  [ -f "$prefix/system.reg" ] && exit 0
  mkdir -p "$prefix"
  "$wine" wineboot --init
  # Without a window manager Wine draws the windows' frames and captions itself.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  if [ -n "${2:-}" ]; then
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null
  fi
  # A crashing program ends at once instead of waiting in the debugger.
  "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null
  # Wine's own TrueType fonts (Tahoma for the dialogs, Marlett for the caption
  # buttons), which this packaging does not put where the prefix looks.
  ln -sf /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  "${wine%64}server" -w 2>/dev/null || wineserver -w
  exit 0
fi
status=0
"$wine" "$@" || status=$?
exit "$status"
