#!/usr/bin/env python3
"""Draws the program's pictures and writes them beside this script.

Every picture is drawn here from simple shapes, so changing one means
changing its function and running `python3 make_pictures.py`; the files it
writes are kept in the repository so that a build needs no Python. Writes:
the tool-bar GIFs (transparent background), the background tile
Bkgnd2.gif, the splash lbsplash.bmp, dot.bmp (1 x 1, 4 bits, black), the
sixteen colour-family bitmaps and the icons OK.ico, Cancel.ico and
lbicon.ico. Only the standard library is used.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


# --- a small canvas of RGB pixels, None = transparent ----------------------

class Canvas:
    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x, y, w, h, c):
        for j in range(y, y + h):
            for i in range(x, x + w):
                self.set(i, j, c)

    def frame(self, x, y, w, h, c):
        self.rect(x, y, w, 1, c)
        self.rect(x, y + h - 1, w, 1, c)
        self.rect(x, y, 1, h, c)
        self.rect(x + w - 1, y, 1, h, c)

    def line(self, x0, y0, x1, y1, c, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for s in range(steps + 1):
            x = x0 + (x1 - x0) * s / steps
            y = y0 + (y1 - y0) * s / steps
            for dx in range(width):
                for dy in range(width):
                    self.set(round(x) + dx - width // 2, round(y) + dy - width // 2, c)

    def polygon(self, points, c):
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            yc = y + 0.5
            xs = []
            for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
                if (y0 <= yc < y1) or (y1 <= yc < y0):
                    xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(math.ceil(a - 0.5), math.floor(b - 0.5) + 1):
                    self.set(x, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def ring(self, cx, cy, r, thickness, c, start=0, end=360):
        for y in range(self.h):
            for x in range(self.w):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                d = math.hypot(dx, dy)
                a = math.degrees(math.atan2(-dy, dx)) % 360
                inside = start <= a <= end if start <= end else (a >= start or a <= end)
                if r - thickness <= d <= r and inside:
                    self.set(x, y, c)

    def paste(self, other, x, y):
        for j in range(other.h):
            for i in range(other.w):
                if other.px[j][i] is not None:
                    self.set(x + i, y + j, other.px[j][i])

    def scaled(self, f):
        out = Canvas(self.w * f, self.h * f)
        for y in range(out.h):
            for x in range(out.w):
                out.px[y][x] = self.px[y // f][x // f]
        return out


# --- colours ---------------------------------------------------------------

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
LIGHT = (200, 200, 200)
DARK = (64, 64, 64)
NAVY = (0, 40, 140)
BLUE = (40, 100, 220)
SKY = (120, 190, 255)
GREEN = (30, 150, 40)
LEAF = (110, 200, 60)
YELLOW = (255, 215, 40)
FOLDER = (240, 190, 60)
FOLDER_DARK = (170, 120, 20)
RED = (210, 30, 30)
PAPER = (250, 250, 240)


# --- the writers ------------------------------------------------------------

def palette_of(canvases):
    colours = []
    for cv in canvases:
        for row in cv.px:
            for c in row:
                if c is not None and c not in colours:
                    colours.append(c)
    return colours


def lzw_uncompressed(indices, min_code_size):
    """GIF image data that codes every pixel as a literal, with a clear
    code before the code width would grow: valid LZW, simple to get right."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    width = min_code_size + 1
    codes = [clear]
    room = (1 << width) - (end + 1) - 1  # literals before the width grows
    count = 0
    for i in indices:
        if count == room:
            codes.append(clear)
            count = 0
        codes.append(i)
        count += 1
    codes.append(end)
    out, acc, bits = bytearray(), 0, 0
    for c in codes:
        acc |= c << bits
        bits += width
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def write_gif(name, cv):
    colours = palette_of([cv])
    transparent = any(c is None for row in cv.px for c in row)
    table = ([(255, 0, 255)] if transparent else []) + colours
    bits = max(1, math.ceil(math.log2(max(len(table), 2))))
    table += [(0, 0, 0)] * ((1 << bits) - len(table))
    index = {c: i + (1 if transparent else 0) for i, c in enumerate(colours)}
    pixels = [0 if c is None else index[c] for row in cv.px for c in row]
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", cv.w, cv.h, 0x80 | (bits - 1), 0, 0)
    for c in table:
        data += bytes(c)
    if transparent:  # graphic control extension: index 0 is transparent
        data += bytes([0x21, 0xF9, 4, 0x01, 0, 0, 0, 0])
    data += b"\x2C" + struct.pack("<HHHHB", 0, 0, cv.w, cv.h, 0)
    min_code = max(2, bits)
    data.append(min_code)
    body = lzw_uncompressed(pixels, min_code)
    for i in range(0, len(body), 255):
        chunk = body[i:i + 255]
        data.append(len(chunk))
        data += chunk
    data += b"\x00\x3B"
    save(name, data)


