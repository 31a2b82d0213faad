#!/usr/bin/env bash
# Reads the shell link that the group test kept with lnkinfo, a reader that shares nothing with
# Wine or the interpreter. Argument: the folder of the kept link (inside the test prefix).
set -euo pipefail
link="$1/Kept.LNK"
command -v lnkinfo >/dev/null || { echo "lnkinfo missing (liblnk-utils)"; exit 77; }
[ -f "$link" ] || { echo "no link at $link"; exit 1; }
info=$(lnkinfo "$link")
fail=0
expect() {
  if ! grep -qF -- "$1" <<<"$info"; then echo "lnkinfo shows no '$1'"; fail=1; fi
}
expect "Local path			: C:\\qstests\\groups\\with blank\\tool.exe"
expect "Description			: Kept"
expect "Command line arguments		: -k"
expect "Working directory		: C:\\windows"
expect "Icon location			: C:\\qstests\\groups\\with blank\\tool.exe"
expect "Icon index			: 1"
[ $fail -eq 0 ] || { echo "$info"; exit 1; }
echo "Kept.LNK read back by lnkinfo"
