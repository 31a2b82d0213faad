#!/usr/bin/env bash
# README command 1: builds everything (native tools, the 32-bit programs that ship), builds the
# distribution medium of the bundled installation, and installs Lumivane from it in a 32-bit
# Windows under Wine as a person would: every page read and answered (qs_installer_user follows
# tests/install/plans), the program group opened, Lumivane started from its desktop shortcut,
# then removed with "Remove Lumivane" and the machine compared with before. A second run
# installs with /s and removes silently. Prints a report and keeps one contact sheet of all the
# pictures (build/demo-screenshots/contact-sheet.png).
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
export MACHINE_SOURCE=$PWD MACHINE_BUILD=$PWD/build/win32 MACHINE_WORK=$drive_c/qsdemo
source tests/install/machine.sh
target="$drive_c/Program Files/Lumivane"
group="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lumivane"
desktop_link="$drive_c/users/Public/Desktop/Lumivane.LNK"
kvlsoft=$drive_c/windows/KVLSOFT
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivane'
shots=$PWD/build/demo-screenshots
fail() { echo "DEMO FAILED: $*"; exit 1; }
elapsed_ms() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }

# What an earlier demo left; the installer's own programs come fresh from this medium.
rm -rf "$target" "$group" "$desktop_link" "$shots" "$kvlsoft/ERROR.LOG" "$kvlsoft/TALVEN.EXE" "$kvlsoft/MORPAX.EXE"
for key in "$uninstall_key" 'HKLM\Software\Lumivane'; do "$WINE" reg delete "$key" /f >/dev/null 2>&1 || true; done
machine_work_begin
mkdir -p "$shots"
machine_language ENU
machine_state before
demo_start=$(date +%s%N)

echo "== installing from M:\\SETUP.EXE, page by page (what each window showed, and when)"
as_person install-english "$MACHINE_WORK/shots" 'M:\SETUP.EXE' || fail "the installation"
echo "-- installed into C:\\Program Files\\Lumivane"
(cd "$target" && find . -type f -printf '%10s  %P\n' | sort -k2)
echo "-- the program group and the desktop"
(cd "$group" && ls -1)
echo "Desktop: $(basename "$desktop_link")"
echo "-- the settings Lumivane reads (HKLM\\Software\\Lumivane)"
"$WINE" reg query 'HKLM\Software\Lumivane' | tr -d '\r' | sed -n 's/^ \{4\}/  /p'
echo "-- the uninstall entry in the system's list of installed programs"
"$WINE" reg query "$uninstall_key" | tr -d '\r' | sed -n 's/^ \{4\}/  /p'
echo "-- INSTALL.LOG, the installation's own record"
tr -d '\r' < "$target/INSTALL.LOG"

echo "== the program group, opened from the start menu"
as_person show-group "$MACHINE_WORK/shots" "@$(windows_path "$group")" || fail "the program group"
echo "== Lumivane started from its desktop shortcut"
lumivane_hears_tones
as_person start-lumistart "$MACHINE_WORK/shots" "@$(windows_path "$desktop_link")" || fail "Lumistart"

echo "== removed with \"Remove Lumivane\" from its group"
as_person remove "$MACHINE_WORK/shots" "@$(windows_path "$group/Remove Lumivane.LNK")" || fail "the removal"
machine_state removed
machine_same before removed > "$MACHINE_WORK/removed.diff" ||
  fail "after the removal the machine differs from before: $(cat "$MACHINE_WORK/removed.diff")"
echo "compared with before the installation: no file, folder, shortcut or registry key of it is left"
echo "   ($(wc -l < "$MACHINE_WORK/before.files") files and folders, $(cat "$MACHINE_WORK"/before.HKEY_*.txt | grep -c '^\[') registry keys compared)"
echo "the interactive installation, the group, Lumivane and the removal took $(elapsed_ms "$demo_start") ms"

install_log=$MACHINE_WORK/silent-install.log
echo "== the unattended path: M:\\SETUP.EXE /s /LOG:$(windows_path "$install_log")"
start=$(date +%s%N)
status=0
timeout 180 "$WINE" 'M:\SETUP.EXE' /s "/LOG:$(windows_path "$install_log")" || status=$?
echo "exit code $status (0: success) after $(elapsed_ms "$start") ms (nothing waited for an answer: a page or a box would have held it for 180 s)"
[ "$status" = 0 ] || fail "the silent installation"
echo "-- the installation log for administrators (/LOG:)"
tr -d '\r' < "$install_log"
echo "-- INSTALL.LOG, the installation's own record"
tr -d '\r' < "$target/INSTALL.LOG"
if [ -s "$kvlsoft/ERROR.LOG" ]; then echo "-- ERROR.LOG"; tr -d '\r' < "$kvlsoft/ERROR.LOG"; else echo "ERROR.LOG: nothing went wrong"; fi
quiet=$("$WINE" reg query "$uninstall_key" /v QuietUninstallString | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
echo "-- removed silently: $quiet"
status=0
timeout 180 "$WINE" "$(windows_path "$kvlsoft/MORPAX.EXE")" /S "$(windows_path "$target/DEINSTAL.QLS")" || status=$?
machine_state silent-removed
machine_same before silent-removed > "$MACHINE_WORK/silent.diff" ||
  fail "after the silent removal the machine differs from before: $(cat "$MACHINE_WORK/silent.diff")"
echo "exit code $status; the machine as before the installation"

echo "== pictures"
set --
for bmp in "$MACHINE_WORK/shots"/*.bmp; do
  png=$shots/$(basename "${bmp%.bmp}").png
  convert "$bmp" -depth 8 "$png"
  set -- "$@" -label "$(basename "${png%.png}")" "$png"
done
# Labels in DejaVu Sans (fonts-dejavu-core); ImageMagick's default font is not installed here.
montage "$@" -font DejaVu-Sans -tile 4x -geometry '480x360>+8+8' -depth 8 -background '#d8d8d8' -pointsize 14 \
  "$shots/contact-sheet.png"
ls -1 "$shots"
echo "The contact sheet of all $(($# / 3)) pictures, in order: $shots/contact-sheet.png"
echo "The 32-bit medium that ships is in build/medium-win32."
