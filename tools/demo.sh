#!/usr/bin/env bash
# README command 1: builds everything (native tools, the 64-bit programs that run here under
# Wine, the 32-bit programs that ship) and runs the main job under Wine, then prints what it did.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
jobs=$(nproc)
for preset in native win64 win32; do
  echo "== building $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
done

export WINE_BUILD=$PWD/build/demo-wine
[ -n "${DISPLAY:-}" ] && export QS_USE_DISPLAY=1
source tools/wine-session.sh
trap wine_session_end EXIT
wine_session_begin
drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/qsdemo"
cp resources/sample/SAMPLE.QLS "$drive_c/qsdemo/SAMPLE.QLS"
printf '[Debug]\r\nDebug=1\r\nOutputTo=C:\\qsdemo\\TRACE.LOG\r\n' > "$drive_c/windows/TALVEN.INI"
rm -f "$drive_c/qsdemo/TRACE.LOG"
echo "== running TALVEN.EXE on SAMPLE.QLS under Wine"
"$WINE" build/win64/bin/TALVEN.EXE 'C:\qsdemo\SAMPLE.QLS'
rm -f "$drive_c/windows/TALVEN.INI"
echo "== what the script did (its debug trace)"
tr -d '\r' < "$drive_c/qsdemo/TRACE.LOG"
