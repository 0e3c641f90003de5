#!/usr/bin/env bash
# The program where the system's code page is UTF-8: Windows 10 and 11 with
# the "Unicode UTF-8" option of the region settings (Wine gives code page
# 65001 to a locale without an ANSI code page). Windows 11 grants the
# program's request for code page 932 (as Wine does); Windows 10 does not,
# and a build without that request stands for it. Either way the settings
# file is the one a Japanese system writes, byte for byte; a file written on
# a Japanese system keeps every key and value; an alarm set in the real
# dialog rings, and silenced, notes its minute under its Japanese key; the
# choices survive a restart; the message boxes read right.
source "$(dirname "$0")/lib.sh"
: "${MASCOT_WINDOWS10_EXE:?}"
utf8=hi_IN.UTF-8

run() { # run LOCALE EXE VAR: starts EXE with the locale, pid in VAR
    MASCOT_LOCALE=$1 "$WINE_RUN" "$2" >/dev/null 2>&1 &
    printf -v "$3" '%s' "$!"
    probe window "TAMARIN MASCOT1" 20000 >/dev/null
}

quit() { # quit PID NAME
    probe command "TAMARIN MASCOT1" 102
    wait_exit "$1" 20
    check "$2: exit code 0" 0 "$exit_code"
}

new_workdir
run ja_JP.UTF-8 "$MASCOT_EXE" pid
quit "$pid" "code page 932"
japanese=$(od -An -tx1 -v mascot.ini)
for exe in "$MASCOT_EXE" "$MASCOT_WINDOWS10_EXE"; do
    name=$(basename "$exe" .exe)
    new_workdir
    run "$utf8" "$exe" pid
    quit "$pid" "$name, UTF-8"
    check "$name, UTF-8: the file is seeded as on a Japanese system" "$japanese" \
        "$(od -An -tx1 -v mascot.ini)"
done

# From here on the build that meets code page 65001, in a file written on a
# Japanese system, with a note and a section of the user's own.
japanese_file() { # japanese_file USE DAILY HOUR MINUTE ONTOP PANEL [SILENCED]
    printf '%s\r\n' "; メモ" "[ALARM]" "アラーム使用=$1" "毎日アラーム=$2" "設定時刻時=$3" \
        "設定時刻分=$4" ${7:+"止めた日時=$7"} "[OPTION]" "手前に表示=$5" "情報ウィンドウ=$6" "初期位置Ｘ座標=Default" \
        "初期位置Ｙ座標=Default" "アラーム種類=User" "[USER]" "名前=たまりん" | iconv -f UTF-8 -t CP932
}
new_workdir # saved by an editor that ends lines with CR alone, the alarm set for the next minute
next=$(date -d '+1 minute' +%-H:%-M)
japanese_file 1 0 "${next%:*}" "${next#*:}" 1 1 | tr -d '\n' >mascot.ini
run "$utf8" "$MASCOT_WINDOWS10_EXE" pid
read -r px py _ _ _ _ < <(probe window ChdClass)
until [ "$(date +%-H:%-M)" = "$next" ]; do sleep 0.5; done
check "UTF-8: the alarm of a file whose lines end in CR rings" 1 \
    "$(alarm_line_blinks "$px" "$py" 30 code-page-cr-lines)"
quit "$pid" "UTF-8, lines ending in CR"
new_workdir
japanese_file 0 0 Default Default 1 1 >mascot.ini
wait_for_early_minute 1 30
hour=$((10#$(date +%H)))
minute=$((10#$(date +%M)))
run "$utf8" "$MASCOT_WINDOWS10_EXE" pid
read -r x y _ _ _ _ < <(probe window "TAMARIN MASCOT1")
read -r px py _ _ _ _ < <(probe window ChdClass)
probe command "TAMARIN MASCOT1" 105 # アラーム設定(&A)
check "the alarm dialog reads right" "アラームの設定|時分" "$(probe dialog 3000)"
type_into 1023 "$hour"
type_into 1022 "$minute"
click_control 1007 # アラームを使用する
click_control 1006 # アラームを毎日鳴らす
screenshot code-page-dialog
click_control 1
sleep 1.5
check "UTF-8: the alarm set in the dialog rings at its time" 1 \
    "$(alarm_line_blinks "$px" "$py" 30 code-page-ringing)"
check "all that within the alarm's minute" "$minute" "$((10#$(date +%M)))"
xdotool mousemove $((px + 30)) $((py + 30)) click 1 # silences it
probe command "TAMARIN MASCOT1" 104                 # 手前に表示(&T) off
probe command "TAMARIN MASCOT1" 106                 # 情報を表示(&W) off
sleep 0.5
quit "$pid" "UTF-8, settings changed"
check "every key and value of the Japanese file is kept, the changed ones changed" \
    "$(japanese_file 1 1 "$hour" "$minute" 0 0 "$(date +%Y/%m/%d) $(printf %02d:%02d "$hour" "$minute")" |
        od -An -tx1 -v)" "$(od -An -tx1 -v mascot.ini)"
run "$utf8" "$MASCOT_WINDOWS10_EXE" pid
check "the choices survive a restart: not on top, no panel" "1 0 0 0" \
    "$(probe window "TAMARIN MASCOT1" | cut -d' ' -f5,6) $(probe window ChdClass | cut -d' ' -f5,6)"

icon=$(tray_icon_centre || echo none)
check "UTF-8: her icon is in the notification area" 1 "$([ "$icon" != none ] && echo 1 || echo 0)"
if [ "$icon" != none ]; then
    xdotool mousemove ${icon% *} ${icon#* } click 3
    sleep 0.5
    check "UTF-8: a right click on it opens her menu" 1 \
        "$([ "$(probe menu 3000)" != none ] && echo 1 || echo 0)"
    xdotool key Escape
    sleep 0.3
fi

MASCOT_LOCALE=$utf8 "$WINE_RUN" "$MASCOT_WINDOWS10_EXE" >/dev/null 2>&1 &
second=$!
box=$(probe dialog 20000)
screenshot code-page-second-start
check "UTF-8: the second start's warning reads right" \
    '多重起動（デスクトップマスコット）|選択されたプログラムは\n既に実行されています。' "$box"
probe press-ok
wait_exit "$second" 20
quit "$pid" "UTF-8, restarted"

finish
