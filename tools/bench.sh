#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine for both libraries, the 64-bit one natively and the
# 32-bit one natively where the kernel executes 32-bit code, in the emulated machine elsewhere;
# each prints its figures beside a baseline measured in the same run, every line labelled with
# the library's width.
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare
build_quietly win64
build_quietly win32
benches=(config_bench full_screen_bench load_bench raw_input_bench tree_bench)
# Runs a command, each line of its output after `label`.
labelled() {
  local label=$1
  shift
  "$@" | sed "s/^/$label  /"
}
start_display win64
for bench in "${benches[@]}"; do labelled 64-bit wine "$build/win64/bin/$bench.exe"; done
if can_run_win32; then
  start_display win32
  for bench in "${benches[@]}"; do labelled 32-bit wine "$build/win32/bin/$bench.exe"; done
else
  stop_display
  use_test_vm
  for bench in "${benches[@]}"; do labelled 32-bit run_in_vm "$build/win32/bin/$bench.exe"; done
fi
