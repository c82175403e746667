#!/usr/bin/env python3
"""Draws the toolbars' 16x16 images into this folder: the phrase view's strip
(undo, redo, cut, copy, paste, into menu name, data type, insert macro, read
only), the links strip (home, support, forum, community, video) as 24-bit
BMP files on a magenta key, and the formatted-text icon as a 32-bit ICO."""
import os
import struct

S = 16
KEY = (255, 0, 255)
HERE = os.path.dirname(os.path.abspath(__file__))


def canvas():
    return [[KEY] * S for _ in range(S)]


def rect(p, x0, y0, x1, y1, c):
    for y in range(max(0, y0), min(S, y1)):
        for x in range(max(0, x0), min(S, x1)):
            p[y][x] = c


def frame(p, x0, y0, x1, y1, c):
    rect(p, x0, y0, x1, y0 + 1, c)
    rect(p, x0, y1 - 1, x1, y1, c)
    rect(p, x0, y0, x0 + 1, y1, c)
    rect(p, x1 - 1, y0, x1, y1, c)


def line(p, x0, y0, x1, y1, c):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        x = round(x0 + (x1 - x0) * i / n)
        y = round(y0 + (y1 - y0) * i / n)
        if 0 <= x < S and 0 <= y < S:
            p[y][x] = c


def page(p, x0, y0, x1, y1):
    rect(p, x0, y0, x1, y1, (255, 255, 255))
    frame(p, x0, y0, x1, y1, (70, 70, 90))
    for y in range(y0 + 3, y1 - 2, 2):
        rect(p, x0 + 2, y, x1 - 2, y + 1, (150, 150, 170))


BLUE, GREEN, RED, DARK, GOLD = (30, 90, 200), (20, 140, 60), (200, 30, 30), (40, 40, 40), (220, 170, 30)


def undo(p, mirror=False):
    pts = [(12, 11), (12, 7), (10, 5), (4, 5)]
    for (a, b) in zip(pts, pts[1:]):
        for d in (0, 1):
            line(p, a[0], a[1] + d, b[0], b[1] + d, BLUE)
    line(p, 4, 5, 7, 2, BLUE)
    line(p, 4, 6, 7, 9, BLUE)
    if mirror:
        for row in p:
            row.reverse()


def cut(p):
    line(p, 4, 2, 10, 10, DARK)
    line(p, 11, 2, 5, 10, DARK)
    frame(p, 2, 10, 7, 15, RED)
    frame(p, 9, 10, 14, 15, RED)


def copy(p):
    page(p, 1, 1, 10, 12)
    page(p, 6, 4, 15, 15)


def paste(p):
    rect(p, 2, 2, 13, 15, (170, 120, 60))
    rect(p, 5, 1, 10, 4, (120, 120, 120))
    page(p, 6, 6, 15, 15)


def into_menu(p):
    rect(p, 1, 2, 15, 14, (240, 240, 240))
    frame(p, 1, 2, 15, 14, DARK)
    rect(p, 2, 3, 14, 6, BLUE)
    rect(p, 3, 8, 12, 9, DARK)
    rect(p, 3, 11, 10, 12, DARK)


def data_type(p):
    page(p, 3, 1, 13, 15)
    rect(p, 5, 4, 11, 5, GREEN)


def macro(p):
    rect(p, 1, 3, 15, 13, (250, 214, 90))
    for y in range(4, 12):
        x = 11 - (y - 4)
        rect(p, x, y, x + 2, y + 1, (120, 60, 0))
    rect(p, 3, 4, 6, 7, (120, 60, 0))
    rect(p, 10, 9, 13, 12, (120, 60, 0))


def read_only(p):
    rect(p, 3, 7, 13, 15, GOLD)
    frame(p, 3, 7, 13, 15, (120, 90, 0))
    frame(p, 5, 2, 11, 8, (90, 90, 90))
    rect(p, 7, 10, 9, 13, DARK)


def home(p):
    for i in range(7):
        rect(p, 8 - i - 1, 1 + i, 8 + i + 1, 2 + i, RED)
    rect(p, 3, 8, 13, 15, (230, 200, 150))
    rect(p, 7, 10, 10, 15, (120, 70, 30))


def support(p):
    for y in range(S):
        for x in range(S):
            d = (x - 7.5) ** 2 + (y - 7.5) ** 2
            if d < 56:
                p[y][x] = BLUE
    rect(p, 7, 3, 9, 9, (255, 255, 255))
    rect(p, 7, 11, 9, 13, (255, 255, 255))


def forum(p):
    rect(p, 1, 2, 11, 9, GREEN)
    rect(p, 5, 7, 15, 13, BLUE)
    line(p, 3, 9, 3, 11, GREEN)
    line(p, 12, 13, 13, 15, BLUE)


def community(p):
    for cx, c in ((4, RED), (8, GREEN), (12, BLUE)):
        rect(p, cx - 1, 3, cx + 2, 6, c)
        rect(p, cx - 2, 7, cx + 3, 14, c)


def video(p):
    rect(p, 1, 3, 15, 13, DARK)
    for x in range(6, 12):
        half = (11 - x) * 3 // 5
        rect(p, x, 8 - half - 1, x + 1, 8 + half + 1, (255, 255, 255))


def bmp(name, images):
    width = S * len(images)
    rows = []
    for y in reversed(range(S)):
        row = b"".join(struct.pack("BBB", *reversed(img[y][x])) for img in images for x in range(S))
        row += b"\0" * ((4 - len(row) % 4) % 4)
        rows.append(row)
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, S, 1, 24, 0, len(data), 0, 0, 0, 0)
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header)))
        out.write(header + data)


def ico(name, img):
    rows = b"".join(
        b"".join(struct.pack("BBBB", c[2], c[1], c[0], 0 if c == KEY else 255) for c in row) for row in reversed(img)
    )
    mask = b"\0" * (4 * S)
    header = struct.pack("<IiiHHIIiiII", 40, S, S * 2, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    image = header + rows + mask
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", S, S, 0, 0, 1, 32, len(image), 22) + image)


def draw(fn, *args):
    p = canvas()
    fn(p, *args)
    return p


def rtf(p):
    page(p, 2, 1, 14, 15)
    rect(p, 4, 4, 12, 5, RED)
    rect(p, 4, 7, 9, 8, BLUE)
    rect(p, 4, 10, 11, 11, GREEN)


bmp("text_toolbar.bmp", [draw(undo), draw(undo, True), draw(cut), draw(copy), draw(paste), draw(into_menu),
                         draw(data_type), draw(macro), draw(read_only)])
bmp("links_toolbar.bmp", [draw(home), draw(support), draw(forum), draw(community), draw(video)])
ico("rtf_phrase.ico", draw(rtf))
