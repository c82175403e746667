#!/usr/bin/env python3
"""Draws the 16x16 icon of the Delete menu item (a red cross) as a 32-bit
ICO file into this folder."""
import os
import sys

# The ICO writer of the services' icons.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "services", "icons"))
from make_icons import ico  # noqa: E402

SIZE = 16
RED = (200, 30, 30)
DARK = (120, 10, 10)


def main():
    p = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
    for i in range(3, 13):
        for d in (-1, 0, 1):
            for x, y in ((i + d, i), (15 - i + d, i)):
                if 0 <= x < SIZE:
                    p[y][x] = (RED if d == 0 else DARK) + (255,)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "delete.ico"), "wb") as out:
        out.write(ico(p))


if __name__ == "__main__":
    main()
