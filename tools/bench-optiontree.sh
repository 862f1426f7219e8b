#!/usr/bin/env bash
# The document-properties counting pass on the largest sample PPD: read once,
# then installed options refreshed and marks recomputed at every pass.
# Usage: tools/bench-optiontree.sh [FILE.ppd] [passes]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
file=${1:-$(ls -S "$ROOT"/tests/data/ppd/*.ppd | head -1)}
cmake --build "$ROOT/build/native" --target optiontree_bench >/dev/null
"$ROOT/build/native/tests/optiontree/optiontree_bench" "$file" "${2:-200}"
