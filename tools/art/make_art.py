#!/usr/bin/env python3
"""Builds the mascot's sprites, panel, icons and sounds from the text sources
in res/art.  Standard library only; the output is byte-for-byte deterministic.

    python3 tools/art/make_art.py [--out DIR]

Writes frame00.bmp .. frame25.bmp, panel.bmp, mascot.ico, tray.ico,
breeze.wav and alarm.wav into DIR (default res/generated).
"""
import argparse
import math
import os
import struct
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
ART = os.path.join(ROOT, 'res', 'art')

FRAME_W = FRAME_H = 40
FRAME_COUNT = 26
KEY = (255, 0, 255)
TRANSPARENT = '.'          # in parts: leave what is underneath
KEY_CHAR = '_'             # the background; must be the first palette entry


# ---------------------------------------------------------------- sources

def read_palette(path):
    """Lines 'c R G B [name]'.  Order gives the BMP palette index."""
    chars, colours = [], {}
    with open(path, encoding='utf-8') as f:
        for n, line in enumerate(f, 1):
            line = line.split('#', 1)[0].strip()
            if not line:
                continue
            bits = line.split()
            c = bits[0]
            if len(c) != 1 or c == TRANSPARENT or c in colours:
                raise SystemExit('%s:%d: bad or repeated palette character %r' % (path, n, c))
            rgb = tuple(int(v) for v in bits[1:4])
            if c != KEY_CHAR and rgb == KEY:
                raise SystemExit('%s:%d: only %r may be the key colour' % (path, n, KEY_CHAR))
            chars.append(c)
            colours[c] = rgb
    if not chars or chars[0] != KEY_CHAR or colours[KEY_CHAR] != KEY:
        raise SystemExit('%s: first entry must be %r = 255 0 255' % (path, KEY_CHAR))
    if len(chars) > 256:
        raise SystemExit('%s: more than 256 colours' % path)
    return chars, colours


def read_parts(folder):
    """Every *.txt in folder holds parts:  '[name]' then rows, ended by a blank
    line.  Rows may differ in length (short rows are padded with '.')."""
    parts = {}
    for fn in sorted(os.listdir(folder)):
        if not fn.endswith('.txt'):
            continue
        path = os.path.join(folder, fn)
        name, rows = None, []

        def flush():
            if name is not None:
                if name in parts:
                    raise SystemExit('%s: part %r defined twice' % (path, name))
                w = max(len(r) for r in rows) if rows else 0
                parts[name] = [r.ljust(w, TRANSPARENT) for r in rows]

        with open(path, encoding='utf-8') as f:
            for line in f:
                line = line.rstrip('\n').rstrip()
                if line.startswith('[') and line.endswith(']'):
                    flush()
                    name, rows = line[1:-1].strip(), []
                elif name is not None and line and not line.startswith(';'):
                    rows.append(line)
                elif not line and name is not None:
                    flush()
                    name, rows = None, []
            flush()
    return parts


def read_frames(path):
    """The frame list.  Syntax (one directive per line, '#' comments):

        group NAME            start a reusable list of layers
        frame N  description  start frame N (0-based)
          use NAME            paste a group's layers here
          PART X Y [opts]     paint PART with its top-left at (X, Y)
        opts:  flip           mirror left-right
               a=b            paint character a as b (several allowed)
    """
    groups, frames, cur = {}, {}, None
    with open(path, encoding='utf-8') as f:
        for n, raw in enumerate(f, 1):
            line = raw.split('#', 1)[0].strip()
            if not line:
                continue
            bits = line.split()
            if bits[0] == 'group':
                cur = groups.setdefault(bits[1], [])
            elif bits[0] == 'frame':
                idx = int(bits[1])
                if idx in frames:
                    raise SystemExit('%s:%d: frame %d twice' % (path, n, idx))
                cur = frames[idx] = []
            elif cur is None:
                raise SystemExit('%s:%d: layer outside a group or frame' % (path, n))
            elif bits[0] == 'use':
                if bits[1] not in groups:
                    raise SystemExit('%s:%d: unknown group %r' % (path, n, bits[1]))
                cur.extend(groups[bits[1]])
            else:
                opts = {'flip': False, 'map': {}}
                for o in bits[3:]:
                    if o == 'flip':
                        opts['flip'] = True
                    elif len(o) == 3 and o[1] == '=':
                        opts['map'][o[0]] = o[2]
                    else:
                        raise SystemExit('%s:%d: bad option %r' % (path, n, o))
                cur.append((bits[0], int(bits[1]), int(bits[2]), opts, '%s:%d' % (path, n)))
    return frames


