#!/usr/bin/env python3
"""Puts the pictures and sounds of the tutorial's game into tutorial/Data/.

The ground is drawn here, in the sample game's style: "ground.png" is one 32 x 32 tile of turf
on dirt and "dirt.png" one of plain dirt, both tiling seamlessly side by side, and "flag.png"
is the goal's flag. Every other picture and sound is a copy of the sample game's (made by the
other tools in this folder), so the tutorial's folder is a complete game on its own.

Run it from anywhere: python3 tools/make_tutorial_art.py
"""

import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from make_game_art import (Canvas, dirt_tile, grass_tile, hexc,  # noqa: E402
                           write_png)

GAME = os.path.join(HERE, "..", "game", "Data")
OUT = os.path.join(HERE, "..", "tutorial", "Data")

COPIED_PICTURES = ["sky.png", "hills.png", "hero.png", "coin.png", "creatures.png",
                   "machines.png", "tiles.png", "font.png", "small_font.png", "sparkle.png",
                   "glow.png"]
COPIED_SOUNDS = ["coin.wav", "birds1.wav", "menu_press.wav"]


def ground():
    c = Canvas(32, 32)
    grass_tile(c, 0, 0)
    return c


def dirt():
    c = Canvas(32, 32)
    dirt_tile(c, 0, 0, 9, False)
    return c


def flag():
    """A pennant on a pole, 16 x 32: the pole on the left, the cloth blowing right."""
    c = Canvas(16, 32)
    c.rect(1, 1, 2, 31, hexc("5e3a1e"))
    c.rect(1, 0, 2, 1, hexc("d8b048"))
    for y in range(2, 12):
        length = 12 - abs(y - 7)
        c.rect(3, y, length, 1, hexc("d04030") if y < 7 else hexc("a8301c"))
    return c


def main():
    os.makedirs(os.path.join(OUT, "Images"), exist_ok=True)
    os.makedirs(os.path.join(OUT, "Sounds"), exist_ok=True)
    for name, draw in (("ground.png", ground), ("dirt.png", dirt), ("flag.png", flag)):
        canvas = draw()
        size = write_png(os.path.join(OUT, "Images", name), canvas)
        print(f"{name:16} {canvas.w:4} x {canvas.h:<4} {size:7} bytes")
    for name in COPIED_PICTURES:
        shutil.copyfile(os.path.join(GAME, "Images", name), os.path.join(OUT, "Images", name))
    for name in COPIED_SOUNDS:
        shutil.copyfile(os.path.join(GAME, "Sounds", name), os.path.join(OUT, "Sounds", name))


if __name__ == "__main__":
    main()
