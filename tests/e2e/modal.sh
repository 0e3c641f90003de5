#!/usr/bin/env bash
# The clock's duties go on while her dialog or menu is open. A breeze started
# just before the alarm dialog opens ends within its length, its sound with
# it; a one-time alarm for the next minute rings while the dialog is open,
# and the panel's clock runs meanwhile. Cancelled while it rings, with her
# menu opened by a right click, the alarm ends with its minute and forgets
# its time though the menu is still open; an alarm stored for the minute
# then under way rings while the menu is open, too. Silenced by a click, it
# stays finished when the dialog is opened and confirmed unchanged. Last,
# her message box, too, keeps the clock.
source "$(dirname "$0")/lib.sh"
new_workdir
trap 'probe command "TAMARIN MASCOT1" 102 >/dev/null' EXIT

capture_sound

store_alarm() { # store_alarm HOUR MINUTE: a one-time alarm, silent (alarm.wav is missing)
    printf '%s\r\n' "[ALARM]" "アラーム使用=1" "毎日アラーム=0" "設定時刻時=$1" "設定時刻分=$2" \
        "[OPTION]" "アラーム種類=User" | iconv -f UTF-8 -t CP932 >mascot.ini.new
    mv mascot.ini.new mascot.ini
}

# The panel's time line at PX PY as a checksum of its pixels.
time_line() { # time_line PX PY
    import -window root -crop "110x16+$(($1 + 18))+$(($2 + 18))" +repage rgb:- 2>/dev/null | md5sum
}

wait_for_early_minute 20 26
now=$(date +%s)
next=$((now / 60 * 60 + 60))
store_alarm "$((10#$(date -d "@$next" +%H)))" "$((10#$(date -d "@$next" +%M)))"
start_mascot pid
read -r x y _ _ _ _ < <(probe window "TAMARIN MASCOT1" 20000)
read -r px py _ _ _ _ < <(probe window ChdClass)

probe command "TAMARIN MASCOT1" 40009 # 読書(&0): a state with a breeze of its own
probe command "TAMARIN MASCOT1" 40015 # ＋そよ風(&9)
sleep 0.6                             # its sound starts with its first step
probe command "TAMARIN MASCOT1" 105   # アラーム設定(&A)
check "the dialog is open" "アラームの設定|時分" "$(probe dialog 3000)"
breeze_start=$(date +%s)
sleep 1
check "the breeze sounds" 1 $(($(sound_bytes) > 0))
before=$(time_line "$px" "$py")
sleep 1.5
check "the panel's clock runs while the dialog is open" 1 \
    "$([ "$(time_line "$px" "$py")" != "$before" ] && echo 1 || echo 0)"
previous=-1
while [ $(($(date +%s) - breeze_start)) -lt 40 ] && [ "$(sound_bytes)" != "$previous" ]; do
    previous=$(sound_bytes)
    sleep 1.5
done
check "the breeze and its sound end within its length (19 s and some slack)" 1 \
    $(($(date +%s) - breeze_start <= 26))

while [ "$(date +%s)" -lt "$next" ]; do sleep 0.2; done
sleep 1.5
check "the alarm rings while the dialog is open" 1 "$(alarm_line_blinks "$px" "$py" 30 modal-dialog-ringing)"
check "the dialog is still open" "アラームの設定|時分" "$(probe dialog)"
click_control 2 # ｷｬﾝｾﾙ
sleep 0.5
xdotool mousemove $((x + 40)) $((y + 40)) click 3
sleep 0.5
check "her menu is open" 1 "$([ "$(probe menu 3000)" != none ] && echo 1 || echo 0)"
while [ "$(date +%s)" -lt $((next + 60)) ]; do sleep 0.2; done
sleep 1.5
check "the menu is still open" 1 "$([ "$(probe menu)" != none ] && echo 1 || echo 0)"
check "the alarm ended with its minute and forgot its time" "Default Default" \
    "$(key_value 設定時刻時) $(key_value 設定時刻分)"
check "the alarm line stays" 6 "$(alarm_line_shown "$px" "$py" 6 modal-menu-over)"
store_alarm "$((10#$(date +%H)))" "$((10#$(date +%M)))"
sleep 1.5
check "an alarm whose minute has come rings while the menu is open" 1 \
    "$(alarm_line_blinks "$px" "$py" 30 modal-menu-ringing)"
xdotool key Escape
sleep 0.3
xdotool mousemove $((px + 30)) $((py + 30)) click 1 # silences it
sleep 0.5
probe command "TAMARIN MASCOT1" 105 # アラーム設定(&A), looked at and left with OK
probe dialog 3000 >/dev/null
click_control 1
sleep 1
check "OK with nothing changed leaves the silenced one-time alarm finished" "Default Default 6" \
    "$(key_value 設定時刻時) $(key_value 設定時刻分) $(alarm_line_shown "$px" "$py" 6 modal-ok-unchanged)"
check "all that within the second alarm's minute" "$((10#$(date -d "@$((next + 60))" +%M)))" \
    "$((10#$(date +%M)))"

probe command "TAMARIN MASCOT1" 102
wait_exit "$pid" 20
check "exit code 0" 0 "$exit_code"

# Her folder read-only (a read-only bind mount, or without root the modes):
# the "設定の保存" box opens at start and is left open across the minute of a
# one-time alarm stored before, which rings meanwhile, with its sound.
locked="$workdir/locked"
mkdir "$locked"
next=$((($(date +%s) + 10) / 60 * 60 + 60))
printf '%s\r\n' "[ALARM]" "アラーム使用=1" "設定時刻時=$(date -d "@$next" +%-H)" \
    "設定時刻分=$(date -d "@$next" +%-M)" | iconv -f UTF-8 -t CP932 >"$locked/mascot.ini"
if [ "$(id -u)" -eq 0 ]; then
    mount --bind "$locked" "$locked" && mount -o remount,ro,bind "$locked"
    trap 'probe command "TAMARIN MASCOT1" 102 >/dev/null; cd /; umount "$locked"' EXIT
else
    chmod 444 "$locked/mascot.ini" && chmod 555 "$locked"
fi
cd "$locked"
before=$(sound_bytes)
start_mascot pid
box=$(probe dialog 20000)
while [ "$(date +%s)" -lt "$next" ]; do sleep 0.2; done
check "with the settings box open, the alarm rings" "設定の保存（デスクトップマスコット） 1" \
    "${box%%|*} $(sound_grows "$before")"
check "the box is still open" "$box" "$(probe dialog)"
probe press-ok
probe command "TAMARIN MASCOT1" 102
wait_exit "$pid" 20
check "exit code 0" 0 "$exit_code"
finish
