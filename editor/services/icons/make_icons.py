#!/usr/bin/env python3
"""Draws the 16x16 icon of macro menu tips (a percent sign on a tag) as a
32-bit ICO file into this folder."""
import os
import struct

SIZE = 16
TAG = (250, 214, 90)
INK = (120, 60, 0)


def ico(pixels):
    rows = b"".join(
        b"".join(struct.pack("BBBB", b, g, r, a) for (r, g, b, a) in row) for row in reversed(pixels)
    )
    mask = b"\0" * (4 * SIZE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    image = header + rows + mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22) + image


def main():
    p = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                p[y][x] = colour + (255,)

    fill(1, 3, 15, 13, TAG)
    for y in range(4, 12):
        x = 11 - (y - 4)
        fill(x, y, x + 2, y + 1, INK)
    fill(3, 4, 6, 7, INK)
    fill(10, 9, 13, 12, INK)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "macro_tip.ico"), "wb") as out:
        out.write(ico(p))


if __name__ == "__main__":
    main()
