#!/usr/bin/env bash
# Builds Framora (release) and starts it.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
"$ROOT/scripts/deps.sh"
cmake -S "$ROOT" -B "$ROOT/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DFRAMORA_TESTS=OFF -DFRAMORA_BENCH=OFF >/dev/null
cmake --build "$ROOT/build-release" --target framora
exec "$ROOT/build-release/bin/framora"
