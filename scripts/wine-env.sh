# Sourced: sets up WINEPREFIX (private to a build folder) and DISPLAY for Wine (corvane_wine_env),
# and stops what a run started (corvane_wine_stop).
corvane_wine_env() {
  local build=$1
  export WINEPREFIX="$build/wineprefix"
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEARCH=win64
  if [ -z "${DISPLAY:-}" ]; then
    local displayFile="$build/xvfb.display"
    if [ -f "$displayFile" ] && xdpyinfo -display "$(cat "$displayFile")" >/dev/null 2>&1; then
      export DISPLAY=$(cat "$displayFile")
    else
      local n=90
      while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      echo $! > "$build/xvfb.pid"
      for _ in $(seq 50); do xdpyinfo -display ":$n" >/dev/null 2>&1 && break; sleep 0.1; done
      echo ":$n" > "$displayFile"
      export DISPLAY=":$n"
    fi
  fi
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.corvane-ready" ]; then
      wineboot -i >/dev/null 2>&1 9>&- || true
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 9>&-
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 9>&-
      wineserver -w 9>&-
      touch "$WINEPREFIX/.corvane-ready"
    fi
    # Debian's Wine does not look in its own font folder: without a copy in C:\windows\Fonts,
    # "MS Sans Serif" and Tahoma are drawn with a much wider host font.
    if [ -d /usr/share/wine/fonts ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/sserife.fon" ]; then
      cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    # One persistent wineserver with Wine's own services already running, started with no
    # inherited output: a service that held CTest's output pipe would make it wait forever.
    setsid wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
    setsid wine cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
  ) 9>"$build/wineprefix.lock"
}

# Stops what a run started, and only that:
#   corvane_wine_stop [--keep-server] [--keep-xvfb] DIR [PREFIX...]
# ends the wineserver of each PREFIX (DIR/wineprefix when none is given), and with it every Wine
# process of that prefix, then the Xvfb that corvane_wine_env started for DIR (its id in
# DIR/xvfb.pid) and forgets its display. --keep-server and --keep-xvfb leave either running (what
# was already running before the run). Never fails: it is meant for an exit trap.
corvane_wine_stop() {
  local server=1 xvfb=1
  while :; do
    case ${1:-} in
      --keep-server) server=0; shift ;;
      --keep-xvfb) xvfb=0; shift ;;
      *) break ;;
    esac
  done
  local dir=$1; shift
  [ $# -gt 0 ] || set -- "$dir/wineprefix"
  if [ "$server" = 1 ]; then
    local prefix
    for prefix in "$@"; do WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; done
  fi
  if [ "$xvfb" = 1 ] && [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$dir/xvfb.pid" "$dir/xvfb.display"
  fi
  return 0
}
