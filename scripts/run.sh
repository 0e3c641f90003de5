#!/usr/bin/env bash
# Builds the mascot and starts it under Wine with the Japanese locale.
# With a usable X display (DISPLAY) the mascot appears on your desktop and runs
# until you choose 終了 in its menu. Without one it runs for a few seconds on a
# virtual display and leaves a screenshot in build/screenshot.png.
# Its settings file, mascot.ini, lives in build/run/.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh || exit 1
bash scripts/build.sh win32 || exit 1

export MASCOT_WINEPREFIX="${MASCOT_WINEPREFIX:-$HOME/.local/share/mascot/wineprefix}"
source scripts/wine-env.sh
source scripts/xvfb.sh

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    headless=1
    start_xvfb || exit 1
    trap stop_xvfb EXIT
fi
if [ ! -d "$WINEPREFIX" ]; then
    # On your own desktop the mascot lives among your windows; on the virtual
    # display it gets Wine's desktop with a taskbar.
    MASCOT_VIRTUAL_DESKTOP=$headless bash scripts/wine-prefix-init || exit 1
fi

exe=build/win32/mascot.exe
# Machines whose Wine cannot run 32-bit programs get the 64-bit build.
if ! wine_runs_32bit; then
    echo "This Wine cannot run 32-bit programs: starting the 64-bit build of the same sources."
    bash scripts/build.sh win64 || exit 1
    exe=build/win64/mascot.exe
fi

mkdir -p build/run
cd build/run
if [ "$headless" = 0 ]; then
    exec "$MASCOT_WINE" "$root/$exe"
fi
"$MASCOT_WINE" "$root/$exe" &
pid=$!
sleep 6
import -window root "$root/build/screenshot.png"
echo "Screenshot: build/screenshot.png"
"$MASCOT_WINE" "$root/${exe%/mascot.exe}/probe.exe" command "TAMARIN MASCOT1" 102 >/dev/null 2>&1
wait "$pid"
"$MASCOT_WINESERVER" -k 2>/dev/null || true
