#!/usr/bin/env bash
# The bundled installation end to end under Wine: the medium that qs-medium builds from the
# bundled description, SETUP.EXE /s started from it, and what lands in Program Files.
#   install_test.sh SOURCE_DIR WIN64_BUILD_DIR QS_MEDIUM
set -euo pipefail
source_dir=$1 build=$2 qs_medium=$3
if [ ! -x "$qs_medium" ]; then
  echo "qs-medium is not built (the native preset builds it); skipping"
  exit 77
fi
: "${WINEPREFIX:?the test runs inside tools/wine-session.sh}"
drive_c=$WINEPREFIX/drive_c
medium=$drive_c/qstests/bundled_medium
target="$drive_c/Program Files/Lumivane"
rm -rf "$medium" "$target" "$drive_c/windows/KVLSOFT/ERROR.LOG"
"$qs_medium" -D BUILD="$build" "$source_dir/resources/install/lumivane.medium" "$medium" >/dev/null

status=0
/usr/lib/wine/wine64 'C:\qstests\bundled_medium\SETUP.EXE' /s || status=$?
fail() { echo "FAILED: $*"; exit 1; }
[ "$status" -eq 0 ] || fail "SETUP.EXE ended with $status"
[ ! -s "$drive_c/windows/KVLSOFT/ERROR.LOG" ] || fail "ERROR.LOG: $(tr -d '\r' < "$drive_c/windows/KVLSOFT/ERROR.LOG")"
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
echo "installed: $(cd "$target" && find . -type f | sort | tr '\n' ' ')"
