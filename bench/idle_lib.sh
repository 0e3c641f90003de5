# Sourced by the benchmarks that run programs idle (bench/idle.sh,
# bench/x_resources.sh, bench/soak.sh): builds build/bench, starts a private
# Xvfb display and Wine server, and measures a program left idle.
#   idle_run EXE CLASS INI [COMMAND...]
# starts EXE in an empty folder (with INI as its mascot.ini when not empty),
# waits for the window of CLASS, posts each COMMAND id to it, lets it settle,
# and prints "cpu program+server, cpu X server + desktop, resident kB,
# private kB, cpu program alone": CPU in seconds per minute over $seconds.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${seconds:-60}
arch=win32
source "$root/scripts/xvfb.sh"
# A prefix of this checkout's own: its Wine server, and so the CPU measured
# for it, serves no other checkout's programs.
export MASCOT_WINEPREFIX=${MASCOT_WINEPREFIX:-$root/build/bench-prefix}
source "$root/scripts/wine-env.sh"

# The display and the prefix first: the Wine server that the 32-bit question
# below starts outlives it, and with it the desktop of whatever display it
# found, and it would make a bare prefix where none was.
start_xvfb || exit 1
trap '"$MASCOT_WINESERVER" -k 2>/dev/null; stop_xvfb' EXIT
[ -d "$WINEPREFIX" ] || bash "$root/scripts/wine-prefix-init" >/dev/null
# MASCOT_DPI=144 measures at that display scale: Wine gives it to the
# programs, which declare DPI awareness.
"$MASCOT_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${MASCOT_DPI:-96}" \
    /f >/dev/null 2>&1
build=$root/build/bench
toolchain=toolchain-mingw-i686.cmake
[ -f "$root/build/win32/probe.exe" ] && wine_runs_32bit || toolchain=toolchain-mingw-x86_64.cmake
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMASCOT_TESTS=OFF -DMASCOT_BENCH=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" >/dev/null && cmake --build "$build" -j2 >/dev/null || exit 1
[ "$toolchain" = toolchain-mingw-i686.cmake ] || arch=win64

ticks=$(getconf CLK_TCK)

cpu_of() { # utime+stime of a pid, in clock ticks
    awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0
}
rss_of() { awk '/VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
# Memory the process holds for itself alone (not pages shared with others).
private_of() { awk '/^Private_(Clean|Dirty)/ {s += $2} END {print s + 0}' "/proc/$1/smaps" 2>/dev/null || echo 0; }
# The newest process of this prefix whose command line matches: other
# checkouts run their own mascot.exe, Wine server and desktop at the same time.
# A program is matched by its file name: Wine shows a 32-bit program's command
# line with its Windows path (Z:\work\...), a 64-bit one's with the Unix path.
prefix_pid() {
    local p found=""
    for p in $(pgrep -f -- "${1##*/}"); do
        tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" && found=$p
    done
    echo "$found"
}

# The machine's load (1-minute average), for the record: the figures are
# ratios of runs side by side, but a busy machine widens their spread.
machine_load() { cut -d' ' -f1 /proc/loadavg; }

idle_run() {
    local exe=$1 class=$2 ini=$3 dir run pid server desktop c0 s0 x0 c1 s1 x1 id
    shift 3
    dir=$(mktemp -d)
    [ -n "$ini" ] && printf '%s' "$ini" | iconv -f UTF-8 -t CP932 >"$dir/mascot.ini"
    (cd "$dir" && exec "$MASCOT_WINE" "$exe") >/dev/null 2>&1 &
    run=$!
    # A program with no window would never get the exit command: the
    # benchmark ends instead of waiting for ever.
    if ! "$MASCOT_WINE" "$build/probe.exe" window "$class" 20000 >/dev/null 2>&1; then
        echo "$(basename "$exe") showed no window in 20 s: run the benchmark again." >&2
        kill "$run" 2>/dev/null
        exit 1
    fi
    for id in "$@"; do
        "$MASCOT_WINE" "$build/probe.exe" command "$class" "$id" >/dev/null 2>&1
    done
    sleep 5 # past start-up
    pid=$(prefix_pid "$exe")
    server=$(prefix_pid wineserver)
    desktop=$(prefix_pid 'explorer.exe /desktop')
    c0=$(cpu_of "$pid")
    s0=$(cpu_of "$server")
    x0=$(($(cpu_of "$MASCOT_XVFB_PID") + $(cpu_of "$desktop")))
    sleep "$seconds"
    c1=$(cpu_of "$pid")
    s1=$(cpu_of "$server")
    x1=$(($(cpu_of "$MASCOT_XVFB_PID") + $(cpu_of "$desktop")))
    local rss private
    rss=$(rss_of "$pid")
    private=$(private_of "$pid")
    "$MASCOT_WINE" "$build/probe.exe" command "$class" 102 >/dev/null 2>&1
    wait "$run"
    awk -v c=$((c1 - c0 + s1 - s0)) -v x=$((x1 - x0)) -v a=$((c1 - c0)) -v t="$ticks" \
        -v s="$seconds" -v r="$rss" -v p="$private" \
        'BEGIN {printf "%.3f %.3f %d %d %.3f\n", c / t * 60 / s, x / t * 60 / s, r, p, a / t * 60 / s}'
}

# The settings file as the mascot leaves it after its first start (every key
# seeded), with the panel shown (1) or hidden (0).
settings_file() {
    printf '%s\r\n' '[ALARM]' 'アラーム使用=0' '毎日アラーム=0' '設定時刻時=Default' '設定時刻分=Default' \
        '[OPTION]' '手前に表示=1' "情報ウィンドウ=$1" '初期位置Ｘ座標=Default' '初期位置Ｙ座標=Default'
}

startup_ms() { # median of five launches, each from a folder holding a settings file
    local i dir
    for i in 1 2 3 4 5; do
        dir=$(mktemp -d)
        settings_file 1 | iconv -f UTF-8 -t CP932 >"$dir/mascot.ini"
        (cd "$dir" && "$MASCOT_WINE" "$build/bench/launch_timer.exe" "$@" 2>/dev/null | tr -d '\r')
    done | sort -n | sed -n 3p
}

# The mascot fixed to the reading animation (menu: 読書(&0), then アニメ固定(&L)), so
# that its shape changes come at the same steps as the call floor's.
mascot_reading=(40009 40016)
