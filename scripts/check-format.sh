#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format (the project's .clang-format) makes
# of it, or a tracked CMake file from what cmake-format (.cmake-format.py) makes of it; prints
# the files and the first lines of the difference.
set -euo pipefail
cd "$(dirname "$0")/.."
fmt="$(command -v clang-format-14 || command -v clang-format || true)"
if [[ -z "$fmt" ]]; then
    echo "clang-format not found" >&2
    exit 1
fi
cmfmt="$(command -v cmake-format || true)"
if [[ -z "$cmfmt" ]]; then
    echo "cmake-format not found" >&2
    exit 1
fi
bad=0
while IFS= read -r f; do
    if ! "$fmt" --dry-run --Werror "$f" >/dev/null 2>&1; then
        echo "not formatted: $f"
        diff -u "$f" <("$fmt" "$f") | head -20 || true
        bad=1
    fi
done < <(git ls-files '*.cpp' '*.h')
while IFS= read -r f; do
    if ! "$cmfmt" --check "$f" >/dev/null 2>&1; then
        echo "not formatted: $f"
        diff -u "$f" <("$cmfmt" "$f") | head -20 || true
        bad=1
    fi
done < <(git ls-files 'CMakeLists.txt' '*/CMakeLists.txt' '*.cmake')
exit $bad
