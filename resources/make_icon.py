#!/usr/bin/env python3
"""Draws pictrim's icon: a photo with a smaller copy of it in front, and an
arrow from the one to the other. Writes MAINICON.ico (32 x 32, 256-colour
palette, transparency mask) and pictrim-256.png for modern desktops.
Run it again after changing the drawing; both files are committed."""

import struct
import zlib
from pathlib import Path

SKY_TOP = (96, 160, 232)
SKY_BOTTOM = (188, 222, 250)
HILL = (64, 150, 72)
SUN = (250, 196, 48)
FRAME = (250, 250, 250)
EDGE = (70, 70, 80)
ARROW = (216, 48, 40)


def in_round_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def photo(x, y, left, top, right, bottom):
    """Colour of a framed photo at (x, y), or None outside it."""
    w, h = right - left, bottom - top
    border = 0.045 * max(w, 0.3)
    if not in_round_rect(x, y, left, top, right, bottom, 0.06 * w):
        return None
    if not in_round_rect(x, y, left + border * 0.5, top + border * 0.5, right - border * 0.5,
                         bottom - border * 0.5, 0.05 * w):
        return EDGE
    il, it, ir, ib = left + border, top + border, right - border, bottom - border
    if not (il <= x <= ir and it <= y <= ib):
        return FRAME
    u, v = (x - il) / (ir - il), (y - it) / (ib - it)
    if (u - 0.30) ** 2 + (v - 1.25) ** 2 <= 0.55 ** 2 or (u - 0.95) ** 2 + (v - 1.35) ** 2 <= 0.6 ** 2:
        return HILL
    if (u - 0.74) ** 2 + (v - 0.30) ** 2 <= 0.13 ** 2:
        return SUN
    return tuple(int(a + (b - a) * v) for a, b in zip(SKY_TOP, SKY_BOTTOM))


def arrow(x, y):
    # A thick diagonal shaft from the big photo's centre towards the small one.
    t = ((x - 0.30) + (y - 0.30)) / 2
    d = abs((x - 0.30) - (y - 0.30)) / 2 ** 0.5
    if 0 <= t <= 0.16 and d <= 0.05:
        return True
    # The head: a triangle pointing down-right.
    tip = (0.62, 0.62)
    u = ((tip[0] - x) + (tip[1] - y)) / 2 ** 0.5
    v = abs((tip[0] - x) - (tip[1] - y)) / 2 ** 0.5
    return 0 <= u <= 0.19 and v <= u * 0.9


def colour_at(x, y):
    if arrow(x, y):
        return ARROW
    small = photo(x, y, 0.50, 0.52, 0.96, 0.90)
    if small is not None:
        return small
    return photo(x, y, 0.03, 0.08, 0.78, 0.66)


def render(size, samples=4):
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc, hits = [0, 0, 0], 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    if c is not None:
                        hits += 1
                        acc = [a + b for a, b in zip(acc, c)]
            alpha = 255 * hits // (samples * samples)
            rgb = tuple(a // hits for a in acc) if hits else (0, 0, 0)
            row.append(rgb + (alpha,))
        pixels.append(row)
    return pixels


def write_png(path, pixels):
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in pixels)
    size = len(pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    path.write_bytes(png)


def palette_256():
    """A 6 x 6 x 6 colour cube and 40 greys."""
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    greys = [(v, v, v) for v in (round(i * 255 / 41) for i in range(1, 41))]
    return cube + greys


def write_ico(path, pixels):
    size = len(pixels)
    palette = palette_256()

    def nearest(rgb):
        return min(range(256), key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, palette[i])))

    # Rows bottom-up: 8-bit indices, then the 1-bit AND mask (1 = transparent).
    xor_rows, and_rows = [], []
    for row in reversed(pixels):
        xor_rows.append(bytes(nearest(p[:3]) if p[3] >= 128 else 0 for p in row))
        bits = 0
        for p in row:
            bits = (bits << 1) | (1 if p[3] < 128 else 0)
        and_rows.append(bits.to_bytes(size // 8, "big").ljust((size // 8 + 3) // 4 * 4, b"\0"))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    image = header + colours + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), 6 + 16)
    path.write_bytes(struct.pack("<HHH", 0, 1, 1) + directory + image)


if __name__ == "__main__":
    here = Path(__file__).resolve().parent
    write_ico(here / "MAINICON.ico", render(32))
    write_png(here / "pictrim-256.png", render(256, samples=2))
