#!/usr/bin/env python3
"""Checks the mascot's generated art and sounds (standard library only).

    python3 tests/art/test_art.py

Regenerates everything into a temporary folder and compares it byte for
byte with res/generated, then checks the formats the program relies on.
Prints one line per failure and ends with "N passed, M failed"; the exit
code is non-zero when anything failed.
"""
import os
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
GEN = os.path.join(ROOT, 'res', 'generated')
MAKE = os.path.join(ROOT, 'tools', 'art', 'make_art.py')
KEY = (255, 0, 255)
FRAMES = 26
OUTPUTS = (['frame%02d.bmp' % i for i in range(FRAMES)] +
           ['panel.bmp', 'mascot.ico', 'tray.ico', 'breeze.wav', 'alarm.wav'])

SEQUENCES = {
    'Reading': [0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 3],
    'Moving': [5, 6, 7, 8],
    'Dozing': [9, 9, 9, 10, 10, 10, 11, 11, 11],
    'Fanning': [12, 13, 14],
    'LookingAround': [17, 17, 15, 15, 18, 15, 15, 18, 15, 15, 16, 16],
    'LookingAroundBreeze': [18, 20, 18, 19, 20, 19],
    'DozingBreeze': [9, 9, 9, 21, 21, 21, 11, 11, 11],
    'ReadingBreeze': [22, 23, 24, 22, 23, 24, 22],
    'ReadingLeadIn': [15, 25, 25, 25, 0, 0],
}

passed = failed = 0


def check(name, ok, detail=''):
    global passed, failed
    if ok:
        passed += 1
    else:
        failed += 1
        print('FAIL %s%s' % (name, (': ' + detail) if detail else ''))
    return ok


def read(name):
    with open(os.path.join(GEN, name), 'rb') as f:
        return f.read()


# ---------------------------------------------------------------- BMP

