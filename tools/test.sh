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
  echo "this machine cannot execute 32-bit x86 code: the tests under Wine run in an emulated machine" >&2
  source "$root/tools/test_vm.sh"
  build_test_vm
fi
printf 'subdirs("native" "win32")\n' > "$build/CTestTestfile.cmake"
cd "$build"
ctest --output-on-failure --timeout 600
