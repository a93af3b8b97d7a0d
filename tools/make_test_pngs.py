#!/usr/bin/env python3
"""Writes the PNG images the loader tests decode into tests/data/png/.

Every image is tiny and holds known colours, so the tests can check each decoded pixel. The
damaged files are made from valid ones by cutting, corrupting or lying in the header.
Run it from anywhere: python3 tools/make_test_pngs.py
"""

import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "png")

SIGNATURE = b"\x89PNG\r\n\x1a\n"

GREY, RGB, PALETTE, GREY_ALPHA, RGBA = 0, 2, 3, 4, 6
CHANNELS = {GREY: 1, RGB: 3, PALETTE: 1, GREY_ALPHA: 2, RGBA: 4}

# Adam7 passes: first column, first row, column step, row step.
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def chunk(kind, data, crc=None):
    if crc is None:
        crc = zlib.crc32(kind + data) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)


def ihdr(width, height, depth, colour, interlace=0):
    return chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace))


def pack_samples(samples, depth):
    if depth == 8:
        return bytes(samples)
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    out = bytearray()
    acc = bits = 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc)
            acc = bits = 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_line(kind, line, prev, bpp):
    out = bytearray()
    for i, x in enumerate(line):
        a = line[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        predictor = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
        out.append((x - predictor) & 0xFF)
    return bytes(out)


def scanlines(rows, depth, channels, filters):
    """Filtered scanlines of one (sub-)image; rows hold pixels, each a tuple of samples."""
    bpp = max(1, depth * channels // 8)
    out = bytearray()
    prev = None
    for y, row in enumerate(rows):
        line = pack_samples([s for px in row for s in px], depth)
        if prev is None:
            prev = bytes(len(line))
        kind = filters[y % len(filters)]
        out.append(kind)
        out += filter_line(kind, line, prev, bpp)
        prev = line
    return bytes(out)


def image_data(rows, depth, colour, interlace, filters):
    channels = CHANNELS[colour]
    if not interlace:
        return scanlines(rows, depth, channels, filters)
    out = bytearray()
    for x0, y0, dx, dy in ADAM7:
        sub = [row[x0::dx] for row in rows[y0::dy]]
        if sub and sub[0]:
            out += scanlines(sub, depth, channels, filters)
    return bytes(out)


def as_pixels(rows):
    return [[px if isinstance(px, tuple) else (px,) for px in row] for row in rows]


def png(rows, depth, colour, palette=None, trns=None, interlace=0, filters=(0,)):
    """A whole file; rows run top to bottom, pixels are sample tuples (or plain ints)."""
    rows = as_pixels(rows)
    out = SIGNATURE + ihdr(len(rows[0]), len(rows), depth, colour, interlace)
    if palette is not None:
        out += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    if trns is not None:
        out += chunk(b"tRNS", trns)
    data = zlib.compress(image_data(rows, depth, colour, interlace, list(filters)), 9)
    out += chunk(b"IDAT", data) + chunk(b"IEND", b"")
    return out


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def adam7_colour(x, y):
    return (x * 50, y * 50, x * 10 + y, 255 - x * y * 10)


def filters_colour(x, y):
    return ((x * 60 + y * 7) % 256, (x * y * 13 + 200) % 256, (200 - x * 30 - y * 11) % 256)


def main():
    os.makedirs(OUT, exist_ok=True)

    red, blue = (255, 0, 0, 255), (0, 0, 255, 255)
    write("red_over_blue.png", png([[red, red], [blue, blue]], 8, RGBA))

    rgba8 = png([[(255, 0, 0, 255), (0, 255, 0, 128), (0, 0, 255, 0)],
                 [(10, 20, 30, 40), (255, 255, 255, 255), (0, 0, 0, 255)]], 8, RGBA)
    write("rgba8.png", rgba8)
    write("rgba16.png", png([[(0xFFFF, 0x0000, 0x8080, 0xFFFF), (0x00FF, 0x1234, 0xFF00, 0x7F00)],
                             [(0x0000, 0xFFFF, 0x0000, 0x00FF), (0xABCD, 0x4321, 0x0101, 0xFFFF)]],
                            16, RGBA))
    write("rgb8.png", png([[(255, 0, 0), (0, 255, 0)], [(0, 0, 255), (1, 2, 3)]], 8, RGB))
    write("rgb16.png", png([[(0xFFFF, 0x0000, 0x00FF), (0x1234, 0xFF00, 0x8080)],
                            [(0x0000, 0x0000, 0xFFFF), (0xABCD, 0x4321, 0x0101)]], 16, RGB))

    write("grey1.png", png([[1, 0, 1], [0, 1, 1]], 1, GREY))
    write("grey2.png", png([[0, 1, 2], [3, 2, 1]], 2, GREY))
    write("grey4.png", png([[0, 5, 15], [8, 1, 14]], 4, GREY))
    write("grey8.png", png([[0, 77], [200, 255]], 8, GREY))
    write("grey16.png", png([[0xFFFF, 0x00FF], [0x8080, 0x0000]], 16, GREY))
    write("grey_alpha8.png", png([[(0, 255), (100, 50)], [(200, 0), (255, 128)]], 8, GREY_ALPHA))
    write("grey_alpha16.png", png([[(0xFFFF, 0x00FF), (0x1234, 0xFF00)]], 16, GREY_ALPHA))

    palette5 = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (17, 34, 51), (250, 128, 5)]
    write("palette4.png", png([[0, 1, 2], [3, 4, 0]], 4, PALETTE, palette=palette5))
    palette3 = [(10, 20, 30), (40, 50, 60), (70, 80, 90)]
    # tRNS shorter than the palette: the last entry stays opaque.
    write("palette8_trns.png", png([[0, 1], [2, 0]], 8, PALETTE, palette=palette3,
                                   trns=bytes([0, 128])))
    write("grey8_trns.png", png([[0, 77], [200, 77]], 8, GREY, trns=struct.pack(">H", 77)))
    write("rgb8_trns.png", png([[(0, 255, 0), (255, 0, 0)], [(0, 0, 255), (0, 255, 0)]], 8, RGB,
                               trns=struct.pack(">HHH", 0, 255, 0)))

    adam7 = png([[adam7_colour(x, y) for x in range(5)] for y in range(5)], 8, RGBA, interlace=1)
    write("rgba8_adam7.png", adam7)
    write("grey1_adam7.png", png([[(x * y + x) % 3 % 2 for x in range(5)] for y in range(5)], 1,
                                 GREY, interlace=1))
    write("rgb8_filters.png", png([[filters_colour(x, y) for x in range(4)] for y in range(5)], 8,
                                  RGB, filters=(0, 1, 2, 3, 4)))

    # The largest accepted side, and one more.
    write("wide_8192.png", png([[x % 256 for x in range(8192)]], 8, GREY))
    write("wide_8193.png", png([[x % 256 for x in range(8193)]], 8, GREY))
    write("tall_8193.png", png([[y % 256] for y in range(8193)], 8, GREY))

    # Damaged files.
    write("empty.png", b"")
    write("not_a_png.png", b"This is a text file, not a picture.\n")
    write("signature_only.png", SIGNATURE)
    idat_at = adam7.index(b"IDAT") - 4
    write("truncated.png", adam7[:idat_at + 8 + 20])
    write("no_iend.png", rgba8[:rgba8.index(b"IEND") - 4])
    ihdr_crc_at = len(SIGNATURE) + 8 + 13
    write("bad_crc_ihdr.png", rgba8[:ihdr_crc_at] + bytes([rgba8[ihdr_crc_at] ^ 1]) +
          rgba8[ihdr_crc_at + 1:])
    iend_at = rgba8.index(b"IEND") - 4
    idat_crc_at = iend_at - 4
    write("bad_crc_idat.png", rgba8[:idat_crc_at] + bytes([rgba8[idat_crc_at] ^ 0x80]) +
          rgba8[idat_crc_at + 1:])
    one_row = zlib.compress(scanlines(as_pixels([[(1, 2, 3, 4)] * 2]), 8, 4, [0]))
    write("idat_short.png", SIGNATURE + ihdr(2, 2, 8, RGBA) + chunk(b"IDAT", one_row) +
          chunk(b"IEND", b""))
    write("idat_garbage.png", SIGNATURE + ihdr(2, 2, 8, RGBA) +
          chunk(b"IDAT", b"\x78\x9c" + bytes(range(7, 200, 3))) + chunk(b"IEND", b""))
    # A header claiming 100000 x 100000 pixels in front of a few bytes of data.
    write("huge.png", SIGNATURE + ihdr(100000, 100000, 8, RGBA) +
          chunk(b"IDAT", zlib.compress(bytes(401))) + chunk(b"IEND", b""))
    # RGBA is only allowed at 8 and 16 bits.
    write("bad_ihdr.png", SIGNATURE + ihdr(2, 2, 4, RGBA) + chunk(b"IDAT", zlib.compress(bytes(6))) +
          chunk(b"IEND", b""))


if __name__ == "__main__":
    main()
