#!/usr/bin/env bash
# Runs a Windows program under Wine. Where 32-bit Wine does not run (a kernel that cannot
# execute 32-bit x86 code, or i386 packages the mirror could not install) it runs in the
# emulated test machine instead, which the test command makes; without
# that machine the program is reported as skipped (exit code 77, which the tests declare as
# their skip code) with the reason, rather than as a failure of its own.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  exec wine "$@"
fi
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/test_vm.sh"
if vm_ready; then
  run_in_vm "$@"
  exit
fi
echo "SKIPPED: 32-bit Wine does not run on this machine, and the emulated test machine is not made" >&2
exit 77
