# Shared by the test session, `make run` and the CTest emulator: where Wine is,
# which private prefix to use, and how to start and stop the helper processes.
# Source it; BUILD_DIR (absolute) names the build tree that owns the prefix.

WINE_BIN=/usr/lib/wine/wine64
WINESERVER_BIN=/usr/lib/wine/wineserver
: "${BUILD_DIR:?BUILD_DIR must be set}"
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
RIG_DIR="$BUILD_DIR/rig"
mkdir -p "$RIG_DIR"

# Makes the prefix once; later calls return at once.
ensure_prefix() {
  if [ ! -f "$WINEPREFIX/.vrx-ready" ]; then
    echo "making the private Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINE_BIN" wineboot -i >"$RIG_DIR/wineboot.log" 2>&1
    "$WINESERVER_BIN" -w
    touch "$WINEPREFIX/.vrx-ready"
  fi
  ensure_marlett
}

# Wine draws caption buttons, scroll arrows and check marks with the Marlett
# font. Debian's Wine ships it (fonts-wine) but a prefix does not find it
# there, and then shows letters ("0 1 r") in their place; installed into the
# prefix's Fonts folder and registered as Windows registers its fonts, it is
# found. Also done for prefixes made before this step existed.
WINE_MARLETT=/usr/share/wine/fonts/marlett.ttf
ensure_marlett() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$fonts/marlett.ttf" ] && return 0
  [ -f "$WINE_MARLETT" ] || { echo "no $WINE_MARLETT: install fonts-wine" >&2; return 1; }
  mkdir -p "$fonts"
  cp "$WINE_MARLETT" "$fonts/marlett.ttf.part"
  "$WINE_BIN" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v "Marlett (TrueType)" \
    /t REG_SZ /d marlett.ttf /f >/dev/null 2>&1 || { rm -f "$fonts/marlett.ttf.part"; return 1; }
  # The file's presence marks the step done, so it lands last.
  mv "$fonts/marlett.ttf.part" "$fonts/marlett.ttf"
  "$WINESERVER_BIN" -w
}

# Starts Xvfb on a free display and exports DISPLAY; the pid goes to XVFB_PID.
start_xvfb() {
  local fdfile="$RIG_DIR/xvfb.display"
  rm -f "$fdfile"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >"$RIG_DIR/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$fdfile")"
}

# Makes a pty pair with socat: start_pty_pair NAME leaves $RIG_DIR/NAME-a and
# $RIG_DIR/NAME-b as the two ends and appends socat's pid to SOCAT_PIDS.
SOCAT_PIDS=()
start_pty_pair() {
  local a="$RIG_DIR/$1-a" b="$RIG_DIR/$1-b"
  rm -f "$a" "$b"
  socat "pty,link=$a,raw,echo=0" "pty,link=$b,raw,echo=0" >"$RIG_DIR/socat-$1.log" 2>&1 &
  SOCAT_PIDS+=($!)
  wait_for_links "$a" "$b"
}

# Waits up to 5 s for both ends of a pty pair to appear.
wait_for_links() {
  local i
  for i in $(seq 1 100); do
    [ -e "$1" ] && [ -e "$2" ] && return 0
    sleep 0.05
  done
  echo "socat did not make $1 and $2" >&2
  return 1
}

# map_com_port COMn PATH: the prefix opens PATH when a program opens COMn.
# Takes effect when the prefix's wineserver is started again.
map_com_port() {
  "$WINE_BIN" reg add 'HKLM\Software\Wine\Ports' /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1
}

# list_port_without_device COMn: the port listing shows COMn, but opening it
# fails with error 2, as for an adapter unplugged after start-up. The key is
# volatile: call it while the session's wineserver is held up.
list_port_without_device() {
  "$WINE_BIN" reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v "\Device\VRXNoDevice" /t REG_SZ /d "$1" /f \
    >/dev/null 2>&1
}

unmap_com_port() {
  "$WINE_BIN" reg delete 'HKLM\Software\Wine\Ports' /v "$1" /f >/dev/null 2>&1 || true
}

# set_windows_managed Y|N: whether the desktop's window manager handles the
# prefix's top-level windows.
set_windows_managed() {
  "$WINE_BIN" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$1" /f >/dev/null 2>&1
}

# Wine brings no "Courier New"; its metric twin Liberation Mono stands in, so
# the output pane and the network edits hold as many characters as on Windows.
set_font_replacements() {
  "$WINE_BIN" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Courier New" /t REG_SZ /d "Liberation Mono" /f \
    >/dev/null 2>&1
}

# Restarts the prefix's server and keeps it alive for the session, so that each
# test program starts in milliseconds; its chatter (object dumps when a pty
# closes) goes to a log file.
restart_wineserver() {
  "$WINESERVER_BIN" -k 2>/dev/null || true
  "$WINESERVER_BIN" -w 2>/dev/null || true
  "$WINESERVER_BIN" -p >>"$RIG_DIR/wineserver.log" 2>&1
  # A first program run brings up the prefix's services before tests time anything.
  "$WINE_BIN" cmd /c exit >/dev/null 2>&1 || true
}

stop_wineserver() {
  "$WINESERVER_BIN" -k 2>/dev/null || true
  "$WINESERVER_BIN" -w 2>/dev/null || true
}

stop_helpers() {
  local p
  for p in "${SOCAT_PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  SOCAT_PIDS=()
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; XVFB_PID=; fi
}

# start_unpluggable_pty_pair NAME: a pty pair like start_pty_pair whose socat a
# watcher ends and starts again whenever $RIG_DIR/NAME.unplug appears (a test
# pulling the cable); the watcher deletes that file once the pair is back. The
# watcher's pid goes to SOCAT_PIDS; ending it ends its socat.
start_unpluggable_pty_pair() {
  local a="$RIG_DIR/$1-a" b="$RIG_DIR/$1-b" request="$RIG_DIR/$1.unplug" log="$RIG_DIR/socat-$1.log"
  rm -f "$a" "$b" "$request"
  (
    pid=
    trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; exit 0' TERM INT
    while :; do
      rm -f "$a" "$b"
      socat "pty,link=$a,raw,echo=0" "pty,link=$b,raw,echo=0" >>"$log" 2>&1 &
      pid=$!
      until [ -e "$a" ] && [ -e "$b" ]; do sleep 0.05; done
      rm -f "$request"
      until [ -e "$request" ] || ! kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      pid=
    done
  ) &
  SOCAT_PIDS+=($!)
  wait_for_links "$a" "$b"
}
