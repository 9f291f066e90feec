#!/usr/bin/env bash
# Builds the component and runs it in the simulated player on a virtual display, playing the
# scripted session; the pictures go to build/pictures. Further arguments go to the simulator
# (--profile FOLDER, --component PATH). On a desktop with Wine, run
# build/win32/bin/quorbel_sim.exe without --script to use the moxel by hand.
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare
build_win32 >/dev/null
require_win32
start_display
mkdir -p "$build/pictures"
wine "$build/win32/bin/quorbel_sim.exe" --script "$(winepath -w "$build/pictures")" "$@"
