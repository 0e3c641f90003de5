#!/usr/bin/env bash
# Start-up, the single-instance guard and the exit command of the real program.
source "$(dirname "$0")/lib.sh"
new_workdir

start_mascot first
read -r x y w h visible topmost < <(probe window "TAMARIN MASCOT1" 20000)
check "mascot window exists, 80x80, visible and topmost" "80 80 1 1" "$w $h $visible $topmost"

read -r left top right bottom < <(probe workarea)
check "mascot at the default place of the work area" \
    "$((right - 80 - right / 10)) $((bottom - 80))" "$x $y"

read -r px py pw ph pvisible ptopmost < <(probe window ChdClass)
check "panel 160x60 at (x-120, y+20), visible and topmost" \
    "$((x - 120)) $((y + 20)) 160 60 1 1" "$px $py $pw $ph $pvisible $ptopmost"

sleep 1
screenshot startup
seeded=$(iconv -f CP932 -t UTF-8 mascot.ini 2>/dev/null | tr -d '\r')
expected='[ALARM]
アラーム使用=0
毎日アラーム=0
設定時刻時=Default
設定時刻分=Default
[OPTION]
手前に表示=1
情報ウィンドウ=1
初期位置Ｘ座標=Default
初期位置Ｙ座標=Default'
check "first start seeds mascot.ini" "$expected" "$seeded"

start_mascot second
box=$(probe dialog 20000)
screenshot second-start
check "second start warns" \
    '多重起動（デスクトップマスコット）|選択されたプログラムは\n既に実行されています。' "$box"
probe press-ok
wait_exit "$second" 20
check "second start exits with code 0" 0 "$exit_code"
check "first copy keeps running" "80 80" "$(probe window "TAMARIN MASCOT1" | cut -d' ' -f3,4)"

probe command "TAMARIN MASCOT1" 102
wait_exit "$first" 20
check "exit command ends the program with code 0" 0 "$exit_code"
check "no mascot window after exit" none "$(probe window "TAMARIN MASCOT1")"
check "no panel window after exit" none "$(probe window ChdClass)"

# An installer or Windows Update closing programs through the Restart
# Manager: the session goes on, and she ends herself as with 終了(&X). Started
# here with Wine's notes on calls it only pretends to make, to see that her
# window lets the shell's "TaskbarCreated" through the integrity filter, and
# that she asks once to be started again after an update (flags 3: not after
# a crash or a hang).
after_exit=$(od -An -tx1 -v mascot.ini)
WINEDEBUG=fixme+msg,fixme+process "$WINE_RUN" "$MASCOT_EXE" >/dev/null 2>"$workdir/wine.log" &
closed=$!
probe window "TAMARIN MASCOT1" 20000 >/dev/null
taskbar_created=$(probe message-id TaskbarCreated)
check "TaskbarCreated, and only it, is let through to her window" "$taskbar_created 1"     "$(grep -o 'ChangeWindowMessageFilterEx [0-9A-Fa-f]* [0-9a-f]* [0-9]*' "$workdir/wine.log" |
        cut -d' ' -f3,4 | sort -u | tr '\n' ' ' | sed 's/ $//')"
wine_dir="Z:${workdir//\//\\}"
check "she asks once to be restarted in her folder, after updates only" \
    "(L\"/restart-in \\\"${wine_dir//\\/\\\\}\\\"\",3)" \
    "$(grep -o 'RegisterApplicationRestart .*' "$workdir/wine.log" | cut -d' ' -f2- | tr -d '\r')"
check "asked by the Restart Manager, she agrees to close" 1 "$(probe close-app "TAMARIN MASCOT1")"
wait_exit "$closed" 20
check "and ends with code 0" 0 "$exit_code"
check "no windows left" "none none" "$(probe window "TAMARIN MASCOT1") $(probe window ChdClass)"
check "the settings file as after 終了(&X)" "$after_exit" "$(od -An -tx1 -v mascot.ini)"
# Started again so by Windows, from whatever folder, she is back in hers.
mkdir restarted again && cd restarted
"$WINE_RUN" "$MASCOT_EXE" /restart-in "$wine_dir\\again" >/dev/null 2>&1 &
restarted=$!
probe window "TAMARIN MASCOT1" 20000 >/dev/null
probe command "TAMARIN MASCOT1" 102
wait_exit "$restarted" 20
check "restarted by Windows, she keeps her settings in her own folder" "yes no" \
    "$([ -s ../again/mascot.ini ] && echo yes || echo no) $([ -e mascot.ini ] && echo yes || echo no)"
cd "$workdir"

# However she is started she shows normally: a shortcut whose 実行時の大きさ is
# 最小化 or 最大化 starts her as "start /min" or "/max" does.
for how in /min /max; do
    "$WINE_RUN" start "$how" /unix "$MASCOT_EXE" >/dev/null 2>&1
    read -r x y w h visible _ < <(probe window "TAMARIN MASCOT1" 20000)
    check "start $how: the mascot shows normally, 80x80 at her place" \
        "$((right - 80 - right / 10)) $((bottom - 80)) 80 80 1" "$x $y $w $h $visible"
    read -r _ _ shape_right shape_bottom shape_area _ < <(probe region "TAMARIN MASCOT1")
    check "start $how: shaped to the figure" 1 \
        $((${shape_right:-999} <= 80 && ${shape_bottom:-999} <= 80 && ${shape_area:-0} > 0))
    check "start $how: the panel as designed" "$((x - 120)) $((y + 20)) 160 60 1" \
        "$(probe window ChdClass | cut -d' ' -f1-5)"
    sleep 1
    screenshot "start-${how#/}"
    probe command "TAMARIN MASCOT1" 102
    for ((i = 0; i < 100; i++)); do
        [ "$(probe window "TAMARIN MASCOT1")" = none ] && break
        sleep 0.1
    done
    check "start $how: exit ends her" none "$(probe window "TAMARIN MASCOT1")"
done

finish
