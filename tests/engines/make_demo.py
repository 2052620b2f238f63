#!/usr/bin/env python3
"""Writes a short v1.9 demo that plays MAPnn: the player turns and walks a
little, so that the engine sets up, thinks and renders the level.

    make_demo.py MAP_NUMBER OUT.lmp [TICS]
"""
import struct
import sys


def demo(map_number, tics):
    # version 1.9, skill 3, episode 1, map, no deathmatch/respawn/fast/nomonsters,
    # console player 0, only player 1 in the game
    out = bytes([109, 2, 1, map_number, 0, 0, 0, 0, 0, 1, 0, 0, 0])
    for tic in range(tics):
        forward = 25 if (tic // 35) % 2 == 0 else -25
        out += struct.pack("<bbBB", forward, 0, 3, 0)
    return out + b"\x80"


if __name__ == "__main__":
    tics = int(sys.argv[3]) if len(sys.argv) > 3 else 140
    with open(sys.argv[2], "wb") as f:
        f.write(demo(int(sys.argv[1]), tics))
