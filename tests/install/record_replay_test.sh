#!/usr/bin/env bash
# The bundled installation recorded while a person answers it, and replayed without a window on
# another fresh machine: SETUP.EXE /RECORD: in one fresh 32-bit prefix with qs_person.exe
# accepting every page and box as a person pressing Enter would, then SETUP.EXE /ANSWERS: /s in
# a second one. The installed files, the registry below HKEY_LOCAL_MACHINE\Software and
# HKEY_CURRENT_USER\Software, and the verdict must be the same, and the replay must have found
# every answer in the recording.
#   record_replay_test.sh SOURCE_DIR WIN32_BUILD_DIR QS_MEDIUM
# Both prefixes are copies of a pristine one that is made once (build/win32/wineprefix-pristine).
set -euo pipefail
source_dir=$1 build=$2 qs_medium=$3
if [ ! -x "$qs_medium" ]; then
  echo "qs-medium is not built (the native preset builds it); skipping"
  exit 77
fi
: "${WINEPREFIX:?the test runs inside tools/wine-session.sh}"
: "${DISPLAY:?the installation shows its windows on the session display}"
fail() { echo "FAILED: $*"; exit 1; }

pristine=$build/wineprefix-pristine
machines=()
# Every machine's wineserver is ours: stopped by its prefix when the test ends, whatever happens.
trap 'for m in "${machines[@]}"; do WINEPREFIX=$m /usr/lib/wine/wineserver -k 2>/dev/null || true; done' EXIT
if ! grep -qs '^#arch=win32' "$pristine/system.reg"; then
  rm -rf "$pristine"
  mkdir -p "$pristine"
  WINEPREFIX=$pristine WINEARCH=win32 "$WINE" wineboot -i >/dev/null 2>&1 || true
  WINEPREFIX=$pristine "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  WINEPREFIX=$pristine /usr/lib/wine/wineserver -w
  grep -qs '^#arch=win32' "$pristine/system.reg" || fail "no pristine prefix in $pristine"
fi

# A fresh machine [prefix] with the medium on its drive C.
machine() {
  local prefix=$1
  rm -rf "$prefix"
  cp -a "$pristine" "$prefix"
  machines+=("$prefix")
  "$qs_medium" -D BUILD="$build" "$source_dir/resources/install/lumivane.medium" "$prefix/drive_c/qstests/medium" >/dev/null
}

# What the installation left: every file of drive C with its checksum (the programs, KVLSOFT;
# not the rest of the Windows directory, where Wine keeps its own files, nor the test's folder),
# the start menu's and the desktop's links as lnkinfo reads them, and the two
# Software keys as regedit exports them, as text, without Wine's own settings of the session
# (HKEY_CURRENT_USER\Software\Wine: what the display and the mouse did meanwhile).
state() {
  local prefix=$1
  (cd "$prefix/drive_c" && find . -type f \( -path ./windows/KVLSOFT/\* -o ! -path ./windows/\* \) \
    ! -path ./qstests/\* ! -iname '*.lnk' -print0 | sort -z | xargs -0 md5sum)
  # A link holds the times its target had when it was made: its fields are what counts.
  (cd "$prefix/drive_c" && find . -type f -iname '*.lnk' ! -path ./qstests/\* | sort) | while read -r link; do
    echo "$link"
    lnkinfo "$prefix/drive_c/$link" | sed -n '/^Link information:/,/^Link target identifier:/p' | grep -v ' time'
  done
  for key in 'HKEY_LOCAL_MACHINE\Software' 'HKEY_CURRENT_USER\Software'; do
    WINEPREFIX=$prefix "$WINE" regedit /E 'C:\qstests\key.reg' "$key" >/dev/null 2>&1 || true
    iconv -f UTF-16LE -t UTF-8 "$prefix/drive_c/qstests/key.reg" 2>/dev/null | tr -d '\r' |
      awk '/^\[/ { skip = index($0, "[HKEY_CURRENT_USER\\Software\\Wine") == 1 } !skip' || true
  done
}

recording=$build/wineprefix-record
machine "$recording"
answers='C:\qstests\answers.txt'
status=0
WINEPREFIX=$recording "$WINE" "$build/bin/qs_person.exe" 120 'C:\qstests\medium\SETUP.EXE' \
  "/RECORD:$answers" '/LOG:C:\qstests\record.log' || status=$?
[ "$status" -eq 0 ] || fail "the recorded run ended with $status: $(tr -d '\r' < "$recording/drive_c/qstests/record.log" 2>/dev/null)"
state "$recording" > "$build/record_state.txt"
grep -q 'Verdict: 0 success' "$recording/drive_c/qstests/record.log" || fail "no verdict in the recording's log"
cp "$recording/drive_c/qstests/answers.txt" "$build/bundled_answers.txt"

replaying=$build/wineprefix-replay
machine "$replaying"
cp "$build/bundled_answers.txt" "$replaying/drive_c/qstests/answers.txt"
status=0
WINEPREFIX=$replaying "$WINE" 'C:\qstests\medium\SETUP.EXE' "/ANSWERS:$answers" /s /TIMEOUT:120 '/LOG:C:\qstests\replay.log' || status=$?
log=$(tr -d '\r' < "$replaying/drive_c/qstests/replay.log")
[ "$status" -eq 0 ] || fail "the replay ended with $status: $log"
grep -q 'Verdict: 0 success' <<<"$log" || fail "no verdict in the replay's log: $log"
! grep -q 'Answered by default\|Answered by the user' <<<"$log" || fail "the replay did not find every answer: $log"
state "$replaying" > "$build/replay_state.txt"
diff -u "$build/record_state.txt" "$build/replay_state.txt" || fail "the replay installed something else"
echo "recorded and replayed: $(grep -c '^\[' "$build/bundled_answers.txt" || true) answers," \
     "$(grep -c '  \./' "$build/replay_state.txt" || true) files the same"
