#!/usr/bin/env bash
# Builds from scratch and runs every test: the format check, then the normal build's tests, then
# the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
source scripts/packages.sh

bash scripts/deps.sh "${build_packages[@]}" "${test_packages[@]}"
bash scripts/check_format.sh

for preset in release asan; do
    echo "== $preset build"
    cmake --preset "$preset" --fresh >/dev/null
    cmake --build --preset "$preset"
    echo "== $preset tests"
    ctest --preset "$preset"
done
