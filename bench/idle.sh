#!/usr/bin/env bash
# Idle cost, memory and start-up of the mascot against the call floor (the
# same two windows, loop and pacing, and only the calls each tick and step
# needs: bench/call_floor.cpp) and against a bare loop (the same 80x80 tool
# window and PeekMessage + Sleep(50) loop, nothing else), side by side in one
# run under Wine on a private Xvfb display. Each round measures all five idle
# figures one after the other; the summary gives the median and the range of
# the rounds' ratios.
#   bash bench/idle.sh [SECONDS] [ROUNDS]     (default 60 seconds, 3 rounds)
#   MASCOT_DPI=144 bash bench/idle.sh          (at 150 % display scale)
# Builds build/bench (-DMASCOT_BENCH=ON) itself.
seconds=${1:-60}
rounds=${2:-3}
source "$(dirname "$0")/idle_lib.sh"

floor=$build/bench/call_floor.exe
bare=$build/bench/bare_loop.exe
mascot=$build/mascot.exe
shown=$(settings_file 1)
hidden=$(settings_file 0)
results=$(mktemp)

echo "Measuring ($arch build, ${seconds} s per idle figure, $rounds rounds; CPU = program + Wine server," \
    "X = X server + Wine desktop, s/min)..."
for round in $(seq 1 "$rounds"); do
    load=$(machine_load)
    read -r bc bx br bp _ < <(idle_run "$bare" "BARE LOOP" "")
    read -r fsc fsx fsr fsp fsa < <(idle_run "$floor" "CALL FLOOR" "$shown")
    read -r msc msx msr msp msa < <(idle_run "$mascot" "TAMARIN MASCOT1" "$shown" "${mascot_reading[@]}")
    read -r fhc fhx _ _ fha < <(idle_run "$floor" "CALL FLOOR" "$hidden")
    read -r mhc mhx _ _ mha < <(idle_run "$mascot" "TAMARIN MASCOT1" "$hidden" "${mascot_reading[@]}")
    [ -n "$bc" ] && [ -n "$fsc" ] && [ -n "$msc" ] && [ -n "$fhc" ] && [ -n "$mhc" ] || exit 1
    printf 'round %d, load %s -> %s: bare %s (X %s); shown: floor %s (X %s), mascot %s (X %s);' \
        "$round" "$load" "$(machine_load)" "$bc" "$bx" "$fsc" "$fsx" "$msc" "$msx"
    printf ' hidden: floor %s (X %s), mascot %s (X %s)\n' "$fhc" "$fhx" "$mhc" "$mhx"
    echo "$bc $fsc $msc $fhc $mhc $fsx $msx $fhx $mhx $br $fsr $msr $bp $fsp $msp $fsa $msa $fha $mha" >>"$results"
done
bare_start=$(startup_ms "$bare" "BARE LOOP")
floor_start=$(startup_ms "$floor" "CALL FLOOR" --shaped)
mascot_start=$(startup_ms "$mascot" "TAMARIN MASCOT1" --shaped)

awk -v bs="$bare_start" -v fs="$floor_start" -v ms="$mascot_start" '
function median(a, n,   i, j, t) {
    for (i = 2; i <= n; i++)
        for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2;
}
function spread(a, n,   lo, hi, i) {
    lo = hi = a[1];
    for (i = 2; i <= n; i++) { if (a[i] < lo) lo = a[i]; if (a[i] > hi) hi = a[i] }
    return sprintf("%.2f - %.2f", lo, hi);
}
# One line: the median of the values of column c, with their range.
function line(name, c, unit,   a, i) {
    for (i = 1; i <= n; i++) a[i] = v[i, c];
    printf "%-46s %7.2f%s  (%s)", name, median(a, n), unit, spread(a, n);
}
{ n++; for (c = 1; c <= NF; c++) v[n, c] = $c }
END {
    for (i = 1; i <= n; i++) {
        v[i, 20] = v[i, 2] > 0 ? v[i, 3] / v[i, 2] : 0;   # mascot/floor, shown
        v[i, 21] = v[i, 4] > 0 ? v[i, 5] / v[i, 4] : 0;   # mascot/floor, hidden
        v[i, 22] = v[i, 1] > 0 ? v[i, 2] / v[i, 1] : 0;   # floor/bare, shown
        v[i, 23] = v[i, 1] > 0 ? v[i, 4] / v[i, 1] : 0;   # floor/bare, hidden
        v[i, 24] = (v[i, 2] + v[i, 6]) > 0 ? (v[i, 3] + v[i, 7]) / (v[i, 2] + v[i, 6]) : 0;
        v[i, 25] = (v[i, 4] + v[i, 8]) > 0 ? (v[i, 5] + v[i, 9]) / (v[i, 4] + v[i, 8]) : 0;
        v[i, 26] = (v[i, 12] - v[i, 11]) / 1024;          # resident, mascot - floor
        v[i, 27] = (v[i, 15] - v[i, 14]) / 1024;          # private, mascot - floor
        v[i, 28] = (v[i, 11] - v[i, 10]) / 1024;          # resident, floor - bare
        v[i, 29] = v[i, 16] > 0 ? v[i, 17] / v[i, 16] : 0; # program alone, shown
        v[i, 30] = v[i, 18] > 0 ? v[i, 19] / v[i, 18] : 0; # program alone, hidden
    }
    print "";
    printf "%-46s %8s  %s\n", "figure (median of the rounds)", "value", "(range)  target";
    line("CPU mascot / floor, panel shown", 20, "x"); print "  <= 1.10x";
    line("CPU mascot / floor, panel hidden", 21, "x"); print "  <= 1.10x";
    line("  the same with X server and desktop, shown", 24, "x"); print "";
    line("  the same with X server and desktop, hidden", 25, "x"); print "";
    line("  the program alone, shown", 29, "x"); print "";
    line("  the program alone, hidden", 30, "x"); print "";
    line("CPU floor / bare loop, panel shown", 22, "x"); print "";
    line("CPU floor / bare loop, panel hidden", 23, "x"); print "";
    line("CPU s/min bare loop", 1, ""); print "";
    line("CPU s/min floor, panel shown", 2, ""); print "";
    line("CPU s/min mascot, panel shown", 3, ""); print "";
    line("CPU s/min floor, panel hidden", 4, ""); print "";
    line("CPU s/min mascot, panel hidden", 5, ""); print "";
    line("resident MB mascot - floor", 26, ""); print "  <= +1 MB";
    line("private MB mascot - floor", 27, ""); print "  <= +1 MB";
    line("resident MB floor - bare loop", 28, ""); print "";
    printf "%-46s %7.0f ms mascot, %.0f ms floor, %.0f ms bare loop\n",
        "start-up until shown (median of 5)", ms, fs, bs;
}' "$results"
