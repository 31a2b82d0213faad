#!/usr/bin/env bash
# Times the whole installation from SETUP.EXE's start to its end under Wine, and in the same run
# an NSIS installer (Debian's makensis, x86 stubs, zlib) that installs the same payload silently:
# the two take turns, so both meet the same load. Then each stage, timed from inside Wine, and
# the interpreter's peak memory. Two payloads: the bundled application, and a synthetic one of
# about 30 MB in 20 files in three directories. QS_BENCH_RUNS sets the runs per figure (9);
# QS_BENCH_PROGRAMS, a folder with another SETUP.EXE and TALVEN.EXE (and SETUP.QLS, the bundled
# script to use with them), measures those instead.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
# The peer: Debian's NSIS, needed by this benchmark only.
command -v makensis >/dev/null || { [ "$(id -u)" -eq 0 ] && apt-get install -y -qq nsis || sudo apt-get install -y -qq nsis; }
runs=${QS_BENCH_RUNS:-9}
jobs=$(nproc)
for preset in native win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
done

programs=${QS_BENCH_PROGRAMS:-$PWD/build/win32/bin}
export WINE_BUILD=$PWD/build/bench-install
export QS_USE_DISPLAY=
source tools/wine-session.sh
work=$WINE_BUILD/work
rm -rf "$work"
mkdir -p "$work"

# --- the payloads and their media -------------------------------------------------------
medium_bundled=$WINE_DRIVES/medium
rm -rf "$medium_bundled"
build/native/bin/qs-medium -D BUILD="$PWD/build/win32" resources/install/lumivane.medium "$medium_bundled" >/dev/null
if [ -n "${QS_BENCH_PROGRAMS:-}" ]; then
  cp "$programs/SETUP.EXE" "$medium_bundled/SETUP.EXE"
  build/native/bin/qs-compress "$programs/TALVEN.EXE" "$medium_bundled/TALVEN.EX_" >/dev/null
  if [ -f "$programs/SETUP.QLS" ]; then cp "$programs/SETUP.QLS" "$medium_bundled/SETUP.QLS"; fi
fi

