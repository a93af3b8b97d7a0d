#!/usr/bin/env python3
"""Draws the sample game's pictures and writes them as PNG files into game/Data/Images/.

Everything is drawn from code and data in this file (no fonts or pictures are read), so the
output is the same on every machine. The art is pixel art meant to be drawn with nearest
filtering at two world units per pixel, in one warm late-afternoon palette.

Run it from anywhere: python3 tools/make_game_art.py
"""

import math
import os
import random
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "game", "Data", "Images")

# --------------------------------------------------------------------------------------------
# PNG writing (8-bit RGBA, adaptive row filters, best zlib compression)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_row(kind, row, prev):
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = row[i - 4] if i >= 4 else 0
        b = prev[i]
        c = prev[i - 4] if i >= 4 else 0
        if kind == 0:
            p = 0
        elif kind == 1:
            p = a
        elif kind == 2:
            p = b
        elif kind == 3:
            p = (a + b) // 2
        else:
            p = _paeth(a, b, c)
        out[i] = (x - p) & 0xFF
    return out


def _chunk(kind, data):
    crc = zlib.crc32(kind + data) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)


def write_png(path, canvas):
    raw = bytearray()
    prev = bytes(canvas.w * 4)
    for y in range(canvas.h):
        row = bytearray()
        for x in range(canvas.w):
            r, g, b, a = canvas.get(x, y)
            # Fully transparent pixels carry no colour: it compresses better.
            row += bytes((r, g, b, a)) if a else b"\0\0\0\0"
        # The filter whose output has the smallest sum of magnitudes usually compresses best.
        best = min((_filter_row(k, row, prev) for k in range(5)),
                   key=lambda f: sum(v if v < 128 else 256 - v for v in f))
        raw.append([_filter_row(k, row, prev) for k in range(5)].index(best))
        raw += best
        prev = row
    header = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0)
    data = (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header) +
            _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)
    return len(data)


# --------------------------------------------------------------------------------------------
# A small RGBA canvas, (0, 0) at the top-left corner, y growing downwards


def hexc(text, a=255):
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), a)


CLEAR = (0, 0, 0, 0)


