#!/usr/bin/env bash
# Runs every test: the portable core natively (with sanitizers), the shipping 32-bit programs
# under a 32-bit Wine, a compile of their 64-bit twins, and the fuzz targets for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

jobs=$(nproc)
fuzz_seconds=${QS_FUZZ_SECONDS:-20}

echo "== native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

echo "== win32 build: the programs that ship, and their tests under a 32-bit Wine"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
source tools/wine-session.sh
trap wine_session_end EXIT
wine_session_begin
ctest --preset win32 -j "$jobs" --timeout 300
wine_session_end
trap - EXIT

echo "== win64 build (compiled only: the same sources warning-free for 64-bit Windows)"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"

echo "== fuzz targets (${fuzz_seconds}s each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
for f in build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  corpus=tests/fuzz/corpus/$(basename "$f")
  mkdir -p "build/fuzz/corpus/$(basename "$f")"
  "$f" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
       "build/fuzz/corpus/$(basename "$f")" "$corpus" 2>&1 | tail -n 3
done
echo "All tests passed."
