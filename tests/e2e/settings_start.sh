#!/usr/bin/env bash
# What the real program makes of the settings file at start: the place of
# both windows, the panel, on top, and the keys it seeds.
source "$(dirname "$0")/lib.sh"

read -r left top right bottom < <(probe workarea)

# Starts the program in a fresh directory with the settings given (UTF-8
# lines, stored as Shift-JIS); sets mascot and panel to "x y visible topmost".
start_with() { # start_with LINE...
    new_workdir
    printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932 >mascot.ini
    # A copy left running by an earlier test would answer in place of this one.
    check "no other copy runs" none "$(probe window "TAMARIN MASCOT1")"
    start_mascot pid
    local m p
    read -r -a m < <(probe window "TAMARIN MASCOT1" 20000)
    read -r -a p < <(probe window ChdClass)
    mascot="${m[0]:-none} ${m[1]:-} ${m[4]:-} ${m[5]:-}"
    panel="${p[0]:-none} ${p[1]:-} ${p[4]:-} ${p[5]:-}"
}

stop() {
    probe command "TAMARIN MASCOT1" 102
    wait_exit "$pid" 15
    check "$1: exit code 0" 0 "$exit_code"
}

start_with "[OPTION]" "初期位置Ｘ座標=Right" "初期位置Ｙ座標=Top" "情報ウィンドウ=0" "手前に表示=0"
check "Right/Top: mascot in the upper right corner, not on top" \
    "$((right - 80)) $((top + top / 10)) 1 0" "$mascot"
check "Right/Top: panel beside it, hidden, not on top" \
    "$((right - 200)) $((top + top / 10 + 20)) 0 0" "$panel"
stop "Right/Top"

start_with "[OPTION]" "初期位置Ｘ座標=Left" "初期位置Ｙ座標=Center"
check "Left/Center: mascot place" "$((left + left / 10 + 120)) $((bottom / 2)) 1 1" "$mascot"
stop "Left/Center"

start_with "[OPTION]" "初期位置Ｘ座標=right" "初期位置Ｙ座標=300" "手前に表示=2"
check "lower-case right is the number 0; on top 2 keeps both on top" "0 300 1 1" "$mascot"
# At x = 0 the panel's place 120 pixels to her left lies off the screen: it
# stands on her right instead, whole, its text clear of her.
check "x 0: the panel stands on her right, shown" "80 320 1 1" "$panel"
sleep 1
check "x 0: the panel's clock page can be read" 0 "$(panel_page 80 320 start-left-edge-panel)"
screenshot start-left-edge
probe command "TAMARIN MASCOT1" 104
sleep 0.5
check "on top 2: the on-top command changes nothing" "1 1" \
    "$(probe window "TAMARIN MASCOT1" | cut -d' ' -f6) $(probe window ChdClass | cut -d' ' -f6)"
check "on top 2: the key keeps its value" "手前に表示=2" "$(settings_text | grep '^手前に表示=')"
stop "on top 2"

# Where the panel would be cut off, it stands wholly on the screen beside
# her, clear of her figure, its clock page readable: her feet one pixel over
# the taskbar at the left edge, partly off the left edge, over the taskbar
# at the right edge (where the alarm line would be cut off).
for place in "0 $((bottom - 79)) $((left + 80)) $((bottom - 60))" \
    "-30 300 $((left + 50)) 320" \
    "Right $((bottom - 48)) $((right - 240)) $((bottom - 60))"; do
    read -r sx sy ex ey <<<"$place"
    start_with "[OPTION]" "初期位置Ｘ座標=$sx" "初期位置Ｙ座標=$sy"
    check "at $sx,$sy: the panel stands at $ex,$ey" "$ex $ey 1" "$(cut -d' ' -f1,2,3 <<<"$panel")"
    sleep 1
    check "at $sx,$sy: its clock page can be read" 0 "$(panel_page "$ex" "$ey" "start-panel-$sx-$sy")"
    screenshot "start-at-$sx-$sy"
    stop "at $sx,$sy"
done

# The screen is 1024 wide: at 5000 nothing of the mascot would show.
start_with "[OPTION]" "初期位置Ｘ座標=5000" "初期位置Ｙ座標=Bottom"
check "a place off every monitor starts at the Default place" \
    "$((right - 80 - right / 10)) $((bottom - 80))" "$(cut -d' ' -f1,2 <<<"$mascot")"
check "the panel stands beside it" "$((right - 200 - right / 10)) $((bottom - 60))" \
    "$(cut -d' ' -f1,2 <<<"$panel")"
check "the stored place is kept" "初期位置Ｘ座標=5000" "$(settings_text | grep '^初期位置Ｘ座標=')"
screenshot start-off-screen
stop "off screen"

start_with "[ALARM]" "アラーム使用=NOT" "[OPTION]" "情報ウィンドウ=" "; the user's note"
check "an empty panel value shows the panel" 1 "$(cut -d' ' -f3 <<<"$panel")"
expected='[ALARM]
アラーム使用=0
毎日アラーム=0
設定時刻時=Default
設定時刻分=Default
[OPTION]
情報ウィンドウ=
; the user'"'"'s note
手前に表示=1
初期位置Ｘ座標=Default
初期位置Ｙ座標=Default'
check "NOT is seeded, the empty value and the note are kept" "$expected" "$(settings_text)"
stop "NOT and empty"

finish
