# Sourced by the scripts: one place for the paths and the Wine environment.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export CORVAULT_ROOT="$root"
export WINEPREFIX="${CORVAULT_WINEPREFIX:-$root/build/wine}"
# Build trees; overridable so that several people can share one work tree.
native_dir="${CORVAULT_NATIVE_DIR:-$root/build/native}"
win_dir="${CORVAULT_WIN_DIR:-$root/build/win}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8

# Starts a private Xvfb when no display is given; sets DISPLAY and
# corvault_xvfb_pid. The caller stops it with stop_private_display.
start_private_display() {
  corvault_xvfb_pid=""
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n i
  for n in $(seq 91 130); do
    if [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; then continue; fi
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    corvault_xvfb_pid=$!
    for i in $(seq 1 200); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$corvault_xvfb_pid" 2>/dev/null || break
      sleep 0.05
    done
    # Another server may have taken the number meanwhile: try the next one.
    if ! kill -0 "$corvault_xvfb_pid" 2>/dev/null; then
      wait "$corvault_xvfb_pid" 2>/dev/null || true
      corvault_xvfb_pid=""
      continue
    fi
    export DISPLAY=":$n"
    return 0
  done
  echo "no free X display number" >&2
  return 1
}

stop_private_display() {
  if [ -n "${corvault_xvfb_pid:-}" ]; then
    kill "$corvault_xvfb_pid" 2>/dev/null || true
    wait "$corvault_xvfb_pid" 2>/dev/null || true
    unset DISPLAY
    corvault_xvfb_pid=""
  fi
}
