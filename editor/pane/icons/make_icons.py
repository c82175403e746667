#!/usr/bin/env python3
"""Draws the 16x16 images of the phrase pane's toolbar as 32-bit ICO files
into this folder: Add New (a sheet with a green plus), All Phrases (a list
of lines) and Checked Only (a ticked box). The Delete image is the frame's
red cross. Run from anywhere; the outputs are committed."""
import os
import sys

# The ICO writer of the services' icons.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "services", "icons"))
from make_icons import ico  # noqa: E402

SIZE = 16
SHEET = (255, 255, 255)
EDGE = (70, 90, 140)
GREEN = (30, 150, 60)
INK = (60, 60, 60)
BOX = (40, 70, 140)


def blank():
    return [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]


def fill(p, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            p[y][x] = colour + (255,)


def add_new():
    p = blank()
    fill(p, 2, 1, 12, 15, EDGE)
    fill(p, 3, 2, 11, 14, SHEET)
    for y in (5, 8, 11):
        fill(p, 4, y, 9, y + 1, INK)
    fill(p, 9, 6, 15, 10, GREEN)
    fill(p, 10, 5, 14, 11, GREEN)
    fill(p, 11, 4, 13, 12, GREEN)
    fill(p, 10, 7, 14, 9, SHEET)
    fill(p, 11, 6, 13, 10, SHEET)
    return p


def all_phrases():
    p = blank()
    for y in (2, 6, 10):
        fill(p, 1, y, 4, y + 3, BOX)
        fill(p, 6, y + 1, 15, y + 2, INK)
    return p


def checked_only():
    p = blank()
    fill(p, 1, 1, 15, 15, BOX)
    fill(p, 2, 2, 14, 14, SHEET)
    for i in range(4):  # the short stroke of the tick
        fill(p, 4 + i, 7 + i, 6 + i, 9 + i, GREEN)
    for i in range(6):  # the long stroke
        fill(p, 7 + i, 9 - i, 9 + i, 11 - i, GREEN)
    return p


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in (("add_new.ico", add_new), ("all_phrases.ico", all_phrases),
                       ("checked_only.ico", checked_only)):
        with open(os.path.join(here, name), "wb") as out:
            out.write(ico(draw()))


if __name__ == "__main__":
    main()
