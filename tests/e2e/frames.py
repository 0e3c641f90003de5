# Tells the mascot's sprite frames apart, as the window shows them.
#   frames.py ART silhouette HASH  the frames whose shape has that hash (the
#                                  probe's hash of the 80x80 window pixels),
#                                  comma-separated, or "none"
#   frames.py ART match CROP.rgb   "frame agreement mixed" for the square
#                                  screen crop of her window (k screen pixels
#                                  per art pixel): the frame whose enlarged
#                                  pixels agree best, the share (per cent) of
#                                  its figure pixels that agree, and how many
#                                  of its art pixels show as more than one
#                                  colour
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


def unshowable(f, k):
    # Window pixels of each 8-pixel cell (x 0-7, 8-15, ...) that holds a whole
    # run of the shape, on the window rows of its art row.
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
            if k * start // 8 == (k * x - 1) // 8:
                cell = k * start // 8 * 8
                out |= {(c, k * y + d) for c in range(cell, cell + 8) for d in range(k)}
    return out


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
n = int(round((len(crop) // 3) ** 0.5))
if n < 40:  # no picture
    print("?" if command == "which" else "-1 0 0")
    sys.exit()
k = n // 40
px = lambda x, y: tuple(crop[3 * (n * y + x):3 * (n * y + x) + 3])
results = []
for i, f in enumerate(frames):
    skip = unshowable(f, k) if cells else set()
    pixels = [(x, y) for y in range(n) for x in range(n)
              if f[y // k][x // k] != f[0][0] and (x, y) not in skip]
    wrong = sum(px(x, y) != f[y // k][x // k] for x, y in pixels)
    blocks = {}
    for x, y in pixels:
        blocks.setdefault((x // k, y // k), set()).add(px(x, y))
    mixed = sum(len(colours) > 1 for colours in blocks.values())
    results.append(((len(pixels) - wrong) * 100 // max(len(pixels), 1), i, wrong, mixed))
if command == "match":
    agree, i, _, mixed = max(results, key=lambda r: (r[0], r[1]))
    print(i, agree, mixed)
else:
    print(next((str(i) for _, i, wrong, _ in results if wrong == 0), "?"))
