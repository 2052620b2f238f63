#!/usr/bin/env python3
"""Draws the map view's thing icon atlas and writes it as a Windows bitmap.

    art/make_atlas.py OUT_DIR [--preview PNG]

writes OUT_DIR/atlas.bmp (bitmap 1002: 88 by 88 pixels, 24-bit, 8 by 8 cells
of 11 by 11). Each thing category has one cell; the grey key colour
(126, 127, 128) is where the thing's own colour shows through: white, or red
when the thing is selected. Every icon keeps a free column at both sides,
because some categories are sampled a little to the right of their cell.
With --preview it also writes an enlarged PNG of the icons on white and on red.
"""
import os
import struct
import sys
import zlib

KEY = (126, 127, 128)
SIZE = 88
CELL = 11

# One letter per colour; '.' is the key colour.
COLOURS = {
    "k": (0, 0, 0),
    "g": (20, 130, 40),
    "G": (90, 200, 90),
    "r": (150, 20, 20),
    "R": (220, 40, 30),
    "y": (230, 190, 40),
    "Y": (200, 145, 0),
    "b": (140, 90, 30),
    "s": (70, 70, 80),
    "S": (150, 150, 160),
    "B": (30, 60, 200),
    "C": (120, 170, 255),
    "o": (240, 120, 20),
    "w": (250, 250, 250),
}

# Category, its cell (the thing type table's icon cells), and the picture.
ICONS = [
    ("player start", 48, [  # a green arrow: where the player stands, facing up
        "...........",
        ".....g.....",
        "....ggg....",
        "...ggGgg...",
        "..ggGGGgg..",
        ".gggGGGggg.",
        "....gGg....",
        "....gGg....",
        "....gGg....",
        "....ggg....",
        "...........",
    ]),
    ("enemy", 37, [  # a horned head
        ".k.......k.",
        ".rk.....kr.",
        ".rrkkkkkrr.",
        ".kRRRRRRRk.",
        ".kRRRRRRRk.",
        ".kRyyRyyRk.",
        ".kRRRRRRRk.",
        ".kRRkkkRRk.",
        "..kRwRwRk..",
        "...kRRRk...",
        "....kkk....",
    ]),
    ("weapon", 55, [  # a gun
        "...........",
        "...........",
        ".ssssssss..",
        ".sSSSSSSs..",
        ".ssssssss..",
        ".sss.s.....",
        ".sss.ss....",
        ".bbb.......",
        ".bbb.......",
        ".bbb.......",
        "...........",
    ]),
    ("ammunition", 33, [  # three rounds
        "...........",
        "..y..y..y..",
        ".yyyyyyyyy.",
        ".yyyyyyyyy.",
        ".bbbbbbbbb.",
        ".bbbbbbbbb.",
        ".bbbbbbbbb.",
        ".bbbbbbbbb.",
        ".bbbbbbbbb.",
        ".sssssssss.",
        "...........",
    ]),
    ("power-up", 53, [  # a blue sphere
        "...........",
        "....BBB....",
        "..BBBBBBB..",
        "..BCCBBBB..",
        ".BBCwBBBBB.",
        ".BBBBBBBBB.",
        ".BBBBBBBBB.",
        "..BBBBBBB..",
        "..BBBBBBB..",
        "....BBB....",
        "...........",
    ]),
    ("key", 43, [  # a key
        "...........",
        "..YYY......",
        ".YY.YY.....",
        ".Y...Y.....",
        ".YY.YY.....",
        "..YYYYYYYY.",
        "......Y.Y..",
        "......Y.Y..",
        "...........",
        "...........",
        "...........",
    ]),
    ("decoration", 36, [  # a burning torch
        "...........",
        ".....o.....",
        "....ooo....",
        "...ooyoo...",
        "...oyyyo...",
        "....ooo....",
        "....sSs....",
        ".....s.....",
        ".....s.....",
        "....sss....",
        "...........",
    ]),
    ("victim", 54, [  # a body hanging from a chain
        ".kkkkkkkkk.",
        ".....s.....",
        ".....s.....",
        "....kbk....",
        "....bbb....",
        "...kbRbk...",
        "..b.bRb.b..",
        "....bbb....",
        "....b.b....",
        "....R.R....",
        "...........",
    ]),
    ("corpse", 35, [  # a pool of blood with bones
        "...........",
        "...........",
        "..w.....w..",
        "..kw.kkwk..",
        ".krrwrwrrk.",
        ".krrrwrrrk.",
        ".krrwrwrrk.",
        "..kwkkkwk..",
        "..w.....w..",
        "...........",
        "...........",
    ]),
]


def draw():
    pixels = [[KEY] * SIZE for _ in range(SIZE)]
    for name, cell, rows in ICONS:
        assert len(rows) == CELL and all(len(r) == CELL for r in rows), name
        assert all(r[0] == "." and r[-1] == "." for r in rows), name + " needs free sides"
        x0, y0 = cell % 8 * CELL, cell // 8 * CELL
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if c != ".":
                    pixels[y0 + y][x0 + x] = COLOURS[c]
    return pixels


def write_bmp(path, pixels):
    width, height = len(pixels[0]), len(pixels)
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):  # bottom row first
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def write_preview(path, pixels, zoom=8):
    """The icons in a row, on white above and on red below, enlarged."""
    rows = []
    for background in ((255, 255, 255), (255, 0, 0)):
        strip = [[background] * (CELL * len(ICONS)) for _ in range(CELL)]
        for i, (_, cell, _) in enumerate(ICONS):
            x0, y0 = cell % 8 * CELL, cell // 8 * CELL
            for y in range(CELL):
                for x in range(CELL):
                    p = pixels[y0 + y][x0 + x]
                    strip[y][i * CELL + x] = background if p == KEY else p
        rows += strip
    raw = bytearray()
    for row in rows:
        for _ in range(zoom):
            raw.append(0)
            for p in row:
                raw += bytes(p) * zoom
    width, height = len(rows[0]) * zoom, len(rows) * zoom

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    pixels = draw()
    write_bmp(os.path.join(out, "atlas.bmp"), pixels)
    if len(sys.argv) == 4 and sys.argv[2] == "--preview":
        write_preview(sys.argv[3], pixels)


if __name__ == "__main__":
    main()
