#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UBSan and runs every test (GUI tests offscreen).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${FRAMORA_TEST_BUILD:-$ROOT/build-test}"
"$ROOT/scripts/deps.sh"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFRAMORA_SANITIZE=ON \
  -DFRAMORA_WERROR=ON >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
ctest --test-dir "$BUILD" --output-on-failure -j "$(nproc)" --timeout 600
