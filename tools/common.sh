# Shared by the run, test and benchmark commands: set-up, builds, and the virtual display
# with the Wine prefix that the Windows programs run in.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"

prepare() {
  if [ "$(id -u)" -eq 0 ]; then
    bash "$root/tools/setup.sh"
  fi
}

# Configures and builds one of the presets in CMakePresets.json.
build_preset() {
  local preset=$1
  shift
  (cd "$root" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" "$@")
}

build_win32() { build_preset win32 "$@"; }
build_native() { build_preset native "$@"; }

# Builds the Windows preset without its progress lines; a failing build shows all of them.
build_win32_quietly() {
  local log status=0
  log=$(mktemp)
  build_win32 "$@" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then cat "$log" >&2; fi
  rm -f "$log"
  return "$status"
}

# Wine runs 32-bit Windows programs as 32-bit Linux processes, which some kernels refuse.
can_run_win32() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

require_win32() {
  if ! can_run_win32; then
    echo "32-bit Wine does not run on this machine, so it cannot run the component" >&2
    exit 1
  fi
}

# Makes, once per machine, the emulated machine in which Wine runs on such kernels.
use_test_vm() {
  echo "32-bit Wine does not run on this machine: it runs in an emulated machine" >&2
  source "$root/tools/test_vm.sh"
  build_test_vm
}

xvfb_pid=
stop_display() {
  WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}

# Starts a virtual X display of its own and uses the Wine prefix inside the build tree.
start_display() {
  local numberfile
  numberfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberfile" 2>/dev/null &
  xvfb_pid=$!
  trap stop_display EXIT
  for _ in $(seq 100); do
    [ -s "$numberfile" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$numberfile")"
  rm -f "$numberfile"
  use_prefix
}

# The Wine prefix inside the build tree, made on first use.
use_prefix() {
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$build"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
  fi
  wineserver -w 2>/dev/null || true
}
