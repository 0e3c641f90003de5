#!/usr/bin/env bash
# The real program animates: the window's shape, read from outside, follows
# the frame on screen; frames change about every 200 ms; the figure shows at
# double size with no key colour anywhere. At 144 and 192 DPI she shows at
# three and four times, every art pixel a solid block, and the notification
# area holds the icon drawn for its size.
source "$(dirname "$0")/lib.sh"
art="$(cd "$(dirname "$0")/../../res/generated" && pwd)"
new_workdir

# frames.py silhouette HASH: the frames whose shape has that hash (the
# probe's hash of the 80x80 window pixels), comma-separated, or "none".
# frames.py match CROP.rgb: "frame agreement" for the square screen crop of
# her window: the frame whose enlarged pixels agree best, and the share (per
# cent) of its figure pixels that agree.
cat >frames.py <<'PY'
import struct, sys
art = sys.argv[1]
def frame(i):
    d = open(f"{art}/frame{i:02d}.bmp", "rb").read()
    off, w, h, bpp = struct.unpack_from("<I", d, 10)[0], *struct.unpack_from("<ii", d, 18), d[28]
    stride, pal = (w + 3) & ~3, d[54:off]
    rows = [d[off + (h - 1 - y) * stride:][:w] for y in range(h)]
    return [[tuple(pal[4 * p:4 * p + 3][::-1]) for p in r] for r in rows]
frames = [frame(i) for i in range(26)]
def shape_hash(f):
    h = 2166136261
    for y in range(80):
        for x in range(80):
            h = ((h ^ (49 if f[y // 2][x // 2] != f[0][0] else 48)) * 16777619) & 0xFFFFFFFF
    return "%08x" % h
if sys.argv[2] == "silhouette":
    print(",".join(str(i) for i, f in enumerate(frames) if shape_hash(f) == sys.argv[3]) or "none")
else:
    crop = open(sys.argv[3], "rb").read()
    n = int(round((len(crop) // 3) ** 0.5))
    k = n // 40
    px = lambda x, y: tuple(crop[3 * (n * y + x):3 * (n * y + x) + 3])
    best = (0, -1)
    for i, f in enumerate(frames):
        figure = [(x, y) for y in range(n) for x in range(n) if f[y // k][x // k] != f[0][0]]
        agree = sum(px(x, y) == f[y // k][x // k] for x, y in figure) * 100 // len(figure)
        best = max(best, (agree, i))
    print(best[1], best[0])
PY
frames() { python3 frames.py "$art" "$@"; }
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
    read -r frame agree < <(frames match crop.rgb)
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
    read -r frame agree < <(frames match crop.rgb)
    check "at $dpi DPI the screen shows frame $frame at $k times ($agree%)" 1 $((agree >= 98))
    # Sampled down to one pixel per art pixel and enlarged again, a picture
    # of solid blocks is itself.
    convert -size "${size}x$size" -depth 8 rgb:crop.rgb -sample 40x40 -sample "${size}x$size" \
        -depth 8 rgb:blocks.rgb
    check "at $dpi DPI every art pixel is a solid $k by $k block" 0 "$(cmp -s crop.rgb blocks.rgb; echo $?)"
    convert -size "${size}x$size" -depth 8 rgb:crop.rgb "$ARTIFACTS/animation-$dpi.png"
    check "at $dpi DPI the notification area shows the icon drawn at $((dpi / 6)) pixels" \
        0 "$(tray_icon_differs "$((dpi / 6))")"
    probe command "TAMARIN MASCOT1" 102
    wait_exit "$pid" 20
done
finish
