#!/usr/bin/env bash
# Sourced by the test and demo scripts: a private Wine prefix inside the build tree (made once),
# the test drives mapped before its wineserver starts, and an Xvfb of our own on a free display.
# Everything started here is stopped by PID (Xvfb) or by prefix (wineserver) in wine_session_end.
# The prefix is a pure 32-bit Windows, as the shipping programs were made for; WINE_ARCH=win64
# makes a 64-bit one instead (32-bit programs then run as on 64-bit Windows).

export WINE_ARCH=${WINE_ARCH:-win32}
if [ "$WINE_ARCH" = win64 ]; then export WINE=/usr/lib/wine/wine64; else export WINE=/usr/lib/wine/wine; fi
WINE_BUILD=${WINE_BUILD:-$PWD/build/win32}
export WINEPREFIX=${WINEPREFIX_OVERRIDE:-$WINE_BUILD/wineprefix}
export WINEDEBUG=-all
# No desktop integration, no .NET or HTML engines to install: they cost seconds per start.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export WINE_DRIVES=$WINE_BUILD/drives
XVFB_PID=""
SMALL_MOUNTED=""

wine_map_drive() {   # letter, directory, [volume label]
  local letter=$1 dir=$2 label=${3:-}
  mkdir -p "$dir"
  [ -n "$label" ] && printf '%s' "$label" > "$dir/.windows-label"
  ln -sfn "$dir" "$WINEPREFIX/dosdevices/$letter:"
}

# True when the prefix exists and is of the wanted kind: a 32-bit prefix says so in its
# registry; a 64-bit one made before Wine's 32-bit half was installed has an empty syswow64 and
# cannot start 32-bit programs.
wine_prefix_usable() {
  [ -f "$WINEPREFIX/system.reg" ] || return 1
  if [ "$WINE_ARCH" = win32 ]; then
    grep -q '^#arch=win32' "$WINEPREFIX/system.reg"
  else
    grep -q '^#arch=win64' "$WINEPREFIX/system.reg" && [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]
  fi
}

wine_prefix_create() {
  if ! wine_prefix_usable; then
    echo "Creating $WINE_ARCH Wine prefix $WINEPREFIX"
    WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    WINEARCH=$WINE_ARCH "$WINE" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -w
    wine_prefix_usable || { echo "wine-session: could not make a $WINE_ARCH prefix in $WINEPREFIX" >&2; return 1; }
  fi
}

wine_session_begin() {
  wine_prefix_create || return 1
  # Unmanaged windows: with no window manager on the Xvfb display, hiding or destroying a
  # managed window waits two seconds for a state change that never comes.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  fi
  WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true
  # Drives the tests use: a labelled medium and a scratch drive.
  wine_map_drive l "$WINE_DRIVES/labelled" "QSDISK1"
  wine_map_drive m "$WINE_DRIVES/medium" "QSMEDIUM"
  # A 1 MB volume of its own for the copy engine's disk-full cases; root only (a tmpfs mount).
  wine_map_drive s "$WINE_DRIVES/small"
  if [ "$(id -u)" -eq 0 ] && ! mountpoint -q "$WINE_DRIVES/small"; then
    mount -t tmpfs -o size=1m tmpfs "$WINE_DRIVES/small" && SMALL_MOUNTED=1
  fi
  wine_session_display
}

wine_session_display() {
  if [ -n "${QS_USE_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then return; fi
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
}

wine_session_end() {
  WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  XVFB_PID=""
  if [ -n "$SMALL_MOUNTED" ]; then umount "$WINE_DRIVES/small" 2>/dev/null || true; fi
  SMALL_MOUNTED=""
}