def bmp_rows(cv, bits, index=None):
    rows = []
    for y in range(cv.h - 1, -1, -1):
        row = bytearray()
        if bits == 24:
            for c in cv.px[y]:
                r, g, b = c or (0, 0, 0)
                row += bytes((b, g, r))
        elif bits == 8:
            row += bytes(index[c] for c in cv.px[y])
        elif bits == 4:
            vals = [index[c] for c in cv.px[y]] + [0]
            row += bytes((vals[i] << 4) | vals[i + 1] for i in range(0, cv.w, 2))
        while len(row) % 4:
            row.append(0)
        rows.append(bytes(row))
    return b"".join(rows)


def write_bmp(name, cv, bits=24, palette=None):
    index = {c: i for i, c in enumerate(palette)} if palette else None
    table = b"".join(bytes((c[2], c[1], c[0], 0)) for c in palette) if palette else b""
    pixels = bmp_rows(cv, bits, index)
    offset = 14 + 40 + len(table)
    data = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    data += struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, bits, 0, len(pixels), 2835, 2835,
                        len(palette) if palette else 0, 0)
    save(name, data + table + pixels)


def write_ico(name, canvases):
    """An icon file with one 8-bit image per canvas (XOR bitmap + AND mask)."""
    images = []
    for cv in canvases:
        colours = palette_of([cv])
        palette = colours + [(0, 0, 0)] * (256 - len(colours))
        index = {c: i for i, c in enumerate(colours)}
        opaque = Canvas(cv.w, cv.h)
        for y in range(cv.h):
            for x in range(cv.w):
                opaque.px[y][x] = cv.px[y][x] if cv.px[y][x] is not None else colours[0]
        xor = bmp_rows(opaque, 8, index)
        mask = bytearray()
        for y in range(cv.h - 1, -1, -1):
            row = bytearray((cv.w + 31) // 32 * 4)
            for x in range(cv.w):
                if cv.px[y][x] is None:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        header = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h * 2, 1, 8, 0, len(xor) + len(mask),
                             0, 0, 256, 0)
        table = b"".join(bytes((c[2], c[1], c[0], 0)) for c in palette)
        images.append((cv, header + table + xor + bytes(mask)))
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for cv, body in images:
        data += struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, 0, 0, 1, 8, len(body), offset)
        offset += len(body)
    for _, body in images:
        data += body
    save(name, data)


