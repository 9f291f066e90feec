#!/usr/bin/env bash
# Runs a Windows program under Wine: a 64-bit one natively, and a 32-bit one natively where
# 32-bit Wine runs. Elsewhere (a kernel that cannot execute 32-bit x86 code, or i386 packages
# the mirror could not install) a 32-bit program runs in the emulated test machine instead,
# which the test command makes; without that machine the program fails, saying how to make it.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/windows_program.sh"
if runs_natively "$1"; then
  exec wine "$@"
fi
source "$root/tools/test_vm.sh"
require_test_vm || exit 1
run_in_vm "$@"
