#!/usr/bin/env python3
"""Drawing aid: renders one or more parts from res/art/parts at 10x on grey
into a PNG so a part can be checked on its own while it is being drawn.

    python3 tools/art/show_part.py OUT.png PART [PART ...]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_art  # noqa: E402
import preview  # noqa: E402


def main():
    out, names = sys.argv[1], sys.argv[2:]
    chars, colours = make_art.read_palette(os.path.join(make_art.ART, 'palette.txt'))
    parts = make_art.read_parts(os.path.join(make_art.ART, 'parts'))
    scale, gap = 10, 10
    w = sum(len(parts[n][0]) * scale + gap for n in names) + gap
    h = max(len(parts[n]) for n in names) * scale + 2 * gap
    img = preview.canvas(w, h, preview.GREY)
    x0 = gap
    for n in names:
        p = parts[n]
        for y, row in enumerate(p):
            for x, c in enumerate(row):
                col = (135, 135, 135) if c == '.' else colours[c]
                for dy in range(scale):
                    for dx in range(scale):
                        img[gap + y * scale + dy][x0 + x * scale + dx] = col
        x0 += len(p[0]) * scale + gap
    preview.write_png(out, img)


if __name__ == '__main__':
    main()
