#!/usr/bin/env bash
# Runs a Windows test program on a virtual display of its own, whose one wide screen Wine sees
# as the monitors listed in a layout file (see xinerama_layout.c), with a Wine prefix and a
# Wine server of its own, apart from the display and the prefix the other tests share.
# Usage: run_with_monitors.sh LIBRARY_FOLDER PREFIX LAYOUT PROGRAM [ARGUMENT...]
# LAYOUT lists the monitors, the main one first, as WIDTHxHEIGHT+X+Y words (X and Y from the
# desktop's top left). The program finds the layout file in MONITOR_LAYOUT and may rewrite it,
# then running display_refresh.exe of its folder to make Wine read it again.
# The prefix, the library and the program are of one width. A 64-bit program runs natively;
# where 32-bit Wine does not run, this script runs itself for a 32-bit program in the emulated
# test machine (tools/test_vm.sh), on a copy of the program's folder with the library folder,
# this script and the tools it uses beside it, and with the machine's own 32-bit prefix in
# place of PREFIX; the program's arguments then name the machine's paths (its folder is
# Z:\build there).
set -euo pipefail
library_folder=$(realpath -m "$1") prefix=$(realpath -m "$2") layout=$3
shift 3
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/tools/windows_program.sh"
if ! runs_natively "$1"; then
  source "$root/tools/test_vm.sh"
  require_test_vm
  folder=$(mktemp -d)
  trap 'rm -rf "$folder"' EXIT
  cp -al "$(dirname "$1")/." "$folder/"
  cp -al "$library_folder" "$folder/monitor-layout"
  mkdir -p "$folder/tests/wine" "$folder/tools"
  cp "${BASH_SOURCE[0]}" "$folder/tests/wine/run_with_monitors.sh"
  cp "$root/tools/windows_program.sh" "$folder/tools/windows_program.sh"
  program=$(basename "$1")
  shift
  # The prefix is the one made with the machine's disk (tools/test_vm_init.sh).
  status=0
  run_command_in_vm "$folder" bash /build/tests/wine/run_with_monitors.sh /build/monitor-layout \
    /root/wineprefix-monitors "$layout" "/build/$program" "$@" || status=$?
  exit "$status"
fi

work=$(mktemp -d)
xvfb_pid=
stop() {
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap stop EXIT

# Room for every arrangement the tests make: 2304 pixels across, 1792 down.
Xvfb -displayfd 3 -screen 0 2304x1792x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
printf '%s\n' $layout >"$work/layout"

# A prefix of the program's width: every Wine process of it, the desktop's included, is then
# of the stand-in library's width and loads it, so they all agree on the monitors.
export DISPLAY=":$(head -n1 "$work/display")" WINEPREFIX="$prefix" WINEARCH="$(wine_arch_of "$1")" WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=" MONITOR_LAYOUT="$work/layout" \
  LD_LIBRARY_PATH="$library_folder${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
# The monitors come from the stand-in alone: Wine asks XRandR instead where the machine has
# that library of the prefix's width.
if [ ! -f "$prefix/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1
  wineserver -w
fi
# Whatever monitors Wine read before, it reads these now.
status=0
wine "$(dirname "$1")/display_refresh.exe" || status=$?
if [ "$status" -ne 0 ]; then
  echo "Wine did not take the monitors $layout: display_refresh.exe answered $status" >&2
  exit 1
fi
wine "$@" || status=$?
exit "$status"