def paint(canvas, part, x0, y0, opts, colours, where):
    for dy, row in enumerate(part):
        if opts['flip']:
            row = row[::-1]
        for dx, c in enumerate(row):
            if c == TRANSPARENT:
                continue
            c = opts['map'].get(c, c)
            if c not in colours:
                raise SystemExit('%s: character %r is not in the palette' % (where, c))
            x, y = x0 + dx, y0 + dy
            if 0 <= x < len(canvas[0]) and 0 <= y < len(canvas):
                canvas[y][x] = c


def compose_frames(chars, colours, parts, frames):
    out = []
    for i in range(FRAME_COUNT):
        if i not in frames:
            raise SystemExit('frames.txt: frame %d is missing' % i)
        canvas = [[KEY_CHAR] * FRAME_W for _ in range(FRAME_H)]
        for name, x, y, opts, where in frames[i]:
            if name not in parts:
                raise SystemExit('%s: unknown part %r' % (where, name))
            paint(canvas, parts[name], x, y, opts, colours, where)
        out.append([''.join(r) for r in canvas])
    return out


# ---------------------------------------------------------------- writers

def bmp8(width, height, rows, palette):
    """rows: top-down lists of palette indices.  Stored bottom-up."""
    stride = (width + 3) & ~3
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    pal += b'\0' * (4 * 256 - len(pal))
    pixels = b''.join(bytes(rows[y]) + b'\0' * (stride - width)
                      for y in range(height - 1, -1, -1))
    off = 14 + 40 + len(pal)
    head = struct.pack('<2sIHHI', b'BM', off + len(pixels), 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(pixels),
                       2835, 2835, 256, 0)
    return head + info + pal + pixels


def bmp24(width, height, rgb_rows):
    stride = (width * 3 + 3) & ~3
    pixels = b''
    for y in range(height - 1, -1, -1):
        line = b''.join(struct.pack('<BBB', b, g, r) for r, g, b in rgb_rows[y])
        pixels += line + b'\0' * (stride - len(line))
    off = 14 + 40
    head = struct.pack('<2sIHHI', b'BM', off + len(pixels), 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    return head + info + pixels


def ico(images):
    """images: list of (size, rows) with rows top-down lists of (r,g,b,a).
    Each image is a 32-bit BGRA DIB with an AND mask (1 = see-through)."""
    blobs = []
    for size, rows in images:
        xor = b''
        for y in range(size - 1, -1, -1):
            xor += b''.join(struct.pack('<BBBB', b, g, r, a) for r, g, b, a in rows[y])
        mstride = ((size + 31) // 32) * 4
        mask = b''
        for y in range(size - 1, -1, -1):
            bits = bytearray(mstride)
            for x in range(size):
                if rows[y][x][3] < 128:
                    bits[x >> 3] |= 0x80 >> (x & 7)
            mask += bytes(bits)
        info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                           len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append((size, info + xor + mask))
    out = struct.pack('<HHH', 0, 1, len(blobs))
    off = 6 + 16 * len(blobs)
    for size, blob in blobs:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), off)
        off += len(blob)
    return out + b''.join(blob for _, blob in blobs)


def wav8(samples, rate=22050):
    data = bytes(samples)
    if len(data) % 2:
        raise ValueError('keep the sample count even (no RIFF pad byte)')
    fmt = struct.pack('<4sIHHIIHH', b'fmt ', 16, 1, 1, rate, rate, 1, 8)
    body = b'WAVE' + fmt + struct.pack('<4sI', b'data', len(data)) + data
    return struct.pack('<4sI', b'RIFF', len(body)) + body


