#!/usr/bin/env bash
# Prints Lumivane's benchmark figures: the transform and path building natively (per block, and
# as a share of a block's 32 ms at 8000 samples/s), then the points per second of the port
# output under Wine with the virtual device.
set -euo pipefail
cd "$(dirname "$0")/../.."
jobs=$(nproc)

echo "== ComputeSpectrum and the path, natively (Release)"
cmake --preset bench -B build/app-bench >/dev/null
cmake --build build/app-bench -j "$jobs" --target lumivane_bench >/dev/null
build/app-bench/tests/app/lumivane_bench --benchmark_min_time=1

echo "== LPTOut under Wine"
cmake --preset win32 -B build/app-win32 >/dev/null
cmake --build build/app-win32 -j "$jobs" --target lumivane_port_rate >/dev/null
export WINE_BUILD=$PWD/build/app-win32
source tools/wine-session.sh
trap wine_session_end EXIT
wine_session_begin
ALSA_CONFIG_PATH=$WINE_BUILD/tests/app/lumivane_port_rate.alsa.conf WINEDLLOVERRIDES=winepulse.drv=d \
  "$WINE" "$WINE_BUILD/bin/lumivane_port_rate.exe"
