#!/usr/bin/env bash
# Runs the built program under a private Xvfb for a while and reports what it costs:
# whole-process CPU, resident memory at the start and the end, and the frame period (the time
# between successive 18 ms sleeps of the frame loop, seen through strace).
#   bash scripts/measure_run.sh [seconds] [executable]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
exe="$(realpath "${2:-$root/build/release/app/unicorn}")"
bash "$root/scripts/deps.sh" xvfb strace

work="$(mktemp -d)"
cleanup() {
    [ -n "${program:-}" ] && kill "$program" 2>/dev/null || true
    [ -n "${server:-}" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 2>/dev/null &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
display=":$(head -n1 "$work/display")"

cp "$root"/assets/*.bmp "$work/"
(cd "$work" && DISPLAY="$display" exec "$exe" </dev/null >"$work/out" 2>"$work/err") &
program=$!
sleep 2

ticks() { awk '{print $14 + $15}' "/proc/$program/stat"; }
rss() { awk '/VmRSS/ {print $2}' "/proc/$program/status"; }

# Frame period: the loop sleeps 18 ms once a frame; the time between its sleeps is the period.
periods() {
    timeout 10 strace -f --seccomp-bpf -ttt -e trace=clock_nanosleep -p "$program" -o "$work/trace" 2>/dev/null || true
    grep 'tv_nsec=18000000' "$work/trace" | awk '{print $2}' |
        awk 'NR > 1 { printf "%.3f\n", ($1 - last) * 1000 } { last = $1 }' | sort -n |
        awk '{ v[NR] = $1 } END { if (NR) printf "frames %d, period median %.3f ms, p10 %.3f, p90 %.3f\n", NR, v[int((NR + 1) / 2)], v[int(NR * 0.1) + 1], v[int(NR * 0.9)] }'
}

rss_start=$(rss)
echo "start: resident $rss_start kB; $(periods)"
t0=$(ticks); s0=$(date +%s.%N)
sleep "$seconds"
t1=$(ticks); s1=$(date +%s.%N)
rss_end=$(rss)
hz=$(getconf CLK_TCK)
cpu=$(awk -v a="$t0" -v b="$t1" -v s="$s0" -v e="$s1" -v hz="$hz" 'BEGIN { printf "%.2f", (b - a) / hz / (e - s) * 100 }')
echo "over ${seconds} s: CPU ${cpu} % of a core; resident $rss_start kB -> $rss_end kB"
echo "end: $(periods)"
kill -0 "$program" && echo "still running: yes"
[ -s "$work/out" ] || [ -s "$work/err" ] && echo "printed something:" && cat "$work/out" "$work/err"
exit 0