# ---------------------------------------------------------------- panel

def panel_pixels(w=160, h=60):
    """Soft pastel paper: a faint vertical wash, a light fibre grain from a
    seeded generator, a thin rounded border and a pale inner rule."""
    import random
    rnd = random.Random(1207)
    top, bottom = (255, 251, 240), (250, 243, 232)
    rows = []
    for y in range(h):
        t = y / (h - 1)
        base = [round(top[i] + (bottom[i] - top[i]) * t) for i in range(3)]
        row = []
        for x in range(w):
            g = rnd.choice((0, 0, 0, 0, -1, -2, 1))
            row.append([min(255, max(0, v + g)) for v in base])
        rows.append(row)
    border, rule, corner = (214, 196, 210), (240, 226, 236), (250, 243, 232)
    for y in range(h):
        for x in range(w):
            edge = min(x, y, w - 1 - x, h - 1 - y)
            cx = min(x, w - 1 - x)
            cy = min(y, h - 1 - y)
            if cx + cy < 2:                       # clipped corners
                rows[y][x] = list(corner)
            elif edge == 0 or (cx + cy == 2):
                rows[y][x] = list(border)
            elif edge == 3 and cx >= 3 and cy >= 3:
                rows[y][x] = list(rule)
    return [[tuple(p) for p in r] for r in rows]


# ---------------------------------------------------------------- icons

