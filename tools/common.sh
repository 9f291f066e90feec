# Shared by the run, test and benchmark commands: set-up, builds, and the virtual display
# with the Wine prefix that the Windows programs run in.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
source "$root/tools/windows_program.sh"

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
build_win64() { build_preset win64 "$@"; }
build_native() { build_preset native "$@"; }

# Builds a preset without its progress lines; a failing build shows all of them.
build_quietly() {
  local log status=0
  log=$(mktemp)
  build_preset "$@" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then cat "$log" >&2; fi
  rm -f "$log"
  return "$status"
}

# The Windows build whose programs run on this machine itself: the 32-bit one where the kernel
# executes 32-bit code, the 64-bit one elsewhere.
native_windows_build() {
  if can_run_win32; then echo win32; else echo win64; fi
}

# Makes, once per machine, the emulated machine in which Wine runs on such kernels.
use_test_vm() {
  echo "32-bit Wine does not run on this machine: it runs in an emulated machine" >&2
  source "$root/tools/test_vm.sh"
  build_test_vm
}

# The Wine prefix of a Windows build's programs.
prefix_of() {
  case "$1" in
    win32) echo "$build/wineprefix" ;;
    win64) echo "$build/win64/wineprefix" ;;
  esac
}

xvfb_pid= display_prefix=
stop_display() {
  if [ -n "$display_prefix" ]; then WINEPREFIX="$display_prefix" wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  xvfb_pid= display_prefix=
}

# Starts a virtual X display of its own, in place of one this command started before, and uses
# the Wine prefix of the Windows build (win32 or win64).
start_display() {
  local numberfile
  stop_display
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
  use_prefix "$1"
  display_prefix=$WINEPREFIX
}

# The Wine prefix of the Windows build (win32 or win64), made on first use.
use_prefix() {
  export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  WINEPREFIX=$(prefix_of "$1")
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
  fi
  wineserver -w 2>/dev/null || true
}
