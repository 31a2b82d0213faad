#!/usr/bin/env bash
# The bundled installation end to end under Wine: the medium that qs-medium builds from the
# bundled description, SETUP.EXE /s started from it, and what lands in Program Files and the
# Windows directory. (tests/install/uninstall_test.sh removes it again.)
#   install_test.sh SOURCE_DIR WIN32_BUILD_DIR QS_MEDIUM [win64]
# With "win64" the same 32-bit programs install into a 64-bit Windows (a prefix of its own, made
# once): they see "Program Files (x86)" and the 32-bit view of HKEY_LOCAL_MACHINE\Software.
set -euo pipefail
source_dir=$1 build=$2 qs_medium=$3 arch=${4:-win32}
source "$source_dir/tests/install/needs_medium_tool.sh" "$qs_medium"
: "${WINEPREFIX:?the test runs inside tools/wine-session.sh}"
program_files="Program Files"
if [ "$arch" = win64 ]; then
  export WINE_ARCH=win64 WINEPREFIX_OVERRIDE=$build/wineprefix64
  source "$source_dir/tools/wine-session.sh"
  wine_prefix_create
  trap 'WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
  program_files="Program Files (x86)"
fi
drive_c=$WINEPREFIX/drive_c
medium=$drive_c/qstests/bundled_medium
target="$drive_c/$program_files/Lumivane"
# A fresh machine: the interpreter is installed from the medium, byte for byte.
rm -rf "$medium" "$target" "$drive_c/windows/KVLSOFT/ERROR.LOG" "$drive_c/windows/KVLSOFT/TALVEN.EXE" \
  "$drive_c/windows/KVLSOFT/MORPAX.EXE"
"$qs_medium" -D BUILD="$build" "$source_dir/resources/install/lumivane.medium" "$medium" >/dev/null

status=0
"$WINE" 'C:\qstests\bundled_medium\SETUP.EXE' /s || status=$?
fail() { echo "FAILED: $*"; exit 1; }
[ "$status" -eq 0 ] || fail "SETUP.EXE ended with $status"
[ ! -s "$drive_c/windows/KVLSOFT/ERROR.LOG" ] || fail "ERROR.LOG: $(tr -d '\r' < "$drive_c/windows/KVLSOFT/ERROR.LOG")"
[ -f "$drive_c/windows/KVLSOFT/TALVEN.EXE" ] || fail "the interpreter was not installed"
cmp -s "$drive_c/windows/KVLSOFT/TALVEN.EXE" "$build/bin/TALVEN.EXE" || fail "the installed interpreter differs"
cmp -s "$drive_c/windows/KVLSOFT/MORPAX.EXE" "$build/bin/MORPAX.EXE" || fail "the de-installer was not installed"
for pair in main.exe:main.exe Lumistart.exe:Lumistart.exe WinIo.dll:WinIo.dll Device/xydevice.exe:xydevice.exe; do
  installed=$target/${pair%%:*}
  [ -f "$installed" ] || fail "$installed is missing"
  cmp -s "$installed" "$build/bin/${pair##*:}" || fail "$installed differs from the built program"
done
record=$(tr -d '\r' < "$target/INSTALL.LOG")
for name in main.exe Lumistart.exe WinIo.dll xydevice.exe; do
  grep -q "$name $(stat -c %s "$build/bin/$name") bytes" <<<"$record" || fail "INSTALL.LOG lacks $name: $record"
done
[ ! -e "$drive_c/windows/TEMP/SETUP.QLS" ] || fail "the script copy was left behind"
if [ "$arch" = win64 ]; then
  # The interpreter's record of the data-access library went to the 32-bit view of the registry.
  "$WINE" reg query 'HKLM\Software\Wow6432Node\Microsoft\Shared Tools\DAO' /v Path 2>/dev/null | grep -q DAO3032.DLL ||
    fail "the DAO record is not in HKLM\\Software\\Wow6432Node"
fi
echo "installed into $program_files: $(cd "$target" && find . -type f | sort | tr '\n' ' ')"
