#!/usr/bin/env bash
# Builds everything and runs every test: window-free code natively under AddressSanitizer and
# UndefinedBehaviorSanitizer with a bounded fuzzing run, and both component libraries under
# Wine. The 64-bit library's suite runs first, natively on any x86-64 machine, and reports on
# its own; then the window-free tests and the 32-bit library's suite, natively where the kernel
# executes 32-bit code and in an emulated machine elsewhere. Fails when any suite fails.
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare
failed=()
build_native
build_win64
echo "The 64-bit library under 64-bit Wine, natively:"
start_display win64
ctest --test-dir "$build/win64" --output-on-failure --timeout 600 || failed+=(build/win64)
stop_display

# The emulated machine, where one is needed, is made while the 32-bit build runs: making it
# mostly waits for the package mirror.
vm_maker=
# The time a test may take before it is taken for hung: the emulated machine is many times
# slower, and slower still beside other work.
test_timeout=600
if ! can_run_win32; then
  test_timeout=1800
  use_test_vm &
  vm_maker=$!
fi
# The 32-bit build's package carries the 64-bit library built above.
build_win32
if [ -n "$vm_maker" ]; then
  wait "$vm_maker"
  echo "The window-free code natively, and the 32-bit library under 32-bit Wine in the emulated machine:"
else
  start_display win32
  echo "The window-free code and the 32-bit library under 32-bit Wine, natively:"
fi
printf 'subdirs("native" "win32")\n' > "$build/CTestTestfile.cmake"
(cd "$build" && ctest --output-on-failure --timeout "$test_timeout") || failed+=("build/native with build/win32")
if [ ${#failed[@]} -gt 0 ]; then
  printf 'tests failed in %s; their output is above\n' "${failed[@]}" >&2
  exit 1
fi
