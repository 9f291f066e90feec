#!/usr/bin/env bash
# Builds everything and runs every test: window-free code natively under AddressSanitizer and
# UndefinedBehaviorSanitizer with a bounded fuzzing run, and the component library under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare
# The emulated machine, where one is needed, is made while the builds run: making it mostly
# waits for the package mirror.
vm_maker=
# The time a test may take before it is taken for hung: the emulated machine is many times
# slower, and slower still beside other work.
test_timeout=600
if ! can_run_win32; then
  test_timeout=1800
  use_test_vm &
  vm_maker=$!
fi
build_native
build_win32
if [ -n "$vm_maker" ]; then
  wait "$vm_maker"
else
  start_display
fi
printf 'subdirs("native" "win32")\n' > "$build/CTestTestfile.cmake"
cd "$build"
ctest --output-on-failure --timeout "$test_timeout"
