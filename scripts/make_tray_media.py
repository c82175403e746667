#!/usr/bin/env python3
"""Draws the tray program's icons and synthesises its event sounds.

Writes resources/icons/tray_{active,inactive,alternate}.ico (16 and 32 px,
32-bit with alpha) and the seven short wav files in resources/sounds/.
Run from the repository root; the outputs are committed.
"""
import math
import os
import struct
import wave

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def letter_q(size, fg, bg):
    """A rounded square in bg holding a "Q" in fg; the tail makes it
    asymmetric so a turned frame differs from the upright one."""
    px = []
    c = (size - 1) / 2.0
    r_out, r_in = size * 0.36, size * 0.22
    corner = size * 0.2
    for y in range(size):
        row = []
        for x in range(size):
            # Rounded-square mask.
            dx = max(corner - x, x - (size - 1 - corner), 0)
            dy = max(corner - y, y - (size - 1 - corner), 0)
            if dx * dx + dy * dy > corner * corner:
                row.append((0, 0, 0, 0))
                continue
            d = math.hypot(x - c, y - c)
            ring = r_in <= d <= r_out
            tail = abs((x - c) - (y - c)) <= size * 0.07 and size * 0.1 <= x - c <= size * 0.46
            row.append(fg + (255,) if ring or tail else bg + (255,))
        px.append(row)
    return px


def ico_image(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(struct.pack('BBBB', b, g, r, a) for row in reversed(px) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(px):
        bits = 0
        out = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                out[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(out)
    return header + colour + mask


def write_ico(path, fg, bg):
    images = [ico_image(letter_q(s, fg, bg)) for s in (16, 32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip((16, 32), images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


def write_wav(path, notes, rate=22050):
    """notes: (frequency, seconds) pairs played one after another."""
    frames = bytearray()
    for freq, secs in notes:
        n = int(rate * secs)
        for i in range(n):
            env = min(1.0, i / (rate * 0.005), (n - i) / (rate * 0.02))
            v = int(12000 * env * math.sin(2 * math.pi * freq * i / rate)) if freq else 0
            frames += struct.pack('<h', v)
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def main():
    icons = os.path.join(ROOT, 'resources', 'icons')
    sounds = os.path.join(ROOT, 'resources', 'sounds')
    os.makedirs(icons, exist_ok=True)
    os.makedirs(sounds, exist_ok=True)
    write_ico(os.path.join(icons, 'tray_active.ico'), (255, 255, 255), (36, 99, 200))
    write_ico(os.path.join(icons, 'tray_inactive.ico'), (235, 235, 235), (128, 128, 128))
    write_ico(os.path.join(icons, 'tray_alternate.ico'), (255, 255, 255), (222, 120, 30))
    tunes = {
        'kbd.wav': [(1800, 0.03)],
        'launch.wav': [(523, 0.07), (784, 0.09)],
        'paper.wav': [(300, 0.04), (0, 0.02), (260, 0.04)],
        'menu.wav': [(988, 0.05)],
        'start.wav': [(523, 0.08), (659, 0.08), (784, 0.12)],
        'start_as_admin.wav': [(784, 0.08), (659, 0.08), (988, 0.14)],
        'already_work.wav': [(440, 0.1), (0, 0.05), (440, 0.1)],
    }
    for name, notes in tunes.items():
        write_wav(os.path.join(sounds, name), notes)


if __name__ == '__main__':
    main()
