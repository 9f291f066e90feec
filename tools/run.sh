#!/usr/bin/env bash
# Builds the component and runs it in the simulated player.
#   tools/run.sh [OPTIONS]               plays the scripted session on a virtual display of
#                                        its own; the pictures go to build/pictures
#   tools/run.sh --interactive [OPTIONS] runs the player on your own display ($DISPLAY), to
#                                        use the moxel by hand until its window is closed
#   tools/run.sh --help                  says what can be done in the player
# OPTIONS go to the simulator: --profile FOLDER, --component PATH, --dpi DPI.
# The player and the component are the 32-bit ones where the kernel executes 32-bit code, the
# 64-bit ones elsewhere: both run natively.
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
width=$(native_windows_build)
build_quietly "$width"
simulator="$build/$width/bin/quorbel_sim.exe"
# The desktop's outer corners on two monitors, a smaller one left of the main one, on a
# display and in a Wine prefix of their own: the pictures go to the folder `pictures`, the
# settings to the profile folder `profile` (both Windows paths).
play_outer_corners() {
  local pictures=$1 profile=$2
  shift 2
  bash "$root/tests/wine/run_with_monitors.sh" "$build/$width/tests/wine/monitor-layout" \
    "$build/$width/wineprefix-monitors" "1280x1024+1024+0 1024x768+0+256" \
    "$simulator" --script "$pictures" --outer-corners --profile "$profile" "$@"
}
case "$mode" in
  help)
    start_display "$width"
    wine "$simulator" --help "$@"
    ;;
  interactive)
    use_prefix "$width"
    wine "$simulator" "$@"
    ;;
  script)
    start_display "$width"
    mkdir -p "$build/pictures"
    wine "$simulator" --script "$(winepath -w "$build/pictures")" "$@"
    play_outer_corners "$(winepath -w "$build/pictures")" "$(winepath -w "$build/$width/bin/profile-monitors")" "$@"
    ;;
esac
