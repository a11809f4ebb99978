#!/usr/bin/env bash
# Fails when a C++ source differs from the house format (.clang-format).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(git ls-files -co --exclude-standard -- '*.h' '*.cpp')
clang-format --dry-run -Werror "${sources[@]}"
echo "Format check: ${#sources[@]} files follow .clang-format"
