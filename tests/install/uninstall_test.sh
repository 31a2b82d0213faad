#!/usr/bin/env bash
# The bundled installation removed again, end to end under Wine. The machine's state that an
# installation touches (the files of Program Files, the start menus and desktops, and the
# registry of the machine and the user as regedit exports it) is kept before the installation
# and compared after each removal:
#   1. installed, listed by the system's uninstaller, removed through it, the question and the
#      report answered as a user would (pictures in build/win32/artefacts/uninstall/);
#   2. installed again, its port library counted by a second product as well, removed silently
#      through the entry's quiet command: the library stays with the other product's count;
#      once that product lets it go too, the machine is as it was.
#   uninstall_test.sh SOURCE_DIR WIN32_BUILD_DIR QS_MEDIUM
set -euo pipefail
source_dir=$1 build=$2 qs_medium=$3
source "$source_dir/tests/install/needs_medium_tool.sh" "$qs_medium"
: "${WINEPREFIX:?the test runs inside tools/wine-session.sh}"
drive_c=$WINEPREFIX/drive_c
medium=$drive_c/qstests/uninstall_medium
work=$drive_c/qstests/uninstall
shots=$build/artefacts/uninstall
target=$drive_c/Program\ Files/Lumivane
target_win='C:\Program Files\Lumivane'
kvlsoft=$drive_c/windows/KVLSOFT
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivane'
shared_key='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDlls'
fail() { echo "FAILED: $*"; exit 1; }

# The installer's programs come fresh from this build's medium (the bootstrap keeps programs of
# the same version that are there already).
rm -rf "$medium" "$target" "$work" "$shots" "$kvlsoft/ERROR.LOG" "$kvlsoft/TALVEN.EXE" "$kvlsoft/MORPAX.EXE"
mkdir -p "$work" "$shots"
# What an earlier run that failed half-way may have left.
rm -rf "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lumivane" "$drive_c/users/Public/Desktop/Lumivane.LNK"
for key in "$uninstall_key" 'HKLM\Software\Lumivane' 'HKLM\Software\Other Company'; do
  "$WINE" reg delete "$key" /f >/dev/null 2>&1 || true
done
"$WINE" reg delete "$shared_key" /v "$target_win\\WinIo.dll" /f >/dev/null 2>&1 || true
"$qs_medium" -D BUILD="$build" "$source_dir/resources/install/lumivane.medium" "$medium" >/dev/null
cp "$build/bin/qs_box_driver.exe" "$work/"

