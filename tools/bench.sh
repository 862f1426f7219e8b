#!/usr/bin/env bash
# Performance figures: ./qx bench <what> [args]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
what=${1:-}; shift || true
case "$what" in
  optiontree) exec "$ROOT/tools/bench-optiontree.sh" "$@" ;;
  *) echo "usage: ./qx bench <benchmark>"; exit 2 ;;
esac
