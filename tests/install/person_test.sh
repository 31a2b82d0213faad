#!/usr/bin/env bash
# The bundled installation end to end as a person takes it, under Wine on the test session's
# display (qs_installer_user follows the plans in tests/install/plans):
#   1. installed in English through every page, the folder chosen with the browser; what it
#      installed read back (files, links by lnkinfo, registry, the shared count);
#   2. Lumivane started from the desktop shortcut;
#   3. installed again over itself, silently: nothing counted twice, the same removal record;
#   4. removed with "Remove Lumivane" from its group: the machine as it was before;
#   5. the pages in German, each left and taken up again, then Setup left: nothing changed;
#   6. folders that cannot take it: a full volume, a read-only folder, a file that cannot be
#      replaced (the copy taken back); the copy cancelled on the gauge: nothing changed.
# Pictures of what the person saw: build/win32/artefacts/person/.
#   person_test.sh SOURCE_DIR WIN32_BUILD_DIR QS_MEDIUM
set -euo pipefail
source_dir=$1 build=$2 qs_medium=$3
source "$source_dir/tests/install/needs_medium_tool.sh" "$qs_medium"
: "${WINEPREFIX:?the test runs inside tools/wine-session.sh}"
: "${DISPLAY:?the installation shows its pages on the session display}"
export MACHINE_SOURCE=$source_dir MACHINE_BUILD=$build MACHINE_WORK=$WINEPREFIX/drive_c/qstests/person
source "$source_dir/tests/install/machine.sh"
fail() { echo "FAILED: $*"; exit 1; }

