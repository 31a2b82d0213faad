#!/usr/bin/env bash
# The bundled installation recorded while a person takes its pages, and replayed without a
# window on another fresh machine: SETUP.EXE /RECORD: in one fresh 32-bit prefix with
# qs_installer_user following plans/record-english.plan, then SETUP.EXE /ANSWERS: in a second
# one with nobody at the screen (plans/nobody.plan: any page or box that comes fails the test).
# The replay is given no /s: the bundled script takes a silent path of its own on /s, and the
# recording is meant to walk its pages. The files, links and registry the installation touches
# and the verdict must be the same, and the replay must have found every answer in the recording.
#   record_replay_test.sh SOURCE_DIR WIN32_BUILD_DIR QS_MEDIUM
# Both prefixes are copies of a pristine one that is made once (build/win32/wineprefix-pristine).
set -euo pipefail
source_dir=$1 build=$2 qs_medium=$3
source "$source_dir/tests/install/needs_medium_tool.sh" "$qs_medium"
: "${WINEPREFIX:?the test runs inside tools/wine-session.sh}"
: "${DISPLAY:?the installation shows its windows on the session display}"
export MACHINE_SOURCE=$source_dir MACHINE_BUILD=$build
source "$source_dir/tests/install/machine.sh"
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

# A fresh machine [prefix] with the medium on its drive C; the machine's work folder becomes
# MACHINE_WORK, and the prefix WINEPREFIX, for what follows.
machine() {
  rm -rf "$1"
  cp -a "$pristine" "$1"
  machines+=("$1")
  export WINEPREFIX=$1 MACHINE_WORK=$1/drive_c/qstests/work
  machine_work_begin
  "$qs_medium" -D BUILD="$build" "$source_dir/resources/install/lumivane.medium" "$MACHINE_WORK/medium" >/dev/null
}

# Beyond machine_state's names and registry: what the installed files hold, and the links'
# fields as lnkinfo reads them (not the times the target had when the link was made).
contents() {
  local drive_c=$WINEPREFIX/drive_c link
  (cd "$drive_c" && find "Program Files" -type f -print0 | sort -z | xargs -0 md5sum)
  (cd "$drive_c" && find ProgramData users -type f -iname '*.lnk' | sort) | while read -r link; do
    echo "$link"
    lnkinfo "$drive_c/$link" | sed -n '/^Link information:/,/^Link target identifier:/p' | grep -v ' time'
  done
}

machine "$build/wineprefix-record"
record=$MACHINE_WORK
as_person record-english "$MACHINE_WORK/shots" "$(windows_path "$MACHINE_WORK/medium/SETUP.EXE")" \
  "/RECORD:$(windows_path "$MACHINE_WORK/answers.txt")" "/LOG:$(windows_path "$MACHINE_WORK/run.log")" ||
  fail "the recorded run: $(tr -d '\r' < "$MACHINE_WORK/run.log" 2>/dev/null)"
grep -q 'Verdict: 0 success' "$MACHINE_WORK/run.log" || fail "no verdict in the recording's log"
machine_state installed
contents > "$MACHINE_WORK/installed.contents"
cp "$MACHINE_WORK/answers.txt" "$build/bundled_answers.txt"

machine "$build/wineprefix-replay"
cp "$build/bundled_answers.txt" "$MACHINE_WORK/answers.txt"
as_person nobody "$MACHINE_WORK/shots" "$(windows_path "$MACHINE_WORK/medium/SETUP.EXE")" \
  "/ANSWERS:$(windows_path "$MACHINE_WORK/answers.txt")" /TIMEOUT:120 "/LOG:$(windows_path "$MACHINE_WORK/run.log")" ||
  fail "the replay showed a window or did not end"
log=$(tr -d '\r' < "$MACHINE_WORK/run.log")
grep -q 'Verdict: 0 success' <<<"$log" || fail "no verdict in the replay's log: $log"
! grep -q 'Answered by default\|Answered by the user' <<<"$log" || fail "the replay did not find every answer: $log"
machine_state installed
contents > "$MACHINE_WORK/installed.contents"
for kind in files HKEY_LOCAL_MACHINE.txt HKEY_CURRENT_USER.txt contents; do
  cp "$record/installed.$kind" "$MACHINE_WORK/recorded.$kind"
done
machine_same recorded installed || fail "the replay installed something else"
diff -u "$MACHINE_WORK/recorded.contents" "$MACHINE_WORK/installed.contents" || fail "the replay installed other contents"
grep -qF 'PROGRAM FILES' "$MACHINE_WORK/installed.HKEY_LOCAL_MACHINE.txt" &&
  grep -qF '"Device"=dword:00000000' "$MACHINE_WORK/installed.HKEY_LOCAL_MACHINE.txt" ||
  fail "the replay did not take the person's folder and parts"
echo "recorded and replayed: $(grep -c '^\[' "$build/bundled_answers.txt" || true) answers," \
     "$(grep -c '  Program Files/' "$MACHINE_WORK/installed.contents" || true) files the same"
