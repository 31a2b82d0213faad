#!/usr/bin/env bash
# Times the whole installation from SETUP.EXE's start to its end under Wine (median of 5 runs,
# the target cleaned between runs), with the time of each stage, and in the same run the time
# of an NSIS installer (Debian's makensis, x86 stubs) that installs the same payload silently.
# Two payloads: the bundled application, and a synthetic one of about 30 MB in 20 files in three
# directories.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
# The peer: Debian's NSIS, needed by this benchmark only.
command -v makensis >/dev/null || { [ "$(id -u)" -eq 0 ] && apt-get install -y -qq nsis || sudo apt-get install -y -qq nsis; }
jobs=$(nproc)
for preset in native win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
done

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

synthetic=$work/synthetic
mkdir -p "$synthetic/payload"
{
  echo "setup        $PWD/build/win32/bin/SETUP.EXE"
  echo "interpreter  $PWD/build/win32/bin/TALVEN.EXE"
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

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
clean() { rm -rf "$drive_c/Program Files/$1"; }
time_runs() {  # folder to clean, command...
  local folder=$1; shift
  for _ in 1 2 3 4 5; do
    clean "$folder"
    local start; start=$(now_ms)
    "$@" >/dev/null 2>&1 || true
    echo $(( $(now_ms) - start ))
  done | median
}

report() {  # label, folder, medium drive, nsis exe
  local label=$1 folder=$2 drive=$3 nsis=$4
  local total talven_empty talven_script
  total=$(time_runs "$folder" "$WINE" "$drive:\\SETUP.EXE" /s)
  [ -f "$drive_c/Program Files/$folder/$(ls "$drive_c/Program Files/$folder" 2>/dev/null | head -1)" ] || true
  # The interpreter alone, from the script copy the bootstrap made, and on an empty script.
  local temp
  temp=$(find "$drive_c/windows" -maxdepth 1 -iname temp | head -1)   # Wine keeps it as "temp"
  cp "$WINE_DRIVES/$( [ "$drive" = m ] && echo medium || echo synthetic)/SETUP.QLS" "$temp/SETUP.QLS"
  printf '\r\n' > "$temp/EMPTY.QLS"
  talven_empty=$(time_runs "$folder" "$WINE" 'C:\windows\KVLSOFT\TALVEN.EXE' 'C:\windows\TEMP\EMPTY.QLS')
  talven_script=$(time_runs "$folder" "$WINE" 'C:\windows\KVLSOFT\TALVEN.EXE' 'C:\windows\TEMP\SETUP.QLS' "/DIR:$drive:\\" /s)
  local nsis_ms launch
  launch=$(time_runs "$folder" "$WINE" cmd /c exit)
  nsis_ms=$(time_runs "$folder" "$WINE" "Z:${nsis//\//\\}" /S)
  local files
  files=$( (find "$drive_c/Program Files/$folder" -type f 2>/dev/null || true) | wc -l)
  echo "-- $label ($files files installed by NSIS' last run)"
  # Every program started from this shell pays Wine's own start ([launch]); the interpreter,
  # started by the bootstrap from inside Wine, pays less. The stages add up to the total.
  echo "   SETUP.EXE /s, whole installation: ${total} ms (median of 5)"
  echo "     Wine's start of a program from the shell:      ${launch} ms"
  echo "     bootstrap (folders, copies, interpreter start): $(( total - talven_script )) ms"
  local own=$(( talven_empty - launch )); [ "$own" -lt 0 ] && own=0   # within the noise of Wine's start
  echo "     interpreter's own start-up and shut-down:       ${own} ms"
  echo "     script run:                                     $(( talven_script - talven_empty )) ms"
  echo "   NSIS installer /S:                  ${nsis_ms} ms (median of 5)"
  awk -v a="$total" -v b="$nsis_ms" 'BEGIN { printf "   ratio ours / NSIS: %.2f\n", a / b }'
}

echo "== installation times under Wine"
report "bundled payload (Lumivane)" Lumivane m "$work/nsis-bundled.exe"
report "synthetic payload ($(du -sm "$synthetic/payload" | cut -f1) MB in 20 files)" QsBench n "$work/nsis-synthetic.exe"
