#!/usr/bin/env bash
# The info panel with a real mouse: its three pages in turn on left clicks,
# hidden by a right click, and still hidden after a restart. At 144 and 192
# DPI the panel is 1.5 and 2 times its size, its pages turn alike, and a
# stored start position means what it meant to a program that was not DPI
# aware: the same place on the screen.
source "$(dirname "$0")/lib.sh"
new_workdir
# A failed check must not leave the program running for the next test.
trap 'probe command "TAMARIN MASCOT1" 102 >/dev/null' EXIT

start_mascot first
probe window "TAMARIN MASCOT1" 20000 >/dev/null
read -r px py pw ph pvisible _ < <(probe window ChdClass)
check "panel shown at start" "160 60 1" "$pw $ph $pvisible"
sleep 1
check "clock page first" 0 "$(panel_page "$px" "$py" panel-page0)"

# Clicks go to the left part of the panel, clear of the mascot.
for page in 1 2 0; do
    xdotool mousemove $((px + 30)) $((py + 30)) click 1
    sleep 0.6
    check "left click turns to page $page" "$page" "$(panel_page "$px" "$py" "panel-page$page-click")"
done
cp "$ARTIFACTS/panel-page1-click.png" "$ARTIFACTS/panel-page1.png"
cp "$ARTIFACTS/panel-page2-click.png" "$ARTIFACTS/panel-page2.png"

xdotool mousemove $((px + 30)) $((py + 30)) click 3
sleep 0.6
check "right click hides the panel" 0 "$(probe window ChdClass | cut -d' ' -f5)"
check "hidden panel is remembered" "情報ウィンドウ=0" "$(settings_text | grep '^情報ウィンドウ=')"
screenshot panel-hidden

probe command "TAMARIN MASCOT1" 102
wait_exit "$first" 20
check "program ends" 0 "$exit_code"

start_mascot second
probe window "TAMARIN MASCOT1" 20000 >/dev/null
sleep 1
check "panel starts hidden after a restart" 0 "$(probe window ChdClass | cut -d' ' -f5)"
probe command "TAMARIN MASCOT1" 102
wait_exit "$second" 20
check "second run ends" 0 "$exit_code"

for dpi in 144 192; do
    use_dpi "$dpi"
    k=$((dpi / 48))
    printf '[OPTION]\r\n初期位置Ｘ座標=300\r\n初期位置Ｙ座標=200\r\n' | iconv -f UTF-8 -t CP932 >mascot.ini
    start_mascot run
    read -r x y _ < <(probe window "TAMARIN MASCOT1" 20000)
    check "at $dpi DPI the stored place 300,200 is where it was" "$((300 * dpi / 96)) $((200 * dpi / 96))" "$x $y"
    read -r px py pw ph pvisible _ < <(probe window ChdClass)
    check "at $dpi DPI the panel is $k/2 times its size, beside her" \
        "$((80 * k)) $((30 * k)) 1 $((x - 60 * k)) $((y + 10 * k))" "$pw $ph $pvisible $px $py"
    sleep 1
    check "at $dpi DPI clock page first" 0 "$(panel_page "$px" "$py" "panel-$dpi-page0" "$k")"
    for page in 1 2 0; do
        xdotool mousemove $((px + 15 * k)) $((py + 15 * k)) click 1
        sleep 0.6
        check "at $dpi DPI a left click turns to page $page" "$page" \
            "$(panel_page "$px" "$py" "panel-$dpi-page$page" "$k")"
    done
    probe command "TAMARIN MASCOT1" 102
    wait_exit "$run" 20
done
finish
