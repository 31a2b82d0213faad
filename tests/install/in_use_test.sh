#!/usr/bin/env bash
# Lumivane removed while it runs, for real: installed silently, started from its desktop
# shortcut, removed with "Remove Lumivane" from its group. The de-installer says which files are
# in use and leaves them to the next start of Windows (delayed moves); after a restart the
# machine is as it was before the installation. A restart ends a Wine prefix's session, so this
# runs in a prefix of its own (made once in the build tree), on the test session's display.
#   in_use_test.sh SOURCE_DIR WIN32_BUILD_DIR QS_MEDIUM
set -euo pipefail
source_dir=$1 build=$2 qs_medium=$3
source "$source_dir/tests/install/needs_medium_tool.sh" "$qs_medium"
: "${DISPLAY:?the test runs inside tools/wine-session.sh}"
export WINEPREFIX_OVERRIDE=$build/removal-prefix WINE_ARCH=win32 WINE_BUILD=$build
source "$source_dir/tools/wine-session.sh"
wine_prefix_create >/dev/null
stop_session() { WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true; }
trap stop_session EXIT
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
export MACHINE_SOURCE=$source_dir MACHINE_BUILD=$build MACHINE_WORK=$WINEPREFIX/drive_c/qstests/in-use
source "$source_dir/tests/install/machine.sh"
fail() { echo "FAILED: $*"; exit 1; }
drive_c=$WINEPREFIX/drive_c
target="$drive_c/Program Files/Lumivane"
pending='HKLM\System\CurrentControlSet\Control\Session Manager'

# What a run that failed half-way may have left goes first; then the machine is kept.
rm -rf "$target" "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lumivane" "$drive_c/users/Public/Desktop/Lumivane.LNK"
for key in 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivane' 'HKLM\Software\Lumivane'; do
  "$WINE" reg delete "$key" /f >/dev/null 2>&1 || true
done
"$WINE" reg delete "$pending" /v PendingFileRenameOperations /f >/dev/null 2>&1 || true
machine_work_begin
"$qs_medium" -D BUILD="$build" "$source_dir/resources/install/lumivane.medium" "$MACHINE_WORK/medium" >/dev/null
machine_state before

"$WINE" "$(windows_path "$MACHINE_WORK/medium/SETUP.EXE")" /s || fail "SETUP.EXE ended with $?"
lumivane_hears_tones
as_person lumistart-running "$MACHINE_WORK/shots" "@C:\\users\\Public\\Desktop\\Lumivane.LNK" || fail "Lumivane did not start"
as_person remove-while-running "$MACHINE_WORK/shots" \
  "@C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Lumivane\\Remove Lumivane.LNK" || fail "the removal"
grep -qF 'C:\Program Files\Lumivane\main.exe|' "$MACHINE_WORK/remove-while-running.out" || fail "the report does not name main.exe"
queued=$("$WINE" reg query "$pending" /v PendingFileRenameOperations | tr -d '\r')
for file in 'Lumivane\main.exe' 'Lumivane\WinIo.dll'; do
  grep -qF "$file" <<<"$queued" || fail "$file is not left to the next start: $queued"
done
[ ! -e "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lumivane" ] || fail "the group stayed"

# The next start of Windows: what was in use goes.
stop_session
"$WINE" wineboot -r >/dev/null 2>&1
WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -w
[ ! -e "$target" ] || fail "after the restart $(find "$target") stayed"
machine_state restarted
machine_same before restarted || fail "after the removal and a restart the machine differs from before"
echo "removed while it ran: $(grep -c 'Lumivane' <<<"$queued" || true) entries left to the restart, the machine as before after it"
