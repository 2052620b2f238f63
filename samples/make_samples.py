#!/usr/bin/env python3
"""Writes the sample maps of this folder (run it after changing a map here)."""
import struct
from pathlib import Path


def name(text):
    return text.encode("ascii").ljust(8, b"\0")


def chunk(label, records):
    # Link slots: nonzero in every record but the last, as the editor writes them.
    out = label + struct.pack("<i", len(records))
    for i, record in enumerate(records):
        out += record + struct.pack("<I", 0 if i == len(records) - 1 else 1)
    return out


def side(x, y, upper, lower, middle, sector):
    return struct.pack("<ii", x, y) + name(upper) + name(lower) + name(middle) + struct.pack("<i", sector)


def two_rooms():
    """A square room with a raised side room east of it, a player and an imp."""
    points = [(0, 0), (0, 256), (256, 256), (256, 192), (256, 64), (256, 0), (512, 192), (512, 64)]
    vertices = [struct.pack("<ff", x, y) + bytes(8) for x, y in points]
    sectors = [
        struct.pack("<ii", 0, 128) + name("FLOOR4_8") + name("CEIL3_5") + struct.pack("<iii", 160, 0, 0),
        struct.pack("<ii", 16, 112) + name("FLAT14") + name("CEIL3_5") + struct.pack("<iii", 192, 0, 0),
    ]
    wall = ("-", "-", "STARTAN3")
    one_sided = [(0, 1, 0), (1, 2, 0), (2, 3, 0), (4, 5, 0), (5, 0, 0), (3, 6, 1), (6, 7, 1), (7, 4, 1)]
    linedefs = []
    for start, end, sector in one_sided:
        linedefs.append(struct.pack("<iiiii", start, end, 1, 0, 0) + side(0, 0, *wall, sector) + side(0, 0, "-", "-", "-", -1))
    # The opening between the rooms: the step up faces the square room.
    linedefs.append(struct.pack("<iiiii", 3, 4, 4, 0, 0) + side(0, 0, "STARTAN3", "STEP6", "-", 0) + side(0, 0, "-", "-", "-", 1))
    things = [
        struct.pack("<ffiiii", 64, 128, 0, 1, 7, 0),  # player 1 start
        struct.pack("<ffiiii", 448, 128, 180, 3001, 7, 9),  # imp
    ]
    return (b"KDM " + struct.pack("<i", 1) + chunk(b"VERT", vertices) + chunk(b"SCTR", sectors)
            + chunk(b"LINE", linedefs) + chunk(b"THNG", things))


if __name__ == "__main__":
    (Path(__file__).parent / "two_rooms.kdm").write_bytes(two_rooms())
