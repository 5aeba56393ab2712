#!/usr/bin/env python3
"""Draw the Stratomark tool-bar icons and the application icon.

Only the standard library is used: every image is drawn into an RGBA
buffer, pixel by pixel, and written out as a PNG with struct + zlib.

    python3 resources/make_icons.py

The files are written to resources/icons/ next to this script.

Coordinates are given in icon pixels, pixel (i, j) having its centre at
(i, j).  A canvas may be supersampled (``ss`` > 1); shapes are then
tested at every sub-pixel and the result is box-filtered down, which
gives smooth edges to the large application icon.  The 16x16 tool-bar
icons are drawn without supersampling so that they stay crisp.
"""

import math
import os
import struct
import zlib

OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "icons")

TRANSPARENT = (0, 0, 0, 0)
INK = (38, 38, 46, 255)
WHITE = (255, 255, 255, 255)
PAPER_LINE = (150, 150, 160, 255)
BLUE = (52, 120, 212, 255)
BLUE_DARK = (22, 52, 112, 255)
RED = (220, 48, 44, 255)
RED_DARK = (110, 12, 12, 255)
GREEN = (64, 176, 64, 255)
GREEN_DARK = (18, 86, 18, 255)
YELLOW = (250, 204, 64, 255)
YELLOW_LIGHT = (255, 226, 120, 255)
YELLOW_DARK = (214, 160, 30, 255)
BROWN = (170, 104, 48, 255)
BROWN_DARK = (84, 46, 14, 255)
GREY = (196, 198, 206, 255)
GREY_DARK = (120, 122, 132, 255)
GLASS = (196, 228, 255, 255)


# --------------------------------------------------------------------------
# Shapes: predicates on a point (x, y) in icon pixels.
# --------------------------------------------------------------------------

def rect(x0, y0, x1, y1):
    """Pixels x0..x1, y0..y1 (inclusive)."""
    return lambda x, y: x0 - 0.5 <= x < x1 + 0.5 and y0 - 0.5 <= y < y1 + 0.5


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r0, r1):
    return lambda x, y: r0 * r0 <= (x - cx) ** 2 + (y - cy) ** 2 <= r1 * r1


