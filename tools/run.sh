#!/usr/bin/env bash
# Builds the component and runs it in the simulated player.
#   tools/run.sh [OPTIONS]               plays the scripted session on a virtual display of
#                                        its own; the pictures go to build/pictures
#   tools/run.sh --interactive [OPTIONS] runs the player on your own display ($DISPLAY), to
#                                        use the moxel by hand until its window is closed
#   tools/run.sh --help                  says what can be done in the player
# OPTIONS go to the simulator: --profile FOLDER, --component PATH, --dpi DPI.
set -euo pipefail
source "$(dirname "$0")/common.sh"
mode=script
case "${1:-}" in
  --interactive) mode=interactive; shift ;;
  --help) mode=help; shift ;;
esac
if [ "$mode" = help ]; then
  sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
  echo
fi
if [ "$mode" = interactive ] && [ -z "${DISPLAY:-}" ]; then
  echo "--interactive needs a display of your own: DISPLAY is not set" >&2
  exit 1
fi
prepare
build_win32_quietly
simulator="$build/win32/bin/quorbel_sim.exe"
# The desktop's outer corners on two monitors, a smaller one left of the main one, on a
# display and in a Wine prefix of their own: the pictures go to the folder `pictures`, the
# settings to the profile folder `profile` (both Windows paths).
play_outer_corners() {
  local pictures=$1 profile=$2
  shift 2
  bash "$root/tests/wine/run_with_monitors.sh" "$build/win32/tests/wine/monitor-layout" \
    "$build/win32/wineprefix-monitors" "1280x1024+1024+0 1024x768+0+256" \
    "$simulator" --script "$pictures" --outer-corners --profile "$profile" "$@"
}
if [ "$mode" = script ] && ! can_run_win32; then
  # Both sessions are played in the emulated machine of the tests, in a copy of the
  # simulator's folder (Z:\build there); the pictures come back from it.
  use_test_vm
  export vm_results=pictures vm_results_to="$build"
  run_in_vm "$simulator" --script 'Z:\build\pictures' "$@"
  play_outer_corners 'Z:\build\pictures' 'Z:\build\profile-monitors' "$@"
  exit
fi
require_win32
case "$mode" in
  help)
    start_display
    wine "$simulator" --help "$@"
    ;;
  interactive)
    use_prefix
    wine "$simulator" "$@"
    ;;
  script)
    start_display
    mkdir -p "$build/pictures"
    wine "$simulator" --script "$(winepath -w "$build/pictures")" "$@"
    play_outer_corners "$(winepath -w "$build/pictures")" "$(winepath -w "$build/win32/bin/profile-monitors")" "$@"
    ;;
esac
