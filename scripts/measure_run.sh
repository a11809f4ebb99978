#!/usr/bin/env bash
# Runs the built program under a private Xvfb for a while and reports what it costs: the
# whole process's CPU, its resident memory at the start and the end, and its frame period
# (timed from inside by bench/frame_period_shim, preloaded), then ends it with Escape.
#   bash scripts/measure_run.sh [seconds] [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
build="$(realpath "${2:-$root/build/release}")"
exe="$build/app/unicorn"
shim="$build/bench/libframe_period_shim.so"
bash "$root/scripts/deps.sh" xvfb xdotool
[ -x "$exe" ] && [ -f "$shim" ] || { echo "build $exe and $shim first"; exit 1; }

source "$root/scripts/private_display.sh"
(cd "$work" && LD_PRELOAD="$shim" FRAME_PERIOD_LOG="$work/periods" exec "$exe" \
    </dev/null >"$work/out" 2>"$work/err") &
program=$!
sleep 2

ticks() { awk '{print $14 + $15}' "/proc/$program/stat"; }
rss() { awk '/VmRSS/ {print $2}' "/proc/$program/status"; }

rss_start=$(rss)
t0=$(ticks); s0=$(date +%s.%N)
for _ in $(seq $((seconds / 60))); do sleep 60; echo "resident after another minute: $(rss) kB"; done
sleep $((seconds % 60))
t1=$(ticks); s1=$(date +%s.%N)
rss_end=$(rss)
hz=$(getconf CLK_TCK)
cpu=$(awk -v a="$t0" -v b="$t1" -v s="$s0" -v e="$s1" -v hz="$hz" \
    'BEGIN { printf "%.2f", (b - a) / hz / (e - s) * 100 }')
echo "over ${seconds} s: CPU ${cpu} % of a core; resident ${rss_start} kB -> ${rss_end} kB"

xdotool key Escape
status=0
wait "$program" || status=$?
program=""
echo "exit code after Escape: $status"
cat "$work/periods" 2>/dev/null || echo "no frame timings written"
if [ -s "$work/out" ] || [ -s "$work/err" ]; then
    echo "printed something:"
    cat "$work/out" "$work/err"
fi
