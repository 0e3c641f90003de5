#!/usr/bin/env bash
# Idle cost, memory and start-up of the mascot against a bare program with the
# same 80x80 tool window and the same PeekMessage + Sleep(50) loop, measured
# side by side in one run under Wine on a private Xvfb display.
#   bash bench/idle.sh [SECONDS]     (default 60 seconds per idle figure)
# Needs a build with -DMASCOT_BENCH=ON in build/bench (the script makes one).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
arch=win32
source "$root/scripts/xvfb.sh"
export MASCOT_WINEPREFIX=${MASCOT_WINEPREFIX:-/tmp/mascot-bench-prefix}
source "$root/scripts/wine-env.sh"

build=$root/build/bench
toolchain=toolchain-mingw-i686.cmake
[ -f "$root/build/win32/probe.exe" ] && wine_runs_32bit || toolchain=toolchain-mingw-x86_64.cmake
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMASCOT_TESTS=OFF -DMASCOT_BENCH=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" >/dev/null && cmake --build "$build" -j2 >/dev/null || exit 1
[ "$toolchain" = toolchain-mingw-i686.cmake ] || arch=win64

start_xvfb || exit 1
trap '"$MASCOT_WINESERVER" -k 2>/dev/null; stop_xvfb' EXIT
[ -d "$WINEPREFIX" ] || bash "$root/scripts/wine-prefix-init" >/dev/null
ticks=$(getconf CLK_TCK)

cpu_of() { # utime+stime of a pid, in clock ticks
    awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0
}
rss_of() { awk '/VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
# Memory the process holds for itself alone (not pages shared with others).
private_of() { awk '/^Private_(Clean|Dirty)/ {s += $2} END {print s + 0}' "/proc/$1/smaps" 2>/dev/null || echo 0; }
# The Wine server of this prefix (other prefixes may have their own).
server_pid() {
    local p
    for p in $(pgrep -f wineserver); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "$p"; return; }
    done
}

# idle_run NAME EXE CLASS INI: prints "cpu-seconds-per-minute rss-kB private-kB"
idle_run() {
    local dir pid server c0 s0 c1 s1
    dir=$(mktemp -d)
    [ -n "$4" ] && printf '%s' "$4" | iconv -f UTF-8 -t CP932 >"$dir/mascot.ini"
    (cd "$dir" && exec "$MASCOT_WINE" "$2") >/dev/null 2>&1 &
    "$MASCOT_WINE" "$build/probe.exe" window "$3" 20000 >/dev/null 2>&1
    sleep 5 # past start-up
    pid=$(pgrep -nf "$(basename "$2")")
    server=$(server_pid)
    c0=$(cpu_of "$pid"); s0=$(cpu_of "$server")
    sleep "$seconds"
    c1=$(cpu_of "$pid"); s1=$(cpu_of "$server")
    local rss private
    rss=$(rss_of "$pid")
    private=$(private_of "$pid")
    "$MASCOT_WINE" "$build/probe.exe" command "$3" 102 >/dev/null 2>&1
    wait
    awk -v c=$((c1 - c0 + s1 - s0)) -v t="$ticks" -v s="$seconds" -v r="$rss" -v p="$private" \
        'BEGIN {printf "%.3f %d %d\n", c / t * 60 / s, r, p}'
}

# A working directory that already holds a settings file, as on every start
# but the first.
seeded=$(mktemp -d)
printf '%s\r\n' '[ALARM]' 'アラーム使用=0' '毎日アラーム=0' '設定時刻時=Default' '設定時刻分=Default' \
    '[OPTION]' '手前に表示=1' '情報ウィンドウ=1' '初期位置Ｘ座標=Default' '初期位置Ｙ座標=Default' |
    iconv -f UTF-8 -t CP932 >"$seeded/mascot.ini"

startup_ms() { # median of five launches
    local i dir
    for i in 1 2 3 4 5; do
        dir=$(mktemp -d)
        cp "$seeded/mascot.ini" "$dir/"
        (cd "$dir" && "$MASCOT_WINE" "$build/bench/launch_timer.exe" "$@" 2>/dev/null | tr -d '\r')
    done | sort -n | sed -n 3p
}

echo "Measuring ($arch build, ${seconds} s per idle figure, CPU = program + Wine server)..."
read -r bare_cpu bare_rss bare_private < <(idle_run bare "$build/bench/bare_loop.exe" "BARE LOOP" "")
read -r shown_cpu shown_rss shown_private < <(idle_run shown "$build/mascot.exe" "TAMARIN MASCOT1" "")
read -r hidden_cpu hidden_rss hidden_private < <(idle_run hidden "$build/mascot.exe" "TAMARIN MASCOT1" $'[OPTION]\r\n情報ウィンドウ=0\r\n')
bare_start=$(startup_ms "$build/bench/bare_loop.exe" "BARE LOOP")
mascot_start=$(startup_ms "$build/mascot.exe" "TAMARIN MASCOT1" --shaped)

awk -v bc="$bare_cpu" -v sc="$shown_cpu" -v hc="$hidden_cpu" \
    -v br="$bare_rss" -v sr="$shown_rss" -v hr="$hidden_rss" \
    -v bp="$bare_private" -v sp="$shown_private" \
    -v bs="$bare_start" -v ms="$mascot_start" 'BEGIN {
    ok = "target met"; no = "TARGET MISSED";
    printf "%-34s %10s %10s %12s  %s\n", "figure", "mascot", "bare loop", "ratio/diff", "target";
    r = (bc > 0 ? sc / bc : 0);
    printf "%-34s %10.3f %10.3f %11.2fx  <= 1.5x: %s\n", "CPU s/min idle, panel shown", sc, bc, r, (r <= 1.5 ? ok : no);
    r = (bc > 0 ? hc / bc : 0);
    printf "%-34s %10.3f %10.3f %11.2fx  <= 1.5x: %s\n", "CPU s/min idle, panel hidden", hc, bc, r, (r <= 1.5 ? ok : no);
    d = (sr - br) / 1024;
    printf "%-34s %10.1f %10.1f %+10.1f MB  <= +4 MB: %s\n", "resident MB after a minute", sr / 1024, br / 1024, d, (d <= 4 ? ok : no);
    d = (sp - bp) / 1024;
    printf "%-34s %10.1f %10.1f %+10.1f MB  (for comparison)\n", "private MB after a minute", sp / 1024, bp / 1024, d;
    d = ms - bs;
    printf "%-34s %10.0f %10.0f %+9.0f ms  <= +100 ms: %s\n", "start-up ms until shown", ms, bs, d, (d <= 100 ? ok : no);
}'
