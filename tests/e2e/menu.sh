#!/usr/bin/env bash
# The context menu of the figure with a real mouse: it opens at the click
# point, and on-top, the panel, move mode with a drag, and exit work.
source "$(dirname "$0")/lib.sh"
new_workdir

mascot_at() { probe window "TAMARIN MASCOT1" | cut -d' ' -f1,2; }
key_line() { settings_text | grep -x "$1=.*"; }

start_mascot pid
read -r x y _ _ _ _ < <(probe window "TAMARIN MASCOT1" 20000)
sleep 1
cx=$((x + 40))
cy=$((y + 40))

xdotool mousemove "$cx" "$cy" click 3
read -r mx my mw mh < <(probe menu 3000)
screenshot menu-open
check "right click opens the menu with its left edge at the click point" "$cx" "$mx"
check "the menu spans the click point's height" 1 $((my <= cy && cy <= my + mh))
xdotool key Escape
sleep 0.5
check "Escape closes the menu" none "$(probe menu)"

choose_from_menu "$cx" "$cy" 2 # 手前に表示(&T)
check "on-top off: mascot and panel not topmost" "0 0" \
    "$(probe window "TAMARIN MASCOT1" | cut -d' ' -f6) $(probe window ChdClass | cut -d' ' -f6)"
check "on-top off is saved" "手前に表示=0" "$(key_line 手前に表示)"
xdotool mousemove "$cx" "$cy" click 3
sleep 0.5
screenshot menu-on-top-unchecked
xdotool key Escape
sleep 0.3
choose_from_menu "$cx" "$cy" 2
check "on-top on: mascot and panel topmost" "1 1" \
    "$(probe window "TAMARIN MASCOT1" | cut -d' ' -f6) $(probe window ChdClass | cut -d' ' -f6)"
check "on-top on is saved" "手前に表示=1" "$(key_line 手前に表示)"

choose_from_menu "$cx" "$cy" 3 # 情報を表示(&W)
check "panel hidden by the menu" 0 "$(probe window ChdClass | cut -d' ' -f5)"
check "hidden panel is saved" "情報ウィンドウ=0" "$(key_line 情報ウィンドウ)"
choose_from_menu "$cx" "$cy" 3
check "panel shown by the menu" 1 "$(probe window ChdClass | cut -d' ' -f5)"
check "shown panel is saved" "情報ウィンドウ=1" "$(key_line 情報ウィンドウ)"
choose_from_menu "$cx" "$cy" 3
xdotool mousemove "$cx" "$cy" click 1
sleep 0.5
check "a left click on the figure shows the hidden panel and saves it" "1 情報ウィンドウ=1" \
    "$(probe window ChdClass | cut -d' ' -f5) $(key_line 情報ウィンドウ)"

choose_from_menu "$cx" "$cy" 5 # 移動(&M)
check "move mode hides the panel" 0 "$(probe window ChdClass | cut -d' ' -f5)"
xdotool mousemove "$cx" "$cy" mousedown 1
sleep 0.3
for _ in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove_relative -- -30 -25
    sleep 0.05
done
# Held still, she goes on with her moving pose: the ticks go on in the drag.
poses=$(for _ in 1 2 3 4 5; do
    import -window root -crop "80x80+$((x - 300))+$((y - 250))" +repage rgb:- 2>/dev/null | md5sum
    sleep 0.3
done | sort -u | wc -l)
check "while she is held in the drag, her moving pose goes on" 1 $((poses > 1))
xdotool mouseup 1
sleep 0.5
check "the figure follows the mouse in move mode" "$((x - 300)) $((y - 250))" "$(mascot_at)"
read -r nx ny < <(mascot_at)
xdotool mousemove $((nx + 40)) $((ny + 40)) click 3
sleep 0.5
screenshot menu-in-move-mode
xdotool key Escape
sleep 0.3
choose_from_menu $((nx + 40)) $((ny + 40)) 5
check "after move mode the panel stands at (left-120, top+20), shown" \
    "$((nx - 120)) $((ny + 20)) 1" "$(probe window ChdClass | cut -d' ' -f1,2,5)"
check "the new position is not saved" "初期位置Ｘ座標=Default" "$(key_line 初期位置Ｘ座標)"

# Dragged partly off the left edge, and into the bottom-left corner over the
# taskbar, she gets her panel wholly on the screen beside her.
read -r left _ _ bottom < <(probe workarea)
drag_to() { # drag_to X Y: in move mode, moves her top-left corner to X Y
    local ox oy i
    read -r ox oy < <(mascot_at)
    xdotool mousemove $((ox + 40)) $((oy + 40)) mousedown 1
    sleep 0.3
    for i in 1 2 3 4 5 6 7 8 9 10; do
        xdotool mousemove $((ox + 40 + ($1 - ox) * i / 10)) $((oy + 40 + ($2 - oy) * i / 10))
        sleep 0.05
    done
    xdotool mouseup 1
    sleep 0.5
}
for place in "-18 268 $((left + 62)) 288" "-10 $((bottom - 48)) $((left + 70)) $((bottom - 60))"; do
    read -r tx ty ex ey <<<"$place"
    choose_from_menu $((nx + 40)) $((ny + 40)) 5 # 移動(&M)
    drag_to "$tx" "$ty"
    read -r nx ny < <(mascot_at)
    check "dragged to $tx,$ty" "$tx $ty" "$nx $ny"
    choose_from_menu $((nx + 40)) $((ny + 40)) 5
    check "after the drag to $tx,$ty the panel stands at $ex,$ey, shown" "$ex $ey 1" \
        "$(probe window ChdClass | cut -d' ' -f1,2,5)"
    screenshot "menu-dragged-to-$tx-$ty"
done

choose_from_menu $((nx + 40)) $((ny + 40)) 9 # 終了(&X)
wait_exit "$pid" 10
check "exit from the menu ends the program with code 0" 0 "$exit_code"
check "no mascot window after exit" none "$(probe window "TAMARIN MASCOT1")"

finish
