#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine; each prints its figures beside a baseline
# measured in the same run.
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare
build_win32_quietly
benches=(config_bench full_screen_bench load_bench raw_input_bench tree_bench)
if can_run_win32; then
  start_display
  for bench in "${benches[@]}"; do wine "$build/win32/bin/$bench.exe"; done
else
  use_test_vm
  for bench in "${benches[@]}"; do run_in_vm "$build/win32/bin/$bench.exe"; done
fi