class Canvas:
    def __init__(self, w, h, fill=CLEAR):
        self.w, self.h = w, h
        self.px = [fill] * (w * h)

    def get(self, x, y):
        return self.px[y * self.w + x]

    def inside(self, x, y):
        return 0 <= x < self.w and 0 <= y < self.h

    def set(self, x, y, c):
        if self.inside(x, y):
            self.px[y * self.w + x] = c

    def set_wrapped(self, x, y, c):
        if 0 <= y < self.h:
            self.px[y * self.w + x % self.w] = c

    def opaque(self, x, y):
        return self.inside(x, y) and self.get(x, y)[3] > 0

    def rect(self, x0, y0, w, h, c):
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                self.set(x, y, c)

    def ellipse(self, cx, cy, rx, ry, c):
        """Fills the pixels whose centres lie inside the ellipse."""
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
            for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
                dx = (x + 0.5 - cx) / rx
                dy = (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    self.set(x, y, c)

    def blit(self, src, ox, oy):
        for y in range(src.h):
            for x in range(src.w):
                c = src.get(x, y)
                if c[3]:
                    self.set(ox + x, oy + y, c)

    def outline(self, colour, diagonal=False):
        """Puts colour on every transparent pixel that touches an opaque one."""
        near = [(1, 0), (-1, 0), (0, 1), (0, -1)]
        if diagonal:
            near += [(1, 1), (-1, 1), (1, -1), (-1, -1)]
        marks = [(x, y) for y in range(self.h) for x in range(self.w)
                 if not self.opaque(x, y) and any(self.opaque(x + dx, y + dy) for dx, dy in near)]
        for x, y in marks:
            self.set(x, y, colour)


def mix(c1, c2, t):
    return tuple(int(round(c1[i] + (c2[i] - c1[i]) * t)) for i in range(4))


def gradient(stops, t):
    """Colour at t (0..1) along a list of (position, colour) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0))
    return stops[-1][1]


def periodic_noise(x, period, seed, octaves=((1, 1.0),)):
    """Smooth noise in -1..1 that repeats every period pixels (sums of whole-period sines)."""
    rng = random.Random(seed)
    v = total = 0.0
    for freq, amp in octaves:
        phase = rng.uniform(0, 2 * math.pi)
        v += amp * math.sin(2 * math.pi * freq * x / period + phase)
        total += amp
    return v / total


def hash01(*values):
    """A fixed pseudo-random number in 0..1 for a tuple of integers."""
    h = 2166136261
    for v in values:
        h = ((h ^ (v & 0xFFFFFFFF)) * 16777619) & 0xFFFFFFFF
    h ^= h >> 13
    h = (h * 1274126177) & 0xFFFFFFFF
    return (h & 0xFFFFFF) / float(0x1000000)


# --------------------------------------------------------------------------------------------
# Palette

INK = hexc("1e1a2b")  # the outline of every character and object

SKY_TOP = hexc("26346a")
SKY = [(0.00, SKY_TOP), (0.16, SKY_TOP), (0.42, hexc("4668a8")), (0.62, hexc("8db0d6")),
       (0.74, hexc("e8d6bd")), (0.84, hexc("f5c08e")), (1.00, hexc("ef9f72"))]

GRASS_LIGHT, GRASS, GRASS_DARK, GRASS_SHADE = (hexc("9ad65e"), hexc("64b043"), hexc("3f8634"),
                                               hexc("2c5f2d"))
DIRT_LIGHT, DIRT, DIRT_DARK, DIRT_DEEP = (hexc("a9774c"), hexc("8a5a3b"), hexc("6b422d"),
                                          hexc("4e2d22"))
STONE_LIGHT, STONE, STONE_DARK = hexc("b3aba2"), hexc("857b73"), hexc("5b524e")
BRICK_LIGHT, BRICK, BRICK_DARK, BRICK_DEEP = (hexc("a6a8c0"), hexc("7f819e"), hexc("5d5e7b"),
                                              hexc("40405a"))
WOOD_LIGHT, WOOD, WOOD_DARK = hexc("b98552"), hexc("8d5d36"), hexc("5f3c25")
GOLD_LIGHT, GOLD, GOLD_MID, GOLD_DARK = (hexc("fff2a8"), hexc("ffd34a"), hexc("f0a020"),
                                         hexc("b8690f"))
FLAME = [hexc("fffbe0"), hexc("ffe27a"), hexc("ffab2e"), hexc("e85a1e"), hexc("a8301c")]
RED_LIGHT, RED, RED_DARK = hexc("ff8a8a"), hexc("e2434e"), hexc("9e2236")
WHITE = hexc("ffffff")

# --------------------------------------------------------------------------------------------
# The pixel font: 5 x 7 capitals and digits, lower case with two rows of descenders.
# '#' is ink; each glyph is as wide as its rows.

GLYPHS = {
    " ": ["...", "...", "...", "...", "...", "...", "..."],
    "!": ["#", "#", "#", "#", "#", ".", "#"],
    '"': ["#.#", "#.#", "...", "...", "...", "...", "..."],
    "#": [".....", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", "....."],
    "$": ["..#..", ".####", "#.#..", ".###.", "..#.#", "####.", "..#.."],
    "%": ["##...", "##..#", "...#.", "..#..", ".#...", "#..##", "...##"],
    "&": [".##..", "#..#.", "#.#..", ".#...", "#.#.#", "#..#.", ".##.#"],
    "'": ["#", "#", ".", ".", ".", ".", "."],
    "(": [".#", "#.", "#.", "#.", "#.", "#.", ".#"],
    ")": ["#.", ".#", ".#", ".#", ".#", ".#", "#."],
    "*": [".....", "#.#.#", ".###.", "#####", ".###.", "#.#.#", "....."],
    "+": [".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."],
    ",": ["..", "..", "..", "..", "..", ".#", ".#", "#."],
    "-": ["....", "....", "....", "####", "....", "....", "...."],
    ".": [".", ".", ".", ".", ".", ".", "#"],
    "/": ["....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": [".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    ":": [".", ".", "#", ".", ".", "#", "."],
    ";": ["..", "..", ".#", "..", "..", ".#", ".#", "#."],
    "<": ["...#", "..#.", ".#..", "#...", ".#..", "..#.", "...#"],
    "=": ["....", "....", "####", "....", "####", "....", "...."],
    ">": ["#...", ".#..", "..#.", "...#", "..#.", ".#..", "#..."],
    "?": [".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."],
    "@": [".###.", "#...#", "#.###", "#.#.#", "#.###", "#....", ".####"],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "[": ["##", "#.", "#.", "#.", "#.", "#.", "##"],
    "\\": ["#....", "#....", ".#...", "..#..", "...#.", "....#", "....#"],
    "]": ["##", ".#", ".#", ".#", ".#", ".#", "##"],
    "^": ["..#..", ".#.#.", "#...#", ".....", ".....", ".....", "....."],
    "_": [".....", ".....", ".....", ".....", ".....", ".....", "#####"],
    "`": ["#.", ".#", "..", "..", "..", "..", ".."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "b": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "####."],
    "c": [".....", ".....", ".###.", "#....", "#....", "#...#", ".###."],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "f": ["..##", ".#..", ".#..", "###.", ".#..", ".#..", ".#.."],
    "g": [".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "h": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "#...#"],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    "j": ["..#", "...", "..#", "..#", "..#", "..#", "..#", "#.#", ".#."],
    "k": ["#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"],
    "l": ["#.", "#.", "#.", "#.", "#.", "#.", ".#"],
    "m": [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    "n": [".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "p": [".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."],
    "q": [".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", "....#"],
    "r": ["....", "....", "#.##", "##..", "#...", "#...", "#..."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    "t": [".#..", ".#..", "###.", ".#..", ".#..", ".#..", "..##"],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####"],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "x": [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
    "y": [".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "z": [".....", ".....", "#####", "...#.", "..#..", ".#...", "#####"],
    "{": ["..#", ".#.", ".#.", "#..", ".#.", ".#.", "..#"],
    "|": ["#", "#", "#", "#", "#", "#", "#"],
    "}": ["#..", ".#.", ".#.", "..#", ".#.", ".#.", "#.."],
    "~": [".....", ".....", ".#...", "#.#.#", "...#.", ".....", "....."],
}


def glyph(ch):
    rows = GLYPHS[ch]
    assert len(set(len(r) for r in rows)) == 1, ch
    return rows


def glyph_pixels(ch):
    return [(x, y) for y, row in enumerate(glyph(ch)) for x, c in enumerate(row) if c == "#"]


# --------------------------------------------------------------------------------------------
# Fonts


def font_marker():
    """The proportional font "font": bands 32 pixels high, one marker run per letter on each
    band's bottom row, letters in code order from 32 (space) to 126 (~). Glyphs are the pixel
    font at three times its size, white with a dark drop shadow, each run one font pixel wider
    than its glyph so letters set side by side keep a gap."""
    scale, band, width = 3, 32, 512
    top = 2  # the capital line in the band
    marker = hexc("ff00ff")
    shadow = hexc("231a33", 210)
    codes = [chr(c) for c in range(32, 127)]
    runs, x, k = [], 0, 0
    for ch in codes:
        w = (len(glyph(ch)[0]) + 1) * scale
        if x + w > width:
            k, x = k + 1, 0
        runs.append((ch, k, x, w))
        x += w + 1  # one transparent marker pixel between runs
    bands = k + 1
    height = 1
    while height < bands * band:
        height *= 2
    c = Canvas(width, height)
    for ch, k, x, w in runs:
        y0 = k * band
        pixels = glyph_pixels(ch)
        for layer, dx, dy, colour in ((0, scale // 3 + 1, scale // 3 + 1, shadow),
                                      (1, 0, 0, WHITE)):
            for gx, gy in pixels:
                for sy in range(scale):
                    for sx in range(scale):
                        px, py = x + gx * scale + sx + dx, y0 + top + gy * scale + sy + dy
                        # Letters keep inside their run and above the marker row.
                        if x <= px < x + w and py < y0 + band - 1:
                            if layer == 1 or not c.opaque(px, py):
                                c.set(px, py, colour)
        for mx in range(x, x + w):
            c.set(mx, y0 + band - 1, marker)
    assert len(runs) == 95
    return c


def font_grid():
    """The fixed-cell font "small_font": 8 x 8 cells, 32 to a row, codes 32 to 95 (space,
    punctuation, digits and capitals), white glyphs with a one-pixel shadow."""
    c = Canvas(256, 16)
    shadow = hexc("231a33", 210)
    for i, code in enumerate(range(32, 96)):
        ch = chr(code)
        cx, cy = (i % 32) * 8, (i // 32) * 8
        w = len(glyph(ch)[0])
        ox = cx + 1 + (5 - w) // 2
        for colour, d in ((shadow, 1), (WHITE, 0)):
            for gx, gy in glyph_pixels(ch):
                x, y = ox + gx + d, cy + gy + d
                if cx <= x < cx + 8 and cy <= y < cy + 8:
                    if colour is WHITE or not c.opaque(x, y):
                        c.set(x, y, colour)
    return c


# --------------------------------------------------------------------------------------------
# Sky, sun and glow


def sky():
    """A vertical gradient: deep blue at the top (flat over the top sixth), warm near the
    horizon. Drawn stretched over the whole view."""
    c = Canvas(4, 128)
    for y in range(c.h):
        colour = gradient(SKY, y / (c.h - 1))
        for x in range(c.w):
            c.set(x, y, colour)
    return c


def sun():
    c = Canvas(32, 32)
    c.ellipse(16, 16, 15, 15, hexc("ffd98c"))
    c.ellipse(16, 16, 13.5, 13.5, hexc("ffeab5"))
    c.ellipse(16, 16, 11, 11, hexc("fff6dc"))
    return c


def glow():
    """A soft white disc whose alpha falls to 0 at the edge; layers with additive blending
    tint it with the sprite colour."""
    c = Canvas(64, 64)
    for y in range(64):
        for x in range(64):
            r = math.hypot(x + 0.5 - 32, y + 0.5 - 32) / 32
            if r < 1:
                a = (1 - r) ** 2 * (0.6 + 0.4 * (1 - r))
                c.set(x, y, (255, 255, 255, int(round(255 * a))))
    return c


# --------------------------------------------------------------------------------------------
# Backdrops (every one wraps seamlessly left to right)


def clouds():
    """Six clouds of round puffs on flat bases, in four warm shades."""
    w, h = 512, 64
    c = Canvas(w, h)
    light_c = hexc("fff8ee")
    mid = hexc("f4e0d6")
    shade = hexc("d4bccb")
    deep = hexc("ab96b6")
    rng = random.Random(7)
    # (centre x, base y, width): the puffs of each cloud stand on a flat base.
    clusters = [(40, 52, 80), (140, 36, 44), (220, 58, 74), (300, 30, 30), (378, 50, 96),
                (468, 40, 52)]
    puffs = []
    for cx, base, width in clusters:
        n = max(3, width // 12)
        for i in range(n):
            t = (i + 0.5) / n
            x = cx - width / 2 + t * width + rng.uniform(-3, 3)
            # Taller puffs in the middle of a cloud.
            r = (0.35 + 0.65 * math.sin(math.pi * t)) * min(18, width / 3.2) + rng.uniform(-1, 2)
            puffs.append((x, base - r * 0.55, r, base))
        for _ in range(width // 30):
            x = cx + rng.uniform(-width / 4, width / 4)
            r = rng.uniform(7, 11) * min(1.0, width / 50)
            puffs.append((x, base - r * 0.55 - rng.uniform(6, 10), r, base))
    # Each puff is a half sphere seen from the front; the frontmost one at a pixel gives its
    # surface normal, lit from the upper right where the sun is.
    light = (0.45, -0.6, 0.66)
    for y in range(h):
        for x in range(w):
            best = None
            for px, py, r, base in puffs:
                if y >= base:
                    continue
                dx = (x + 0.5 - px + w / 2) % w - w / 2
                dy = y + 0.5 - py
                d2 = r * r - dx * dx - dy * dy
                if d2 >= 0:
                    z = math.sqrt(d2)
                    if best is None or z > best[0]:
                        best = (z, dx / r, dy / r, z / r, base)
            if best is None:
                continue
            _, nx, ny, nz, base = best
            lit = nx * light[0] + ny * light[1] + nz * light[2]
            if base - y <= 2:
                colour = deep if base - y <= 1 else shade
            elif lit > 0.78:
                colour = light_c
            elif lit > 0.45:
                colour = mid
            elif lit > 0.1:
                colour = shade
            else:
                colour = deep
            c.set(x, y, colour)
    return c


def ridge(x, period, peaks, seed, jag):
    """Height (pixels from the bottom) of a mountain line made of peaks that wrap around."""
    best, owner = 0.0, None
    for i, (px, ph, slope) in enumerate(peaks):
        dx = (x - px + period / 2) % period - period / 2
        v = ph - abs(dx) * slope
        if v > best:
            best, owner = v, (i, dx)
    best += jag * periodic_noise(x, period, seed, ((18, 1.0), (34, 0.6), (62, 0.35)))
    return best, owner


def mountains():
    """A range of peaks, sunny on the right faces, snow on the tallest, haze at the foot."""
    w, h = 512, 128
    c = Canvas(w, h)
    lit, shadow = hexc("8f8bbd"), hexc("615d93")
    snow_lit, snow_shadow = hexc("eef0fa"), hexc("b4b8dc")
    haze = [hexc("a29ec9"), hexc("b3acd0"), hexc("c2b7d2")]
    peaks = [(20, 112, 1.05), (78, 84, 0.9), (140, 122, 1.15), (200, 92, 0.95), (236, 70, 1.2),
             (300, 104, 1.0), (352, 76, 1.1), (412, 118, 1.05), (476, 86, 0.95)]
    for x in range(w):
        top, owner = ridge(x, w, peaks, 3, 2.5)
        i, dx = owner
        peak_h = peaks[i][1]
        for y in range(h):
            up = h - 1 - y  # pixels above the bottom
            if up > top:
                continue
            # The crease between the sunny and the shaded face leans a little and wanders.
            crease = (peak_h - up) * 0.35 + 3 * periodic_noise(up, 128, 11 + i, ((5, 1), (11, .5)))
            sunny = dx > -crease * 0.4 + 1
            colour = lit if sunny else shadow
            snow_line = peak_h - 16 - 5 * periodic_noise(x, w, 23, ((26, 1.0), (58, 0.7)))
            if peak_h > 95 and up > snow_line:
                colour = snow_lit if sunny else snow_shadow
            # Atmospheric haze thickens towards the foot of the range, in three bands.
            for j, band_top in enumerate((34, 22, 12)):
                if up < band_top + 2 * periodic_noise(x, w, 40 + j, ((14, 1.0),)):
                    colour = haze[j]
            c.set(x, y, colour)
    return c


def hills():
    """Two rows of rolling hills: a hazy one with a line of woods, a green one with trees."""
    w, h = 512, 128
    c = Canvas(w, h)
    back, back_dark = hexc("6f9f7a"), hexc("5b8c6c")
    front, front_light, front_dark = hexc("4f9a50"), hexc("78be5d"), hexc("3c7d45")
    tree, tree_light, trunk = hexc("2f6a3f"), hexc("4b8e4c"), hexc("4a3428")
    # Back hills with a soft row of trees along their top.
    for x in range(w):
        top = 74 + 10 * periodic_noise(x, w, 5, ((2, 1.0), (3, 0.6), (10, 0.25)))
        for y in range(h):
            if h - 1 - y <= top:
                c.set(x, y, back)
    rng = random.Random(12)
    for i in range(48):
        x = int(i * w / 48 + rng.uniform(-3, 3))
        top = 74 + 10 * periodic_noise(x, w, 5, ((2, 1.0), (3, 0.6), (10, 0.25)))
        r = rng.uniform(4, 7)
        cy = h - 1 - top + 1
        for yy in range(int(cy - r) - 1, int(cy + r) + 2):
            for xx in range(int(x - r) - 1, int(x + r) + 2):
                if math.hypot(xx + 0.5 - x, yy + 0.5 - cy) <= r:
                    c.set_wrapped(xx, yy, back_dark)
    # Front hills: brighter, a lit rim, and round trees and firs standing on the crest.
    def front_top(x):
        return 44 + 14 * periodic_noise(x, w, 9, ((2, 1.0), (5, 0.45), (12, 0.15)))

    for x in range(w):
        top = front_top(x)
        slope = front_top(x + 1) - front_top(x - 1)
        for y in range(h):
            up = h - 1 - y
            if up > top:
                continue
            depth = top - up
            if depth < 2 and slope <= 0.4:
                colour = front_light
            elif up < 14:
                colour = front_dark
            else:
                colour = front
            c.set(x, y, colour)
    for i, (x, kind) in enumerate([(14, "round"), (26, "fir"), (60, "round"), (104, "fir"),
                                    (112, "fir"), (150, "round"), (196, "round"), (206, "fir"),
                                    (238, "round"), (290, "fir"), (330, "round"), (342, "round"),
                                    (384, "fir"), (430, "round"), (470, "fir"), (480, "fir")]):
        base = h - 1 - int(front_top(x)) + 2
        if kind == "round":
            r = 7 + (i % 3)
            for yy in range(base - 5, base + 1):
                for xx in (x, x + 1):
                    c.set_wrapped(xx, yy, trunk)
            cy = base - 5 - r + 2
            for yy in range(int(cy - r) - 1, int(cy + r) + 2):
                for xx in range(int(x - r) - 1, int(x + r) + 3):
                    d = math.hypot(xx + 0.5 - x - 1, yy + 0.5 - cy)
                    if d <= r:
                        hl = math.hypot(xx + 0.5 - x - 1 - r * 0.3, yy + 0.5 - cy + r * 0.35)
                        c.set_wrapped(xx, yy, tree_light if hl < r * 0.62 else tree)
        else:
            height = 22 + (i % 2) * 5
            for k in range(height):
                half = 1 + k * 0.28
                yy = base - height + k
                for xx in range(int(x - half), int(x + half) + 2):
                    c.set_wrapped(xx, yy, tree_light if xx > x + half * 0.3 and k % 6 < 4
                                  else tree)
            for yy in range(base - 2, base + 1):
                c.set_wrapped(x, yy, trunk)
                c.set_wrapped(x + 1, yy, trunk)
    return c


# --------------------------------------------------------------------------------------------
# Ground tiles: a 4 x 4 atlas of 32 x 32 tiles. Terrain tiles tile seamlessly side by side.


def dirt_pixel(x, y, seed):
    n = hash01(x % 32, y % 32, seed)
    if n < 0.06:
        return DIRT_DARK
    if n > 0.965:
        return DIRT_LIGHT
    return DIRT


def pebbles(c, ox, oy, seed, count, y_min):
    rng = random.Random(seed)
    for _ in range(count):
        x, y = rng.randrange(2, 30), rng.randrange(y_min, 29)
        w = rng.choice((2, 3, 3, 4))
        for dx in range(w):
            c.set(ox + x + dx, oy + y, STONE if dx else STONE_LIGHT)
            c.set(ox + x + dx, oy + y + 1, STONE_DARK)


def grass_bottom(x):
    return 9 + round(1.6 * periodic_noise(x, 32, 2, ((2, 1.0), (5, 0.7))))


def grass_tile(c, ox, oy, edge=None):
    for y in range(32):
        for x in range(32):
            c.set(ox + x, oy + y, dirt_pixel(x, y, 1))
    pebbles(c, ox, oy, 4, 3, 16)
    for x in range(32):
        bottom = grass_bottom(x)
        for y in range(3, bottom + 1):
            colour = GRASS
            if y <= 4:
                colour = GRASS_LIGHT
            elif y >= bottom - 1:
                colour = GRASS_DARK if y == bottom - 1 else GRASS_SHADE
            c.set(ox + x, oy + y, colour)
        c.set(ox + x, oy + bottom + 1, DIRT_DEEP)
        for y in range(0, 3):
            c.set(ox + x, oy + y, CLEAR)
        # Blades poking up above the turf.
        if hash01(x, 77) < 0.3:
            tall = 1 + int(hash01(x, 78) * 2.5)
            for y in range(3 - tall, 3):
                c.set(ox + x, oy + y, GRASS_LIGHT if y == 2 else GRASS)
    if edge:
        # A rounded end: the turf curls over the side of the dirt, which gets a dark rim.
        for y in range(32):
            for i in range(6):
                x = i if edge == "left" else 31 - i
                inset = max(0, 4 - y) if y < 5 else 0
                if i < inset:
                    c.set(ox + x, oy + y, CLEAR)
            x0 = 0 if edge == "left" else 31
            if y > 3:
                c.set(ox + x0, oy + y, GRASS_SHADE if y <= grass_bottom(x0) + 2 else DIRT_DEEP)


def dirt_tile(c, ox, oy, seed, stones):
    for y in range(32):
        for x in range(32):
            c.set(ox + x, oy + y, dirt_pixel(x, y, 1))
    pebbles(c, ox, oy, seed, 4, 2)
    if stones:
        for sx, sy, rx, ry in ((8, 12, 5, 3.5), (23, 24, 4, 3)):
            for y in range(int(sy - ry) - 1, int(sy + ry) + 2):
                for x in range(int(sx - rx) - 1, int(sx + rx) + 2):
                    dx, dy = (x + 0.5 - sx) / rx, (y + 0.5 - sy) / ry
                    d = dx * dx + dy * dy
                    if d <= 1:
                        colour = STONE_LIGHT if dx + dy < -0.7 else (
                            STONE_DARK if dx + dy > 0.6 else STONE)
                        c.set(ox + x, oy + y, colour)
                    elif d <= 1.45 and dy > 0:
                        c.set(ox + x, oy + y, DIRT_DEEP)


def platform_tile(c, ox, oy, part):
    """A floating ledge of mossy stone bricks, 18 pixels thick, ends rounded off."""
    t = Canvas(32, 32)
    for y in range(2, 20):
        for x in range(32):
            row = (y - 6) // 6
            course = y >= 6
            joint_x = (x + (8 if row % 2 else 0)) % 16 == 0
            if not course:
                colour = GRASS_LIGHT if y == 2 else (GRASS if y < 5 else GRASS_DARK)
            elif (y - 6) % 6 == 5 or joint_x:
                colour = BRICK_DEEP
            elif (y - 6) % 6 == 0 or (x + (8 if row % 2 else 0)) % 16 == 1:
                colour = BRICK_LIGHT
            else:
                colour = BRICK if hash01(x, y, 3) > 0.1 else BRICK_DARK
            t.set(x, y, colour)
    for x in range(32):
        t.set(x, 19, BRICK_DEEP)
        if hash01(x, 91) < 0.35:
            t.set(x, 1, GRASS)
        # Moss hangs over the first course here and there.
        if hash01(x, 92) < 0.4:
            for y in range(6, 6 + 1 + int(hash01(x, 93) * 3)):
                t.set(x, y, GRASS_DARK)
    if part in ("left", "right"):
        for y in range(0, 20):
            cut = {0: 5, 1: 4, 2: 3, 3: 2, 4: 1, 18: 1, 19: 3}.get(y, 0)
            for i in range(cut):
                t.set(i if part == "left" else 31 - i, y, CLEAR)
            if part == "left" and cut < 32:
                t.set(cut, y, BRICK_DEEP if y > 4 else GRASS_DARK)
            if part == "right":
                t.set(31 - cut, y, BRICK_DEEP if y > 4 else GRASS_DARK)
    c.blit(t, ox, oy)


def deco(draw):
    """A decoration drawn on its own canvas, outlined and standing on the tile's bottom."""
    t = Canvas(32, 32)
    draw(t)
    t.outline(INK)
    return t


def draw_tuft(t):
    for i, (x, hgt, lean) in enumerate([(10, 9, -1), (13, 13, 0), (16, 10, 1), (19, 12, 1),
                                         (22, 8, 2)]):
        for k in range(hgt):
            xx = x + round(lean * k / hgt * 2)
            t.set(xx, 30 - k, GRASS_LIGHT if k > hgt - 3 else (GRASS if k > 2 else GRASS_DARK))


def draw_flowers(t):
    draw_tuft(t)
    for x, top, colour in ((8, 18, hexc("ffe066")), (15, 14, hexc("ff8fb1")),
                           (23, 19, hexc("f4f1ff"))):
        for y in range(top + 2, 31):
            t.set(x, y, GRASS_DARK)
        for dx, dy in ((0, 0), (-1, 1), (1, 1), (0, 2), (-1, 0), (1, 0), (0, -1), (-1, 2)):
            t.set(x + dx, top + dy, colour)
        t.set(x, top + 1, hexc("f08a24"))


def draw_bush(t):
    for cx, cy, r in ((10, 22, 7.5), (20, 20, 9.5), (16, 25, 6.5), (25, 25, 5.5)):
        for y in range(32):
            for x in range(32):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                if dx * dx + dy * dy <= r * r and y <= 30:
                    hl = dx * 0.5 - dy * 0.85 > r * 0.45
                    t.set(x, y, GRASS_LIGHT if hl else (GRASS if dy < r * 0.35 else GRASS_DARK))
    for x, y in ((14, 17), (22, 15), (9, 21)):
        t.set(x, y, hexc("ff6b6b"))


def draw_rock(t):
    for y in range(32):
        for x in range(32):
            dx, dy = (x + 0.5 - 16) / 11, (y + 0.5 - 25) / 7
            if dx * dx + dy * dy <= 1 and y <= 30:
                v = dx * 0.6 + dy * 0.8
                t.set(x, y, STONE_LIGHT if v < -0.55 else (STONE_DARK if v > 0.4 else STONE))
    for x in range(10, 15):
        t.set(x, 19 - (x - 10) // 3, GRASS)


def draw_sign(t):
    for y in range(16, 31):
        t.set(15, y, WOOD_DARK)
        t.set(16, y, WOOD)
    for y in range(8, 17):
        for x in range(6, 25):
            t.set(x, y, WOOD_LIGHT if y == 8 else (WOOD_DARK if y == 16 else WOOD))
    # An arrow pointing right.
    for x in range(10, 19):
        t.set(x, 12, WOOD_DARK)
    for k in range(3):
        t.set(18 + k - 2, 10 + k, WOOD_DARK)
        t.set(18 + k - 2, 14 - k, WOOD_DARK)


def draw_crate(t):
    for y in range(12, 31):
        for x in range(8, 27):
            edge = x in (8, 26) or y in (12, 30)
            colour = WOOD_DARK if edge else (WOOD if (y - 12) % 6 else WOOD_DARK)
            t.set(x, y, colour)
    # A diagonal brace, two pixels wide.
    for k in range(18):
        t.set(8 + k, 30 - k, WOOD_LIGHT)
        t.set(9 + k, 30 - k, WOOD_LIGHT)


def draw_mushroom(t):
    for y in range(22, 31):
        for x in range(13, 19):
            t.set(x, y, hexc("f2e6d0") if x < 17 else hexc("d2c1a6"))
    for y in range(32):
        for x in range(32):
            dx, dy = (x + 0.5 - 16) / 9, (y + 0.5 - 22) / 7
            if dx * dx + dy * dy <= 1 and y <= 22:
                t.set(x, y, RED if dx * 0.5 + dy * 0.8 < 0.2 else RED_DARK)
    for x, y in ((12, 17), (18, 16), (21, 20), (15, 20)):
        t.set(x, y, WHITE)
        t.set(x + 1, y, WHITE)


def draw_fence(t):
    for x0 in (4, 24):
        for y in range(12, 31):
            t.set(x0, y, WOOD)
            t.set(x0 + 1, y, WOOD)
            t.set(x0 + 2, y, WOOD_DARK)
        t.set(x0 + 1, 11, WOOD)
    for y0 in (16, 23):
        for x in range(0, 32):
            t.set(x, y0, WOOD_LIGHT)
            t.set(x, y0 + 1, WOOD)
            t.set(x, y0 + 2, WOOD_DARK)


def tiles():
    c = Canvas(128, 128)
    # Row 0: grass top, grass with a left end, grass with a right end, dirt.
    grass_tile(c, 0, 0)
    grass_tile(c, 32, 0, "left")
    grass_tile(c, 64, 0, "right")
    dirt_tile(c, 96, 0, 5, False)
    # Row 1: dirt with stones, then the left, middle and right of a floating ledge.
    dirt_tile(c, 0, 32, 6, True)
    platform_tile(c, 32, 32, "left")
    platform_tile(c, 64, 32, "mid")
    platform_tile(c, 96, 32, "right")
    # Rows 2 and 3: decorations that stand on the ground.
    for i, draw in enumerate([draw_tuft, draw_flowers, draw_bush, draw_rock, draw_sign,
                              draw_crate, draw_mushroom, draw_fence]):
        c.blit(deco(draw), (i % 4) * 32, 64 + (i // 4) * 32)
    return c


# --------------------------------------------------------------------------------------------
# The hero: 32 x 32 frames; row 0 a walk cycle of 8 frames, row 1 idle (4), jump and fall.

SKIN, SKIN_SHADE = hexc("f5c6a0"), hexc("d99a7a")
HAIR, HAIR_LIGHT = hexc("6b3f26"), hexc("8f5a33")
TUNIC, TUNIC_LIGHT, TUNIC_DARK = hexc("3f74c4"), hexc("5f95de"), hexc("2b5093")
SCARF, SCARF_DARK = hexc("e2443c"), hexc("a82a2e")
BOOT, BELT, BUCKLE = hexc("4a3022"), hexc("5a3b24"), hexc("f0c040")
TROUSERS, TROUSERS_DARK = hexc("4b4a6a"), hexc("37364f")


def limb(t, x0, y0, x1, y1, colour, width=3):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for s in range(steps + 1):
        x = x0 + (x1 - x0) * s / steps
        y = y0 + (y1 - y0) * s / steps
        for k in range(width):
            t.set(int(round(x - width / 2 + 0.5 + k)), int(round(y)), colour)


def hero_frame(phase=None, bob=0, blink=False, pose=None):
    """One frame of the hero facing right. phase: the walk cycle's angle, or None when
    standing; bob: pixels the body sinks; pose: "jump" or "fall" for those frames. Each leg
    is its foot's position and its colour; each arm its hand's offset from the shoulder."""
    t = Canvas(32, 32)
    hip_y = 21 + bob
    hip_x = 15
    if pose == "jump":
        legs = [((hip_x - 4, 29), TROUSERS_DARK), ((hip_x + 4, 26), TROUSERS)]
        arms = [(-5, 4), (4, -5)]
    elif pose == "fall":
        legs = [((hip_x - 3, 29), TROUSERS_DARK), ((hip_x + 4, 29), TROUSERS)]
        arms = [(-5, -4), (5, -4)]
    elif phase is None:
        legs = [((hip_x - 1, 29), TROUSERS_DARK), ((hip_x + 2, 29), TROUSERS)]
        arms = [(-1, 7), (1, 7)]
    else:
        s = math.sin(phase)
        lift_back = max(0.0, math.sin(phase + math.pi / 2)) * 2.2
        lift_front = max(0.0, math.sin(phase - math.pi / 2)) * 2.2
        legs = [((hip_x + round(-4.5 * s), 29 - round(lift_back)), TROUSERS_DARK),
                ((hip_x + 1 + round(4.5 * s), 29 - round(lift_front)), TROUSERS)]
        arms = [(round(4.5 * s), 6), (round(-4.5 * s), 6)]
    shoulder_y = hip_y - 6
    # The far arm and leg first, in shade.
    (fx, fy), fcol = legs[0]
    limb(t, hip_x - 1, hip_y, fx, fy - 1, fcol)
    t.rect(fx - 2, fy - 1, 4, 2, BOOT)
    ax, ay = arms[0]
    limb(t, hip_x - 1, shoulder_y, hip_x - 1 + ax, shoulder_y + ay, TUNIC_DARK, 2)
    t.rect(hip_x - 1 + ax, shoulder_y + ay, 2, 2, SKIN_SHADE)
    # Body: tunic, belt.
    t.rect(hip_x - 4, shoulder_y - 1, 8, 8, TUNIC)
    t.rect(hip_x - 4, shoulder_y - 1, 8, 1, TUNIC_LIGHT)
    t.rect(hip_x + 2, shoulder_y, 2, 6, TUNIC_DARK)
    t.rect(hip_x - 4, hip_y - 1, 8, 2, BELT)
    t.set(hip_x + 1, hip_y - 1, BUCKLE)
    t.rect(hip_x - 4, hip_y + 1, 8, 1, TUNIC_DARK)
    # The near leg over the tunic's hem.
    (nx, ny), ncol = legs[1]
    limb(t, hip_x + 2, hip_y, nx, ny - 1, ncol)
    t.rect(nx - 1, ny - 1, 4, 2, BOOT)
    # Head.
    hy = shoulder_y - 10
    t.rect(hip_x - 4, hy + 1, 9, 8, SKIN)
    t.rect(hip_x - 3, hy, 7, 1, SKIN)
    t.rect(hip_x - 4, hy + 7, 9, 1, SKIN_SHADE)
    # Hair: a cap of it over the back and top of the head, a fringe in front.
    t.rect(hip_x - 4, hy - 1, 8, 3, HAIR)
    t.rect(hip_x - 5, hy, 2, 6, HAIR)
    t.rect(hip_x - 2, hy - 1, 4, 1, HAIR_LIGHT)
    t.set(hip_x + 4, hy + 1, HAIR)
    t.set(hip_x - 6, hy + 2 - (bob > 0), HAIR)
    # Eye and a hint of a cheek.
    if blink:
        t.rect(hip_x + 2, hy + 4, 2, 1, INK)
    else:
        t.rect(hip_x + 2, hy + 3, 1, 2, INK)
    t.set(hip_x + 4, hy + 5, hexc("f29a8a"))
    # Scarf round the neck, its tail streaming behind.
    t.rect(hip_x - 4, shoulder_y - 2, 8, 2, SCARF)
    wave = 0 if phase is None else round(math.sin(phase * 2))
    for k in range(5):
        t.set(hip_x - 5 - k, shoulder_y - 1 + (k // 2) + (wave if k > 2 else 0), SCARF)
        t.set(hip_x - 5 - k, shoulder_y + (k // 2) + (wave if k > 2 else 0), SCARF_DARK)
    # The near arm last, in front of the body.
    ax, ay = arms[1]
    sx, sy = hip_x + 1, shoulder_y
    steps = max(abs(ax), abs(ay), 1)
    for k in range(steps + 1):
        x = int(round(sx + ax * k / steps))
        y = int(round(sy + ay * k / steps))
        # The sleeve has a dark edge on its far side so it reads against the tunic.
        t.set(x - 1, y, TUNIC_DARK)
        t.set(x, y, TUNIC_LIGHT)
        t.set(x + 1, y, TUNIC_LIGHT)
    t.rect(sx + ax, sy + ay, 2, 2, SKIN)
    t.outline(INK)
    return t


def hero():
    c = Canvas(256, 64)
    for i in range(8):
        phase = 2 * math.pi * i / 8
        # The body rises as the legs pass each other.
        bob = -1 if i % 4 in (1, 2) else 0
        c.blit(hero_frame(phase, bob), i * 32, 0)
    idle = [hero_frame(None, 0), hero_frame(None, 1), hero_frame(None, 1),
            hero_frame(None, 0, blink=True)]
    for i, frame in enumerate(idle):
        c.blit(frame, i * 32, 32)
    c.blit(hero_frame(None, 0, pose="jump"), 4 * 32, 32)
    c.blit(hero_frame(None, 0, pose="fall"), 5 * 32, 32)
    return c


# --------------------------------------------------------------------------------------------
# Animated things


def coin():
    """A gold coin turning about its vertical axis: 8 frames of 16 x 16."""
    c = Canvas(128, 16)
    for i in range(8):
        angle = 2 * math.pi * i / 8
        half = 6.5 * abs(math.cos(angle))
        t = Canvas(16, 16)
        edge = max(1.0, half)
        for y in range(16):
            for x in range(16):
                dx, dy = (x + 0.5 - 8) / edge, (y + 0.5 - 8) / 6.5
                if dx * dx + dy * dy <= 1:
                    if half < 1.5:
                        colour = GOLD_MID if x % 2 == 0 else GOLD_DARK
                    elif dx * dx + dy * dy > 0.55:
                        colour = GOLD_MID if dx + dy > 0.3 else GOLD
                    else:
                        colour = GOLD if dx + dy > -0.2 else GOLD_LIGHT
                    t.set(x, y, colour)
        if half >= 3.5:
            # The stamped mark in the middle and a glint.
            for y in range(5, 11):
                t.set(8, y, GOLD_DARK)
            t.set(7 - int(half / 3), 5, WHITE)
        t.outline(hexc("5c3310"))
        c.blit(t, i * 16, 0)
    return c


def torch():
    """A wall torch with a flickering flame: 8 frames of 16 x 32 that loop without a jump."""
    c = Canvas(128, 32)
    for i in range(8):
        t = Canvas(16, 32)
        # Handle and bowl.
        for y in range(16, 31):
            t.set(7, y, WOOD)
            t.set(8, y, WOOD_DARK)
        for x in range(4, 12):
            t.set(x, 14, STONE_LIGHT if x < 8 else STONE)
            t.set(x, 15, STONE_DARK)
        for x in range(5, 11):
            t.set(x, 16, STONE_DARK)
        phase = 2 * math.pi * i / 8
        height = 11 + 1.5 * math.sin(phase) + 0.8 * math.sin(2 * phase + 1)
        sway = 1.2 * math.sin(phase + 0.7)
        for y in range(14):
            up = 14 - y  # above the bowl
            if up > height:
                continue
            f = up / height
            half = 3.6 * math.sin(math.pi * min(1.0, 0.18 + f * 0.95)) * (1 - f * 0.35)
            centre = 8 + sway * f * f
            for x in range(16):
                d = abs(x + 0.5 - centre)
                if d <= half:
                    r = d / max(half, 0.5)
                    inner = (1 - r) * (1 - f)
                    k = 0 if inner > 0.55 else 1 if inner > 0.33 else 2 if inner > 0.14 else 3
                    if f > 0.8 and k < 2:
                        k = 2
                    t.set(x, y, FLAME[k])
        # A spark that rises through the loop.
        sy = 10 - (i * 3) % 10
        t.set(8 + (1 if i % 2 else -2), sy, FLAME[1] if i % 3 else FLAME[2])
        c.blit(t, i * 16, 0)
    return c


# --------------------------------------------------------------------------------------------
# HUD and title


def heart(full):
    t = Canvas(16, 16)
    shape = ["..##...##..",
             ".####.####.",
             "###########",
             "###########",
             "###########",
             ".#########.",
             "..#######..",
             "...#####...",
             "....###....",
             ".....#....."]
    for y, row in enumerate(shape):
        for x, ch in enumerate(row):
            if ch == "#":
                if full:
                    colour = RED
                    if y >= 5 or x + y >= 13:
                        colour = RED_DARK if (x + y >= 13 and y >= 4) else RED
                    if (x, y) in ((2, 1), (2, 2), (3, 1), (1, 2)):
                        colour = RED_LIGHT
                else:
                    colour = hexc("5a4a6a") if y < 5 else hexc("463a56")
                t.set(x + 2, y + 3, colour)
    t.outline(INK)
    return t


def hud():
    c = Canvas(64, 64)
    c.blit(heart(True), 0, 0)
    c.blit(heart(False), 16, 0)
    icon = Canvas(16, 16)
    for y in range(16):
        for x in range(16):
            dx, dy = (x + 0.5 - 8) / 6, (y + 0.5 - 8) / 6
            if dx * dx + dy * dy <= 1:
                icon.set(x, y, GOLD if dx * dx + dy * dy < 0.5 else GOLD_MID)
    for y in range(5, 11):
        icon.set(8, y, GOLD_DARK)
    icon.set(5, 5, WHITE)
    icon.outline(INK)
    c.blit(icon, 32, 0)
    # A panel (64 x 24) for the HUD to sit on: dark glass with a gold rim, rounded corners.
    for y in range(24):
        for x in range(64):
            corner = min(x, 63 - x) + min(y, 23 - y)
            if corner < 2:
                continue
            rim = x in (0, 63) or y in (0, 23) or corner == 2
            inner = x in (1, 62) or y in (1, 22)
            if rim:
                colour = hexc("d6ad5c")
            elif inner:
                colour = hexc("8a6a3a")
            else:
                colour = hexc("2a2140", 200) if y > 11 else hexc("342a4e", 200)
            c.set(x, 32 + y, colour)
    return c


# Bold letters for the title, two pixels to a stroke.
LOGO_GLYPHS = {
    "V": ["##....##", "##....##", "##....##", "##....##", "##....##", ".##..##.", ".##..##.",
          "..####..", "..####..", "...##..."],
    "E": ["########", "########", "##......", "##......", "#######.", "#######.", "##......",
          "##......", "########", "########"],
    "L": ["##......", "##......", "##......", "##......", "##......", "##......", "##......",
          "##......", "########", "########"],
    "D": ["######..", "#######.", "##...###", "##....##", "##....##", "##....##", "##....##",
          "##...###", "#######.", "######.."],
    "N": ["##....##", "###...##", "####..##", "####..##", "##.##.##", "##.##.##", "##..####",
          "##..####", "##...###", "##....##"],
}


def logo():
    """The game's name in gold letters with a lit top edge, a dark outline and a drop
    shadow."""
    text = "VELDEN"
    scale, gap = 4, 5
    c = Canvas(256, 64)
    width = len(text) * (8 * scale + gap) - gap
    ox, oy = (256 - width) // 2 - 2, 10
    shape = Canvas(256, 64)
    for i, ch in enumerate(text):
        x = ox + i * (8 * scale + gap)
        for gy, row in enumerate(LOGO_GLYPHS[ch]):
            for gx, v in enumerate(row):
                if v == "#":
                    shape.rect(x + gx * scale, oy + gy * scale, scale, scale, WHITE)
    fill = Canvas(256, 64)
    for y in range(64):
        for x in range(256):
            if not shape.opaque(x, y):
                continue
            t = (y - oy) / (10 * scale)
            colour = gradient([(0, GOLD_LIGHT), (0.4, GOLD), (1, GOLD_MID)], t)
            if not shape.opaque(x, y - 1) or not shape.opaque(x, y - 2):
                colour = GOLD_LIGHT  # a lit top edge on every stroke
            elif not shape.opaque(x, y + 1) or not shape.opaque(x, y + 2):
                colour = GOLD_DARK  # and a shaded bottom edge
            elif not shape.opaque(x - 1, y):
                colour = mix(colour, WHITE, 0.3)
            fill.set(x, y, colour)
    # Thick outline: two passes, the outer one with diagonals for round corners.
    fill.outline(hexc("3a2350"))
    fill.outline(INK, diagonal=True)
    # Shadow: the whole shape again, down and to the right, translucent.
    for y in range(64):
        for x in range(256):
            if fill.opaque(x, y) and c.inside(x + 3, y + 3):
                c.set(x + 3, y + 3, hexc("1e1a2b", 120))
    c.blit(fill, 0, 0)
    return c


# --------------------------------------------------------------------------------------------
# Title menu buttons


def button_look(label, focused):
    """One look of a menu button, 112 x 24: a rounded glass plate with the label in the pixel
    font at twice its size. The focused look is lit, with a gold rim, gold letters and arrows
    pointing at the label."""
    w, h = 112, 24
    t = Canvas(w, h)
    rim = hexc("d6ad5c") if focused else hexc("6a6488")
    inner = hexc("8a6a3a") if focused else hexc("433c5e")
    top, bottom = ((hexc("5a4680", 235), hexc("3a2d5a", 235)) if focused else
                   (hexc("2e2646", 200), hexc("231c38", 200)))
    for y in range(h):
        for x in range(w):
            corner = min(x, w - 1 - x) + min(y, h - 1 - y)
            if corner < 2:
                continue
            if x in (0, w - 1) or y in (0, h - 1) or corner == 2:
                colour = rim
            elif x in (1, w - 2) or y in (1, h - 2):
                colour = inner
            else:
                colour = mix(top, bottom, (y - 2) / (h - 5))
            t.set(x, y, colour)
    # A highlight along the top of the glass.
    for x in range(4, w - 4):
        t.set(x, 2, mix(t.get(x, 2), WHITE, 0.25 if focused else 0.1))
    scale, gap = 2, 2
    width = sum(len(glyph(ch)[0]) * scale + gap for ch in label) - gap
    ox, oy = (w - width) // 2, (h - 7 * scale) // 2
    ink = GOLD_LIGHT if focused else hexc("b8b2d0")
    for layer, d, colour in ((0, 1, INK), (1, 0, ink)):
        x = ox
        for ch in label:
            for gx, gy in glyph_pixels(ch):
                for sy in range(scale):
                    for sx in range(scale):
                        px, py = x + gx * scale + sx + d, oy + gy * scale + sy + d
                        if layer == 1:
                            shade = GOLD if focused and gy >= 4 else colour
                            t.set(px, py, shade)
                        else:
                            t.set(px, py, colour)
            x += len(glyph(ch)[0]) * scale + gap
    if focused:
        # Arrows left and right of the label, pointing inwards.
        for i in range(5):
            for j in range(-i, i + 1):
                t.set(ox - 14 + (4 - i), h // 2 + j, GOLD)
                t.set(ox + width + 13 - (4 - i), h // 2 + j, GOLD)
    return t


def buttons():
    """The menus' buttons, one look per 32-pixel row: START, QUIT, RESUME and TITLE, each not
    focused and then focused."""
    c = Canvas(128, 256)
    looks = [(label, focused) for label in ("START", "QUIT", "RESUME", "TITLE")
             for focused in (False, True)]
    for row, (label, focused) in enumerate(looks):
        c.blit(button_look(label, focused), 8, row * 32 + 4)
    return c


# --------------------------------------------------------------------------------------------
# Particles


def smoke():
    """A soft, lumpy puff of white: three overlapping discs whose alpha fades to the edge.
    Emitters tint it grey and fade it out as it rises."""
    c = Canvas(32, 32)
    lumps = ((16, 17, 11), (11, 13, 7), (21, 12, 8))
    for y in range(32):
        for x in range(32):
            a = 0.0
            for cx, cy, r in lumps:
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) / r
                if d < 1:
                    a = max(a, (1 - d) ** 1.5)
            if a > 0:
                shade = 235 + int(20 * hash01(x, y, 7))
                c.set(x, y, (shade, shade, shade, int(round(255 * min(1.0, a * 0.9)))))
    return c


def sparkle():
    """Four 16 x 16 frames of a twinkling four-pointed star: small, full, turned, fading."""
    c = Canvas(64, 16)
    for frame, (arm, core, turn) in enumerate(((4, 1.5, 0), (7, 2.5, 0), (6, 2, 1), (3, 1, 1))):
        ox = frame * 16
        for y in range(16):
            for x in range(16):
                dx, dy = x + 0.5 - 8, y + 0.5 - 8
                if turn:  # the star turned by 45 degrees
                    dx, dy = (dx + dy) / math.sqrt(2), (dy - dx) / math.sqrt(2)
                # Thin arms along both axes, and a round core.
                along = max(0.0, 1 - abs(dx) / arm) * max(0.0, 1 - abs(dy) / 1.2)
                across = max(0.0, 1 - abs(dy) / arm) * max(0.0, 1 - abs(dx) / 1.2)
                centre = max(0.0, 1 - math.hypot(dx, dy) / (core + 1))
                a = min(1.0, max(along, across) + centre)
                if a > 0.05:
                    c.set(ox + x, y, (255, 250, 215, int(round(255 * a))))
    return c


# --------------------------------------------------------------------------------------------

PICTURES = [
    ("sky.png", sky),
    ("sun.png", sun),
    ("glow.png", glow),
    ("clouds.png", clouds),
    ("mountains.png", mountains),
    ("hills.png", hills),
    ("tiles.png", tiles),
    ("hero.png", hero),
    ("coin.png", coin),
    ("torch.png", torch),
    ("hud.png", hud),
    ("logo.png", logo),
    ("buttons.png", buttons),
    ("font.png", font_marker),
    ("small_font.png", font_grid),
    ("smoke.png", smoke),
    ("sparkle.png", sparkle),
]


def write_pictures(pictures):
    """Draws each (file name, drawing function) into the game's image folder."""
    os.makedirs(OUT, exist_ok=True)
    for name, draw in pictures:
        canvas = draw()
        size = write_png(os.path.join(OUT, name), canvas)
        print(f"{name:16} {canvas.w:4} x {canvas.h:<4} {size:7} bytes")


def main():
    write_pictures(PICTURES)


if __name__ == "__main__":
    main()
