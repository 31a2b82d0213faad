#!/usr/bin/env bash
# Prints the benchmark figures: the engine natively (Google Benchmark), and TALVEN.EXE under
# Wine on the same WHILE loop, its start-up cost taken off by timing an empty script too.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
jobs=$(nproc)

echo "== native engine"
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$jobs" >/dev/null
build/bench/tests/bench/qs_bench_engine --benchmark_min_time=1

echo "== TALVEN.EXE under Wine"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs" --target talven >/dev/null
export WINE_BUILD=$PWD/build/bench-wine   # a prefix of its own: no test's INI files turn a log on
source tools/wine-session.sh
trap wine_session_end EXIT
wine_session_begin
rm -f "$WINEPREFIX/drive_c/windows/TALVEN.INI"
scratch=$WINEPREFIX/drive_c/qsbench
mkdir -p "$scratch"
cp tests/bench/loop.qls "$scratch/LOOP.QLS"
printf '\r\n' > "$scratch/EMPTY.QLS"
run_ms() {  # median wall time of 3 runs of TALVEN.EXE on a script, in milliseconds
  local times=()
  for _ in 1 2 3; do
    local start end
    start=$(date +%s%N)
    "$WINE" build/win32/bin/TALVEN.EXE "C:\\qsbench\\$1" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 2p
}
run_ms EMPTY.QLS >/dev/null  # warm the prefix
empty=$(run_ms EMPTY.QLS)
loop=$(run_ms LOOP.QLS)
lines=400003
echo "empty script: ${empty} ms (process start and shut-down)"
echo "loop script:  ${loop} ms for ${lines} lines"
awk -v l="$lines" -v a="$loop" -v e="$empty" 'BEGIN { d = a - e; if (d < 1) d = 1; printf "TALVEN.EXE under Wine: %.0f lines/s\n", l / (d / 1000) }'

echo "== COPYFILE under Wine: a 64 MB file against CopyFileA and a bare 1024-byte loop"
cmake --build build/win32 -j "$jobs" --target qs_copy_bench >/dev/null
"$WINE" build/win32/bin/qs_copy_bench.exe 'C:\qsbench'
rm -f "$scratch"/BENCH*

echo "== The Debug window under Wine: opening on a 100,000-line script"
cmake --build build/win32 -j "$jobs" --target qs_debugger_bench >/dev/null
"$WINE" build/win32/bin/qs_debugger_bench.exe 'C:\qsbench'
rm -f "$scratch"/BENCH*
