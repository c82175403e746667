# Sourced by test.sh and run.sh: a private Xvfb display and a persistent
# wineserver for one throw-away Wine prefix. Both are stopped by pid when the
# sourcing script ends, also on failure.
#   qlr_wine_start <prefix-folder>   sets DISPLAY, WINEPREFIX, WINEDEBUG
QLR_WINE64=/usr/lib/wine/wine64
QLR_WINESERVER=/usr/lib/wine/wineserver64
QLR_XVFB_PID=""
QLR_WINESERVER_PID=""

# Pids of the processes running in our prefix (all of them started by this run).
qlr_prefix_pids() {
  local p
  for p in /proc/[0-9]*; do
    { tr '\0' '\n' < "$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$QLR_PREFIX" && echo "${p#/proc/}"
  done
}

qlr_wine_stop() {
  if [ -n "$QLR_WINESERVER_PID" ]; then
    # Wine's own services (explorer, services, plugplay...) outlive a killed
    # server: ask the server to end every process of our prefix first.
    "$QLR_WINESERVER" -k >/dev/null 2>&1 || true
    for _ in $(seq 50); do kill -0 "$QLR_WINESERVER_PID" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$QLR_WINESERVER_PID" 2>/dev/null || true
    QLR_WINESERVER_PID=""
  fi
  if [ -n "${QLR_PREFIX:-}" ]; then
    local left
    left=$(qlr_prefix_pids | grep -vx "$$" || true)
    [ -n "$left" ] && kill -9 $left 2>/dev/null || true
  fi
  if [ -n "$QLR_XVFB_PID" ]; then
    kill "$QLR_XVFB_PID" 2>/dev/null || true
    QLR_XVFB_PID=""
  fi
}

qlr_wine_start() {
  local prefix="$1" n
  QLR_PREFIX="$prefix"
  # Xvfb picks a free display itself and reports it through a pipe: two
  # runs starting side by side never share one (a shared display would share
  # the clipboard and the foreground window between their tests).
  local dfile
  dfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
  QLR_XVFB_PID=$!
  n=""
  for _ in $(seq 300); do
    n=$(head -n 1 "$dfile" 2>/dev/null | tr -dc 0-9)
    [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ] && break
    kill -0 "$QLR_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$dfile"
  [ -n "$n" ] || { echo "wine-env: Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$n"
  export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  mkdir -p "$prefix"
  # The persistent server must not hold our stdout, or the script never ends.
  "$QLR_WINESERVER" -p -f >/dev/null 2>&1 </dev/null &
  QLR_WINESERVER_PID=$!
  "$QLR_WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
}
