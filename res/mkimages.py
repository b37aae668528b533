#!/usr/bin/env python3
"""Writes the program icon and the two drag cursors into res/.

  cvt.ico       16x16 and 32x32, 16 colours (Windows 95 and 2000 show these)
  dragcur1.cur  32x32 monochrome: arrow with a box (move)
  dragcur2.cur  32x32 monochrome: arrow with a box and a plus (copy)

Standard library only and fully deterministic: running it again gives the
same bytes, so the committed files can be checked against it.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16-colour VGA palette, as (red, green, blue).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, NAVY, SILVER, GRAY, RED, AQUA, WHITE = 0, 1, 4, 7, 8, 9, 14, 15
CLEAR = None  # transparent pixel


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[CLEAR] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the inclusive rectangle."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.rect(x0, y0, x1, y0, colour)
        self.rect(x0, y1, x1, y1, colour)
        self.rect(x0, y0, x0, y1, colour)
        self.rect(x1, y0, x1, y1, colour)

    def disc(self, cx, cy, radius, colour):
        """Pixels whose centres lie within radius of (cx, cy)."""
        for y in range(self.size):
            for x in range(self.size):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius ** 2:
                    self.put(x, y, colour)

    def art(self, x0, y0, rows, colours):
        """Draws rows of characters; characters absent from colours are left alone."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in colours:
                    self.put(x0 + dx, y0 + dy, colours[ch])


def icon_image(size):
    """A process list with one suspicious row, under a magnifying glass."""
    c = Canvas(size)
    if size == 32:
        c.rect(1, 2, 24, 25, WHITE)
        c.frame(1, 2, 24, 25, GRAY)
        c.rect(2, 3, 23, 6, NAVY)
        c.rect(20, 4, 22, 5, SILVER)  # close box
        for y in (9, 12, 18, 21):
            c.rect(4, y, 21, y, SILVER)
        c.rect(3, 14, 22, 16, RED)
        lens, glass, rim = (20.5, 20.5), 5.5, 7.5
        c.disc(*lens, rim, BLACK)
        c.disc(*lens, glass, AQUA)
        c.rect(16, 19, 25, 22, RED)  # the suspicious row, enlarged
        for i in range(6):  # handle
            c.rect(25 + i, 26 + i, 26 + i, 27 + i, BLACK)
            c.put(27 + i, 26 + i, MAROON)
        # Keep the enlarged row inside the glass.
        for y in range(size):
            for x in range(size):
                d2 = (x + 0.5 - lens[0]) ** 2 + (y + 0.5 - lens[1]) ** 2
                if glass ** 2 < d2 <= rim ** 2:
                    c.put(x, y, BLACK)
        c.put(17, 17, WHITE)  # glint
        c.put(16, 18, WHITE)
    else:
        c.rect(0, 1, 12, 12, WHITE)
        c.frame(0, 1, 12, 12, GRAY)
        c.rect(1, 2, 11, 3, NAVY)
        for y in (5, 10):
            c.rect(2, y, 10, y, SILVER)
        c.rect(1, 7, 11, 8, RED)
        lens, glass, rim = (10.5, 10.5), 2.6, 4.0
        for y in range(size):
            for x in range(size):
                d2 = (x + 0.5 - lens[0]) ** 2 + (y + 0.5 - lens[1]) ** 2
                if d2 <= glass ** 2:
                    c.put(x, y, AQUA)
                elif d2 <= rim ** 2:
                    c.put(x, y, BLACK)
        c.rect(9, 10, 12, 11, RED)
        for i in range(3):
            c.rect(13 + i, 13 + i, 13 + i, 13 + i, BLACK)
            c.put(14 + i, 13 + i, MAROON)
    return c


ARROW = [
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X......X",
    "X.......X",
    "X........X",
    "X.....XXXXX",
    "X..X..X",
    "X.X X..X",
    "XX  X..X",
    "X    X..X",
    "     X..X",
    "      X..X",
    "      X..X",
    "       XX",
]

PLUS = [
    "XXXXXXXXX",
    "X.......X",
    "X...X...X",
    "X...X...X",
    "X.XXXXX.X",
    "X...X...X",
    "X...X...X",
    "X.......X",
    "XXXXXXXXX",
]


def cursor_image(copy):
    c = Canvas(32)
    c.art(0, 0, ARROW, {"X": BLACK, ".": WHITE})
    # The dragged text: a box below the arrow's tail, with lines for text.
    c.rect(8, 20, 21, 28, WHITE)
    c.frame(8, 20, 21, 28, BLACK)
    for y in (22, 24, 26):
        c.rect(10, y, 19 if y != 26 else 15, y, BLACK)
    if copy:
        c.art(18, 23, PLUS, {"X": BLACK, ".": WHITE})
    return c


def dib(canvas, bits, palette, colour_of):
    """BITMAPINFOHEADER, palette, XOR bitmap and AND mask of one image."""
    size = canvas.size

    def rows(bit_value, depth):
        stride = ((size * depth + 31) // 32) * 4
        out = b""
        for y in reversed(range(size)):  # bottom-up
            value, nbits, row = 0, 0, bytearray()
            for x in range(size):
                value = value << depth | bit_value(canvas.pixels[y][x])
                nbits += depth
                if nbits == 8:
                    row.append(value)
                    value, nbits = 0, 0
            row += bytes(stride - len(row))
            out += bytes(row)
        return out

    xor = rows(colour_of, bits)
    mask = rows(lambda p: 1 if p is None else 0, 1)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(xor) + len(mask), 0, 0, 0, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return header + table + xor + mask


def write_group(path, kind, images):
    """kind 1: icon, entries (canvas, data); kind 2: cursor, entries (canvas, data, hotspot)."""
    directory = struct.pack("<HHH", 0, kind, len(images))
    offset = len(directory) + 16 * len(images)
    entries, blobs = b"", b""
    for image in images:
        canvas, data = image[0], image[1]
        if kind == 1:
            colours, field1, field2 = 16, 1, 4  # planes, bits per pixel
        else:
            colours, (field1, field2) = 2, image[2]  # hotspot x, y
        entries += struct.pack("<BBBBHHII", canvas.size % 256, canvas.size % 256, colours, 0,
                               field1, field2, len(data), offset)
        blobs += data
        offset += len(data)
    with open(path, "wb") as f:
        f.write(directory + entries + blobs)


def main():
    icons = []
    for size in (16, 32):
        canvas = icon_image(size)
        icons.append((canvas, dib(canvas, 4, VGA, lambda p: 0 if p is None else p)))
    write_group(os.path.join(HERE, "cvt.ico"), 1, icons)

    mono = [VGA[BLACK], VGA[WHITE]]
    for name, copy in (("dragcur1.cur", False), ("dragcur2.cur", True)):
        canvas = cursor_image(copy)
        data = dib(canvas, 1, mono, lambda p: 1 if p == WHITE else 0)
        write_group(os.path.join(HERE, name), 2, [(canvas, data, (0, 0))])


if __name__ == "__main__":
    main()
