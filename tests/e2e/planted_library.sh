#!/usr/bin/env bash
# A winmm.dll planted beside mascot.exe never runs, nor a uxtheme.dll, which
# the system's own libraries load by name once windows are made. Wine is told
# to prefer a native copy of both wherever it is searched for, which is how
# Windows treats a library that is not one of its KnownDLLs: the program's own
# folder first. The stand-in leaves a marker file beside itself when loaded.
source "$(dirname "$0")/lib.sh"
: "${PLANTED_DLL:?}"
new_workdir
cp "$MASCOT_EXE" "$workdir/mascot.exe"
cp "$PLANTED_DLL" "$workdir/winmm.dll"
# And uxtheme.dll, except under Wine 10 with a 64-bit program: there Wine's
# own user32 loads it by name while the process starts, before any code of
# the program runs, searching the program's folder first (WINEDEBUG=+module
# shows the search, and the load comes before the program's first call), and
# no program can restrict a search that runs before it does. Wine 8, and Wine
# 10 with the shipped 32-bit program, load it once windows are made, after
# the program has restricted the search: there both are planted.
[ "${wine_major:-0}" -ge 10 ] && [[ $MASCOT_EXE == */win64/* ]] ||
    cp "$PLANTED_DLL" "$workdir/uxtheme.dll"

WINEDLLOVERRIDES="mscoree=;mshtml=;winmm=n,b;uxtheme=n,b" "$WINE_RUN" ./mascot.exe >/dev/null 2>&1 &
pid=$!
read -r _ _ w h visible _ < <(probe window "TAMARIN MASCOT1" 20000)
check "the program starts beside the planted library" "80 80 1" "$w $h $visible"

# Six shapes over three seconds: the ticks are paced and the figure moves.
probe command "TAMARIN MASCOT1" 40010 # 団扇: a new shape every step
shapes=$(probe region-watch "TAMARIN MASCOT1" 6 500 | cut -d' ' -f7 | sort -u | wc -l)
check "the mascot animates" yes "$([ "$shapes" -ge 2 ] && echo yes)"
check "no planted library ever ran" absent \
    "$([ -e planted-library-ran.txt ] && echo present || echo absent)"

probe command "TAMARIN MASCOT1" 102
wait_exit "$pid" 20
check "program ends with code 0" 0 "$exit_code"

# Where the multimedia library cannot be loaded at all, the program runs on,
# paced by the system's tick, and silent.
rm -f winmm.dll uxtheme.dll
WINEDLLOVERRIDES="mscoree=;mshtml=;winmm=" "$WINE_RUN" ./mascot.exe >/dev/null 2>&1 &
pid=$!
read -r _ _ w h visible _ < <(probe window "TAMARIN MASCOT1" 20000)
check "the program starts without its multimedia library" "80 80 1" "$w $h $visible"
probe command "TAMARIN MASCOT1" 40010
shapes=$(probe region-watch "TAMARIN MASCOT1" 6 500 | cut -d' ' -f7 | sort -u | wc -l)
check "the mascot animates without it" yes "$([ "$shapes" -ge 2 ] && echo yes)"
probe command "TAMARIN MASCOT1" 40015 # a breeze: its sound would start
sleep 1
probe command "TAMARIN MASCOT1" 102
wait_exit "$pid" 20
check "program ends with code 0 without it" 0 "$exit_code"
finish
