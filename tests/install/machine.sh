# Sourced by the demo and the end-to-end tests of the bundled installation (after
# tools/wine-session.sh): what an installation may touch on the machine, kept and compared with
# another moment, and a person at the installation's screen.
#   MACHINE_SOURCE the source folder (the plans, tests/install/plans)
#   MACHINE_WORK  a folder under drive C for the states, plans and pictures (made here)
#   MACHINE_BUILD the win32 build folder (qs_installer_user.exe)

machine_work_begin() {
  rm -rf "$MACHINE_WORK"
  mkdir -p "$MACHINE_WORK"
  cp "$MACHINE_BUILD/bin/qs_installer_user.exe" "$MACHINE_WORK/"
}

# The Windows form of a path below the prefix's drive C.
windows_path() {
  local path=${1#"$WINEPREFIX/drive_c"}
  path=${path//\//\\}
  echo "C:${path:-\\}"
}

# Keeps the files and the registry an installation may touch as NAME.files and NAME.<root>.txt:
# Program Files, the start menus and desktops; HKEY_LOCAL_MACHINE\Software and
# HKEY_CURRENT_USER\Software as regedit exports them (UTF-16, made text). Left out: the
# interpreter's data-access library and its record (written by every run, no part of a
# product), Wine's own keys (its temporary system parameters come and go with windows) and what
# a young Windows writes once on its first sound, restart or folder window (the audio devices,
# the theme's settings, the folder windows' view).
machine_state() {
  local name=$1 drive_c=$WINEPREFIX/drive_c root
  (cd "$drive_c" && find "Program Files" "ProgramData/Microsoft/Windows/Start Menu" users/*/Desktop \
    "users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu" 2>/dev/null |
    grep -v '^Program Files/Common Files/Microsoft Shared/DAO' | sort) > "$MACHINE_WORK/$name.files"
  for root in HKEY_LOCAL_MACHINE HKEY_CURRENT_USER; do
    "$WINE" regedit /E "$(windows_path "$MACHINE_WORK/$name.$root.reg")" "$root\\Software"
    iconv -f UTF-16 -t UTF-8 "$MACHINE_WORK/$name.$root.reg" | tr -d '\r' |
      awk '/^\[/ { skip = index($0, "\\Shared Tools\\DAO]") > 0 || index($0, "[HKEY_CURRENT_USER\\Software\\Wine\\") == 1 ||
                         index($0, "\\CurrentVersion\\MMDevices") > 0 || index($0, "\\CurrentVersion\\ThemeManager") > 0 ||
                         index($0, "\\CurrentVersion\\Explorer\\Advanced]") > 0 }
           !skip' > "$MACHINE_WORK/$name.$root.txt"
  done
}

# Compares the states BEFORE and AFTER; prints what differs and fails when anything does. A
# SharedDlls key that the counts made stays behind empty: it is the system's (blank lines,
# which only part the keys, are not compared).
machine_same() {
  local before=$1 after=$2 root status=0
  diff "$MACHINE_WORK/$before.files" "$MACHINE_WORK/$after.files" || status=1
  for root in HKEY_LOCAL_MACHINE HKEY_CURRENT_USER; do
    diff <(grep -v -e '^\[.*\\SharedDlls\]$' -e '^$' "$MACHINE_WORK/$before.$root.txt") \
         <(grep -v -e '^\[.*\\SharedDlls\]$' -e '^$' "$MACHINE_WORK/$after.$root.txt") || status=1
  done
  return $status
}

# A person follows tests/install/plans/PLAN.plan while COMMAND runs (qs_installer_user); the
# pictures go to SHOTS (a folder below drive C), what each window showed to PLAN.out.
as_person() {
  local plan=$1 shots=$2 status=0
  shift 2
  cp "$MACHINE_SOURCE/tests/install/plans/$plan.plan" "$MACHINE_WORK/$plan.plan"
  "$WINE" "$(windows_path "$MACHINE_WORK/qs_installer_user.exe")" "$(windows_path "$shots")" \
    "$(windows_path "$MACHINE_WORK/$plan.plan")" -- "$@" > "$MACHINE_WORK/$plan.out" 2>&1 || status=$?
  tr -d '\r' < "$MACHINE_WORK/$plan.out"
  return $status
}

# Sound for Lumivane to hear: three tones, one of them swelling, through ALSA's file plugin
# (the recipe of the application's tests); for the Wine processes started from here on.
lumivane_hears_tones() {
  python3 - "$MACHINE_WORK/tones.raw" <<'EOF'
import math, sys
rate = 8000
samples = bytearray()
for n in range(rate * 60):
    t = n / rate
    v = 0.3 * math.sin(2 * math.pi * 440 * t) + 0.25 * math.sin(2 * math.pi * 1250 * t) \
        + 0.2 * math.sin(2 * math.pi * 2600 * t) * (1 + math.sin(math.pi * t)) / 2
    samples.append(max(0, min(255, int(128 + 127 * v))))
open(sys.argv[1], "wb").write(samples)
EOF
  sed "s|@INFILE@|$MACHINE_WORK/tones.raw|" "$MACHINE_SOURCE/tests/app/alsa-capture.conf.in" > "$MACHINE_WORK/alsa.conf"
  export ALSA_CONFIG_PATH=$MACHINE_WORK/alsa.conf WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winepulse.drv=d"
}

# The machine's language as the installer reads it (WIN.INI's sLanguage: ENU, DEU, ...).
machine_language() {
  "$WINE" reg add 'HKCU\Control Panel\International' /v sLanguage /d "$1" /f >/dev/null
}
