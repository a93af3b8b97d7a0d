#!/usr/bin/python3
"""Joins PNG screenshots (from velden-run) into an animated GIF that loops for ever.

Usage: make_gif.py OUT.gif WIDTH HEIGHT MS_PER_FRAME FRAME.png...

Every frame is scaled to WIDTH x HEIGHT and drawn with one palette of 256 colours made from all
the frames together, so colours do not flicker from frame to frame. Needs Pillow (Debian's
python3-pil, for Debian's /usr/bin/python3).
"""

import sys

from PIL import Image


def main():
    if len(sys.argv) < 6:
        sys.exit(__doc__)
    out, width, height, ms = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    frames = [Image.open(p).convert("RGB").resize((width, height), Image.LANCZOS)
              for p in sys.argv[5:]]
    # One palette for all: quantize a strip of every frame side by side.
    strip = Image.new("RGB", (width, height * len(frames)))
    for i, frame in enumerate(frames):
        strip.paste(frame, (0, i * height))
    palette = strip.quantize(colors=256, method=Image.Quantize.MEDIANCUT)
    paletted = [f.quantize(palette=palette, dither=Image.Dither.NONE) for f in frames]
    paletted[0].save(out, save_all=True, append_images=paletted[1:], duration=ms, loop=0,
                     optimize=True, disposal=1)
    print(f"{out}: {len(frames)} frames of {width} x {height}, {ms} ms each")


if __name__ == "__main__":
    main()
