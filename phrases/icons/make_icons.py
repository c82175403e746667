#!/usr/bin/env python3
"""Draws the phrase menu's 16x16 icons (32-bit ICO files) into this folder."""
import struct

SIZE = 16


def ico(pixels):
    """pixels: 16 rows of 16 (r, g, b, a) tuples, top row first."""
    rows = b"".join(
        b"".join(struct.pack("BBBB", b, g, r, a) for (r, g, b, a) in row) for row in reversed(pixels)
    )
    mask = b"\0" * (4 * SIZE)  # the alpha channel decides; AND mask rows are 32-bit aligned
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    image = header + rows + mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22) + image


def canvas():
    return [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]


def fill(p, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            p[y][x] = colour + (255,)


def disc(p, colour, ring=None):
    for y in range(SIZE):
        for x in range(SIZE):
            d = (x - 7.5) ** 2 + (y - 7.5) ** 2
            if d <= 56:
                p[y][x] = (ring if ring and d > 36 else colour) + (255,)


def letter(p, rows, colour, x0=4, y0=4):
    for dy, line in enumerate(rows):
        for dx, ch in enumerate(line):
            if ch == "#":
                p[y0 + dy][x0 + dx] = colour + (255,)


def make(name, draw):
    p = canvas()
    draw(p)
    with open(name, "wb") as f:
        f.write(ico(p))


G = ["#####", "#....", "#.###", "#...#", "#####"]
Y = ["#...#", ".#.#.", "..#..", "..#..", "..#.."]
W = ["#...#", "#...#", "#.#.#", "##.##", "#...#"]
M = ["#...#", "##.##", "#.#.#", "#...#", "#...#"]


def program(p):  # a window with a gear-like dot: a program to run
    fill(p, 1, 2, 15, 14, (40, 60, 140))
    fill(p, 2, 5, 14, 13, (230, 235, 245))
    fill(p, 6, 7, 10, 11, (200, 60, 40))


def formatted(p):  # a page with coloured lines: formatted text
    fill(p, 2, 1, 14, 15, (250, 250, 250))
    fill(p, 2, 1, 14, 2, (90, 90, 90))
    for y, c in ((4, (200, 40, 40)), (7, (40, 120, 200)), (10, (40, 160, 60)), (13, (120, 60, 160))):
        fill(p, 4, y, 12, y + 1, c)


def search(colour, glyph):
    def draw(p):
        disc(p, (255, 255, 255), colour)
        letter(p, glyph, colour, 5, 5)
    return draw


def globe(p):  # a web address
    disc(p, (70, 140, 220), (30, 80, 160))
    fill(p, 1, 7, 15, 9, (200, 230, 255))
    fill(p, 7, 1, 9, 15, (200, 230, 255))


make("menu_program.ico", program)
make("menu_formatted.ico", formatted)
make("menu_search_g.ico", search((50, 110, 230), G))
make("menu_search_y.ico", search((220, 40, 40), Y))
make("menu_web.ico", globe)
make("menu_search_w.ico", search((60, 60, 60), W))
make("menu_search_m.ico", search((0, 120, 200), M))
