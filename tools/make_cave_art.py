#!/usr/bin/env python3
"""Draws the pictures of the sample game's second level, the crystal cave, and writes them as
PNG files into game/Data/Images/: two rock walls at different depths (both wrap left to right)
and a sheet of stone tiles and cave things. It uses the canvas and PNG writer of
make_game_art.py; no font or image files are read.

Run it from anywhere: python3 tools/make_cave_art.py
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_game_art import (INK, Canvas, gradient, hash01, hexc, mix,  # noqa: E402
                           periodic_noise, write_pictures)

STONE = [(0.0, hexc("5a5270")), (0.5, hexc("443d5a")), (1.0, hexc("2c2740"))]
CRYSTAL_LIGHT, CRYSTAL, CRYSTAL_DARK = hexc("c8f4ff"), hexc("5ad0f0"), hexc("2a7aa8")


def far_wall():
    """The far wall of the cave, 512 x 128: a dark gradient with lumps of rock and specks of
    crystal. Opaque, so it fills the view behind everything."""
    c = Canvas(512, 128)
    for y in range(c.h):
        base = gradient([(0.0, hexc("141022")), (0.6, hexc("231c38")), (1.0, hexc("2e2545"))],
                        y / (c.h - 1))
        for x in range(c.w):
            n = periodic_noise(x, 512, 3, ((3, 1.0), (7, 0.5), (19, 0.25)))
            lump = math.sin(y * 0.2 + n * 4) * 0.5 + 0.5
            colour = mix(base, hexc("3a3054"), 0.35 * lump)
            if hash01(x, y, 5) > 0.996:
                colour = CRYSTAL_LIGHT if hash01(x, y, 9) > 0.5 else CRYSTAL
            c.set(x, y, colour)
    return c


def near_rocks():
    """Nearer rock, 512 x 128: stalagmites rising from the bottom and stalactites hanging from
    the top, transparent between them."""
    c = Canvas(512, 128)
    for x in range(c.w):
        low = 40 + 30 * periodic_noise(x, 512, 11, ((2, 1.0), (5, 0.6), (13, 0.3)))
        high = 18 + 14 * periodic_noise(x, 512, 17, ((3, 1.0), (9, 0.5)))
        for y in range(c.h):
            if y > c.h - low:
                t = (y - (c.h - low)) / max(low, 1)
                c.set(x, y, mix(hexc("3e3658"), hexc("1e1a2e"), t))
            elif y < high:
                c.set(x, y, mix(hexc("1e1a2e"), hexc("3a3252"), y / max(high, 1)))
    c.outline(hexc("15121f"))
    return c


def stone_block(c, ox, oy, seed, top, left=False, right=False):
    for y in range(32):
        for x in range(32):
            crack = hash01(x // 6, y // 5, seed) > 0.85 and (x % 6 == 0 or y % 5 == 0)
            colour = gradient(STONE, (y + 8 * hash01(x // 4, y // 4, seed)) / 40)
            if crack:
                colour = mix(colour, INK, 0.6)
            c.set(ox + x, oy + y, colour)
    if top:
        # A lighter lip of rock with moss along the top.
        for x in range(32):
            for y in range(4):
                c.set(ox + x, oy + y, mix(hexc("7a8c6a"), hexc("56705a"), y / 3))
            c.set(ox + x, oy + 4, hexc("2e2a3e"))
    for side, col in ((left, 0), (right, 31)):
        if side:
            for y in range(32):
                c.set(ox + col, oy + y, INK)


def crystal(c, ox, oy):
    """A cluster of three glowing crystals standing on the ground."""
    for cx, h, w in ((16, 26, 5), (9, 16, 4), (23, 18, 4)):
        for y in range(h):
            half = w * min(1.0, (h - y) / (h * 0.4))
            for x in range(int(cx - half), int(cx + half) + 1):
                t = (x - cx + half) / (2 * half + 0.01)
                colour = CRYSTAL_LIGHT if t < 0.3 else CRYSTAL if t < 0.7 else CRYSTAL_DARK
                c.set(ox + x, oy + 31 - y, colour)


def stalactite(c, ox, oy):
    for y in range(30):
        half = 9 * (1 - y / 30)
        for x in range(int(16 - half), int(16 + half) + 1):
            c.set(ox + x, oy + y, mix(hexc("4a4262"), hexc("2a2440"), abs(x - 16) / 10))


def hermit(c, ox, oy):
    """An old miner in a long coat with a lamp, who talks to passers-by."""
    c.ellipse(ox + 16, oy + 9, 5, 5, hexc("e8b890"))           # face
    c.rect(ox + 11, oy + 3, 10, 3, hexc("c8a040"))            # helmet
    c.rect(ox + 15, oy + 1, 3, 2, hexc("fff2a8"))             # its lamp
    c.rect(ox + 12, oy + 12, 3, 3, hexc("d8d8e0"))            # beard
    c.rect(ox + 15, oy + 12, 4, 4, hexc("d8d8e0"))
    for y in range(15, 32):
        half = 5 + (y - 15) * 0.35
        for x in range(int(16 - half), int(16 + half) + 1):
            c.set(ox + x, oy + y, hexc("6a4a8a") if x < 16 else hexc("553a72"))
    c.rect(ox + 24, oy + 14, 2, 18, hexc("8a6a3a"))           # a staff


def exit_arch(c, ox, oy):
    """Daylight at the cave's end: a bright arch of light, 32 x 32."""
    for y in range(32):
        for x in range(32):
            d = math.hypot((x - 15.5) / 14, max(0, (14 - y)) / 14)
            if d <= 1 and y > 1:
                c.set(ox + x, oy + y, mix(hexc("fff8d8"), hexc("ffd88a"), d))
    c.outline(hexc("8a7a5a"))


def cave_tiles():
    """32 x 32 cells: stone with a mossy top (plain, left end, right end), stone; then a
    crystal cluster, a stalactite, the hermit and the daylight arch."""
    c = Canvas(128, 64)
    stone_block(c, 0, 0, 1, True)
    stone_block(c, 32, 0, 2, True, left=True)
    stone_block(c, 64, 0, 3, True, right=True)
    stone_block(c, 96, 0, 4, False)
    crystal(c, 0, 32)
    stalactite(c, 32, 32)
    hermit(c, 64, 32)
    exit_arch(c, 96, 32)
    return c


PICTURES = [
    ("cave_wall.png", far_wall),
    ("cave_rocks.png", near_rocks),
    ("cave_tiles.png", cave_tiles),
]


def main():
    write_pictures(PICTURES)


if __name__ == "__main__":
    main()
