#!/usr/bin/env python3
"""Draws the editor's pictures and writes them as Windows files.

    art/make_art.py OUT_DIR

writes OUT_DIR/toolbar.bmp (bitmap 1001: twelve 24 by 24 tool bar pictures
side by side, 24-bit, magenta where the button shows through),
OUT_DIR/keldra.ico (32 by 32) and OUT_DIR/keldra_small.ico (16 by 16).
"""
import math
import os
import struct
import sys

CLEAR = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
LIGHT = (200, 200, 200)
DARK = (64, 64, 64)
RED = (210, 30, 30)
GREEN = (30, 160, 50)
BLUE = (40, 80, 200)
NAVY = (20, 40, 120)
YELLOW = (240, 200, 60)
BROWN = (150, 90, 40)
ORANGE = (230, 130, 40)


class Picture:
    def __init__(self, size):
        self.size = size
        self.pixels = [[CLEAR] * size for _ in range(size)]

    def dot(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, colour)

    def box(self, x0, y0, x1, y1, colour):
        self.line(x0, y0, x1, y0, colour)
        self.line(x1, y0, x1, y1, colour)
        self.line(x1, y1, x0, y1, colour)
        self.line(x0, y1, x0, y0, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for dy in range(width):
                for dx in range(width):
                    self.dot(x + dx, y + dy, colour)

    def polygon(self, points, colour):
        ys = [p[1] for p in points]
        for y in range(min(ys), max(ys) + 1):
            cuts = []
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya <= y < yb) or (yb <= y < ya):
                    cuts.append(xa + (y - ya) * (xb - xa) / (yb - ya))
            cuts.sort()
            for a, b in zip(cuts[0::2], cuts[1::2]):
                for x in range(math.ceil(a), math.floor(b) + 1):
                    self.dot(x, y, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(self.size):
            for x in range(self.size):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.dot(x, y, colour)

    def glyph(self, rows, x0, y0, colour):
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if c == "#":
                    self.dot(x0 + x, y0 + y, colour)


def new_page():
    p = Picture(24)
    p.polygon([(5, 2), (15, 2), (19, 6), (19, 21), (5, 21)], WHITE)
    p.line(5, 2, 15, 2, BLACK)
    p.line(15, 2, 19, 6, BLACK)
    p.line(19, 6, 19, 21, BLACK)
    p.line(19, 21, 5, 21, BLACK)
    p.line(5, 21, 5, 2, BLACK)
    p.line(15, 2, 15, 6, BLACK)
    p.line(15, 6, 19, 6, BLACK)
    p.polygon([(16, 3), (18, 5), (16, 5)], LIGHT)
    # A sparkle: something new.
    p.line(10, 10, 14, 14, YELLOW, 2)
    p.line(10, 14, 14, 10, YELLOW, 2)
    p.line(12, 9, 12, 15, ORANGE)
    p.line(9, 12, 15, 12, ORANGE)
    return p


def open_folder():
    p = Picture(24)
    p.polygon([(2, 6), (8, 6), (10, 8), (19, 8), (19, 19), (2, 19)], BROWN)
    p.polygon([(5, 11), (22, 11), (19, 19), (2, 19)], YELLOW)
    p.line(5, 11, 22, 11, BLACK)
    p.line(22, 11, 19, 19, BLACK)
    p.line(19, 19, 2, 19, BLACK)
    p.line(2, 19, 2, 6, BLACK)
    p.line(2, 6, 8, 6, BLACK)
    p.line(8, 6, 10, 8, BLACK)
    p.line(10, 8, 19, 8, BLACK)
    p.line(19, 8, 19, 10, BLACK)
    # The arrow out of the folder.
    p.line(14, 6, 18, 2, GREEN, 2)
    p.polygon([(15, 1), (21, 1), (21, 7)], GREEN)
    return p


def save_disk():
    p = Picture(24)
    p.polygon([(3, 3), (19, 3), (21, 5), (21, 21), (3, 21)], BLUE)
    p.box(3, 3, 21, 21, NAVY)
    p.fill(7, 3, 17, 9, LIGHT)
    p.fill(13, 4, 15, 8, NAVY)
    p.fill(6, 13, 18, 21, WHITE)
    p.line(8, 15, 16, 15, GREY)
    p.line(8, 18, 16, 18, GREY)
    return p


def edit_pencil():
    p = Picture(24)
    # A pencil lying from the bottom left to the top right, over a line.
    p.line(3, 21, 21, 21, GREY)
    p.polygon([(3, 20), (6, 13), (17, 2), (21, 6), (10, 17)], YELLOW)
    p.line(6, 13, 17, 2, BLACK)
    p.line(10, 17, 21, 6, BLACK)
    p.line(17, 2, 21, 6, BLACK)
    p.polygon([(3, 20), (6, 13), (10, 17)], (240, 210, 160))
    p.line(3, 20, 6, 13, BLACK)
    p.line(3, 20, 10, 17, BLACK)
    p.fill(3, 19, 4, 20, BLACK)
    p.polygon([(15, 4), (17, 2), (21, 6), (19, 8)], RED)
    return p


def delete_cross():
    p = Picture(24)
    p.line(4, 4, 18, 18, RED, 3)
    p.line(18, 4, 4, 18, RED, 3)
    return p


def grid_lines():
    p = Picture(24)
    p.fill(2, 2, 21, 21, WHITE)
    for c in (2, 8, 14, 20):
        p.line(c, 2, c, 21, BLUE)
        p.line(2, c, 21, c, BLUE)
    p.box(2, 2, 21, 21, NAVY)
    return p


def axes_arrows():
    p = Picture(24)
    p.line(4, 20, 20, 20, RED, 2)  # x
    p.polygon([(17, 17), (22, 21), (17, 24)], RED)
    p.line(4, 3, 4, 20, GREEN, 2)  # y
    p.polygon([(1, 6), (5, 0), (8, 6)], GREEN)
    p.disc(5, 21, 2, BLACK)
    return p


def build_hammer():
    p = Picture(24)
    # Handle from the bottom left, head at the top right.
    p.line(3, 20, 14, 9, BROWN, 3)
    p.polygon([(11, 4), (16, -1), (23, 6), (18, 11)], DARK)
    p.polygon([(13, 4), (16, 1), (21, 6), (18, 9)], GREY)
    # Bricks it builds.
    p.fill(12, 18, 22, 22, ORANGE)
    p.line(12, 20, 22, 20, LIGHT)
    p.line(17, 18, 17, 19, LIGHT)
    p.line(14, 21, 14, 22, LIGHT)
    p.line(20, 21, 20, 22, LIGHT)
    return p


def play_triangle():
    p = Picture(24)
    p.polygon([(6, 3), (20, 12), (6, 21)], GREEN)
    p.line(6, 3, 20, 12, DARK)
    p.line(20, 12, 6, 21, DARK)
    p.line(6, 21, 6, 3, DARK)
    return p


def texture_bricks():
    p = Picture(24)
    p.fill(2, 2, 21, 21, (170, 70, 50))
    for row, y in enumerate(range(2, 22, 5)):
        p.line(2, y, 21, y, LIGHT)
        offset = 0 if row % 2 == 0 else 5
        for x in range(2 + offset, 22, 10):
            p.line(x, y, x, min(y + 5, 21), LIGHT)
    p.box(2, 2, 21, 21, BLACK)
    # The "default" mark: a small tick in a corner.
    p.fill(14, 14, 22, 22, WHITE)
    p.box(14, 14, 22, 22, BLACK)
    p.line(15, 18, 17, 20, GREEN, 2)
    p.line(17, 20, 21, 15, GREEN, 2)
    return p


def sector_shape():
    p = Picture(24)
    corners = [(2, 8), (10, 2), (21, 6), (19, 19), (6, 21)]
    p.polygon(corners, (120, 170, 120))
    for a, b in zip(corners, corners[1:] + corners[:1]):
        p.line(a[0], a[1], b[0], b[1], BLACK)
    for x, y in corners:
        p.fill(x - 1, y - 1, x + 1, y + 1, RED)
    p.fill(14, 14, 22, 22, WHITE)
    p.box(14, 14, 22, 22, BLACK)
    p.line(15, 18, 17, 20, GREEN, 2)
    p.line(17, 20, 21, 15, GREEN, 2)
    return p


def help_mark():
    p = Picture(24)
    p.disc(11.5, 11.5, 10.5, BLUE)
    p.glyph([
        " #### ",
        "##  ##",
        "    ##",
        "   ## ",
        "  ##  ",
        "  ##  ",
        "      ",
        "  ##  ",
        "  ##  ",
    ], 9, 7, WHITE)
    p.glyph(["######"], 9, 7, BLUE)
    p.glyph([" #### "], 9, 7, WHITE)
    return p


def icon(size):
    p = Picture(size)
    s = size / 32
    p.fill(0, 0, size - 1, size - 1, (150, 20, 20))
    p.box(0, 0, size - 1, size - 1, BLACK)
    w = max(1, round(4 * s))
    p.line(round(8 * s), round(5 * s), round(8 * s), round(26 * s), WHITE, w)
    p.line(round(10 * s), round(16 * s), round(23 * s), round(5 * s), WHITE, w)
    p.line(round(12 * s), round(14 * s), round(23 * s), round(26 * s), WHITE, w)
    return p


def bmp(pictures):
    height = pictures[0].size
    width = height * len(pictures)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for p in pictures:
            for r, g, b in p.pixels[y]:
                row += bytes((b, g, r))
        rows.append(bytes(row) + bytes(stride - len(row)))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info)) + info + data


def ico(p):
    n = p.size
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((n + 31) // 32) * 4
    for y in reversed(range(n)):
        bits = bytearray(mask_stride)
        for x, (r, g, b) in enumerate(p.pixels[y]):
            clear = (r, g, b) == CLEAR
            xor += bytes((0, 0, 0, 0) if clear else (b, g, r, 255))
            if clear:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + bytes(xor) + bytes(mask)
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(image), 22) + image


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    pictures = [new_page(), open_folder(), save_disk(), edit_pencil(), delete_cross(), grid_lines(),
                axes_arrows(), build_hammer(), play_triangle(), texture_bricks(), sector_shape(), help_mark()]
    with open(os.path.join(out, "toolbar.bmp"), "wb") as f:
        f.write(bmp(pictures))
    with open(os.path.join(out, "keldra.ico"), "wb") as f:
        f.write(ico(icon(32)))
    with open(os.path.join(out, "keldra_small.ico"), "wb") as f:
        f.write(ico(icon(16)))


if __name__ == "__main__":
    main()
