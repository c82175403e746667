# Sourced by test.sh and run.sh: private Xvfb displays and persistent
# wineservers for throw-away Wine prefixes. All are stopped by pid when the
# sourcing script ends, also on failure.
#   qlr_wine_start <prefix-folder>        one prefix; sets DISPLAY, WINEPREFIX, WINEDEBUG
#   qlr_wine_start_slots <folder> <count> test slots: <folder>/slot<i>.env each
#                                         name a display, a prefix and a home of their own
QLR_WINE64=/usr/lib/wine/wine64
QLR_WINESERVER=/usr/lib/wine/wineserver64
QLR_XVFB_PIDS=()
QLR_WINESERVER_PIDS=()
QLR_PREFIXES=()

# A program that crashes ends at once: no debugger is started for it (it
# would wait for ever).
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" WINEARCH=win64

# Pids of the processes running in one prefix (all of them started by this run).
qlr_prefix_pids() {  # prefix
  local p
  for p in /proc/[0-9]*; do
    { tr '\0' '\n' < "$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$1" && echo "${p#/proc/}"
  done
}

qlr_wine_stop() {
  local i pid prefix left
  for i in "${!QLR_WINESERVER_PIDS[@]}"; do
    pid="${QLR_WINESERVER_PIDS[$i]}" prefix="${QLR_PREFIXES[$i]}"
    # Wine's own services (explorer, services, plugplay...) outlive a killed
    # server: ask the server to end every process of its prefix first.
    WINEPREFIX="$prefix" "$QLR_WINESERVER" -k >/dev/null 2>&1 || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  for prefix in "${QLR_PREFIXES[@]}"; do
    left=$(qlr_prefix_pids "$prefix" | grep -vx "$$" || true)
    [ -n "$left" ] && kill -9 $left 2>/dev/null || true
  done
  for pid in "${QLR_XVFB_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  QLR_WINESERVER_PIDS=() QLR_PREFIXES=() QLR_XVFB_PIDS=()
}

# Starts a display of its own; its number goes to QLR_NEW_DISPLAY.
qlr_xvfb_start() {
  local dfile n pid
  # Xvfb picks a free display itself and reports it through a pipe: two
  # runs starting side by side never share one (a shared display would share
  # the clipboard and the foreground window between their tests).
  dfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
  pid=$!
  QLR_XVFB_PIDS+=("$pid")
  n=""
  for _ in $(seq 300); do
    n=$(head -n 1 "$dfile" 2>/dev/null | tr -dc 0-9)
    [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$dfile"
  [ -n "$n" ] || { echo "wine-env: Xvfb did not start" >&2; return 1; }
  QLR_NEW_DISPLAY=":$n"
}

# A resource database for the displays, as a desktop session has one. A bare
# Xvfb has none, and Xlib then looks for one again (home file, host file,
# environment) each time Wine asks a font setting: thousands of file opens
# in a run that selects fonts often.
qlr_x_resources() {  # folder
  mkdir -p "$1"
  printf 'Xft.dpi:\t96\n' > "$1/Xresources"
  export XENVIRONMENT="$1/Xresources"
}

qlr_server_start() {  # prefix
  mkdir -p "$1"
  # The persistent server must not hold our stdout, or the script never ends.
  WINEPREFIX="$1" "$QLR_WINESERVER" -p -f >/dev/null 2>&1 </dev/null &
  QLR_WINESERVER_PIDS+=("$!")
  QLR_PREFIXES+=("$1")
}

qlr_wine_start() {  # prefix
  qlr_x_resources "$1"
  qlr_xvfb_start || return 1
  export DISPLAY="$QLR_NEW_DISPLAY" WINEPREFIX="$1"
  qlr_server_start "$1"
  "$QLR_WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
}

# A copy of a booted prefix: the system folder (nearly all of its size, and
# never written by the tests) as hard links, the rest, the registry with it,
# as files of its own.
qlr_prefix_clone() {  # from to
  mkdir -p "$2/drive_c/windows"
  tar -C "$1" --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/winsxs \
      --exclude=./wineserver -cf - . | tar -C "$2" -xf -
  cp -al "$1/drive_c/windows/system32" "$1/drive_c/windows/winsxs" "$2/drive_c/windows/"
}

qlr_wine_start_slots() {  # folder count
  local folder="$1" count="$2" i seed
  rm -rf "$folder"
  mkdir -p "$folder"
  qlr_x_resources "$folder"
  seed="$folder/slot0/prefix"
  qlr_xvfb_start || return 1
  local seed_display="$QLR_NEW_DISPLAY"
  # Booted by a server of its own that ends with the boot, so the registry
  # is on disk before the prefix is copied.
  mkdir -p "$seed"
  DISPLAY="$seed_display" WINEPREFIX="$seed" "$QLR_WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
  WINEPREFIX="$seed" "$QLR_WINESERVER" -w >/dev/null 2>&1 || true
  for i in $(seq 0 $((count - 1))); do
    local prefix="$folder/slot$i/prefix" home="$folder/slot$i/home" display
    [ "$i" -eq 0 ] || qlr_prefix_clone "$seed" "$prefix"
    if [ "$i" -eq 0 ]; then display="$seed_display"; else qlr_xvfb_start || return 1; display="$QLR_NEW_DISPLAY"; fi
    qlr_server_start "$prefix"
    # Wine's services start with the first program of a prefix and inherit
    # its output: start them here, not from a test.
    DISPLAY="$display" WINEPREFIX="$prefix" "$QLR_WINE64" wineboot >/dev/null 2>&1 </dev/null || true
    # A home with the data folder a desktop has (Wine keeps its trash there
    # and deletes outright without it); the tests look into it.
    mkdir -p "$home/.local/share"
    # The profile's Desktop, Documents and the like link to the home the
    # seed was booted with: each slot's go to its own home.
    local link
    for link in "$prefix"/drive_c/users/*/*; do
      if [ -L "$link" ]; then ln -sfn "$home" "$link"; fi
    done
    printf 'export DISPLAY=%q WINEPREFIX=%q HOME=%q XDG_DATA_HOME=%q XENVIRONMENT=%q\n' \
      "$display" "$prefix" "$home" "$home/.local/share" "$XENVIRONMENT" > "$folder/slot$i.env"
  done
}
