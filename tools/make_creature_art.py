#!/usr/bin/env python3
"""Draws the meadow's creatures and the health bar into game/Data/Images/creatures.png.

Layout of the 128 x 64 picture, in 32 x 32 cells from the top-left corner:
  row 0: wasp (two wing frames), hedgehog (two step frames)
  row 1: rabbit (two hop frames), then the health bar: its frame (64 x 16 at x 64, y 32)
         and a plain white fill block (8 x 8 at x 64, y 48) that the game tints and stretches.
Every creature faces right; the engine mirrors it when it moves left.

Run it from anywhere: python3 tools/make_creature_art.py
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_game_art import INK, OUT, WHITE, Canvas, hexc, write_png  # noqa: E402

WASP_YELLOW, WASP_DARK = hexc("ffcc33"), hexc("3a2a1a")
WING, WING_EDGE = hexc("dff4ff", 190), hexc("9cc8e8", 220)
SPINE, SPINE_DARK, BELLY = hexc("7a5536"), hexc("4e3422"), hexc("e8c9a0")
FUR, FUR_SHADE, FUR_LIGHT = hexc("c9b8a6"), hexc("9c8a7a"), hexc("f2e8dc")
PINK = hexc("f08aa0")


def wasp(flap):
    c = Canvas(32, 32)
    # Wings above the body: up in one frame, flat in the other.
    wy = 6 if flap else 10
    c.ellipse(13, wy + 3, 5, 4 if flap else 3, WING)
    c.ellipse(18, wy + 4, 4, 3, WING_EDGE)
    # Striped body, head on the right, sting on the left.
    for x in range(6, 22):
        for y in range(13, 22):
            dx, dy = (x + 0.5 - 14) / 8, (y + 0.5 - 17.5) / 4.5
            if dx * dx + dy * dy <= 1:
                c.set(x, y, WASP_DARK if (x // 3) % 2 == 0 else WASP_YELLOW)
    c.ellipse(24, 16, 4, 4, WASP_DARK)
    c.set(25, 15, WHITE)
    c.set(4, 17, WASP_DARK)
    c.set(5, 17, WASP_DARK)
    c.outline(INK)
    return c


def hedgehog(step):
    c = Canvas(32, 32)
    # Spiky back: a half disc of spines with a jagged top edge.
    for x in range(3, 25):
        for y in range(12, 28):
            dx, dy = (x + 0.5 - 13) / 11, (y + 0.5 - 27) / 14
            jag = 0.08 if (x + y) % 3 == 0 else 0
            if dx * dx + dy * dy <= 1 - jag:
                c.set(x, y, SPINE_DARK if (x * 7 + y * 3) % 5 == 0 else SPINE)
    # Face and belly.
    c.ellipse(24, 23, 5, 4, BELLY)
    c.set(29, 23, INK)
    c.set(25, 21, INK)
    # Feet, shifted with the step.
    for fx in ((8, 18) if step else (10, 20)):
        c.rect(fx, 28, 3, 2, SPINE_DARK)
    c.outline(INK)
    return c


def rabbit(hop):
    c = Canvas(32, 32)
    lift = 3 if hop else 0
    # Body, head, ears, tail.
    c.ellipse(14, 22 - lift, 8, 6, FUR)
    c.ellipse(13, 24 - lift, 6, 3, FUR_LIGHT)
    c.ellipse(23, 15 - lift, 5, 5, FUR)
    c.rect(20, 3 - lift, 2, 9, FUR)
    c.rect(23, 4 - lift, 2, 8, FUR_SHADE)
    c.rect(20, 5 - lift, 1, 5, PINK)
    c.ellipse(5, 21 - lift, 3, 3, FUR_LIGHT)
    c.set(25, 14 - lift, INK)
    c.set(27, 16 - lift, PINK)
    # Hind foot stretched out while hopping, tucked in otherwise.
    if hop:
        c.rect(5, 26, 6, 2, FUR_SHADE)
    else:
        c.rect(10, 27, 7, 2, FUR_SHADE)
    c.outline(INK)
    return c


def health_bar(c, ox, oy):
    # A dark trough with a gold rim; the fill is drawn over it by the game.
    for y in range(16):
        for x in range(64):
            corner = min(x, 63 - x) + min(y, 15 - y)
            if corner < 1:
                continue
            rim = x in (0, 63) or y in (0, 15) or corner == 1
            colour = hexc("d6ad5c") if rim else (hexc("8a6a3a") if x in (1, 62) or y in (1, 14)
                                                 else hexc("2a2140", 220))
            c.set(ox + x, oy + y, colour)


def creatures():
    c = Canvas(128, 64)
    c.blit(wasp(True), 0, 0)
    c.blit(wasp(False), 32, 0)
    c.blit(hedgehog(True), 64, 0)
    c.blit(hedgehog(False), 96, 0)
    c.blit(rabbit(False), 0, 32)
    c.blit(rabbit(True), 32, 32)
    health_bar(c, 64, 32)
    c.rect(64, 48, 8, 8, WHITE)
    return c


def main():
    canvas = creatures()
    size = write_png(os.path.join(OUT, "creatures.png"), canvas)
    print(f"creatures.png {canvas.w} x {canvas.h} {size} bytes")


if __name__ == "__main__":
    main()
