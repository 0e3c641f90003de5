#!/usr/bin/env bash
# Idle CPU of the mascot, the call floor and the bare loop with and without
# an X resource file named in XENVIRONMENT, side by side in one run. Wine's
# X11 driver looks up X resources for every window DC; where Xlib has found
# no resource file and the X server holds no resources (a bare Xvfb), it tries
# to open ~/.Xdefaults and ~/.Xdefaults-<host> again on every lookup. A file
# that sets nothing ends that. Each round measures every program both ways,
# the order of the two alternating from round to round, and takes the
# processor time of one frame paint both ways (paint_cpu.exe); the summary
# gives the median and range of the rounds' ratios with / without.
#   bash bench/x_resources.sh [SECONDS] [ROUNDS]     (default 60 seconds, 4 rounds)
seconds=${1:-60}
rounds=${2:-4}
source "$(dirname "$0")/idle_lib.sh"
resources=$(mktemp)
echo '! sets nothing' >"$resources"
shown=$(settings_file 1)
results=$(mktemp)

# cpu_both EXE CLASS INI [COMMAND...]: "without with" CPU s/min (program +
# Wine server), in the order that the round number asks for.
cpu_both() {
    local without with
    if [ $((round % 2)) -eq 1 ]; then
        read -r without _ < <(unset XENVIRONMENT; idle_run "$@")
        read -r with _ < <(export XENVIRONMENT=$resources; idle_run "$@")
    else
        read -r with _ < <(export XENVIRONMENT=$resources; idle_run "$@")
        read -r without _ < <(unset XENVIRONMENT; idle_run "$@")
    fi
    echo "$without $with"
}

echo "Measuring ($arch build, ${seconds} s per figure, $rounds rounds; CPU = program + Wine server, s/min)..."
for round in $(seq 1 "$rounds"); do
    load=$(machine_load)
    m=$(cpu_both "$build/mascot.exe" "TAMARIN MASCOT1" "$shown" "${mascot_reading[@]}")
    f=$(cpu_both "$build/bench/call_floor.exe" "CALL FLOOR" "$shown")
    b=$(cpu_both "$build/bench/bare_loop.exe" "BARE LOOP" "")
    echo "round $round, load $load -> $(machine_load); without / with:" \
        "mascot ${m/ / / }, floor ${f/ / / }, bare loop ${b/ / / }"
    p0=$(cd "$(mktemp -d)" && unset XENVIRONMENT && "$MASCOT_WINE" "$build/bench/paint_cpu.exe" 2>/dev/null)
    p1=$(cd "$(mktemp -d)" && export XENVIRONMENT=$resources && "$MASCOT_WINE" "$build/bench/paint_cpu.exe" 2>/dev/null)
    echo "  without: ${p0%$'\r'}"
    echo "  with:    ${p1%$'\r'}"
    read -r pw dw < <(echo "$p0" | awk '{print $3, $8}')
    read -r pr dr < <(echo "$p1" | awk '{print $3, $8}')
    echo "$m $f $b $pw $pr $dw $dr" >>"$results"
done

awk '
function median(a, n,   i, j, t) {
    for (i = 2; i <= n; i++)
        for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2;
}
function line(name, c,   a, i, lo, hi) {
    for (i = 1; i <= n; i++) a[i] = v[i, c] > 0 ? v[i, c + 1] / v[i, c] : 0;
    lo = hi = a[1];
    for (i = 2; i <= n; i++) { if (a[i] < lo) lo = a[i]; if (a[i] > hi) hi = a[i] }
    printf "%-36s %5.2fx  (%.2f - %.2f)\n", name, median(a, n), lo, hi;
}
{ n++; for (c = 1; c <= NF; c++) v[n, c] = $c }
END {
    print "";
    print "CPU with the resource file / without (median of the rounds, range)";
    line("mascot, panel shown", 1);
    line("call floor, panel shown", 3);
    line("bare loop", 5);
    line("one frame paint (process CPU)", 7);
    line("one window DC (process CPU)", 9);
}' "$results"
