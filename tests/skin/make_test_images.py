"""Writes small test images with Pillow for the skin and map command tests.

  make_test_images.py DIR NAME:WIDTHxHEIGHT:MODE ...

MODE is P (8-bit palette, a grey ramp), L or RGB; the format follows the
name's ending (.pcx, .bmp, .tga). Texel (x, y) holds (x + 3 * y) % 256 as
its palette index or grey value; RGB images put x in red, y in green and
(x + y) % 256 in blue.
"""

import os
import sys

from PIL import Image


def make(width, height, mode):
    image = Image.new(mode, (width, height))
    if mode == "RGB":
        image.putdata([(x % 256, y % 256, (x + y) % 256) for y in range(height) for x in range(width)])
    else:
        image.putdata([(x + 3 * y) % 256 for y in range(height) for x in range(width)])
    if mode == "P":
        image.putpalette([v for i in range(256) for v in (i, i, i)])
    return image


def main():
    folder = sys.argv[1]
    for spec in sys.argv[2:]:
        name, size, mode = spec.split(":")
        width, height = (int(v) for v in size.split("x"))
        make(width, height, mode).save(os.path.join(folder, name))


if __name__ == "__main__":
    main()
