#!/usr/bin/env bash
# Long fuzz run of the PPD reader: tools/fuzz-ppd.sh [SECONDS] [libFuzzer options...]
# Default one hour. Seeded by the real samples; the growing corpus stays in
# build/fuzz/ppd-fuzz-corpus, crash inputs land in build/fuzz/ppd-fuzz-crashes.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
seconds=${1:-3600}; shift || true
[ -f build/fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target ppd_fuzz -- -j2 >/dev/null
mkdir -p build/fuzz/ppd-fuzz-corpus build/fuzz/ppd-fuzz-crashes
exec build/fuzz/ppd_fuzz -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=60 \
  -print_final_stats=1 -artifact_prefix=build/fuzz/ppd-fuzz-crashes/ "$@" \
  build/fuzz/ppd-fuzz-corpus tests/data/ppd
