#!/usr/bin/env bash
# Builds the component and runs it in the simulated player. Arguments go to the simulator
# (--profile FOLDER, --component PATH).
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare
build_win32 >/dev/null
start_display
wine "$build/win32/bin/quorbel_sim.exe" "$@"
