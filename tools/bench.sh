#!/usr/bin/env bash
# Performance figures: ./qx bench <what> [args]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
what=${1:-}; shift || true
case "$what" in
  ppd) exec bash "$ROOT/tools/bench-ppd.sh" "$@" ;;
  ppd-worst) exec bash "$ROOT/tools/bench-ppd-worst.sh" "$@" ;;
  optiontree) exec bash "$ROOT/tools/bench-optiontree.sh" "$@" ;;
  load) exec bash "$ROOT/tools/bench-load.sh" "$@" ;;
  *) echo "usage: ./qx bench ppd [DIR] | ppd-worst [DIR] | optiontree | load [THREADS [ITERATIONS [ROUNDS [LOADS]]]]"; exit 2 ;;
esac
