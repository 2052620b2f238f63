#!/usr/bin/env python3
"""Writes a tiny IWAD to the path given: a palette, two patches, a texture
made of both, a texture HOLE made of a patch the IWAD lacks, a flat between
F_START and F_END, and a sprite - every part of the game's art the catalogue
reads, in a few hundred bytes."""
import struct
import sys


def picture(width, height, colour):
    # Column offsets, then each column as one post of the full height.
    header = struct.pack("<hhhh", width, height, 0, 0)
    columns = b""
    offsets = []
    for x in range(width):
        offsets.append(8 + 4 * width + len(columns))
        columns += bytes([0, height, 0]) + bytes([colour + x] * height) + bytes([0, 255])
    return header + b"".join(struct.pack("<I", o) for o in offsets) + columns


def main(path):
    playpal = bytes((i, 255 - i, i // 2)[k] for i in range(256) for k in range(3)) * 14
    pnames = struct.pack("<i", 3) + b"PATCHA\0\0" + b"PATCHB\0\0" + b"NOPATCH\0"
    wall = (b"WALL\0\0\0\0" + struct.pack("<ihhih", 0, 16, 8, 0, 2)
            + struct.pack("<hhhhh", 0, 0, 0, 1, 0) + struct.pack("<hhhhh", 8, -2, 1, 1, 0))
    hole = b"HOLE\0\0\0\0" + struct.pack("<ihhih", 0, 8, 8, 0, 1) + struct.pack("<hhhhh", 0, 0, 2, 1, 0)
    texture1 = struct.pack("<iii", 2, 12, 12 + len(wall)) + wall + hole
    lumps = [
        (b"PLAYPAL", playpal), (b"PNAMES", pnames), (b"TEXTURE1", texture1),
        (b"PATCHA", picture(8, 8, 16)), (b"PATCHB", picture(8, 8, 32)),
        (b"F_START", b""), (b"FLOOR0_1", bytes(range(64)) * 64), (b"F_END", b""),
        (b"PLAYA1", picture(4, 6, 112)),
    ]
    data = b""
    directory = b""
    for name, body in lumps:
        directory += struct.pack("<II", 12 + len(data), len(body)) + name.ljust(8, b"\0")
        data += body
    with open(path, "wb") as out:
        out.write(b"IWAD" + struct.pack("<II", len(lumps), 12 + len(data)) + data + directory)


if __name__ == "__main__":
    main(sys.argv[1])
