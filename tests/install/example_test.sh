#!/usr/bin/env bash
# The example installer (examples/minimal) as a script writer uses it: its description builds
# as it stands; signed with a throw-away certificate, the programs on the medium carry
# signatures that osslsigncode verifies; the signed medium installs silently under Wine with the
# trace switched on and an installation log.
#   example_test.sh SOURCE_DIR WIN32_BUILD_DIR NATIVE_BIN_DIR
set -euo pipefail
source_dir=$1 build=$2 native_bin=$3
if [ ! -x "$native_bin/qs-medium" ] || [ ! -x "$native_bin/qs-expand" ]; then
  echo "qs-medium and qs-expand are not built (the native preset builds them); skipping"
  exit 77
fi
: "${WINEPREFIX:?the test runs inside tools/wine-session.sh}"
fail() { echo "FAILED: $*"; exit 1; }
work=$build/example-test
rm -rf "$work"
mkdir -p "$work"

# 1. The description as it stands.
"$native_bin/qs-medium" -D BUILD="$build" "$source_dir/examples/minimal/example.medium" "$work/plain" >/dev/null ||
  fail "the example's description does not build"

# 2. Signed: the same entries and a sign entry, with a certificate made for this run.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj "/CN=Quillset example test" 2>/dev/null
example=$source_dir/examples/minimal
{
  grep -Ev '^(#|script|texts|file|$)' "$example/example.medium"
  echo "script $example/SETUP.QLS"
  echo "texts $example/setup-texts.txt"
  echo "file $example/README.TXT"
  echo "sign $work/cert.pem $work/key.pem"
} > "$work/signed.medium"
"$native_bin/qs-medium" -D BUILD="$build" "$work/signed.medium" "$work/signed" >/dev/null || fail "the signed medium does not build"
"$native_bin/qs-expand" "$work/signed/TALVEN.EX_" "$work/TALVEN.EXE" >/dev/null
"$native_bin/qs-expand" "$work/signed/HELLO.EX_" "$work/HELLO.EXE" >/dev/null
for program in "$work/signed/SETUP.EXE" "$work/TALVEN.EXE" "$work/HELLO.EXE"; do
  osslsigncode verify -CAfile "$work/cert.pem" -in "$program" >"$work/verify.log" 2>&1 ||
    fail "$(basename "$program") has no valid signature: $(tail -3 "$work/verify.log")"
done
! osslsigncode verify -CAfile "$work/cert.pem" -in "$work/plain/SETUP.EXE" >/dev/null 2>&1 ||
  fail "the unsigned medium's SETUP.EXE verifies"

# 3. Installed from the signed medium under Wine with the trace on, as the README walks through.
drive_c=$WINEPREFIX/drive_c
target="$drive_c/Program Files/Hello"
rm -rf "$target" "$drive_c/windows/KVLSOFT/TALVEN.EXE"
"$source_dir/tools/try-installer.sh" --trace "$work/signed" /s '/LOG:C:\qsmedium\INSTALL.LOG' >"$work/try.log" 2>&1 ||
  fail "$(cat "$work/try.log")"
cmp -s "$target/HELLO.EXE" "$work/HELLO.EXE" || fail "HELLO.EXE was not installed as signed"
cmp -s "$target/README.TXT" "$example/README.TXT" || fail "README.TXT was not installed"
cmp -s "$drive_c/windows/KVLSOFT/TALVEN.EXE" "$work/TALVEN.EXE" || fail "the signed interpreter was not installed"
trace=$(tr -d '\r' < "$drive_c/qsmedium/TRACE.LOG")
grep -q "MLine: 'STOP'" <<<"$trace" || fail "the trace does not reach STOP"
grep -q "FCopyFile: '.*README.TXT'" <<<"$trace" || fail "the trace has no copy of README.TXT"
[ ! -e "$drive_c/windows/TALVEN.INI" ] || fail "the trace setting was left behind"
grep -q "Verdict: 0 success" "$drive_c/qsmedium/INSTALL.LOG" || fail "the installation log has no verdict of success"
echo "installed and traced: $(grep -c "^MLine:" <<<"$trace") script lines"
