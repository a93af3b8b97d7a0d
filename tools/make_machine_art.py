#!/usr/bin/env python3
"""Draws the pictures of the meadow's machines (lever, door, hammer, shooter, bullet and the
crumbling planks) into game/Data/Images/machines.png, a grid of 32 x 32 cells."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_game_art import OUT, Canvas, hexc, write_png  # noqa: E402

WOOD, WOOD_DARK, IRON, IRON_DARK = hexc("a0683a"), hexc("5e3a1e"), hexc("8a949c"), hexc("3c4248")
RED, GREEN, BRASS = hexc("d04030"), hexc("50c050"), hexc("d8b048")


def lever(c, ox, on):
    c.rect(ox + 8, 24, 16, 8, IRON_DARK)
    # The handle leans left when off, right when on.
    for i in range(16):
        x = ox + 16 + (i // 2 if on else -i // 2)
        c.rect(x - 1, 24 - i, 3, 1, WOOD)
    knob_x = ox + 16 + (7 if on else -8)
    c.ellipse(knob_x, 8, 3, 3, GREEN if on else RED)


def door(c, ox, closed):
    if closed:
        c.rect(ox + 6, 0, 20, 32, WOOD)
        for x in (ox + 12, ox + 19):
            c.rect(x, 0, 1, 32, WOOD_DARK)
        c.rect(ox + 6, 6, 20, 3, IRON)
        c.rect(ox + 6, 23, 20, 3, IRON)
    else:
        c.rect(ox + 6, 0, 3, 32, WOOD)
        c.rect(ox + 23, 0, 3, 32, WOOD)
        c.rect(ox + 6, 0, 20, 2, WOOD_DARK)


def main():
    c = Canvas(128, 96)
    lever(c, 0, False)
    lever(c, 32, True)
    door(c, 64, True)
    door(c, 96, False)
    # Row 2: hammer cylinder, piston head, rod, bullet.
    c.rect(6, 32, 20, 28, IRON_DARK)
    c.rect(8, 34, 16, 24, IRON)
    c.rect(32 + 2, 40, 28, 16, IRON)
    c.rect(32 + 2, 40, 28, 3, hexc("c0c8d0"))
    c.rect(32 + 2, 53, 28, 3, IRON_DARK)
    c.rect(64, 44, 32, 8, BRASS)
    c.rect(64, 47, 32, 2, hexc("f0d070"))
    c.ellipse(112, 48, 6, 6, hexc("ff8a30"))
    c.ellipse(112, 48, 3, 3, hexc("fff0a0"))
    # Row 3: planks solid, cracking, broken.
    c.rect(0, 64, 32, 12, WOOD)
    c.rect(0, 64, 32, 2, hexc("c08a50"))
    c.rect(32, 64, 32, 12, WOOD)
    for x, y in ((38, 66), (45, 70), (52, 67), (58, 72)):
        c.rect(x, y, 2, 4, WOOD_DARK)
    for x in range(64, 96, 8):
        c.rect(x, 68 + (x // 8) % 3, 5, 5, hexc("a0683a", 140))
    # The shooter: a barrel on a stand.
    c.rect(96 + 4, 70, 24, 10, IRON_DARK)
    c.rect(96 + 12, 80, 8, 14, WOOD_DARK)
    print(write_png(os.path.join(OUT, "machines.png"), c), "bytes")


if __name__ == "__main__":
    main()