def save(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# --- tool-bar pictures, 20 x 20 --------------------------------------------

def landscape(w, h):
    """A small framed picture: sky, sun, hills."""
    cv = Canvas(w, h, SKY)
    cv.disc(w * 0.72, h * 0.3, max(1.5, h * 0.16), YELLOW)
    cv.polygon([(0, h * 0.75), (w * 0.35, h * 0.4), (w * 0.7, h * 0.8), (w, h * 0.55), (w, h),
                (0, h)], GREEN)
    cv.frame(0, 0, w, h, DARK)
    return cv


def arrow(cv, direction, colour, outline):
    pts = [(3, 8), (10, 8), (10, 3), (17, 10), (10, 17), (10, 12), (3, 12)]
    if direction < 0:
        pts = [(19 - x, y) for x, y in pts]
    cv.polygon(pts, colour)
    for a, b in zip(pts, pts[1:] + pts[:1]):
        cv.line(round(a[0]), round(a[1]), round(b[0]), round(b[1]), outline)


def folder(cv, open_=False):
    cv.rect(1, 5, 7, 2, FOLDER_DARK)
    cv.rect(1, 6, 17, 12, FOLDER)
    cv.frame(1, 6, 17, 12, FOLDER_DARK)
    if open_:
        cv.polygon([(4, 10), (19, 10), (16, 18), (1, 18)], YELLOW)
        cv.line(4, 10, 19, 10, FOLDER_DARK)
        cv.line(19, 10, 16, 17, FOLDER_DARK)


def tool_open():
    cv = Canvas(20, 20)
    folder(cv, open_=True)
    cv.paste(landscape(9, 7), 8, 1)
    return cv


def tool_folder():
    cv = Canvas(20, 20)
    for i, shade in enumerate((LIGHT, PAPER)):
        cv.rect(4 + 2 * i, 2 + 2 * i, 11, 8, shade)
        cv.frame(4 + 2 * i, 2 + 2 * i, 11, 8, GREY)
    folder(cv)
    return cv


def tool_properties():
    cv = Canvas(20, 20)
    cv.rect(3, 1, 12, 17, PAPER)
    cv.frame(3, 1, 12, 17, GREY)
    for y in (4, 7, 10):
        cv.rect(5, y, 8, 1, GREY)
    cv.disc(14, 14, 5.5, BLUE)
    cv.rect(13, 13, 2, 5, WHITE)
    cv.rect(13, 10, 2, 2, WHITE)
    return cv


def tool_refresh():
    cv = Canvas(20, 20)
    cv.ring(10, 10, 8, 2.6, GREEN, 20, 160)
    cv.ring(10, 10, 8, 2.6, GREEN, 200, 340)
    cv.polygon([(1, 6), (8, 6), (4, 11)], GREEN)     # head on the upper arc
    cv.polygon([(12, 14), (19, 14), (16, 9)], GREEN)  # head on the lower arc
    return cv


def tool_normal():
    cv = Canvas(20, 20)
    cv.rect(1, 2, 18, 16, WHITE)
    cv.frame(1, 2, 18, 16, DARK)
    cv.paste(landscape(8, 7), 6, 6)
    return cv


def tool_stretch():
    cv = Canvas(20, 20)
    cv.paste(landscape(18, 16), 1, 2)
    for (x, y, dx, dy) in ((2, 3, 1, 1), (17, 3, -1, 1), (2, 16, 1, -1), (17, 16, -1, -1)):
        cv.line(x, y, x + 4 * dx, y + 4 * dy, WHITE)
        cv.rect(min(x, x + 2 * dx), y, 3, 1, WHITE)
        cv.rect(x, min(y, y + 2 * dy), 1, 3, WHITE)
    return cv


def tool_tiled():
    cv = Canvas(20, 20)
    for x in (1, 10):
        for y in (2, 10):
            cv.paste(landscape(9, 8), x, y)
    return cv


def tool_best_fit():
    cv = Canvas(20, 20)
    cv.rect(1, 2, 18, 16, DARK)
    cv.paste(landscape(18, 10), 1, 5)
    cv.line(4, 3, 15, 3, YELLOW)
    cv.polygon([(2, 3), (5, 1), (5, 5)], YELLOW)
    cv.polygon([(17, 3), (14, 1), (14, 5)], YELLOW)
    return cv


def tool_zoom():
    cv = Canvas(20, 20)
    cv.disc(8, 8, 6.5, (225, 240, 255))
    cv.ring(8, 8, 6.5, 1.8, NAVY)
    cv.line(12, 12, 17, 17, DARK, width=3)
    cv.rect(5, 7, 7, 2, NAVY)
    cv.rect(7, 5, 2, 7, NAVY)
    return cv


def clipboard(cv):
    cv.rect(2, 3, 14, 16, (180, 120, 60))
    cv.frame(2, 3, 14, 16, (110, 70, 30))
    cv.rect(6, 1, 6, 4, GREY)
    cv.frame(6, 1, 6, 4, DARK)


def tool_copy_path():
    cv = Canvas(20, 20)
    clipboard(cv)
    cv.rect(6, 7, 13, 12, PAPER)
    cv.frame(6, 7, 13, 12, GREY)
    # "C:\" and two path lines
    cv.rect(8, 9, 1, 3, NAVY)
    cv.rect(9, 9, 2, 1, NAVY)
    cv.rect(9, 11, 2, 1, NAVY)
    cv.set(12, 9, NAVY)
    cv.set(12, 11, NAVY)
    cv.line(14, 9, 16, 11, NAVY)
    cv.rect(8, 14, 9, 1, NAVY)
    cv.rect(8, 16, 6, 1, NAVY)
    return cv


def tool_copy_image():
    cv = Canvas(20, 20)
    clipboard(cv)
    cv.paste(landscape(12, 11), 7, 8)
    return cv


def tool_colour_sample():
    cv = Canvas(20, 20)
    cv.polygon([(10, 1), (18, 5), (19, 13), (12, 19), (3, 17), (1, 9), (4, 3)], (230, 200, 150))
    cv.ring(10, 10, 9.2, 1, (150, 110, 60))
    for (x, y), c in zip(((5, 6), (10, 4), (15, 7), (15, 13), (6, 12)),
                         (RED, YELLOW, GREEN, BLUE, (160, 40, 200))):
        cv.disc(x + 0.5, y + 0.5, 2.2, c)
    cv.disc(10.5, 15.5, 1.8, WHITE)
    return cv


def tool_previous():
    cv = Canvas(20, 20)
    arrow(cv, -1, BLUE, NAVY)
    return cv


def tool_next():
    cv = Canvas(20, 20)
    arrow(cv, +1, BLUE, NAVY)
    return cv


def tool_list():
    cv = Canvas(20, 20)
    cv.rect(1, 1, 18, 18, PAPER)
    cv.frame(1, 1, 18, 18, GREY)
    for y in (4, 8, 12, 16):
        cv.paste(landscape(3, 3), 3, y - 1)
        cv.rect(8, y, 9, 1, NAVY)
    return cv


def tool_sort():
    cv = Canvas(20, 20)
    for i, w in enumerate((4, 7, 10, 13)):
        cv.rect(2, 3 + 4 * i, w, 2, NAVY)
    cv.rect(16, 2, 2, 12, RED)
    cv.polygon([(13, 13), (21, 13), (17, 18)], RED)
    return cv


def tool_help():
    cv = Canvas(20, 20)
    cv.disc(10, 10, 9, BLUE)
    cv.ring(10, 10, 9, 1, NAVY)
    cv.ring(10, 8, 4, 2, WHITE, 300, 200)  # the hook of the "?"
    cv.rect(9, 10, 2, 3, WHITE)
    cv.rect(9, 14, 2, 2, WHITE)
    return cv


TOOLBAR = {
    "Open.gif": tool_open, "folder.gif": tool_folder, "Prop.gif": tool_properties,
    "refresh.gif": tool_refresh, "normal.gif": tool_normal, "Stretch.gif": tool_stretch,
    "tiled.gif": tool_tiled, "bfit.gif": tool_best_fit, "zoom.gif": tool_zoom,
    "copypath.gif": tool_copy_path, "copyimg.gif": tool_copy_image, "web.gif": tool_colour_sample,
    "back.gif": tool_previous, "list.gif": tool_list, "sort.gif": tool_sort,
    "next.gif": tool_next, "help.gif": tool_help,
}


# --- background, splash, dot and colour families ---------------------------

def background():
    """A quiet tile of 32 x 32: a light blue-grey weave that text stays
    readable on."""
    cv = Canvas(32, 32)
    for y in range(32):
        for x in range(32):
            v = 8 * math.sin(2 * math.pi * x / 32) * math.sin(2 * math.pi * y / 32)
            cell = ((x // 4) + (y // 4)) % 2
            cv.px[y][x] = (int(214 + v - 3 * cell), int(222 + v - 3 * cell), int(232 + v))
    return cv


FONT = {  # 5 x 7 capitals for the splash title
    "L": ["10000"] * 6 + ["11111"],
    "U": ["10001"] * 6 + ["01110"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
}


def text(cv, word, x, y, scale, colour):
    for ch in word:
        for j, row in enumerate(FONT[ch]):
            for i, bit in enumerate(row):
                if bit == "1":
                    cv.rect(x + i * scale, y + j * scale, scale, scale, colour)
        x += 6 * scale


def splash():
    w, h = 300, 150
    cv = Canvas(w, h)
    for y in range(h):  # dusk sky
        t = y / h
        for x in range(w):
            cv.px[y][x] = (int(30 + 200 * t), int(40 + 110 * t), int(110 + 60 * (1 - t)))
    cv.disc(220, 92, 26, (255, 200, 90))
    cv.disc(220, 92, 20, (255, 230, 140))
    cv.polygon([(0, 120), (50, 70), (95, 105), (150, 60), (205, 112), (250, 85), (300, 110),
                (300, 150), (0, 150)], (40, 60, 90))
    cv.polygon([(0, 135), (70, 105), (140, 130), (210, 108), (300, 132), (300, 150), (0, 150)],
               (20, 35, 55))
    # a picture frame around the whole, as a viewer's emblem
    cv.frame(0, 0, w, h, (250, 240, 210))
    cv.frame(3, 3, w - 6, h - 6, (190, 160, 110))
    word = "LUMBRA"
    scale = 6
    x = (w - (6 * len(word) - 1) * scale) // 2
    text(cv, word, x + 3, 23, scale, (10, 15, 40))
    text(cv, word, x, 20, scale, (255, 245, 220))
    return cv


FAMILIES = {
    "reds": [(255, 0, 0), (204, 0, 0), (153, 0, 0), (102, 0, 0), (255, 51, 51), (204, 51, 51)],
    "oranges": [(255, 102, 0), (255, 153, 0), (204, 102, 0), (255, 128, 64), (204, 85, 0), (153, 51, 0)],
    "yellows": [(255, 255, 0), (255, 221, 0), (204, 204, 0), (255, 238, 102), (204, 170, 0), (153, 153, 0)],
    "greys": [(0, 0, 0), (51, 51, 51), (102, 102, 102), (153, 153, 153), (204, 204, 204), (255, 255, 255)],
    "greens": [(0, 255, 0), (0, 204, 0), (0, 153, 51), (0, 102, 0), (102, 204, 51), (51, 153, 102)],
    "blues": [(0, 0, 255), (0, 51, 204), (0, 102, 255), (51, 102, 204), (0, 0, 153), (0, 0, 102)],
    "purples": [(153, 0, 255), (102, 0, 204), (153, 51, 153), (102, 0, 102), (204, 0, 204), (51, 0, 102)],
    "earth": [(153, 102, 51), (102, 51, 0), (204, 153, 102), (153, 51, 0), (102, 102, 51), (204, 170, 119)],
}


def pastel(c):
    return tuple(int(v + (255 - v) * 0.55) for v in c)


def family_strip(colours):
    cv = Canvas(48, 16)
    for i, c in enumerate(colours):
        cv.rect(i * 8, 0, 8, 16, c)
    cv.frame(0, 0, 48, 16, DARK)
    return cv


# --- icons -------------------------------------------------------------------

def icon_ok(size):
    cv = Canvas(size, size)
    s = size / 16
    cv.polygon([(1 * s, 8 * s), (4 * s, 5.5 * s), (6.5 * s, 8.5 * s), (12.5 * s, 1.5 * s),
                (15 * s, 4 * s), (6.5 * s, 14 * s)], (20, 160, 40))
    return cv


def icon_cancel(size):
    cv = Canvas(size, size)
    s = size / 16
    w = max(2, round(2.6 * s))
    cv.line(round(3 * s), round(3 * s), round(12.5 * s), round(12.5 * s), RED, width=w)
    cv.line(round(12.5 * s), round(3 * s), round(3 * s), round(12.5 * s), RED, width=w)
    return cv


def icon_program(size):
    cv = Canvas(size, size)
    cv.rect(0, 0, size, size, (190, 160, 110))
    cv.frame(0, 0, size, size, (110, 80, 40))
    inner = size // 8
    cv.paste(landscape(size - 2 * inner, size - 2 * inner), inner, inner)
    return cv


def main():
    for name, draw in TOOLBAR.items():
        write_gif(name, draw())
    write_gif("Bkgnd2.gif", background())
    write_bmp("lbsplash.bmp", splash())
    write_bmp("dot.bmp", Canvas(1, 1, BLACK), bits=4, palette=[BLACK] + [WHITE] * 15)
    for family, colours in FAMILIES.items():
        write_bmp(family + ".bmp", family_strip(colours))
        write_bmp("p" + family + ".bmp", family_strip([pastel(c) for c in colours]))
    write_ico("OK.ico", [icon_ok(16), icon_ok(32)])
    write_ico("Cancel.ico", [icon_cancel(16), icon_cancel(32)])
    write_ico("lbicon.ico", [icon_program(16), icon_program(32)])


if __name__ == "__main__":
    main()