def icon_image(part, colours, size, scale=1):
    """A size x size RGBA image with `part` drawn `scale` times larger and
    centred.  '.' and the key colour become fully see-through."""
    ph, pw = len(part) * scale, len(part[0]) * scale
    if ph > size or pw > size:
        raise SystemExit('icon part is larger than %d x %d' % (size, size))
    top, left = (size - ph) // 2, (size - pw) // 2
    rows = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for y in range(ph):
        for x in range(pw):
            c = part[y // scale][x // scale]
            if c not in (TRANSPARENT, KEY_CHAR):
                rows[top + y][left + x] = colours[c] + (255,)
    return rows


def icon_images(parts, colours):
    """16, 20 and 32: hand-drawn faces; 24: the sprite head as it is; 48:
    the sprite head at twice the size.  The notification area asks for 16,
    20, 24 or 32 pixels at 100, 125, 150 and 200 % display scale."""
    head = parts['head_front']
    return {16: icon_image(parts['icon16'], colours, 16),
            20: icon_image(parts['icon20'], colours, 20),
            24: icon_image(head, colours, 24),
            32: icon_image(parts['icon32'], colours, 32),
            48: icon_image(head, colours, 48, 2)}


# ---------------------------------------------------------------- sounds

RATE = 22050


def to_u8(signal, peak):
    """Scale floats so the largest magnitude maps to `peak` (0..1 of full
    scale) and store as unsigned 8-bit around 128."""
    m = max(abs(v) for v in signal) or 1.0
    return [max(0, min(255, 128 + int(round(v / m * peak * 127)))) for v in signal]


def _loop_lowpass(signal, alpha, passes=2):
    """One-pole low-pass run round a loop: the filter is run over the loop
    `passes` times and the last pass kept, so the output is periodic too."""
    y, out = 0.0, list(signal)
    for _ in range(passes):
        for k, v in enumerate(signal):
            y += alpha * (v - y)
            out[k] = y
    return out


def breeze_samples():
    """Glass wind-chime strikes over a soft rush of air, 4 seconds.

    The sound is built as one period of a loop: every chime partial has a
    whole number of cycles in the loop, each strike's ringing tail wraps
    round to the start, and the air is noise smoothed round the loop.  So
    the last sample leads straight into the first when the sound repeats.
    The noise comes from a seeded generator, so the output never changes.
    """
    import random
    seconds = 4.0
    n = int(RATE * seconds)
    out = [0.0] * n
    # (start s, fundamental Hz, strength): a light, uneven tinkle
    strikes = [(0.12, 2093.0, 1.0), (0.58, 2637.0, 0.55), (1.30, 2349.3, 0.8),
               (1.52, 3136.0, 0.4), (2.35, 2093.0, 0.65), (2.62, 2793.8, 0.45)]
    # glass partials: (frequency ratio, level, decay per second)
    partials = [(1.0, 1.0, 2.4), (2.71, 0.30, 4.5), (4.96, 0.12, 7.0)]
    attack = 30
    for t0, f0, amp in strikes:
        s0 = int(t0 * RATE)
        for ratio, level, decay in partials:
            f = round(f0 * ratio * seconds) / seconds   # whole cycles per loop
            if f > RATE / 2 - 500:
                continue
            w = 2 * math.pi * f / RATE
            d = math.exp(-decay / RATE)
            env = amp * level
            for k in range(n):
                a = env * (k / attack if k < attack else 1.0)
                out[(s0 + k) % n] += a * math.sin(w * (s0 + k))
                env *= d
    # the air: smoothed noise that swells and fades twice per loop
    rnd = random.Random(20240607)
    noise = [rnd.uniform(-1.0, 1.0) for _ in range(n)]
    soft = _loop_lowpass(noise, 0.06)
    softer = _loop_lowpass(soft, 0.02)
    for k in range(n):
        swell = 0.55 + 0.45 * math.sin(2 * math.pi * 2 * k / n - math.pi / 2)
        out[k] += 1.3 * (soft[k] - 0.5 * softer[k]) * swell
    # start the loop at its quietest moment, where it is smoothest
    best = min(range(n), key=lambda k: abs(out[k] - out[k - 1]) + abs(out[k]) * 0.05)
    out = out[best:] + out[:best]
    return to_u8(out, 0.6)


def alarm_samples():
    """An alarm clock: four quick bright beeps and a short pause, twice.
    The tone is square-ish (odd harmonics) with 4 ms fades on every edge;
    the file starts and ends in silence, so it loops without a click."""
    seconds = 2.0
    n = int(RATE * seconds)
    out = [0.0] * n
    f = 2048.0
    w = 2 * math.pi * f / RATE
    beep, step, fade = int(0.085 * RATE), int(0.135 * RATE), int(0.004 * RATE)
    for group in range(2):
        for i in range(4):
            start = int((0.02 + group * 1.0) * RATE) + i * step
            for k in range(beep):
                g = min(1.0, k / fade, (beep - 1 - k) / fade)
                x = w * k
                out[start + k] += g * (math.sin(x) + math.sin(3 * x) / 3 + math.sin(5 * x) / 8)
    return to_u8(out, 0.62)


# ---------------------------------------------------------------- main

def build(out_dir):
    chars, colours = read_palette(os.path.join(ART, 'palette.txt'))
    parts = read_parts(os.path.join(ART, 'parts'))
    frames = read_frames(os.path.join(ART, 'frames.txt'))
    index = {c: i for i, c in enumerate(chars)}
    palette = [colours[c] for c in chars]
    os.makedirs(out_dir, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(data)

    for i, img in enumerate(compose_frames(chars, colours, parts, frames)):
        if img[0][0] != KEY_CHAR:
            raise SystemExit('frame %d: top-left pixel must be the key colour' % i)
        write('frame%02d.bmp' % i, bmp8(FRAME_W, FRAME_H, [[index[c] for c in r] for r in img], palette))

    write('panel.bmp', bmp24(160, 60, panel_pixels()))
    icons = icon_images(parts, colours)
    write('mascot.ico', ico([(n, icons[n]) for n in (16, 20, 24, 32, 48)]))
    write('tray.ico', ico([(n, icons[n]) for n in (16, 20, 24, 32)]))
    write('breeze.wav', wav8(breeze_samples()))
    write('alarm.wav', wav8(alarm_samples()))


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--out', default=os.path.join(ROOT, 'res', 'generated'),
                    help='output folder (default: res/generated)')
    args = ap.parse_args(argv)
    build(args.out)


if __name__ == '__main__':
    main()
