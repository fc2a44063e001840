#!/usr/bin/env python3
"""Draws the Quadsum program icon and writes it to quadsum.ico.

Two images, 32x32 and 16x16, 16 colours on the standard Windows palette,
fully opaque: a raised grey frame around a sunken black panel with a
dark-green grid and a white trace across it.

Usage: python3 make_icon.py [output.ico]   (default: quadsum.ico beside this script)
"""

import os
import struct
import sys

# The 16-colour palette every Windows display driver has, in its usual order.
PALETTE = [
    (0, 0, 0),        # 0 black
    (128, 0, 0),      # 1 maroon
    (0, 128, 0),      # 2 green
    (128, 128, 0),    # 3 olive
    (0, 0, 128),      # 4 navy
    (128, 0, 128),    # 5 purple
    (0, 128, 128),    # 6 teal
    (192, 192, 192),  # 7 silver
    (128, 128, 128),  # 8 grey
    (255, 0, 0),      # 9 red
    (0, 255, 0),      # 10 lime
    (255, 255, 0),    # 11 yellow
    (0, 0, 255),      # 12 blue
    (255, 0, 255),    # 13 fuchsia
    (0, 255, 255),    # 14 aqua
    (255, 255, 255),  # 15 white
]
BLACK, GREEN, SILVER, GREY, WHITE = 0, 2, 7, 8, 15


class Canvas:
    def __init__(self, size, fill):
        self.size = size
        self.px = [[fill] * size for _ in range(size)]  # px[y][x], y=0 at top

    def set(self, x, y, c):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = c

    def ring(self, inset, light, dark):
        """One-pixel edge of the square inset by `inset`.

        The dark edges own the top-right and bottom-left corners, as in a
        classic 3-D control edge."""
        lo, hi = inset, self.size - 1 - inset
        for i in range(lo, hi + 1):
            self.set(i, lo, light)
            self.set(lo, i, light)
        for i in range(lo, hi + 1):
            self.set(i, hi, dark)
            self.set(hi, i, dark)

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        # Bresenham, so the trace stays one crisp pixel wide.
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def polyline(self, points, c):
        for (xa, ya), (xb, yb) in zip(points, points[1:]):
            self.line(xa, ya, xb, yb, c)


def draw(size):
    """Returns the picture for one icon size as a Canvas."""
    c = Canvas(size, SILVER)
    if size == 32:
        c.ring(0, WHITE, BLACK)   # raised outer edge
        c.ring(1, SILVER, GREY)
        # ring 2 stays the silver face of the frame
        c.ring(3, GREY, WHITE)    # sunken edge around the panel
        lo, hi = 4, 27
        grid = [8, 13, 18, 23]    # 4-pixel cells, symmetric in the panel
        trace = [(4, 20), (8, 11), (13, 23), (18, 7), (23, 18), (27, 12)]
    elif size == 16:
        # Too small for a face and a sunken edge: just the raised bevel.
        c.ring(0, WHITE, BLACK)
        c.ring(1, SILVER, GREY)
        lo, hi = 2, 13
        grid = [5, 10]
        trace = [(2, 10), (5, 4), (8, 10), (11, 4), (13, 8)]
    else:
        raise ValueError("no design for size %d" % size)
    c.rect(lo, lo, hi, hi, BLACK)
    for g in grid:
        c.line(g, lo, g, hi, GREEN)
        c.line(lo, g, hi, g, GREEN)
    c.polyline(trace, WHITE)
    return c


def row_bytes(bits_per_row):
    # DIB rows are padded to a 32-bit boundary.
    return (bits_per_row + 31) // 32 * 4


def dib(canvas):
    """The icon image as stored in an .ico: header, palette, XOR, AND."""
    n = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    for y in reversed(range(n)):           # bottom-up rows
        row = canvas.px[y]
        packed = bytearray((row[x] << 4) | row[x + 1] for x in range(0, n, 2))
        packed.extend(b"\0" * (row_bytes(4 * n) - len(packed)))
        xor += packed
    # All-zero AND mask: every pixel opaque.
    mask = bytes(row_bytes(n) * n)
    # biSizeImage covers both bitmaps, as the system writes it.
    header = header[:20] + struct.pack("<I", len(xor) + len(mask)) + header[24:]
    return header + palette + bytes(xor) + mask


def ico(canvases):
    images = [dib(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.size, c.size, 16, 0, 1, 4,
                           len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "quadsum.ico")
    data = ico([draw(32), draw(16)])
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (path, len(data)))


if __name__ == "__main__":
    main()
