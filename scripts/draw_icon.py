#!/usr/bin/env python3
"""Draws the application icon: a serial (D-sub) plug, an arrow, a keyboard.

Writes resources/app_icon.ico: one 32x32 image, 8 bits per pixel (256-colour
palette), with its transparency mask. Run it again after changing the drawing.
"""
import struct
import sys
from pathlib import Path

W = H = 32
PALETTE = [
    (0, 0, 0),        # 0 transparent (masked)
    (30, 30, 30),     # 1 outline
    (150, 160, 170),  # 2 plug metal
    (90, 100, 110),   # 3 plug shade
    (250, 210, 60),   # 4 pins
    (40, 150, 60),    # 5 arrow
    (235, 235, 235),  # 6 key top
    (70, 70, 80),     # 7 keyboard body
    (20, 90, 200),    # 8 cable
]

px = [[0] * W for _ in range(H)]


def rect(x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            px[y][x] = c


def frame(x0, y0, x1, y1, c):
    for x in range(x0, x1 + 1):
        px[y0][x] = px[y1][x] = c
    for y in range(y0, y1 + 1):
        px[y][x0] = px[y][x1] = c


# Cable entering the plug from the top left.
rect(5, 0, 7, 3, 8)
# D-sub plug: a trapezoid shell, wider at the top, with two rows of pins.
for i, y in enumerate(range(4, 15)):
    inset = i // 4
    rect(1 + inset, y, 11 - inset, y, 2)
    px[y][1 + inset] = px[y][11 - inset] = 1
rect(1, 4, 11, 4, 1)
rect(3, 14, 9, 14, 1)
for x in (3, 5, 7, 9):
    px[7][x] = 4
for x in (4, 6, 8):
    px[10][x] = 4
rect(2, 5, 10, 5, 3)

# Arrow pointing right and down towards the keyboard.
rect(13, 8, 22, 10, 5)
for i in range(5):
    rect(23 + i, 5 + i, 23 + i, 13 - i, 5)
for x in range(22, 28):
    px[7][x] = px[7][x]

# Keyboard: a dark body with three rows of light keys and a space bar.
rect(2, 18, 29, 30, 7)
frame(2, 18, 29, 30, 1)
for row, y in enumerate((20, 23, 26)):
    start = 4 + row
    for x in range(start, 27, 3):
        rect(x, y, x + 1, y + 1, 6)
rect(9, 28, 22, 29, 6)


def write_ico(path):
    xor = b""
    for y in range(H - 1, -1, -1):  # bottom-up rows
        xor += bytes(px[y])
    mask = b""
    for y in range(H - 1, -1, -1):
        bits = 0
        for x in range(W):
            bits = (bits << 1) | (1 if px[y][x] == 0 else 0)
        mask += struct.pack(">I", bits)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    palette += b"\0\0\0\0" * (256 - len(PALETTE))
    header = struct.pack("<IiiHHIIiiII", 40, W, H * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", W, H, 0, 0, 1, 8, len(image), 6 + 16)
    Path(path).write_bytes(directory + entry + image)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).resolve().parent.parent / "resources" / "app_icon.ico")
    write_ico(out)
    print(out)