drive_c=$WINEPREFIX/drive_c
kvlsoft=$drive_c/windows/KVLSOFT
group="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lumivane"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivane'
shared_key='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDlls'
shots=$MACHINE_WORK/shots
pictures=$build/artefacts/person
language=$("$WINE" reg query 'HKCU\Control Panel\International' /v sLanguage 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
readonly_folder=$MACHINE_WORK/readonly
occupied=$MACHINE_WORK/occupied
cleanup() {
  chattr -i "$readonly_folder" "$occupied/Lumistart.exe" 2>/dev/null || true
  machine_language "${language:-ENU}"
}
trap cleanup EXIT

# What an earlier run that failed half-way may have left; the installer's programs come fresh
# from this build's medium.
chattr -i "$readonly_folder" "$occupied/Lumistart.exe" 2>/dev/null || true
for target in "$drive_c/Program Files/Lumivane" "$drive_c/Program Files/LUMIVANE"; do rm -rf "$target"; done
rm -rf "$group" "$drive_c/users/Public/Desktop/Lumivane.LNK" "$pictures" \
  "$kvlsoft/ERROR.LOG" "$kvlsoft/TALVEN.EXE" "$kvlsoft/MORPAX.EXE"
for key in "$uninstall_key" 'HKLM\Software\Lumivane'; do "$WINE" reg delete "$key" /f >/dev/null 2>&1 || true; done
"$WINE" reg delete "$shared_key" /v 'C:\Program Files\Lumivane\WinIo.dll' /f >/dev/null 2>&1 || true
machine_work_begin
"$qs_medium" -D BUILD="$build" "$source_dir/resources/install/lumivane.medium" "$MACHINE_WORK/medium" >/dev/null
setup=$(windows_path "$MACHINE_WORK/medium/SETUP.EXE")
machine_language ENU
machine_state before

shared_count() {
  local value
  value=$("$WINE" reg query "$shared_key" /v 'C:\PROGRAM FILES\Lumivane\WinIo.dll' 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_DWORD *//p')
  echo $((${value:-0}))
}
link_shows() {  # link, text lnkinfo must show
  local info
  info=$(lnkinfo "$1" 2>&1) || fail "$1 cannot be read: $info"
  grep -qF "$2" <<<"$info" || fail "$1 does not show '$2': $info"
}

# 1. Every page in English; the folder chosen with the browser (which writes it in capitals).
as_person install-english "$shots" "$setup" || fail "the English installation"
target="$drive_c/Program Files/Lumivane"
for pair in main.exe:main.exe Lumistart.exe:Lumistart.exe WinIo.dll:WinIo.dll Device/xydevice.exe:xydevice.exe; do
  cmp -s "$target/${pair%%:*}" "$build/bin/${pair##*:}" || fail "$target/${pair%%:*} is not the built program"
done
[ -f "$target/DEINSTAL.QLS" ] && [ -f "$target/INSTALL.LOG" ] || fail "no removal record or installation record"
link_shows "$group/Lumivane.LNK" 'C:\PROGRAM FILES\Lumivane\main.exe'
link_shows "$group/Lumistart.LNK" 'C:\PROGRAM FILES\Lumivane\Lumistart.exe'
link_shows "$group/Virtual two-axis device.LNK" 'C:\PROGRAM FILES\Lumivane\Device\xydevice.exe'
link_shows "$group/Remove Lumivane.LNK" 'C:\windows\KVLSOFT\MORPAX.EXE'
link_shows "$group/Remove Lumivane.LNK" '"C:\PROGRAM FILES\Lumivane\DEINSTAL.QLS"'
link_shows "$drive_c/users/Public/Desktop/Lumivane.LNK" 'C:\PROGRAM FILES\Lumivane\Lumistart.exe'
"$WINE" reg query "$uninstall_key" /v UninstallString | grep -qF '"C:\windows\KVLSOFT\MORPAX.EXE" "C:\PROGRAM FILES\Lumivane\DEINSTAL.QLS"' ||
  fail "UninstallString: $("$WINE" reg query "$uninstall_key" /v UninstallString)"
"$WINE" reg query 'HKLM\Software\Lumivane' /v InstallPath | grep -qF 'C:\PROGRAM FILES\Lumivane' || fail "no InstallPath"
[ "$(shared_count)" = 1 ] || fail "WinIo.dll is counted $(shared_count) times, not once"
cp "$target/DEINSTAL.QLS" "$MACHINE_WORK/first-record.qls"

# 2. Lumivane from its desktop shortcut: the launcher's splash, then the application.
lumivane_hears_tones
as_person start-lumistart "$shots" "@$(windows_path "$drive_c/users/Public/Desktop/Lumivane.LNK")" ||
  fail "Lumistart from the desktop shortcut"

# 3. Installed again over itself, silently: the same folder, one count, the same record.
"$WINE" "$setup" /s || fail "the second installation ended with $?"
[ ! -s "$kvlsoft/ERROR.LOG" ] || fail "ERROR.LOG: $(tr -d '\r' < "$kvlsoft/ERROR.LOG")"
[ "$(shared_count)" = 1 ] || fail "after the second installation WinIo.dll is counted $(shared_count) times"
diff <(tr -d '\r' < "$MACHINE_WORK/first-record.qls") <(tr -d '\r' < "$target/DEINSTAL.QLS") ||
  fail "the second installation recorded something else for removal"

# 4. Removed from its group, as a person would: the machine as it was.
as_person remove "$shots" "@$(windows_path "$group/Remove Lumivane.LNK")" || fail "the removal"
machine_state removed
machine_same before removed || fail "after the removal the machine differs from before the installation"

# 5. German pages, each left and taken up again, then Setup left at the folder page.
machine_language DEU
as_person leave-german "$shots" "$setup" || fail "the German pages"
machine_language ENU
machine_state left
machine_same before left || fail "leaving Setup changed the machine"

# 6. Folders that cannot take the installation, and a cancelled copy: nothing of it stays. A
# medium whose first file is large (32 MB; a file that is not compressed is copied as it is)
# fills a small volume that the check for room let through, and keeps the copy going long
# enough for a person to reach Cancel.
cp -r "$MACHINE_WORK/medium" "$MACHINE_WORK/large-medium"
head -c 33554432 /dev/urandom > "$MACHINE_WORK/large-medium/APP/MAIN.EX_"
large_setup=$(windows_path "$MACHINE_WORK/large-medium/SETUP.EXE")
if mountpoint -q "$WINE_DRIVES/small"; then
  rm -rf "${WINE_DRIVES:?}/small/"*
  as_person full-volume "$shots" "$large_setup" || fail "the full volume"
  [ -z "$(ls -A "$WINE_DRIVES/small")" ] || fail "the full volume kept $(ls -A "$WINE_DRIVES/small")"
else
  echo "no small volume mounted at S: (needs root): the full volume is not tried"
fi
if mkdir -p "$readonly_folder" "$occupied" && echo foreign > "$occupied/Lumistart.exe" &&
   chattr +i "$readonly_folder" "$occupied/Lumistart.exe" 2>/dev/null; then
  as_person bad-folders "$shots" "$setup" || fail "the folders that cannot take it"
  [ -z "$(ls -A "$readonly_folder")" ] || fail "the read-only folder got $(ls -A "$readonly_folder")"
  [ "$(ls -A "$occupied")" = Lumistart.exe ] || fail "the copy was not taken back: $(ls -A "$occupied")"
  grep -qx foreign "$occupied/Lumistart.exe" || fail "the file that could not be replaced changed"
else
  echo "chattr is not available here: the read-only folder and the file that cannot be replaced are not tried"
fi
as_person cancel-copy "$shots" "$large_setup" || fail "the cancelled copy"
machine_state refused
machine_same before refused || fail "a refused or cancelled installation changed the machine"

mkdir -p "$pictures"
for bmp in "$shots"/*.bmp; do convert "$bmp" "$pictures/$(basename "${bmp%.bmp}").png"; done
echo "a person installed, started, reinstalled, removed and refused Lumivane; pictures in $pictures"
