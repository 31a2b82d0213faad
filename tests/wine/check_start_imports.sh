#!/usr/bin/env bash
# The installer programs bind the common dialogs, the multimedia library and OLE automation when
# a script first needs them (support/late_bound_win32): an import of any of them would load it,
# and what it loads, at every start again. Reads the import tables with the toolchain's objdump.
set -euo pipefail
objdump=$1
shift
status=0
for program in "$@"; do
  imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
  for late in comdlg32.dll winmm.dll oleaut32.dll; do
    if grep -qix "$late" <<<"$imports"; then
      echo "$(basename "$program") imports $late, which it should bind when first needed"
      status=1
    fi
  done
done
[ "$status" -eq 0 ] && echo "no late-bound library is imported by: $*"
exit "$status"
