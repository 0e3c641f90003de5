#!/usr/bin/env bash
# The real program animates: the window's shape, read from outside, follows
# the frame on screen; frames change about every 200 ms; the figure shows at
# double size with no key colour anywhere. At 144 and 192 DPI she shows at
# three and four times, every art pixel a solid block, and the notification
# area holds the icon drawn for its size.
source "$(dirname "$0")/lib.sh"
new_workdir

shape() { probe region "TAMARIN MASCOT1" | cut -d' ' -f6; }

start_mascot pid
read -r x y _ _ _ _ < <(probe window "TAMARIN MASCOT1" 20000)
probe command "TAMARIN MASCOT1" 40010 # 団扇: three frames, three shapes
probe command "TAMARIN MASCOT1" 40016 # アニメ固定: the chooser keeps out
sleep 1

# Shape changes seen from outside, sampled every 50 ms for 3 seconds.
probe region-watch "TAMARIN MASCOT1" 60 50 >watch.txt
check "every shape is a fanning frame's" "12 13 14" \
    "$(cut -d' ' -f7 watch.txt | sort -u | while read -r h; do frames silhouette "$h"; done | sort -n | xargs)"
awk '$7 != last { if (NR > 1) print $1; last = $7 }' watch.txt >changes.txt
changes=$(wc -l <changes.txt)
median=$(awk 'NR > 1 { print $1 - last } { last = $1 }' changes.txt | sort -n |
    awk '{ d[NR] = $1 } END { print d[int((NR + 1) / 2)] + 0 }')
check "the shape changes about 15 times in 3 s" 1 $((changes >= 11 && changes <= 19))
check "the median time between shape changes is about 200 ms ($median)" 1 \
    $((median >= 150 && median <= 300))

# The frame on screen against the shape around it, where the shape stood
# still while the probe copied the screen.
followed=0
for attempt in $(seq 1 10); do
    IFS='|' read -r before after < <(probe region-shot "TAMARIN MASCOT1" crop.rgb)
    [ "$before" = "$after" ] || continue
    read -r frame agree _ < <(frames match crop.rgb)
    check "screen shows frame $frame at double size ($agree% of its pixels)" 1 $((agree >= 98))
    check "the window's shape is frame $frame's" 1 \
        "$(frames silhouette "${before##* }" | tr ',' '\n' | grep -cx "$frame")"
    followed=$((followed + 1))
    [ "$followed" -ge 3 ] && break
done
check "shape and screen compared three times" 3 "$followed"
import -window root shot.png 2>/dev/null
cp shot.png "$ARTIFACTS/animation.png"
check "no key colour anywhere on the screen" 0 "$(convert shot.png txt:- | grep -ci '#FF00FF')"

probe command "TAMARIN MASCOT1" 102
wait_exit "$pid" 20
check "exit ends the program" 0 "$exit_code"

for dpi in 144 192; do
    use_dpi "$dpi"
    k=$((dpi / 48)) size=$((dpi * 40 / 48))
    # The panel aside: it would show through her outline.
    printf '[OPTION]\r\n情報ウィンドウ=0\r\n' | iconv -f UTF-8 -t CP932 >mascot.ini
    start_mascot pid
    read -r x y w h _ < <(probe window "TAMARIN MASCOT1" 20000)
    read -r _ _ right bottom < <(probe workarea)
    check "at $dpi DPI her window is $size pixels square at the Default place" \
        "$((right - size - right / 10)) $((bottom - size)) $size $size" "$x $y $w $h"
    sleep 1
    for attempt in $(seq 1 10); do
        IFS='|' read -r before after < <(probe region-shot "TAMARIN MASCOT1" crop.rgb)
        [ "$before" = "$after" ] && break # the frame stood still
    done
    read -r frame agree mixed < <(frames match crop.rgb)
    check "at $dpi DPI the screen shows frame $frame at $k times ($agree%)" 1 $((agree >= 98))
    check "at $dpi DPI every art pixel is a solid $k by $k block" 0 "$mixed"
    convert -size "${size}x$size" -depth 8 rgb:crop.rgb "$ARTIFACTS/animation-$dpi.png"
    check "at $dpi DPI the notification area shows the icon drawn at $((dpi / 6)) pixels" \
        0 "$(tray_icon_differs "$((dpi / 6))")"
    probe command "TAMARIN MASCOT1" 102
    wait_exit "$pid" 20
done
finish
