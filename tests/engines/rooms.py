#!/usr/bin/env python3
"""Writes a map script of many rooms on a seeded generator: rooms of random
sizes on a grid, corridors that share walls with their neighbours, rooms
inside rooms, void pillars, a player start and some monsters.

    rooms.py SEED COLUMNS ROWS OUT.kms
"""
import random
import sys


def square(x0, y0, x1, y1, clockwise=True):
    corners = [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]
    if not clockwise:
        corners.reverse()
    return "sector " + "  ".join(f"{x} {y}" for x, y in corners)


def rooms(seed, columns, rows):
    rng = random.Random(seed)
    lines = ["grid 8"]
    cell = 384
    for r in range(rows):
        for c in range(columns):
            x, y = c * cell, r * cell
            w, h = rng.randrange(160, 288, 8), rng.randrange(160, 288, 8)
            lines.append(square(x, y, x + w, y + h))
            kind = rng.randrange(4)
            if kind == 1:  # a void pillar
                lines.append(square(x + 48, y + 48, x + 80, y + 80, clockwise=False))
            elif kind == 2:  # a room inside the room
                lines.append(square(x + 40, y + 40, x + w - 40, y + h - 40))
            if c > 0:  # a corridor from the room on the left, sharing both rooms' walls
                lines.append(square(prev_right, y + 32, x, y + 96))
            prev_right = x + w
    # Corridors must start on the left room's wall: draw rows left to right,
    # so that prev_right is the right wall of the room just drawn.
    lines.append("thing 0 64 64")
    for _ in range(columns * rows // 3):
        c, r = rng.randrange(columns), rng.randrange(rows)
        lines.append(f"thing 9 {c * cell + 120} {r * cell + 130}")
    lines.append("save rooms.kdm")
    return "\n".join(lines) + "\n"


if __name__ == "__main__":
    seed, columns, rows, out = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    with open(out, "w") as f:
        f.write(rooms(seed, columns, rows))
