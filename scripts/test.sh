#!/usr/bin/env bash
# Builds everything and runs every test through CTest, headless.
# With --sanitize it does the same in the AddressSanitizer + UBSan preset.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default
[ "${1:-}" = "--sanitize" ] && preset=asan
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2
