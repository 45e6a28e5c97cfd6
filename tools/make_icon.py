#!/usr/bin/env python3
"""Draws the program's icon: a page of instruction lines under a magnifier.

Usage: make_icon.py OUTPUT.ico
"""
import sys

from PIL import Image, ImageDraw

SIZE = 256
BLUE = (0, 96, 192, 255)
LIGHT_BLUE = (0, 136, 255, 255)
VIOLET = (144, 0, 255, 255)
WHITE = (255, 255, 255, 255)
RED = (230, 40, 40, 255)


def draw():
    img = Image.new("RGBA", (SIZE, SIZE), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    # The page.
    d.rounded_rectangle((20, 12, 196, 236), radius=22, fill=WHITE, outline=BLUE, width=12)
    # Mnemonic stubs and description lines.
    for i, y in enumerate(range(50, 200, 34)):
        d.rectangle((44, y, 84, y + 14), fill=VIOLET if i % 2 == 0 else BLUE)
        d.rectangle((96, y, 170 - (i % 3) * 18, y + 14), fill=LIGHT_BLUE)
    # The magnifier.
    d.line((190, 190, 240, 240), fill=RED, width=30)
    d.ellipse((112, 112, 212, 212), fill=(255, 255, 255, 200), outline=RED, width=16)
    return img


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    draw().save(sys.argv[1], format="ICO", sizes=[(16, 16), (24, 24), (32, 32), (48, 48), (256, 256)])


if __name__ == "__main__":
    main()
