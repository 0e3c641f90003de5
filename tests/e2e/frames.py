# Tells the mascot's sprite frames apart, as the window shows them.
#   frames.py ART silhouette HASH  the frames whose shape has that hash (the
#                                  probe's hash of the 80x80 window pixels),
#                                  comma-separated, or "none"
#   frames.py ART match CROP.rgb   "frame agreement": the frame whose doubled
#                                  pixels agree best with the 80x80 screen crop,
#                                  and the share (per cent) of its figure
#                                  pixels that agree
#   frames.py ART which CROP.png   the frame whose every figure pixel is on the
#                                  screen crop, or "?"
# With MASCOT_SHAPE_CELLS=1 the pixels that Wine 10 cannot show are left out
# (lib.sh says which Wine and why).
import os, struct, subprocess, sys

art, command, arg = sys.argv[1:4]
cells = os.environ.get("MASCOT_SHAPE_CELLS") == "1"


def frame(i):
    d = open(f"{art}/frame{i:02d}.bmp", "rb").read()
    off, w, h = struct.unpack_from("<I", d, 10)[0], *struct.unpack_from("<ii", d, 18)
    stride, pal = (w + 3) & ~3, d[54:off]
    rows = [d[off + (h - 1 - y) * stride:][:w] for y in range(h)]
    return [[tuple(pal[4 * p:4 * p + 3][::-1]) for p in r] for r in rows]


def unshowable(f):
    # Window pixels of each 8-pixel cell (x 0-7, 8-15, ...) that holds a whole
    # run of the shape, on the two window rows of its art row.
    out = set()
    for y, row in enumerate(f):
        x = 0
        while x < 40:
            if row[x] == f[0][0]:
                x += 1
                continue
            start = x
            while x < 40 and row[x] != f[0][0]:
                x += 1
            if 2 * start // 8 == (2 * x - 1) // 8:
                cell = 2 * start // 8 * 8
                out |= {(c, 2 * y + d) for c in range(cell, cell + 8) for d in (0, 1)}
    return out


def figure(f):
    skip = unshowable(f) if cells else set()
    return [(x, y) for y in range(80) for x in range(80)
            if f[y // 2][x // 2] != f[0][0] and (x, y) not in skip]


def shape_hash(f):
    h = 2166136261
    for y in range(80):
        for x in range(80):
            h = ((h ^ (49 if f[y // 2][x // 2] != f[0][0] else 48)) * 16777619) & 0xFFFFFFFF
    return "%08x" % h


frames = [frame(i) for i in range(26)]
if command == "silhouette":
    print(",".join(str(i) for i, f in enumerate(frames) if shape_hash(f) == arg) or "none")
    sys.exit()
if command == "which":
    crop = subprocess.run(["convert", arg, "-depth", "8", "rgb:-"], capture_output=True).stdout
else:
    crop = open(arg, "rb").read()
px = lambda x, y: tuple(crop[3 * (80 * y + x):3 * (80 * y + x) + 3])
agreement = []
for i, f in enumerate(frames):
    pixels = figure(f)
    agreement.append((sum(px(x, y) == f[y // 2][x // 2] for x, y in pixels) * 100 // len(pixels),
                      sum(px(x, y) != f[y // 2][x // 2] for x, y in pixels), i))
if command == "match":
    best = max((agree, i) for agree, _, i in agreement)
    print(best[1], best[0])
else:
    print(next((str(i) for _, wrong, i in agreement if wrong == 0), "?"))
