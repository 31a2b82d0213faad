#!/usr/bin/env bash
# The emulator through which ctest runs a Windows test program under Wine. Wine's loader can
# fail to start a program and still exit 0 (a 32-bit program in a prefix or a Wine without
# 32-bit support), so success needs more than the exit code: the program must have printed
# GoogleTest's closing "[  PASSED  ]" line, and the loader none of its start-up failures.
set -uo pipefail
wine=${WINE:-/usr/lib/wine/wine}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Into a file, not a pipe: the wineserver that the first program starts inherits the output and
# would hold a pipe open for as long as it lives.
"$wine" "$@" >"$log" 2>&1
status=$?
cat "$log"
if grep -qE "could not load kernel32|wow64|Bad EXE format|starting .* failed|cannot execute|Exec format error" "$log"; then
  echo "wine-exec: the program did not start under $wine (see the loader's message above)" >&2
  exit 125
fi
if [ "$status" -ne 0 ]; then exit "$status"; fi
if ! grep -q '^\[  PASSED  \]' "$log"; then
  echo "wine-exec: $1 ended with 0 but did not report its tests as run" >&2
  exit 125
fi