def segment(x0, y0, x1, y1, width):
    """Thick line with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1.0
    half = width / 2.0

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= half * half
    return inside


def polygon(points):
    """Even-odd fill of a closed polygon."""
    edges = list(zip(points, points[1:] + points[:1]))

    def inside(x, y):
        hit = False
        for (xa, ya), (xb, yb) in edges:
            if (ya > y) != (yb > y):
                if x < xa + (y - ya) * (xb - xa) / (yb - ya):
                    hit = not hit
        return hit
    return inside


def rounded_rect(x0, y0, x1, y1, r):
    """Rectangle with corners rounded; bounds in continuous coordinates."""
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def inter(*shapes):
    return lambda x, y: all(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


def vgradient(top, bottom, y0, y1):
    """Colour function going from ``top`` at y0 to ``bottom`` at y1."""
    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / float(y1 - y0)))
        return tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom))
    return colour


# --------------------------------------------------------------------------
# Canvas
# --------------------------------------------------------------------------

class Canvas:
    def __init__(self, size, ss=1):
        self.size = size
        self.ss = ss
        self.n = size * ss
        self.cells = [[TRANSPARENT] * self.n for _ in range(self.n)]

    def centre(self, i):
        """Icon coordinate of the centre of grid cell i."""
        return (i + 0.5) / self.ss - 0.5

    def mask(self, shape):
        c = [self.centre(i) for i in range(self.n)]
        return {(ix, iy) for iy in range(self.n) for ix in range(self.n)
                if shape(c[ix], c[iy])}

    def blend(self, ix, iy, colour):
        r, g, b, a = colour
        if a >= 255:
            self.cells[iy][ix] = colour
            return
        dr, dg, db, da = self.cells[iy][ix]
        fa, fd = a / 255.0, da / 255.0 * (1.0 - a / 255.0)
        out = fa + fd
        if out <= 0.0:
            self.cells[iy][ix] = TRANSPARENT
            return
        mix = lambda s, d: int(round((s * fa + d * fd) / out))
        self.cells[iy][ix] = (mix(r, dr), mix(g, dg), mix(b, db),
                              int(round(out * 255)))

    def fill(self, cells, colour):
        """Paint cells with a colour tuple or a function (x, y) -> colour."""
        for ix, iy in cells:
            c = colour(self.centre(ix), self.centre(iy)) if callable(colour) else colour
            if len(c) == 3:
                c = c + (255,)
            self.blend(ix, iy, c)

    def grow(self, cells, width=1.0):
        """Cells within ``width`` icon pixels of ``cells`` (excluding them)."""
        r = max(1, int(round(width * self.ss)))
        limit = 2 * r * r if self.ss == 1 else r * r + r
        offsets = [(dx, dy) for dy in range(-r, r + 1) for dx in range(-r, r + 1)
                   if 0 < dx * dx + dy * dy <= limit]
        border = {(x, y) for x, y in cells
                  if any((x + dx, y + dy) not in cells for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))}
        out = set()
        for x, y in border:
            for dx, dy in offsets:
                p = (x + dx, y + dy)
                if 0 <= p[0] < self.n and 0 <= p[1] < self.n and p not in cells:
                    out.add(p)
        return out

    def shape(self, shape, colour, edge=INK, width=1.0):
        """Fill a shape, with an outline of ``width`` drawn just outside it."""
        cells = self.mask(shape)
        if edge is not None:
            self.fill(self.grow(cells, width), edge)
        self.fill(cells, colour)
        return cells

    def paint(self, shape, colour):
        """Fill a shape without outline."""
        self.fill(self.mask(shape), colour)

    def dot(self, x, y, colour):
        self.paint(rect(x, y, x, y), colour)

    def flip_h(self):
        self.cells = [row[::-1] for row in self.cells]

    def flip_v(self):
        self.cells.reverse()

    def pixels(self):
        """Rows of RGBA tuples at the final size (box-filtered)."""
        ss = self.ss
        if ss == 1:
            return [list(row) for row in self.cells]
        rows = []
        area = float(ss * ss)
        for y in range(self.size):
            row = []
            for x in range(self.size):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(y * ss, y * ss + ss):
                    for sx in range(x * ss, x * ss + ss):
                        r, g, b, a = self.cells[sy][sx]
                        acc[0] += r * a
                        acc[1] += g * a
                        acc[2] += b * a
                        acc[3] += a
                if acc[3] == 0:
                    row.append(TRANSPARENT)
                else:
                    row.append(tuple(int(round(v / acc[3])) for v in acc[:3])
                               + (int(round(acc[3] / area)),))
            rows.append(row)
        return rows


def write_png(path, rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rows)

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9))
           + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


# --------------------------------------------------------------------------
# Tool-bar icons (16x16)
# --------------------------------------------------------------------------

def icon_folder():
    c = Canvas(16)
    c.shape(union(rect(1, 2, 6, 3), rect(1, 3, 14, 13)), YELLOW_DARK, BROWN_DARK)
    c.shape(polygon([(3.5, 6.5), (14.5, 6.5), (12.5, 13.5), (0.5, 13.5)]),
            vgradient(YELLOW_LIGHT, YELLOW, 7, 13), BROWN_DARK)
    return c


def icon_save():
    c = Canvas(16)
    c.shape(polygon([(0.5, 0.5), (12.5, 0.5), (14.5, 2.5), (14.5, 14.5), (0.5, 14.5)]),
            BLUE, BLUE_DARK)
    c.shape(rect(4, 1, 11, 5), GREY, BLUE_DARK)
    c.paint(rect(8, 2, 9, 4), BLUE_DARK)
    c.shape(rect(3, 8, 12, 14), WHITE, BLUE_DARK)
    c.paint(rect(4, 10, 11, 10), PAPER_LINE)
    c.paint(rect(4, 12, 11, 12), PAPER_LINE)
    return c


def icon_print():
    c = Canvas(16)
    c.shape(rect(4, 1, 11, 4), WHITE)
    c.shape(rect(1, 5, 14, 11), vgradient(GREY, GREY_DARK, 5, 11))
    c.paint(rect(3, 9, 12, 9), INK)
    c.dot(12, 7, (60, 210, 60, 255))
    c.shape(rect(4, 10, 11, 14), WHITE)
    c.paint(rect(5, 12, 10, 12), PAPER_LINE)
    c.paint(rect(5, 14, 9, 14), PAPER_LINE)
    return c


def icon_exit():
    c = Canvas(16)
    c.shape(rect(2, 1, 8, 14), BROWN, BROWN_DARK)
    c.paint(rect(3, 2, 7, 2), (196, 136, 76, 255))
    c.dot(7, 8, YELLOW)
    c.shape(union(rect(6, 6, 10, 9),
                  polygon([(9.5, 2.5), (14.6, 7.5), (9.5, 12.5)])),
            RED, RED_DARK)
    return c


def icon_undo():
    """A hook: head pointing left at the top, bending round on the right."""
    c = Canvas(16)
    curve = inter(ring(9.5, 9, 2.2, 5.2), lambda x, y: x >= 9.5)
    arrow = union(curve, rect(5, 4, 9, 6), rect(8, 12, 9, 14),
                  polygon([(0.5, 5), (5.5, 1), (5.5, 9)]))
    c.shape(arrow, BLUE, BLUE_DARK)
    return c


def icon_redo():
    c = icon_undo()
    c.flip_h()
    return c


def icon_add():
    c = Canvas(16)
    c.shape(union(rect(6, 2, 9, 13), rect(2, 6, 13, 9)), GREEN, GREEN_DARK)
    c.paint(rect(7, 3, 7, 6), (140, 220, 140, 255))
    return c


def icon_delete():
    c = Canvas(16)
    c.shape(union(segment(3, 3, 12, 12, 3), segment(12, 3, 3, 12, 3)), RED, RED_DARK)
    return c


def icon_top():
    c = Canvas(16)
    c.shape(rect(2, 1, 13, 2), GREY_DARK)
    c.shape(union(polygon([(7.5, 4.5), (13.5, 10.5), (1.5, 10.5)]), rect(6, 11, 9, 14)),
            BLUE, BLUE_DARK)
    return c


def icon_bottom():
    c = icon_top()
    c.flip_v()
    return c


def icon_zoom():
    c = Canvas(16)
    c.shape(segment(10, 10, 13.5, 13.5, 3), BROWN, INK)
    c.shape(disc(6, 6, 5), (96, 100, 112, 255))
    c.paint(disc(6, 6, 3.3), GLASS)
    c.dot(4, 4, WHITE)
    c.dot(5, 4, WHITE)
    c.dot(4, 5, WHITE)
    return c


def icon_sondes():
    c = Canvas(16)
    c.shape(union(rect(6, 2, 9, 10), disc(7.5, 2, 1.6)), WHITE)
    c.shape(disc(7.5, 12, 2.8), RED, INK)
    c.paint(rect(7, 5, 8, 11), RED)
    for y in (3, 5, 7, 9):
        c.paint(rect(12, y, 13, y), GREY_DARK)
    return c


# --------------------------------------------------------------------------
# Application icon (48x48)
# --------------------------------------------------------------------------

def icon_application():
    c = Canvas(48, ss=4)
    c.shape(rounded_rect(2, 2, 45, 45, 8),
            vgradient((84, 150, 228), (178, 216, 248), 2, 45), (30, 66, 128, 255), 1.5)
    sun_x, sun_y = 30, 15
    sun_edge = (206, 122, 0, 255)
    for k in range(8):
        a = k * math.pi / 4 + math.pi / 8
        c.shape(segment(sun_x + 9.5 * math.cos(a), sun_y + 9.5 * math.sin(a),
                        sun_x + 12.5 * math.cos(a), sun_y + 12.5 * math.sin(a), 2.4),
                YELLOW, sun_edge, 1.0)
    c.shape(disc(sun_x, sun_y, 7), vgradient((255, 226, 90), (255, 176, 30), 8, 22),
            sun_edge, 1.2)
    c.shape(union(disc(25, 31, 5.5), disc(32, 27, 7), disc(38, 31, 5.5),
                  rect(25, 31, 38, 36)),
            vgradient((255, 255, 255), (214, 224, 238), 20, 37), (92, 110, 140, 255), 1.2)
    c.shape(union(rounded_rect(9, 4, 17, 34, 4), disc(13, 37, 6.5)), WHITE, INK, 1.5)
    c.paint(union(rect(11.8, 16, 14.2, 36), disc(13, 37, 4.5)), RED)
    c.paint(disc(11.3, 35.5, 1.2), (255, 150, 140, 255))
    for y in range(9, 31, 4):
        c.paint(rect(9.5, y, 10.8, y), INK)
    return c


ICONS = [
    ("Folder", icon_folder), ("Save", icon_save), ("Print", icon_print),
    ("Exit", icon_exit), ("Undo", icon_undo), ("Redo", icon_redo),
    ("Add", icon_add), ("Delete", icon_delete), ("Top", icon_top),
    ("Bottom", icon_bottom), ("Zoom", icon_zoom), ("Sondes", icon_sondes),
    ("stratomark", icon_application),
]


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    for name, draw in ICONS:
        path = os.path.join(OUT_DIR, name + ".png")
        write_png(path, draw().pixels())
        print("wrote", os.path.relpath(path))


if __name__ == "__main__":
    main()
