# Sourced by the scripts: the environment in which the mascot runs under Wine.
# MASCOT_WINEPREFIX overrides where the prefix lives.
_mascot_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export WINEPREFIX="${MASCOT_WINEPREFIX:-$_mascot_root/build/wineprefix}"
# MASCOT_LOCALE stands for another system (a test of the UTF-8 code page).
export LC_ALL="${MASCOT_LOCALE:-ja_JP.UTF-8}"
export LANG="$LC_ALL"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko: their installers would open dialogs nobody answers.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=}"

# The 64-bit loader starts both 32-bit and 64-bit programs where the machine
# can run 32-bit code, and 64-bit programs everywhere.
if [ -x /usr/lib/wine/wine64 ]; then
    MASCOT_WINE=/usr/lib/wine/wine64
    export WINELOADER="${WINELOADER:-/usr/lib/wine/wine64}"
elif command -v wine64 >/dev/null 2>&1; then
    MASCOT_WINE=$(command -v wine64)
else
    MASCOT_WINE=$(command -v wine)
fi
if [ -x /usr/lib/wine/wineserver64 ]; then
    MASCOT_WINESERVER=/usr/lib/wine/wineserver64
else
    MASCOT_WINESERVER=$(command -v wineserver)
fi
export MASCOT_WINE MASCOT_WINESERVER

# True when this Wine runs the shipped 32-bit programs (it cannot where the
# machine cannot execute 32-bit code at all, nor without 32-bit Wine). The
# probe's answer is what counts: a 64-bit-only Wine given a 32-bit program
# may end with status 0 having run nothing.
wine_runs_32bit() {
    local answer
    answer=$(timeout 120 "$MASCOT_WINE" "$_mascot_root/build/win32/probe.exe" workarea 2>/dev/null)
    [[ $answer =~ ^-?[0-9]+\ -?[0-9]+\ -?[0-9]+\ -?[0-9]+ ]]
}
