#!/usr/bin/env bash
# Builds the program if needed and runs it with the shipped art.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"

bash "$root/scripts/deps.sh" "${build_packages[@]}"
cmake --preset app -S "$root" >/dev/null
cmake --build --preset app --target unicorn

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: the program runs in console mode; press Escape to end it."
fi
# The program reads its three bitmaps from the working directory.
cd "$root/assets"
exec "$root/build/app/app/unicorn"
