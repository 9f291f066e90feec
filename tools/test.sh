#!/usr/bin/env bash
# Builds everything and runs every test: window-free code natively under AddressSanitizer and
# UndefinedBehaviorSanitizer with a bounded fuzzing run, and the component library under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare
build_native
build_win32
if can_run_win32; then
  start_display
else
  use_test_vm
fi
printf 'subdirs("native" "win32")\n' > "$build/CTestTestfile.cmake"
cd "$build"
ctest --output-on-failure --timeout 600
