#!/usr/bin/env python3
"""Draws review pictures of the generated sprites:

    docs/art/contact-sheet.png   every frame at 4x, labelled with its index
    docs/art/<state>.gif         each animation at 4x, 200 ms per step

    python3 tools/art/preview.py [--gen DIR] [--docs DIR]

Reads the BMPs that make_art.py wrote (so it shows exactly what ships).
The PNGs are written with the standard library; the GIFs are put together
by ImageMagick's `convert` from temporary PNGs.  The see-through key
colour is shown as neutral grey.
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
KEY = (255, 0, 255)
GREY = (150, 150, 150)
SCALE = 4

# The animations the program plays (frame indices, one step per 200 ms).
SEQUENCES = {
    'reading': [0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 3],
    'moving': [5, 6, 7, 8],
    'dozing': [9, 9, 9, 10, 10, 10, 11, 11, 11],
    'fanning': [12, 13, 14],
    'looking-around': [17, 17, 15, 15, 18, 15, 15, 18, 15, 15, 16, 16],
    'looking-around-breeze': [18, 20, 18, 19, 20, 19],
    'dozing-breeze': [9, 9, 9, 21, 21, 21, 11, 11, 11],
    'reading-breeze': [22, 23, 24, 22, 23, 24, 22],
    'reading-lead-in': [15, 25, 25, 25, 0, 0],
}

# 3x5 digits for the labels
DIGITS = {
    '0': '111101101101111', '1': '010110010010111', '2': '111001111100111',
    '3': '111001111001111', '4': '101101111001001', '5': '111100111001111',
    '6': '111100111101111', '7': '111001010010010', '8': '111101111101111',
    '9': '111101111001111',
}


def read_bmp(path):
    """Top-down rows of (r,g,b) from an uncompressed 8- or 24-bit BMP."""
    with open(path, 'rb') as f:
        data = f.read()
    off = struct.unpack_from('<I', data, 10)[0]
    hsize, w, h, _, bpp = struct.unpack_from('<IiiHH', data, 14)
    used = struct.unpack_from('<I', data, 46)[0]
    pal = []
    if bpp == 8:
        for i in range(used or 256):
            b, g, r, _ = struct.unpack_from('<BBBB', data, 14 + hsize + 4 * i)
            pal.append((r, g, b))
    stride = ((w * bpp // 8) + 3) & ~3
    rows = []
    for y in range(abs(h)):
        src = (abs(h) - 1 - y) if h > 0 else y
        base = off + src * stride
        if bpp == 8:
            rows.append([pal[data[base + x]] for x in range(w)])
        else:
            rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x])
                         for x in range(w)])
    return rows


def write_png(path, rows):
    h, w = len(rows), len(rows[0])
    raw = b''.join(b'\0' + b''.join(struct.pack('BBB', *p) for p in r) for r in rows)

    def chunk(kind, body):
        return (struct.pack('>I', len(body)) + kind + body +
                struct.pack('>I', zlib.crc32(kind + body) & 0xffffffff))
    png = (b'\x89PNG\r\n\x1a\n' +
           chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0)) +
           chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))
    with open(path, 'wb') as f:
        f.write(png)


def blit(dst, src, x0, y0, scale):
    for y, row in enumerate(src):
        for x, p in enumerate(row):
            if p == KEY:
                continue
            for dy in range(scale):
                line = dst[y0 + y * scale + dy]
                for dx in range(scale):
                    line[x0 + x * scale + dx] = p


def label(dst, text, x0, y0, colour=(30, 30, 30), scale=3):
    for ch in text:
        bits = DIGITS[ch]
        for i, b in enumerate(bits):
            if b == '1':
                for dy in range(scale):
                    for dx in range(scale):
                        dst[y0 + (i // 3) * scale + dy][x0 + (i % 3) * scale + dx] = colour
        x0 += 4 * scale


def canvas(w, h, colour):
    return [[colour] * w for _ in range(h)]


def contact_sheet(frames, path, cols=7, scale=SCALE):
    cell_w, cell_h = 40 * scale + 12, 40 * scale + 30
    rows_n = (len(frames) + cols - 1) // cols
    img = canvas(cols * cell_w + 12, rows_n * cell_h + 12, GREY)
    for i, fr in enumerate(frames):
        x = 12 + (i % cols) * cell_w
        y = 12 + (i // cols) * cell_h
        label(img, '%d' % i, x, y)
        # a slightly darker tile shows the 40x40 frame bounds
        for yy in range(40 * scale):
            for xx in range(40 * scale):
                img[y + 20 + yy][x + xx] = (138, 138, 138)
        blit(img, fr, x, y + 20, scale)
    write_png(path, img)


def one_frame(fr, scale=SCALE):
    img = canvas(40 * scale, 40 * scale, GREY)
    blit(img, fr, 0, 0, scale)
    return img


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--gen', default=os.path.join(ROOT, 'res', 'generated'))
    ap.add_argument('--docs', default=os.path.join(ROOT, 'docs', 'art'))
    ap.add_argument('--no-gif', action='store_true', help='only the contact sheet')
    ap.add_argument('--zoom', metavar='N,N,...',
                    help='only write a strip of these frames at 8x to --zoom-out (a drawing aid)')
    ap.add_argument('--zoom-out', default='zoom.png', metavar='PNG')
    args = ap.parse_args(argv)

    frames = [read_bmp(os.path.join(args.gen, 'frame%02d.bmp' % i)) for i in range(26)]
    if args.zoom:
        picks = [int(v) for v in args.zoom.split(',')]
        strip = canvas(len(picks) * 330 + 10, 330, GREY)
        for n, i in enumerate(picks):
            tile = one_frame(frames[i], 8)
            for y in range(320):
                strip[5 + y][10 + n * 330:10 + n * 330 + 320] = tile[y]
        write_png(args.zoom_out, strip)
        return
    os.makedirs(args.docs, exist_ok=True)
    contact_sheet(frames, os.path.join(args.docs, 'contact-sheet.png'))
    if args.no_gif:
        return
    if not shutil.which('convert'):
        sys.exit('preview: ImageMagick convert is needed for the GIFs')
    with tempfile.TemporaryDirectory() as tmp:
        for i, fr in enumerate(frames):
            write_png(os.path.join(tmp, 'f%02d.png' % i), one_frame(fr))
        for name, seq in SEQUENCES.items():
            cmd = ['convert', '-delay', '20', '-loop', '0', '-dispose', 'none']
            cmd += [os.path.join(tmp, 'f%02d.png' % i) for i in seq]
            cmd += ['-layers', 'Optimize', os.path.join(args.docs, name + '.gif')]
            subprocess.run(cmd, check=True)


if __name__ == '__main__':
    main()
