#!/usr/bin/env bash
# The plug-in's main job, run in the driver host under Wine.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$ROOT/tools/wine-run" "$ROOT/build/x64-nt60/qx-probe.exe" "$ROOT/build/x64-nt60/quillex.dll"