synthetic=$work/synthetic
mkdir -p "$synthetic/payload"
{
  echo "setup        $programs/SETUP.EXE"
  echo "interpreter  $programs/TALVEN.EXE"
  echo "script       $synthetic/SETUP.QLS"
} > "$synthetic/synthetic.medium"
script=$synthetic/SETUP.QLS
printf '%s\r\n' 'SET %TARGET% = "%PROGRAMFILES%QsBench"' 'MKDIR("%TARGET%\A")' 'MKDIR("%TARGET%\B")' 'MKDIR("%TARGET%\C")' 'COPYFILE(20)' > "$script"
nsis_files=""
for i in $(seq -w 1 20); do
  dir=$(echo A B C | cut -d' ' -f$(( (10#$i % 3) + 1 )))
  head -c $(( 1200000 + 10#$i * 25000 )) /dev/urandom > "$synthetic/payload/F$i.BIN"
  echo "file $synthetic/payload/F$i.BIN DATA/F$i.BIN" >> "$synthetic/synthetic.medium"
  printf '"%%CURRENTDIRECTORY%%DATA\\F%s.BIN", "%%TARGET%%\\%s\\F%s.BIN", "F%s"\r\n' "$i" "$dir" "$i" "$i" >> "$script"
  nsis_files+="  SetOutPath \"\$INSTDIR\\$dir\"\n  File \"$synthetic/payload/F$i.BIN\"\n"
done
printf '%s\r\n' 'ENDCOPYFILE()' >> "$script"
medium_synthetic=$WINE_DRIVES/synthetic
rm -rf "$medium_synthetic"
build/native/bin/qs-medium "$synthetic/synthetic.medium" "$medium_synthetic" >/dev/null

# The same payloads as NSIS installers (zlib, the 32-bit x86 stubs, as ours).
nsis_installer() {  # name, install folder, body
  cat > "$work/$1.nsi" <<NSI
Unicode true
Target x86-unicode
SetCompressor zlib
OutFile "$work/$1.exe"
InstallDir "\$PROGRAMFILES\\$2"
RequestExecutionLevel user
Section
$(printf '%b' "$3")
SectionEnd
NSI
  makensis -V1 "$work/$1.nsi" >/dev/null
}
nsis_installer nsis-synthetic QsBench "$nsis_files"
bundled_files=""
for f in main.exe Lumistart.exe WinIo.dll; do bundled_files+="  SetOutPath \"\$INSTDIR\"\n  File \"$PWD/build/win32/bin/$f\"\n"; done
bundled_files+="  SetOutPath \"\$INSTDIR\\Device\"\n  File \"$PWD/build/win32/bin/xydevice.exe\"\n"
nsis_installer nsis-bundled Lumivane "$bundled_files"

trap wine_session_end EXIT
wine_session_begin
drive_c=$WINEPREFIX/drive_c
ln -sfn "$medium_synthetic" "$WINEPREFIX/dosdevices/n:"
WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true
"$WINE" cmd /c exit >/dev/null 2>&1 || true   # start the prefix's server again, with drive n:
rm -f "$drive_c/windows/TALVEN.INI" "$drive_c/windows/SETUP.INI"
rm -rf "$drive_c/windows/KVLSOFT"   # the interpreter of an earlier run stays out of this one
cp build/win32/bin/qs_install_timer.exe "$drive_c/qs_install_timer.exe"
cp build/win32/bin/qs_window_floor.exe "$drive_c/qs_window_floor.exe"
temp=$(find "$drive_c/windows" -maxdepth 1 -iname temp | head -1)   # Wine keeps it as "temp"
printf '\r\n' > "$temp/EMPTY.QLS"

# --- timing ------------------------------------------------------------------------------
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{ a[NR] = $1 } END { printf "%.0f", a[int((NR + 1) / 2)] }'; }
best() { tr ' ' '\n' | grep -v '^$' | sort -n | head -1 | awk '{ printf "%.0f", $1 }'; }
clean() { rm -rf "$drive_c/Program Files/$1"; }
from_shell() {  # milliseconds of one run of a program started from the shell
  local start; start=$(now_ms)
  "$@" >/dev/null 2>&1 || true
  echo $(( $(now_ms) - start ))
}
in_wine() {  # milliseconds of one run started from inside Wine (qs_install_timer), or "timeout"
  "$WINE" 'C:\qs_install_timer.exe' "$@" 2>/dev/null | tr -d '\r' | cut -d' ' -f1
}
interpreter='C:\windows\KVLSOFT\TALVEN.EXE'

report() {  # label, folder, medium drive letter, medium folder, nsis exe
  local label=$1 folder=$2 drive=$3 medium=$4 nsis=$5
  # The script as the bootstrap hands it over, and the same without the wait message or without
  # the copy gauge (a copy list outside a copy block copies the same files without a gauge).
  sed 's/\r$//' "$medium/SETUP.QLS" | sed 's/$/\r/' > "$temp/BENCH.QLS"
  grep -v -i 'WAITMESSAGE(' "$temp/BENCH.QLS" > "$temp/NOWAIT.QLS" || true
  grep -v -i -E '^[[:space:]]*(COPYFILE\([^,]*\)|ENDCOPYFILE\(\))[[:space:]]*.?$' "$temp/BENCH.QLS" > "$temp/NOGAUGE.QLS" || true
  local args=("/DIR:$drive:\\" /s)

  local ours="" peer="" setup="" empty="" run="" nowait="" nogauge=""
  for _ in $(seq 1 "$runs"); do
    clean "$folder"; ours+=" $(from_shell "$WINE" "$drive:\\SETUP.EXE" /s)"
    clean "$folder"; peer+=" $(from_shell "$WINE" "Z:${nsis//\//\\}" /S)"
    clean "$folder"; setup+=" $(in_wine "$drive:\\SETUP.EXE" /s)"
    empty+=" $(in_wine "$interpreter" 'C:\windows\TEMP\EMPTY.QLS')"
    clean "$folder"; run+=" $(in_wine "$interpreter" 'C:\windows\TEMP\BENCH.QLS' "${args[@]}")"
    clean "$folder"; nowait+=" $(in_wine "$interpreter" 'C:\windows\TEMP\NOWAIT.QLS' "${args[@]}")"
    clean "$folder"; nogauge+=" $(in_wine "$interpreter" 'C:\windows\TEMP\NOGAUGE.QLS' "${args[@]}")"
  done
  if [[ "$ours$setup$run$nowait$nogauge" == *timeout* ]]; then echo "-- $label: a run did not end within a minute"; fi
  local memory="" sample
  for _ in 1 2 3; do
    clean "$folder"
    sample=$("$WINE" 'C:\qs_install_timer.exe' /memory "$interpreter" 'C:\windows\TEMP\BENCH.QLS' "${args[@]}" | tr -d '\r')
    memory+="$sample"$'\n'
  done
  local files
  files=$( (find "$drive_c/Program Files/$folder" -type f 2>/dev/null || true) | wc -l)

  local m_ours m_peer m_setup m_empty m_run m_nowait m_nogauge
  m_ours=$(median <<<"$ours"); m_peer=$(median <<<"$peer"); m_setup=$(median <<<"$setup")
  m_empty=$(median <<<"$empty"); m_run=$(median <<<"$run")
  m_nowait=$(median <<<"$nowait"); m_nogauge=$(median <<<"$nogauge")
  echo "-- $label ($files files installed by the last run)"
  echo "   SETUP.EXE /s, whole installation:  ${m_ours} ms  (median of $runs; best $(best <<<"$ours"))"
  echo "   NSIS installer /S:                  ${m_peer} ms  (median of $runs; best $(best <<<"$peer"))"
  awk -v a="$m_ours" -v b="$m_peer" -v c="$(best <<<"$ours")" -v d="$(best <<<"$peer")" \
    'BEGIN { printf "   ratio ours / NSIS:                  %.2f  (of the best runs %.2f)\n", a / b, c / d }'
  echo "   stages, timed inside Wine (medians; differences of medians, so only roughly additive):"
  echo "     bootstrap (window, folders, interpreter check, script copy):  $(( m_setup - m_run )) ms  (SETUP.EXE $m_setup ms)"
  echo "     interpreter on an empty script (Wine's start of it, start-up, shut-down): ${m_empty} ms"
  echo "     script run:                                                  $(( m_run - m_empty )) ms"
  cmp -s "$temp/BENCH.QLS" "$temp/NOWAIT.QLS" || echo "       of it the wait message:                                    $(( m_run - m_nowait )) ms"
  cmp -s "$temp/BENCH.QLS" "$temp/NOGAUGE.QLS" || echo "       of it the copy gauge:                                      $(( m_run - m_nogauge )) ms"
  echo "   TALVEN.EXE peak memory over the run: working set $(cut -d' ' -f2 <<<"$memory" | median) KB," \
       "private bytes $(cut -d' ' -f3 <<<"$memory" | median) KB (medians of 3)"
}

floors() {  # nsis exe: what a windowed program pays before any work, beside the one-process peer
  local nsis=$1 floor="" interpreter_alone="" peer=""
  for _ in $(seq 1 "$runs"); do
    floor+=" $(from_shell "$WINE" 'C:\qs_window_floor.exe')"
    interpreter_alone+=" $(from_shell "$WINE" "$interpreter" 'C:\windows\TEMP\EMPTY.QLS')"
    clean Lumivane; peer+=" $(from_shell "$WINE" "Z:${nsis//\//\\}" /S)"
  done
  local m_floor m_peer
  m_floor=$(median <<<"$floor"); m_peer=$(median <<<"$peer")
  echo "-- the floor: programs started from the shell, taking turns (medians of $runs)"
  echo "   a windowed program that shows and paints one window and ends:  ${m_floor} ms"
  echo "   TALVEN.EXE on an empty script:                                  $(median <<<"$interpreter_alone") ms"
  echo "   the NSIS installer of the bundled payload, whole installation:  ${m_peer} ms"
  awk -v f="$m_floor" -v p="$m_peer" 'BEGIN { printf "   two windowed programs (SETUP.EXE, TALVEN.EXE) before any work, over NSIS: %.2f\n", 2 * f / p }'
}

echo "== installation times under Wine (load average at the start: $(cut -d' ' -f1-3 /proc/loadavg))"
report "bundled payload (Lumivane)" Lumivane m "$medium_bundled" "$work/nsis-bundled.exe"
report "synthetic payload ($(du -sm "$synthetic/payload" | cut -f1) MB in 20 files)" QsBench n "$medium_synthetic" "$work/nsis-synthetic.exe"
floors "$work/nsis-bundled.exe"
echo "(load average at the end: $(cut -d' ' -f1-3 /proc/loadavg))"
