#!/usr/bin/env bash
# Runs a Windows program under Wine. Where 32-bit Wine does not run (a kernel that cannot
# execute 32-bit x86 code, or i386 packages the mirror could not install) it runs in the
# emulated test machine instead, which the test command makes; without that machine the
# program fails, saying how to make it.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  exec wine "$@"
fi
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/test_vm.sh"
require_test_vm || exit 1
run_in_vm "$@"
