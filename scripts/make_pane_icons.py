#!/usr/bin/env python3
"""Draws the history pane's icons: caption buttons, item kinds and markers.

Writes resources/icons/pane_*.ico (32-bit with alpha, the sizes each use
needs). Run from the repository root; the outputs are committed.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_tray_media import ico_image  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLEAR = (0, 0, 0, 0)


def canvas(size):
    return [[CLEAR] * size for _ in range(size)]


def shape(size, inside, colour):
    """Paints every pixel whose centre, in unit coordinates 0..1, lies inside."""
    px = canvas(size)
    for y in range(size):
        for x in range(size):
            u, v = (x + 0.5) / size, (y + 0.5) / size
            c = inside(u, v)
            if c:
                px[y][x] = (c if isinstance(c, tuple) else colour) + (255,)
    return px


def near_segment(u, v, a, b, width):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(u - ax - t * dx, v - ay - t * dy) <= width


def close_cross(u, v):
    return near_segment(u, v, (0.25, 0.25), (0.75, 0.75), 0.09) or \
        near_segment(u, v, (0.75, 0.25), (0.25, 0.75), 0.09)


def arrow(up):
    def inside(u, v):
        w = v if up else 1 - v
        bar = 0.15 <= u <= 0.85 and (0.12 <= v <= 0.24 if up else 0.76 <= v <= 0.88)
        head = 0.35 <= w <= 0.62 and abs(u - 0.5) <= (w - 0.35) * 1.2
        stem = 0.62 <= w <= 0.86 and abs(u - 0.5) <= 0.1
        return bar or head or stem
    return inside


def pencil(u, v):
    if near_segment(u, v, (0.22, 0.78), (0.78, 0.22), 0.11):
        return (230, 170, 40) if u + v > 0.62 else (60, 60, 60)
    return None


def record(u, v):
    d = math.hypot(u - 0.5, v - 0.5)
    if d <= 0.36:
        return (210, 30, 30) if d <= 0.3 else (120, 10, 10)
    return None


def sheets(u, v):
    def sheet(l, t):
        r, b = l + 0.5, t + 0.6
        if l <= u <= r and t <= v <= b:
            edge = u - l < 0.07 or r - u < 0.07 or v - t < 0.07 or b - v < 0.07
            return (40, 70, 140) if edge else (255, 255, 255)
        return None
    return sheet(0.4, 0.32) or sheet(0.1, 0.08)


def pin(u, v):
    head = math.hypot(u - 0.5, v - 0.3) <= 0.22
    needle = abs(u - 0.5) <= 0.05 and 0.45 <= v <= 0.92
    if head:
        return (200, 40, 40)
    if needle:
        return (90, 90, 90)
    return None


def lock(u, v):
    body = 0.2 <= u <= 0.8 and 0.45 <= v <= 0.9
    d = math.hypot(u - 0.5, v - 0.42)
    shackle = 0.2 <= d <= 0.3 and v <= 0.45
    if body:
        return (200, 150, 20)
    if shackle:
        return (110, 110, 110)
    return None


def star(u, v):
    ang = math.atan2(v - 0.53, u - 0.5)
    d = math.hypot(u - 0.5, v - 0.53)
    k = (ang + math.pi / 2) % (2 * math.pi / 5) / (2 * math.pi / 5)
    limit = 0.2 + 0.26 * abs(1 - 2 * k)
    return (240, 190, 0) if d <= limit else None


def hand(u, v):
    """The quick-copy hint: a green round arrow into a sheet."""
    d = math.hypot(u - 0.5, v - 0.5)
    if d <= 0.46:
        if near_segment(u, v, (0.3, 0.5), (0.45, 0.68), 0.07) or \
           near_segment(u, v, (0.45, 0.68), (0.72, 0.3), 0.07):
            return (255, 255, 255)
        return (30, 150, 60) if d <= 0.4 else (10, 90, 30)
    return None


ICONS = {
    'pane_close.ico': (close_cross, (60, 60, 60), (16,)),
    'pane_minimize.ico': (arrow(True), (40, 60, 120), (16,)),
    'pane_edit.ico': (pencil, None, (16,)),
    'pane_keep.ico': (record, None, (16,)),
    'pane_copy.ico': (sheets, None, (16,)),
    'pane_restore.ico': (arrow(False), (40, 60, 120), (16,)),
    'pane_fix.ico': (pin, None, (16,)),
    'pane_protected.ico': (lock, None, (16,)),
    'pane_newest.ico': (star, None, (16,)),
    'pane_quick_copy.ico': (hand, None, (16, 24, 32)),
}


def write_ico(path, inside, colour, sizes):
    images = [ico_image(shape(s, inside, colour)) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


def main():
    icons = os.path.join(ROOT, 'resources', 'icons')
    os.makedirs(icons, exist_ok=True)
    for name, (inside, colour, sizes) in ICONS.items():
        write_ico(os.path.join(icons, name), inside, colour, sizes)


if __name__ == '__main__':
    main()
