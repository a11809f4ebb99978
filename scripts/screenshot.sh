#!/usr/bin/env bash
# Takes the README's screenshot from the real program: runs it under a private Xvfb, holds
# Up and Right for a moment so the unicorn is mid-gallop away from its start, and writes the
# window's pixels to docs/screenshot.png (scaled 2x, nearest neighbour, to keep the pixel art).
#   bash scripts/screenshot.sh [executable]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
exe="$(realpath "${1:-$root/build/release/app/unicorn}")"
bash "$root/scripts/deps.sh" xvfb x11-apps xdotool imagemagick

source "$root/scripts/private_display.sh"
(cd "$work" && exec "$exe" </dev/null) &
program=$!
window=$(xdotool search --sync --name '^unicorn$' | head -n1)
sleep 0.5
xdotool keydown Right keydown Up
sleep 0.12
xdotool keyup Right keyup Up
sleep 0.6
xwd -silent -id "$window" >"$work/window.xwd"
convert "xwd:$work/window.xwd" -filter point -resize 200% "$root/docs/screenshot.png"
xdotool key Escape
wait "$program"
echo "wrote docs/screenshot.png"
