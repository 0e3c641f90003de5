#!/usr/bin/env bash
# The notification icon in the taskbar of Wine's desktop: it comes back when
# the taskbar is made anew, a right click opens the same menu at the cursor,
# a left click never shows a hidden panel; refused by a busy shell, it is
# offered again until it is taken.
source "$(dirname "$0")/lib.sh"
new_workdir

start_mascot pid
probe window "TAMARIN MASCOT1" 20000 >/dev/null
sleep 1
screenshot tray-icon
read -r tx ty < <(tray_icon_centre)
check "the icon sits in the notification area at the right end of the taskbar" 1 \
    $((${tx:-0} > 900 && ${ty:-0} >= 748))

# A taskbar made anew (Explorer restarted) starts with an empty notification
# area and tells every window "TaskbarCreated"; all that follows uses the
# icon added again then.
probe tray-remove "TAMARIN MASCOT1"
sleep 0.5
check "the emptied notification area has no icon" "" "$(tray_icon_centre)"
probe taskbar-created
sleep 0.5
screenshot tray-icon-again
read -r tx ty < <(tray_icon_centre)
check "after TaskbarCreated the icon is back in its place" 1 $((${tx:-0} > 900 && ${ty:-0} >= 748))

xdotool mousemove "$tx" "$ty" click 3
read -r mx my mw mh < <(probe menu 3000)
screenshot tray-menu
check "right click on the icon opens the menu" 1 $((${mw:-0} > 0))
# Near the screen's corner the menu is pushed left and up just as far as it
# must to fit in the work area: above the taskbar, so it stands over the
# cursor's column, just above the cursor. (Wine 10 leaves its taskbar inside
# the work area, and there the menu reaches down over it and the cursor.)
read -r _ _ wr wb < <(probe workarea)
check "the menu opens at the cursor, moved into the work area" \
    "$((tx < wr - mw ? tx : wr - mw)) $((ty < wb - mh ? ty : wb - mh))" "$mx $my"
xdotool key Escape
sleep 0.5

# One alarm dialog at a time: chosen again from the icon's menu while the
# dialog is open (and behind another window), it comes to the front and no
# second one opens, whose OK would write stale values over the first's.
choose_from_menu "$tx" "$ty" 0 # アラーム設定(&A)
check "the icon's menu opens the alarm dialog" "1 1" "$(probe dialogs)"
xdotool mousemove 300 200 click 1 # the desktop takes the focus
sleep 0.5
choose_from_menu "$tx" "$ty" 0 # アラーム設定(&A) again
screenshot tray-alarm-again
check "chosen again it stays one dialog, now in front" "1 1" "$(probe dialogs)"
read -r cx cy cw ch < <(probe control 2) # ｷｬﾝｾﾙ
xdotool mousemove $((cx + cw / 2)) $((cy + ch / 2)) click 1
sleep 0.5
check "cancelled, no dialog is left" "0 0" "$(probe dialogs)"

choose_from_menu "$tx" "$ty" 3 # 情報を表示(&W)
check "the panel hidden from the icon's menu" 0 "$(probe window ChdClass | cut -d' ' -f5)"
check "hidden panel is saved" "情報ウィンドウ=0" "$(settings_text | grep -x '情報ウィンドウ=.*')"
xdotool mousemove "$tx" "$ty" click 1
sleep 0.5
check "a left click on the icon leaves the panel hidden" 0 "$(probe window ChdClass | cut -d' ' -f5)"
check "the mascot still runs" "80 80" "$(probe window "TAMARIN MASCOT1" | cut -d' ' -f3,4)"

choose_from_menu "$tx" "$ty" 9 # 終了(&X)
wait_exit "$pid" 10
check "exit from the icon's menu ends the program with code 0" 0 "$exit_code"
sleep 0.5
read -r tx2 _ < <(tray_icon_centre)
check "the icon is gone after exit" "" "${tx2:-}"

# Started at a busy logon she offers her icon while the shell is not ready,
# which refuses it; no "TaskbarCreated" follows, since the taskbar exists. A
# stand-in for such a shell refuses every icon for eight seconds: once it is
# gone, her icon is in the notification area within a few seconds.
"$WINE_RUN" "$PROBE_EXE" tray-busy 8 >busy.out 2>/dev/null &
busy=$!
for ((i = 0; i < 100; i++)); do
    grep -q ready busy.out 2>/dev/null && break
    sleep 0.1
done
# (Wine takes the stand-in for the taskbar when it reckons the work area, so
# she is placed away from the taskbar, where only her icon may show.)
printf '[OPTION]\r\n' >mascot.ini
printf '%s\r\n' 初期位置Ｘ座標=300 初期位置Ｙ座標=300 | iconv -f UTF-8 -t CP932 >>mascot.ini
start_mascot pid
probe window "TAMARIN MASCOT1" 20000 >/dev/null
sleep 2
check "while the shell refuses icons, hers is not there" "" "$(tray_icon_centre)"
wait "$busy"
for ((i = 0; i < 20; i++)); do
    read -r tx ty < <(tray_icon_centre) && break
    sleep 0.5
done
screenshot tray-icon-after-busy-shell
check "once the shell takes icons, hers comes within a few seconds" 1 $((${tx:-0} > 900 && ${ty:-0} >= 748))
probe command "TAMARIN MASCOT1" 102
wait_exit "$pid" 10
check "exit after the busy shell: code 0" 0 "$exit_code"

finish
