#!/usr/bin/env bash
# README command 1: builds everything (native tools, the 32-bit programs that ship), builds the
# distribution medium of the bundled installation, and installs Lumivane from it in a 32-bit
# Windows under Wine with `SETUP.EXE /s`; then prints what was installed and where the
# screenshots of the run are.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
jobs=$(nproc)
for preset in native win32; do
  echo "== building $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
done

echo "== building the distribution medium"
rm -rf build/medium-win32
build/native/bin/qs-medium -D BUILD="$PWD/build/win32" resources/install/lumivane.medium build/medium-win32
# The medium goes into drive M: as it ships.
export WINE_BUILD=$PWD/build/demo-wine
medium=$WINE_BUILD/drives/medium
rm -rf "$medium"
mkdir -p "$medium"
cp -r build/medium-win32/. "$medium/"

[ -n "${DISPLAY:-}" ] && export QS_USE_DISPLAY=1
source tools/wine-session.sh
trap wine_session_end EXIT
wine_session_begin
drive_c=$WINEPREFIX/drive_c
target="$drive_c/Program Files/Lumivane"
shots=$PWD/build/demo-screenshots
rm -rf "$target" "$shots"
mkdir -p "$drive_c/qsdemo" "$shots"
rm -f "$drive_c/qsdemo/TRACE.LOG"
printf '[Debug]\r\nDebug=1\r\nOutputTo=C:\\qsdemo\\TRACE.LOG\r\n' > "$drive_c/windows/TALVEN.INI"

echo "== installing from M:\\ with SETUP.EXE /s"
"$WINE" build/win32/bin/qs-snap.exe "Z:${shots//\//\\}" 30 >/dev/null 2>&1 &
snap=$!
start=$(date +%s%N)
"$WINE" 'M:\SETUP.EXE' /s
end=$(date +%s%N)
kill "$snap" 2>/dev/null || true
wait "$snap" 2>/dev/null || true
rm -f "$drive_c/windows/TALVEN.INI"
echo "installation took $(( (end - start) / 1000000 )) ms"

echo "== installed into C:\\Program Files\\Lumivane"
if [ -d "$target" ]; then
  (cd "$target" && find . -type f -printf '%10s  %P\n' | sort -k2)
  echo "-- INSTALL.LOG, the installation's own record"
  tr -d '\r' < "$target/INSTALL.LOG"
else
  echo "nothing was installed; the interpreter's trace follows"
fi
if [ -f "$drive_c/windows/KVLSOFT/ERROR.LOG" ]; then
  echo "-- ERROR.LOG of the bootstrap"
  tr -d '\r' < "$drive_c/windows/KVLSOFT/ERROR.LOG"
fi
echo "-- the copies in the interpreter's trace (C:\\qsdemo\\TRACE.LOG)"
tr -d '\r' < "$drive_c/qsdemo/TRACE.LOG" | grep -E "FCopyFile|File Length|BlockCopy returning" || true
echo "== screenshots kept in $shots"
for bmp in "$shots"/*.bmp; do
  [ -f "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null && rm -f "$bmp"
done
ls -1 "$shots"
echo "The 32-bit medium that ships is in build/medium-win32."
