#!/usr/bin/env bash
# Runs an installer under Wine here, as a user of 32-bit Windows would:
#   tools/try-installer.sh [--trace] MEDIUM_FOLDER [WORD...]
#       copies the medium into the Wine prefix (C:\qsmedium) and starts its SETUP.EXE with the
#       words (for example /s);
#   tools/try-installer.sh [--trace] --script SCRIPT MEDIUM_FOLDER [WORD...]
#       runs TALVEN.EXE of the 32-bit build by hand on SCRIPT, with the medium as its /DIR:.
# --trace switches the interpreter's trace on (TALVEN.INI in the Windows directory) and prints
# where it went. The prefix is build/try-installer/wineprefix, made on first use, with an Xvfb
# of its own unless DISPLAY is set; inside a running Wine session (the tests) that one is used.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
trace="" script=""
while [ $# -gt 0 ]; do
  case $1 in
    --trace) trace=1; shift ;;
    --script) script=$(realpath "$2"); shift 2 ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || { sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
medium=$(realpath "$1")
shift
talven=$root/build/win32/bin/TALVEN.EXE
[ -z "$script" ] || [ -f "$talven" ] || { echo "try-installer: build the 32-bit programs first (cmake --build --preset win32)"; exit 2; }

if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  export WINE_BUILD=$root/build/try-installer
  [ -n "${DISPLAY:-}" ] && export QS_USE_DISPLAY=1
  source "$root/tools/wine-session.sh"
  trap wine_session_end EXIT
  wine_session_begin
fi
WINE=${WINE:-/usr/lib/wine/wine}
drive_c=$WINEPREFIX/drive_c
place=$drive_c/qsmedium
rm -rf "$place"
mkdir -p "$place"
cp -r "$medium/." "$place/"
# SETUP.EXE keeps an installed interpreter of the same version: take the medium's own each time,
# as a machine that never had one would.
rm -f "$drive_c/windows/KVLSOFT/TALVEN.EXE" "$drive_c/windows/KVLSOFT/MORPAX.EXE"
if [ -n "$trace" ]; then
  rm -f "$place/TRACE.LOG"
  printf '[Debug]\r\nDebug=1\r\nOutputTo=C:\\qsmedium\\TRACE.LOG\r\n' > "$drive_c/windows/TALVEN.INI"
fi
status=0
if [ -n "$script" ]; then
  cp "$script" "$place/$(basename "$script")"
  "$WINE" "$talven" "C:\\qsmedium\\$(basename "$script")" '/DIR:C:\qsmedium' "$@" || status=$?
else
  "$WINE" 'C:\qsmedium\SETUP.EXE' "$@" || status=$?
fi
[ -n "$trace" ] && rm -f "$drive_c/windows/TALVEN.INI"
echo "try-installer: ended with $status (Wine prefix $WINEPREFIX)"
if [ -s "$drive_c/windows/KVLSOFT/ERROR.LOG" ]; then
  echo "try-installer: SETUP.EXE's ERROR.LOG:"
  tr -d '\r' < "$drive_c/windows/KVLSOFT/ERROR.LOG"
fi
[ -n "$trace" ] && echo "try-installer: the trace is $place/TRACE.LOG"
exit "$status"
