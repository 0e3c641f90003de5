#!/usr/bin/env bash
# Runs the real mascot (panel shown, animating, redrawing ten times a second)
# for many minutes and prints its resident memory once a minute, so a slow
# growth shows. The clock page makes the panel redraw on every tick.
#   bash bench/soak.sh [MINUTES]     (default 30)
minutes=${1:-30}
source "$(dirname "$0")/idle_lib.sh"

dir=$(mktemp -d)
(cd "$dir" && exec "$MASCOT_WINE" "$build/mascot.exe") >/dev/null 2>&1 &
program=$!
"$MASCOT_WINE" "$build/probe.exe" window "TAMARIN MASCOT1" 20000 >/dev/null 2>&1
pid=$(prefix_pid "$build/mascot.exe")
echo "minute  resident-kB"
first=""
for m in $(seq 0 "$minutes"); do
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    # The first minute is start-up: caches fill once.
    [ "$m" -eq 1 ] && first=$rss
    printf '%6d  %11d\n' "$m" "$rss"
    [ "$m" -lt "$minutes" ] && sleep 60
done
echo "growth from minute 1 to minute $minutes: $((rss - first)) kB"
"$MASCOT_WINE" "$build/probe.exe" command "TAMARIN MASCOT1" 102 >/dev/null 2>&1
wait "$program" # not the display server, which is a child too