# The files and the registry an installation may touch. Exports are UTF-16. Left out: the
# interpreter's record of the data-access library (written by every run, no part of the
# product) and Wine's own keys (its temporary system parameters come and go with windows).
snapshot() {
  local name=$1
  (cd "$drive_c" && find "Program Files" "ProgramData/Microsoft/Windows/Start Menu" users/*/Desktop \
    "users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu" 2>/dev/null | sort) > "$work/$name.files"
  for root in HKEY_LOCAL_MACHINE HKEY_CURRENT_USER; do
    "$WINE" regedit /E "C:\\qstests\\uninstall\\$name.$root.reg" "$root\\Software"
    iconv -f UTF-16 -t UTF-8 "$work/$name.$root.reg" | tr -d '\r' |
      awk '/^\[/ { skip = index($0, "\\Shared Tools\\DAO]") > 0 || index($0, "[HKEY_CURRENT_USER\\Software\\Wine\\") == 1 }
           !skip' > "$work/$name.$root.txt"
  done
}
same_as_before() {
  local name=$1
  snapshot "$name"
  diff "$work/before.files" "$work/$name.files" || fail "$name: the files differ from before the installation"
  for root in HKEY_LOCAL_MACHINE HKEY_CURRENT_USER; do
    # A SharedDlls key that the counts made stays behind empty: it is the system's.
    diff <(grep -v '^\[.*\\SharedDlls\]$' "$work/before.$root.txt") \
         <(grep -v '^\[.*\\SharedDlls\]$' "$work/$name.$root.txt") ||
      fail "$name: $root\\Software differs from before the installation"
  done
}
install() {
  "$WINE" 'C:\qstests\uninstall_medium\SETUP.EXE' /s || fail "SETUP.EXE ended with $?"
  [ ! -s "$kvlsoft/ERROR.LOG" ] || fail "ERROR.LOG: $(tr -d '\r' < "$kvlsoft/ERROR.LOG")"
  [ -f "$target/main.exe" ] && [ -f "$target/DEINSTAL.QLS" ] || fail "nothing was installed"
}
# Runs [lines] as a script of a second product through the installed interpreter.
other_product() {
  printf '%s\r\n' "$@" > "$work/OTHER.QLS"
  "$WINE" 'C:\windows\KVLSOFT\TALVEN.EXE' 'C:\qstests\uninstall\OTHER.QLS'
}
shared_count() {
  local value
  value=$("$WINE" reg query "$shared_key" /v "$target_win\\WinIo.dll" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_DWORD *//p')
  echo $((${value:-0}))
}

snapshot before

# 1. Installed, then removed through the system's list of installed programs.
install
"$WINE" uninstaller --list | tr -d '\r' | grep -qx 'Lumivane|||Lumivane' || fail "uninstaller --list does not show Lumivane"
"$WINE" reg query "$uninstall_key" /v UninstallString | grep -qF '"C:\windows\KVLSOFT\MORPAX.EXE" "C:\Program Files\Lumivane\DEINSTAL.QLS"' ||
  fail "UninstallString: $("$WINE" reg query "$uninstall_key" /v UninstallString)"
group="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lumivane/Lumistart.LNK"
desktop="$drive_c/users/Public/Desktop/Lumivane.LNK"
for link in "$group" "$desktop"; do
  info=$(lnkinfo "$link" 2>&1) || fail "$link cannot be read: $info"
  grep -qF 'Local path			: C:\Program Files\Lumivane\Lumistart.exe' <<<"$info" || fail "$link does not start Lumistart.exe: $info"
done
[ "$(shared_count)" = 1 ] || fail "WinIo.dll is counted $(shared_count) times, not once"
"$WINE" 'C:\qstests\uninstall\qs_box_driver.exe' 'C:\qstests\uninstall\shots' Yes OK -- uninstaller --remove Lumivane \
  | tr -d '\r' > "$work/boxes.txt" || fail "the de-installer's boxes: $(cat "$work/boxes.txt")"
grep -qx 'box 1: Lumivane Setup: Do you want to remove Lumivane and all of its components from this computer?' "$work/boxes.txt" &&
  grep -qx 'box 2: Lumivane Setup: Lumivane has been removed from this computer.' "$work/boxes.txt" ||
  fail "the de-installer said: $(cat "$work/boxes.txt")"
for bmp in "$work"/shots/*.bmp; do convert "$bmp" "$shots/$(basename "${bmp%.bmp}").png"; done
same_as_before removed
echo "removed through the uninstaller: $(tr '\n' ' ' < "$work/boxes.txt")"

# 2. Installed again; a second product uses the port library too; removed silently.
install
other_product 'REGISTERSHARED("C:\Program Files\Lumivane\WinIo.dll", "Other Company", "Other Product")'
[ "$(shared_count)" = 2 ] || fail "WinIo.dll is counted $(shared_count) times, not twice"
quiet=$("$WINE" reg query "$uninstall_key" /v QuietUninstallString | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
"$WINE" 'C:\qstests\uninstall\qs_box_driver.exe' 'C:\qstests\uninstall\shots' -- "$quiet" > "$work/quiet.txt" ||
  fail "the silent removal: $(cat "$work/quiet.txt")"
[ ! -s "$work/quiet.txt" ] || fail "the silent removal showed boxes: $(cat "$work/quiet.txt")"
[ -f "$target/WinIo.dll" ] || fail "the library another product counts was removed"
[ "$(shared_count)" = 1 ] || fail "WinIo.dll is counted $(shared_count) times, not once"
[ -z "$(find "$target" -mindepth 1 -not -name WinIo.dll)" ] || fail "more than the shared library stayed: $(find "$target")"
grep -qF "$target_win" "$kvlsoft/ERROR.LOG" || fail "the silent report does not name the folder that stayed"
other_product 'UNREGISTERSHARED("C:\Program Files\Lumivane\WinIo.dll", "Other Company", "Other Product")'
[ ! -e "$target/WinIo.dll" ] || fail "the library stayed when its last product let it go"
# What is not Lumivane's to remove: the folder that held the other product's last file, the
# other product's own key, and the report.
rmdir "$target"
"$WINE" reg delete 'HKLM\Software\Other Company' /f >/dev/null
rm -f "$kvlsoft/ERROR.LOG"
same_as_before shared
echo "removed silently: the shared library stayed with the other product's count until it let it go"
