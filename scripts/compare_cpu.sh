#!/usr/bin/env bash
# Measures the CPU of the program and of bench/plain_sdl_loop (the same animation as one
# ordinary SDL2 thread) side by side: in turns, under one private Xvfb, each idling at its
# 18 ms frames. CPU is the time all of a process's threads spent running (schedstat, in ns),
# over `seconds`, after a second to settle; each run ends with Escape. Prints every run and
# the medians.
#   bash scripts/compare_cpu.sh [seconds] [rounds] [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
rounds="${2:-3}"
build="$(realpath "${3:-$root/build/release}")"
programs=("$build/app/unicorn" "$build/bench/plain_sdl_loop")
bash "$root/scripts/deps.sh" xvfb xdotool
for exe in "${programs[@]}"; do [ -x "$exe" ] || { echo "build $exe first"; exit 1; }; done

source "$root/scripts/private_display.sh"

# Nanoseconds that the threads of process $1 have run so far.
run_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { print sum }'; }

measure() {
    local exe="$1"
    (cd "$work" && exec "$exe" </dev/null >/dev/null 2>&1) &
    program=$!
    sleep 1
    local ns0 ns1 t0 t1
    ns0=$(run_ns "$program"); t0=$(date +%s%N)
    sleep "$seconds"
    ns1=$(run_ns "$program"); t1=$(date +%s%N)
    xdotool key Escape
    wait "$program" || true
    program=""
    awk -v a="$ns0" -v b="$ns1" -v s="$t0" -v e="$t1" 'BEGIN { printf "%.3f", (b - a) / (e - s) * 100 }'
}

declare -A results
for round in $(seq "$rounds"); do
    for exe in "${programs[@]}"; do
        cpu=$(measure "$exe")
        name=$(basename "$exe")
        results[$name]+="$cpu "
        echo "round $round: $name ${cpu} % of a core"
    done
done
for exe in "${programs[@]}"; do
    name=$(basename "$exe")
    echo "${results[$name]}" | tr ' ' '\n' | grep . | sort -g |
        awk -v n="$name" '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
                            printf "median %s: %.3f %% of a core over %d runs\n", n, m, NR }'
done
