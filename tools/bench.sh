#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine; each prints its figures beside a baseline
# measured in the same run.
set -euo pipefail
source "$(dirname "$0")/common.sh"
prepare
build_win32 >/dev/null
require_win32
start_display
for bench in config_bench load_bench raw_input_bench tree_bench; do
  wine "$build/win32/bin/$bench.exe"
done
