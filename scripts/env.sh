# Sourced by the scripts: one place for the paths and the Wine environment.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export CORVAULT_ROOT="$root"
# Build trees and Wine prefixes; overridable so that several people can share one work tree.
native_dir="${CORVAULT_NATIVE_DIR:-$root/build/native}"
win_dir="${CORVAULT_WIN_DIR:-$root/build/win}"        # the 32-bit program
win64_dir="${CORVAULT_WIN64_DIR:-$root/build/win64}"  # the 64-bit program
export CORVAULT_WINEPREFIX="${CORVAULT_WINEPREFIX:-$root/build/wine}"
export CORVAULT_WINEPREFIX64="${CORVAULT_WINEPREFIX64:-$root/build/wine64}"
# Written by scripts/setup: the Wine architectures this host runs.
archs_file="$root/build/wine-archs"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8

# The Wine architectures to use: CORVAULT_WINE_ARCHS ("32", "64" or "32 64")
# when set, else what scripts/setup found this host to run.
wine_archs() {
  if [ -n "${CORVAULT_WINE_ARCHS:-}" ]; then
    echo "$CORVAULT_WINE_ARCHS"
  elif [ -s "$archs_file" ]; then
    head -n 1 "$archs_file"
  else
    echo 64
  fi
}

# Selects one architecture for the wine and wineserver commands that follow:
# its loader, its prefix, its build tree (arch_dir).
use_arch() {
  case "$1" in
    32) wine_loader=/usr/lib/wine/wine; export WINEARCH=win32 WINEPREFIX="$CORVAULT_WINEPREFIX"; arch_dir="$win_dir" ;;
    64) wine_loader=/usr/lib/wine/wine64; export WINEARCH=win64 WINEPREFIX="$CORVAULT_WINEPREFIX64"; arch_dir="$win64_dir" ;;
    *) echo "unknown Wine architecture '$1' (32 or 64)" >&2; return 1 ;;
  esac
  export WINELOADER="$wine_loader"
  wine_arch="$1"
  # Each architecture's Wine desktop on a display of its own (scripts/test).
  local display_var="CORVAULT_DISPLAY$1"
  if [ -n "${!display_var:-}" ]; then export DISPLAY="${!display_var}"; fi
}
# Called by the name the Wine notes use; never /usr/bin/wine, which picks the
# 32-bit loader whenever it is installed, also where it cannot run.
wine() { "$wine_loader" "$@"; }

# Starts a private Xvfb when no display is given; sets DISPLAY. Each call
# with DISPLAY unset starts one more; stop_private_display stops them all.
corvault_xvfb_pids=()
start_private_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n i pid
  for n in $(seq 91 130); do
    if [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; then continue; fi
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pid=$!
    for i in $(seq 1 200); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    # Another server may have taken the number meanwhile: try the next one.
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" 2>/dev/null || true
      continue
    fi
    corvault_xvfb_pids+=("$pid")
    export DISPLAY=":$n"
    return 0
  done
  echo "no free X display number" >&2
  return 1
}

stop_private_display() {
  local pid
  for pid in "${corvault_xvfb_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  [ "${#corvault_xvfb_pids[@]}" -gt 0 ] && unset DISPLAY
  corvault_xvfb_pids=()
}
