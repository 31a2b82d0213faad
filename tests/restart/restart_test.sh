#!/usr/bin/env bash
# Files in use replaced at the next start, for real: TALVEN.EXE queues a library that another
# program holds, registers the queue and ends with EXITWINDOWS(. Restart and log-off requests
# end a Wine prefix's session, so this runs in a prefix of its own (made once in the build tree)
# and never in the test session's.
#   restart_test.sh SOURCE_DIR WIN32_BUILD_DIR
set -euo pipefail
source_dir=$1 build=$2
export WINEPREFIX_OVERRIDE=$build/restart-prefix WINE_ARCH=win32 WINE_BUILD=$build
source "$source_dir/tools/wine-session.sh"
wine_prefix_create >/dev/null
trap 'WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
work=$WINEPREFIX/drive_c/qsrestart
fail() { echo "FAILED: $*"; exit 1; }

# One run: [version] of Windows as TALVEN.EXE sees it (empty: the prefix's own, NT family), and
# the mode EXITWINDOWS( is given. The session is over when the function returns.
run_once() {
  local version=$1 mode=$2
  WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$work" "$WINEPREFIX/drive_c/windows/KVLSOFT" "$WINEPREFIX/drive_c/windows/wininit."*
  mkdir -p "$work" "$WINEPREFIX/drive_c/windows/KVLSOFT"
  cp "$build/bin/TALVEN.EXE" "$build/bin/qs_module_holder.exe" "$work/"
  cp "$build/bin/QSHELD.dll" "$work/HELD.DLL"
  cp "$build/bin/VERV2.DLL" "$work/NEW.DLL"
  printf '%s\r\n' 'SET %N% = 0' ':WAIT' 'SET %N% = %N% + 1' 'GETMODULEINUSE("C:\qsrestart\HELD.DLL")' \
    'IF %ERROR% == 1 GOTO :INUSE' 'IF %N% < 5000 GOTO :WAIT' ':INUSE' \
    'APPENDFILE("in use %ERROR%", "C:\qsrestart\RESULT.TXT")' \
    'ADDREPLACEFILE("C:\qsrestart\NEW.DLL", "C:\qsrestart\HELD.DLL")' 'REGISTERREPLACEFILES()' \
    "EXITWINDOWS($mode)" 'APPENDFILE("after", "C:\qsrestart\RESULT.TXT")' > "$work/R.QLS"
  if [ -n "$version" ]; then
    "$WINE" reg add 'HKCU\Software\Wine\AppDefaults\TALVEN.EXE' /v Version /d "$version" /f >/dev/null 2>&1
  else
    "$WINE" reg delete 'HKCU\Software\Wine\AppDefaults\TALVEN.EXE' /f >/dev/null 2>&1 || true
  fi
  "$WINE" 'C:\qsrestart\qs_module_holder.exe' 'C:\qsrestart\HELD.DLL' &
  "$WINE" 'C:\qsrestart\TALVEN.EXE' 'C:\qsrestart\R.QLS' || fail "TALVEN.EXE ended with $?"
  # The request ends the session's programs, the holder too.
  # A young prefix under a loaded machine once took more than a minute to end its session.
  if ! timeout 150 env WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -w; then
    echo "still running in the prefix:"
    printf 'info process\nquit\n' | "$WINE" winedbg 2>/dev/null | tr -d '\r' || true
    fail "the session did not end"
  fi
  wait
  [ "$(tr -d '\r' < "$work/RESULT.TXT")" = "in use 1" ] || fail "RESULT.TXT: $(cat "$work/RESULT.TXT")"
}
replaced() { cmp -s "$work/HELD.DLL" "$build/bin/VERV2.DLL"; }

# NT family, restart: the delayed move is carried out as the prefix restarts.
run_once "" 1
replaced || fail "EXITWINDOWS(1): the library was not replaced at the restart"
echo "NT family, EXITWINDOWS(1): restarted, the library in use was replaced"

# NT family, 0 logs off: the move waits for the next start of the system.
run_once "" 0
! replaced || fail "EXITWINDOWS(0) on the NT family restarted instead of logging off"
grep -q 'PendingFileRenameOperations' "$WINEPREFIX/system.reg" || fail "no delayed move registered"
"$WINE" wineboot -r >/dev/null 2>&1
WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -w
replaced || fail "the delayed move was not carried out at the next start"
echo "NT family, EXITWINDOWS(0): logged off; the library was replaced at the next start"

# Windows 95 family: 0 restarts, and the queue goes through WININIT.INI's "Rename" section.
run_once win95 0
replaced || fail "Windows 95, EXITWINDOWS(0): the library was not replaced at the restart"
[ -f "$WINEPREFIX/drive_c/windows/wininit.bak" ] || fail "WININIT.INI was not processed"
grep -qi 'HELD.DLL=' "$WINEPREFIX/drive_c/windows/wininit.bak" || fail "wininit.bak: $(cat "$WINEPREFIX/drive_c/windows/wininit.bak")"
echo "Windows 95 family, EXITWINDOWS(0): restarted, WININIT.INI replaced the library in use"
