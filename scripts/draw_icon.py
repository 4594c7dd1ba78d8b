#!/usr/bin/env python3
"""Draws the application icon: a serial (D-sub) plug, an arrow, a keyboard.

Writes resources/app_icon.ico with one image for each size Windows asks for
between 100% and 200% (16, 20, 24, 32, 40, 48, 64) and 256 for large views.
Each size is drawn for itself: edges fall on whole pixels, lines are a whole
number of pixels wide, and the number of pins and keys is what the size can
show, so that no image is a scaled copy of another. 32 bits per pixel with
an alpha channel (the 256 one as PNG, as Windows stores that size). Run it
again after changing the drawing.
"""
import struct
import sys
import zlib
from pathlib import Path

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)

OUTLINE = (30, 30, 30)
METAL = (150, 160, 170)
SHADE = (90, 100, 110)
PIN = (250, 210, 60)
ARROW = (40, 150, 60)
KEY = (235, 235, 235)
BODY = (70, 70, 80)
CABLE = (20, 90, 200)


class Canvas:
    """A size x size picture drawn `ss` times finer, averaged down at the end."""

    def __init__(self, size):
        self.size = size
        self.ss = 4 if size <= 64 else 2
        n = size * self.ss
        self.n = n
        self.rgba = [[(0, 0, 0, 0)] * n for _ in range(n)]

    def px(self, u):
        """A position given in 32ths of the icon, on a whole pixel of this size."""
        return round(u * self.size / 32)

    def rect(self, x0, y0, x1, y1, colour):
        """Fills whole pixels x0..x1-1, y0..y1-1."""
        s = self.ss
        row = (colour[0], colour[1], colour[2], 255)
        for y in range(max(0, y0 * s), min(self.n, y1 * s)):
            line = self.rgba[y]
            line[max(0, x0 * s):min(self.n, x1 * s)] = [row] * (min(self.n, x1 * s) - max(0, x0 * s))

    def frame(self, x0, y0, x1, y1, width, colour):
        self.rect(x0, y0, x1, y0 + width, colour)
        self.rect(x0, y1 - width, x1, y1, colour)
        self.rect(x0, y0, x0 + width, y1, colour)
        self.rect(x1 - width, y0, x1, y1, colour)

    def polygon(self, points, colour):
        """Fills a convex polygon given in pixels; its slanted edges are smoothed."""
        s = self.ss
        pts = [(x * s, y * s) for x, y in points]
        row = (colour[0], colour[1], colour[2], 255)
        ys = [p[1] for p in pts]
        for y in range(max(0, int(min(ys))), min(self.n, int(max(ys)) + 1)):
            yc = y + 0.5
            xs = []
            for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
                if (ay <= yc < by) or (by <= yc < ay):
                    xs.append(ax + (yc - ay) * (bx - ax) / (by - ay))
            if len(xs) >= 2:
                a, b = round(min(xs)), round(max(xs))
                a, b = max(0, a), min(self.n, b)
                if b > a:
                    self.rgba[y][a:b] = [row] * (b - a)

    def pixels(self):
        """The picture at its size, top row first: (r, g, b, a) per pixel."""
        s = self.ss
        out = []
        for y in range(self.size):
            line = []
            for x in range(self.size):
                r = g = b = a = 0
                for yy in range(y * s, y * s + s):
                    for c in self.rgba[yy][x * s:x * s + s]:
                        r += c[0] * c[3]
                        g += c[1] * c[3]
                        b += c[2] * c[3]
                        a += c[3]
                if a:
                    line.append((r // a, g // a, b // a, a // (s * s)))
                else:
                    line.append((0, 0, 0, 0))
            out.append(line)
        return out


def draw(size):
    c = Canvas(size)
    line = max(1, round(size / 32))

    # Cable entering the plug from the top.
    c.rect(c.px(5), 0, max(c.px(5) + line + 1, c.px(8)), c.px(4) + line, CABLE)

    # D-sub plug: a shell wider at the top, outlined, with two rows of pins.
    top, bottom = c.px(4), c.px(15)
    left, right = c.px(1), c.px(12)
    inset = max(1, c.px(2))
    c.polygon([(left, top), (right, top), (right - inset, bottom), (left + inset, bottom)], OUTLINE)
    c.polygon([(left + line, top + line), (right - line, top + line), (right - inset - line, bottom - line),
               (left + inset + line, bottom - line)], METAL)
    c.rect(left + line, top + line, right - line, top + line + max(1, line), SHADE)
    # A real plug has 5 and 4 pins; small sizes show what fits with a gap.
    pin = max(1, round(size / 40))
    width = right - left - 2 * inset
    for row, (count, y) in enumerate(((5, c.px(7)), (4, c.px(11)))):
        while count > 1 and count * pin * 2 > width + pin:
            count -= 1
        span = (count - 1) * 2 * pin
        x0 = left + (right - left - span - pin) // 2
        for i in range(count):
            x = x0 + i * 2 * pin
            c.rect(x, y, x + pin, y + pin, PIN)

    # Arrow pointing right, towards the keyboard.
    shaft = max(1, c.px(3))
    mid = c.px(9.5)
    c.rect(c.px(13), mid - shaft // 2 - shaft % 2, c.px(22), mid + shaft // 2, ARROW)
    head = c.px(4.5)
    c.polygon([(c.px(22), mid - head), (c.px(28), mid), (c.px(22), mid + head)], ARROW)

    # Keyboard: a dark body, rows of light keys and a space bar; as many
    # rows and keys as the size can show with a pixel between keys.
    kx0, ky0, kx1, ky1 = c.px(2), c.px(18), c.px(30), c.px(31)
    c.rect(kx0, ky0, kx1, ky1, BODY)
    c.frame(kx0, ky0, kx1, ky1, line, OUTLINE)
    inner_x0, inner_x1 = kx0 + line + 1, kx1 - line - 1
    inner_y0, inner_y1 = ky0 + line + 1, ky1 - line - 1
    rows = 2 if size <= 20 else 3 if size < 64 else 4
    # The space bar is a row of its own; a gap is half a key, at least a pixel.
    key = inner_y1 - inner_y0
    while key > 1 and rows * (key + max(1, round(key / 2))) + key > inner_y1 - inner_y0:
        key -= 1
    gap = max(1, round(key / 2))
    y = inner_y0
    for row in range(rows):
        x = inner_x0 + (row * (key + gap)) // 3
        while x + key <= inner_x1:
            c.rect(x, y, x + key, y + key, KEY)
            x += key + gap
        y += key + gap
    space = max(1, key)
    c.rect(c.px(9), min(y, inner_y1 - space), c.px(23), min(y, inner_y1 - space) + space, KEY)
    return c.pixels()


def bmp_image(pixels):
    size = len(pixels)
    xor = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(pixels) for p in row)
    stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(pixels):
        bits = 0
        for p in row:
            bits = (bits << 1) | (1 if p[3] == 0 else 0)
        bits <<= stride * 8 - size
        mask += bits.to_bytes(stride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def png_image(pixels):
    size = len(pixels)
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_ico(path):
    images = []
    for size in SIZES:
        pixels = draw(size)
        images.append((size, png_image(pixels) if size >= 256 else bmp_image(pixels)))
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    Path(path).write_bytes(directory + b"".join(data for _, data in images))


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).resolve().parent.parent / "resources" / "app_icon.ico")
    write_ico(out)
    print(out)