def parse_bmp(data):
    """-> dict with width, height, bpp, palette, rows (top-down, as shown)."""
    magic, size, _, _, off = struct.unpack_from('<2sIHHI', data, 0)
    (hsize, w, h, planes, bpp, comp, isize, _, _, used, _) = struct.unpack_from('<IiiHHIIiiII', data, 14)
    info = dict(magic=magic, size=size, off=off, hsize=hsize, width=w, height=h,
                planes=planes, bpp=bpp, comp=comp, palette=[], rows=[])
    if bpp == 8:
        for i in range(used or 256):
            b, g, r, _ = struct.unpack_from('<BBBB', data, 14 + hsize + 4 * i)
            info['palette'].append((r, g, b))
    stride = ((w * bpp // 8) + 3) & ~3
    for y in range(abs(h)):
        src = abs(h) - 1 - y if h > 0 else y     # positive height: bottom-up
        base = off + src * stride
        if bpp == 8:
            info['rows'].append(list(data[base:base + w]))
        else:
            info['rows'].append([tuple(data[base + 3 * x + 2 - c] for c in range(3)) for x in range(w)])
    return info


def test_regenerates_identically():
    with tempfile.TemporaryDirectory() as tmp:
        r = subprocess.run([sys.executable, MAKE, '--out', tmp], capture_output=True, text=True)
        if not check('make_art.py runs', r.returncode == 0, r.stderr.strip()):
            return
        made = sorted(os.listdir(tmp))
        check('make_art.py writes exactly the expected files', made == sorted(OUTPUTS), str(made))
        for name in OUTPUTS:
            p = os.path.join(tmp, name)
            if not os.path.exists(p):
                continue
            with open(p, 'rb') as f:
                fresh = f.read()
            check('%s is up to date (regenerate with tools/art/make_art.py)' % name,
                  os.path.exists(os.path.join(GEN, name)) and fresh == read(name))


def load_frames():
    frames = []
    for i in range(FRAMES):
        data = read('frame%02d.bmp' % i)
        bmp = parse_bmp(data)
        n = 'frame%02d' % i
        check(n + ' header', bmp['magic'] == b'BM' and bmp['size'] == len(data) and
              bmp['hsize'] == 40 and bmp['planes'] == 1 and bmp['comp'] == 0,
              str({k: bmp[k] for k in ('magic', 'size', 'hsize', 'planes', 'comp')}))
        check(n + ' is 40x40, 8 bits, bottom-up', (bmp['width'], bmp['height'], bmp['bpp']) == (40, 40, 8),
              '%dx%d %d bpp' % (bmp['width'], bmp['height'], bmp['bpp']))
        check(n + ' pixel data fits', bmp['off'] + 40 * 40 <= len(data))
        frames.append(bmp)
    return frames


def test_frames(frames):
    for i, bmp in enumerate(frames):
        n = 'frame%02d' % i
        pal, rows = bmp['palette'], bmp['rows']
        key_index = rows[0][0]
        check(n + ' key colour at top-left', pal[key_index] == KEY, str(pal[key_index]))
        check(n + ' key colour is palette index 0', key_index == 0, str(key_index))
        check(n + ' no other palette entry is the key colour',
              [j for j, c in enumerate(pal) if c == KEY] == [key_index])
        figure = [(x, y) for y in range(40) for x in range(40) if rows[y][x] != key_index]
        check(n + ' has a figure', len(figure) > 100, '%d pixels' % len(figure))
        check(n + ' figure never uses the key colour',
              all(pal[rows[y][x]] != KEY for x, y in figure))
        check(n + ' figure uses only palette entries in range',
              all(rows[y][x] < len(pal) for x, y in figure))
        holes = enclosed_key_pixels(rows, key_index)
        check(n + ' has no see-through holes inside the figure', not holes, str(holes[:8]))


def enclosed_key_pixels(rows, key_index):
    """Key pixels that cannot be reached from the frame's edge: they would
    punch holes through the figure in the shaped window."""
    h, w = len(rows), len(rows[0])
    todo = [(x, y) for y in range(h) for x in range(w)
            if (x in (0, w - 1) or y in (0, h - 1)) and rows[y][x] == key_index]
    seen = set(todo)
    while todo:
        x, y = todo.pop()
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx < w and 0 <= ny < h and (nx, ny) not in seen and rows[ny][nx] == key_index:
                seen.add((nx, ny))
                todo.append((nx, ny))
    return [(x, y) for y in range(h) for x in range(w) if rows[y][x] == key_index and (x, y) not in seen]


def test_caption_frames(frames):
    base = frames[5]['rows'][12:]
    for i in (6, 7, 8):
        check('frame%02d matches frame05 below the caption' % i, frames[i]['rows'][12:] == base)
        check('frame%02d caption differs from frame05' % i, frames[i]['rows'][:12] != frames[5]['rows'][:12])


def test_sequences(frames):
    for name, seq in SEQUENCES.items():
        steps = list(zip(seq, seq[1:] + seq[:1]))        # the loop wraps round
        for a, b in sorted(set(steps)):
            ra, rb = frames[a]['rows'], frames[b]['rows']
            same = sum(ra[y][x] == rb[y][x] for y in range(40) for x in range(40))
            check('%s: frames %d -> %d share most pixels' % (name, a, b), same >= 0.70 * 1600,
                  '%.0f%% identical' % (same / 16.0))


def test_panel():
    data = read('panel.bmp')
    bmp = parse_bmp(data)
    check('panel.bmp header', bmp['magic'] == b'BM' and bmp['size'] == len(data) and bmp['comp'] == 0)
    check('panel.bmp is 160x60', (bmp['width'], abs(bmp['height'])) == (160, 60),
          '%dx%d' % (bmp['width'], bmp['height']))
    check('panel.bmp is 8 or 24 bits', bmp['bpp'] in (8, 24), str(bmp['bpp']))
    if bmp['bpp'] == 24:
        px = [p for r in bmp['rows'] for p in r]
        light = sum(sum(p) / 3 > 200 for p in px) / len(px)
        check('panel.bmp is light', light > 0.9, '%.0f%% light pixels' % (100 * light))


# ---------------------------------------------------------------- ICO

def parse_ico(data):
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    images = []
    for i in range(count):
        w, h, colours, _, planes, bpp, size, off = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
        images.append(dict(w=w or 256, h=h or 256, bpp=bpp, size=size, off=off))
    return reserved, kind, images


def test_icon(name, need):
    data = read(name)
    reserved, kind, images = parse_ico(data)
    check(name + ' header', reserved == 0 and kind == 1 and images)
    sizes = {im['w'] for im in images}
    check(name + ' has sizes %s' % sorted(need), set(need) <= sizes, str(sorted(sizes)))
    for im in images:
        tag = '%s %dx%d' % (name, im['w'], im['h'])
        if not check(tag + ' lies inside the file', im['off'] + im['size'] <= len(data)):
            continue
        hsize, w, h, planes, bpp, comp = struct.unpack_from('<IiiHHI', data, im['off'])
        check(tag + ' is a DIB with XOR and AND masks',
              hsize == 40 and w == im['w'] and h == 2 * im['h'] and planes == 1 and comp == 0)
        check(tag + ' bit depth', bpp in (8, 32) and bpp == im['bpp'], str(bpp))
        xor = im['w'] * im['h'] * bpp // 8
        mask = ((im['w'] + 31) // 32) * 4 * im['h']
        pal = 4 * 256 if bpp == 8 else 0
        check(tag + ' size matches its masks', im['size'] == 40 + pal + xor + mask,
              '%d != %d' % (im['size'], 40 + pal + xor + mask))
        if bpp == 32:
            px = data[im['off'] + 40:im['off'] + 40 + xor]
            opaque = sum(px[3::4][k] == 255 for k in range(im['w'] * im['h']))
            check(tag + ' shows a picture', opaque > im['w'] * im['h'] // 4)


# ---------------------------------------------------------------- WAV

def test_wav(name, seamless):
    data = read(name)
    ok = check(name + ' canonical RIFF/WAVE header',
               len(data) >= 44 and data[0:4] == b'RIFF' and data[8:16] == b'WAVE' + b'fmt ' and
               data[36:40] == b'data')
    if not ok:
        return
    riff = struct.unpack_from('<I', data, 4)[0]
    fmt_len, fmt, ch, rate, brate, align, bits = struct.unpack_from('<IHHIIHH', data, 16)
    dlen = struct.unpack_from('<I', data, 40)[0]
    check(name + ' RIFF length', riff == len(data) - 8, '%d vs %d' % (riff, len(data) - 8))
    check(name + ' is PCM, mono, 22050 Hz, 8 bits',
          (fmt_len, fmt, ch, rate, brate, align, bits) == (16, 1, 1, 22050, 22050, 1, 8),
          str((fmt_len, fmt, ch, rate, brate, align, bits)))
    check(name + ' data length', dlen == len(data) - 44, '%d vs %d' % (dlen, len(data) - 44))
    s = data[44:44 + dlen]
    check(name + ' lasts at most 6 s', 0 < len(s) <= 6 * 22050, '%.2f s' % (len(s) / 22050))
    check(name + ' is not clipped (25..230)', min(s) >= 25 and max(s) <= 230, '%d..%d' % (min(s), max(s)))
    check(name + ' is audible', max(s) - min(s) >= 60, '%d..%d' % (min(s), max(s)))
    inner = max(abs(s[k] - s[k - 1]) for k in range(1, len(s)))
    seam = abs(s[-1] - s[0])
    check(name + ' loop seam: last sample close to the first', seam <= 3, str(seam))
    if seamless:
        check(name + ' loop seam is no bigger than a step inside', seam <= inner, '%d > %d' % (seam, inner))


def test_previews():
    for name in ['contact-sheet.png']:
        p = os.path.join(ROOT, 'docs', 'art', name)
        ok = os.path.exists(p)
        if ok:
            with open(p, 'rb') as f:
                ok = f.read(8) == b'\x89PNG\r\n\x1a\n'
        check('docs/art/%s exists' % name, ok)


def main():
    test_regenerates_identically()
    frames = load_frames()
    test_frames(frames)
    test_caption_frames(frames)
    test_sequences(frames)
    test_panel()
    test_icon('mascot.ico', (16, 32, 48))
    test_icon('tray.ico', (16, 20, 24, 32))
    test_wav('breeze.wav', True)
    test_wav('alarm.wav', True)
    test_previews()
    print('%d passed, %d failed' % (passed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
