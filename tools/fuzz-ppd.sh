#!/usr/bin/env bash
# Long fuzz run of the PPD reader: tools/fuzz-ppd.sh [--large] [SECONDS] [libFuzzer options...]
# Default one hour. Seeded by the real samples; the growing corpus stays in
# build/fuzz/ppd-fuzz-corpus, crash inputs land in build/fuzz/ppd-fuzz-crashes.
# --large: the mode whose inputs stand for files of up to 1 MB (part of each
# input repeated), also seeded by the worst cases: a model holding more heap
# than its budget, or a reading slow enough to grow with the square of its
# size, fails.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
target=ppd_fuzz; name=ppd-fuzz; limits=(-rss_limit_mb=2048 -timeout=60); seeds=(tests/data/ppd)
if [ "${1:-}" = --large ]; then
  shift
  target=ppd_fuzz_large; name=ppd-fuzz-large; seeds+=(tests/ppd/fuzz/large-seeds)
  limits=(-rss_limit_mb=1024 -timeout=30 -max_len=1048576)
  export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=32}
fi
seconds=${1:-3600}; shift || true
[ -f build/fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target "$target" -- -j2 >/dev/null
mkdir -p "build/fuzz/$name-corpus" "build/fuzz/$name-crashes"
exec "build/fuzz/$target" -max_total_time="$seconds" "${limits[@]}" \
  -print_final_stats=1 -artifact_prefix="build/fuzz/$name-crashes/" "$@" \
  "build/fuzz/$name-corpus" "${seeds[@]}"
