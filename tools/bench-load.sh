#!/usr/bin/env bash
# Load and lifetime under Wine: the plug-in driven through its exports by many
# threads, round after round and load after load; prints calls_per_s,
# failures, and the heap and handles before and after each round and load.
# Usage: tools/bench-load.sh [threads=8] [iterations=200] [rounds=3] [loads=3]
# (the defaults take about a minute; the exit code is 1 when a call failed).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
source "$ROOT/tools/qx-lib.sh"
qx_build_preset x64-nt60 >/dev/null
trap qx_wine_stop EXIT
qx_wine_start
cd "$ROOT/build/x64-nt60"
qx_wine ./plugin_load_bench.exe "${1:-8}" "${2:-200}" "${3:-3}" "${4:-3}"
