#!/usr/bin/env python3
"""Draws the main window's tool-bar pictures into one bitmap strip of 16 x 16
cells, magenta standing for transparent: resources/ToolBar/TOOLBUTTONS.bmp.

Usage: make_tool_images.py RESOURCES_DIR
"""

import os
import struct
import sys

CELL = 16
COUNT = 28
KEY = (255, 0, 255)
BLACK, WHITE, GREY = (0, 0, 0), (255, 255, 255), (128, 128, 128)
NAVY, BLUE, RED, GREEN = (0, 0, 128), (0, 0, 255), (200, 0, 0), (0, 128, 0)
YELLOW, ORANGE, TEAL = (255, 220, 0), (240, 130, 0), (0, 128, 128)

pixels = [[KEY] * (CELL * COUNT) for _ in range(CELL)]

# A 3 x 5 font for the letters the pictures use.
FONT = {
    "H": ["101", "101", "111", "101", "101"], "J": ["001", "001", "001", "101", "111"],
    "S": ["111", "100", "111", "001", "111"], "T": ["111", "010", "010", "010", "010"],
    "M": ["101", "111", "111", "101", "101"], "L": ["100", "100", "100", "100", "111"],
    "O": ["111", "101", "101", "101", "111"], "F": ["111", "100", "110", "100", "100"],
    "?": ["111", "001", "011", "000", "010"], "i": ["010", "000", "010", "010", "010"],
    "e": ["111", "101", "111", "100", "111"], "<": ["001", "010", "100", "010", "001"],
    ">": ["100", "010", "001", "010", "100"],
}


def put(cell, x, y, colour):
    if 0 <= x < CELL and 0 <= y < CELL:
        pixels[y][cell * CELL + x] = colour


def rect(cell, x0, y0, x1, y1, colour, fill=None):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            if edge:
                put(cell, x, y, colour)
            elif fill:
                put(cell, x, y, fill)


def line(cell, x0, y0, x1, y1, colour):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        put(cell, round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)


def circle(cell, cx, cy, r, colour, fill=None):
    for y in range(CELL):
        for x in range(CELL):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if abs(d - r) < 0.6:
                put(cell, x, y, colour)
            elif fill and d < r:
                put(cell, x, y, fill)


def text(cell, x, y, letters, colour, scale=2):
    for letter in letters:
        for row, bits in enumerate(FONT[letter]):
            for column, bit in enumerate(bits):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            put(cell, x + column * scale + dx, y + row * scale + dy, colour)
        x += 4 * scale


def arrow(cell, left, colour):
    line(cell, 3, 8, 12, 8, colour)
    tip, back = (3, 7) if left else (12, 8)
    for i in range(4):
        line(cell, tip + (i if left else -i), 8 - i, tip + (i if left else -i), 8 + i, colour)


def page(cell):
    rect(cell, 3, 1, 12, 14, BLACK, WHITE)


def draw():
    # 0 open: a folder
    rect(0, 1, 5, 14, 13, BLACK, YELLOW); rect(0, 1, 3, 6, 5, BLACK, YELLOW)
    # 1 export: a page with an arrow out
    page(1); arrow(1, False, RED)
    # 2 preview: a page with a blue window
    page(2); rect(2, 5, 4, 10, 9, NAVY, BLUE)
    # 3 source: <>
    page(3); text(3, 3, 5, "<", GREEN, 1); text(3, 9, 5, ">", GREEN, 1)
    # 4 summary HTML: H
    page(4); text(4, 5, 3, "H", NAVY)
    # 5 settings: a wrench-like cross
    circle(5, 8, 8, 5, BLACK, GREY); circle(5, 8, 8, 2, BLACK, WHITE)
    # 6 colour chooser: four colours
    rect(6, 1, 1, 7, 7, BLACK, RED); rect(6, 8, 1, 14, 7, BLACK, GREEN)
    rect(6, 1, 8, 7, 14, BLACK, BLUE); rect(6, 8, 8, 14, 14, BLACK, YELLOW)
    # 7 description: i
    circle(7, 8, 8, 6, NAVY, WHITE); text(7, 5, 3, "i", NAVY)
    # 8 help: ?
    circle(8, 8, 8, 6, NAVY, YELLOW); text(8, 5, 3, "?", NAVY)
    # 9, 10 back and forward
    arrow(9, True, GREEN); arrow(10, False, GREEN)
    # 11 reload page: a circle with a gap
    circle(11, 8, 8, 5, BLUE); line(11, 11, 3, 14, 6, BLUE)
    # 12 reload script: the same on a page
    page(12); circle(12, 8, 8, 3, RED)
    # 13 default browser: e
    circle(13, 8, 8, 6, BLUE, WHITE); text(13, 5, 3, "e", BLUE)
    # 14, 15 the two configured browsers
    circle(14, 8, 8, 6, RED, WHITE); text(14, 5, 3, "O", RED)
    circle(15, 8, 8, 6, ORANGE, WHITE); text(15, 5, 3, "F", ORANGE)
    # 16 zoom: a magnifier
    circle(16, 6, 6, 4, BLACK, WHITE); line(16, 9, 9, 14, 14, BLACK); line(16, 10, 9, 14, 13, BLACK)
    # 17 to 19 spare pages
    for cell in (17, 18, 19):
        page(cell)
    # 20 wrap off: lines running past the page; 21 wrap on: lines turning back
    for y in (4, 8, 12):
        line(20, 1, y, 14, y, BLACK)
    rect(20, 10, 1, 10, 14, GREY)
    for y in (4, 8):
        line(21, 1, y, 9, y, BLACK)
    line(21, 9, 4, 9, 8, BLUE); line(21, 1, 12, 9, 12, BLACK); line(21, 9, 8, 9, 12, BLUE)
    # 22 to 24 spare
    for cell in (22, 23, 24):
        page(cell)
    # 25 JavaScript: JS; 26 HTML: HT
    rect(25, 0, 2, 15, 13, BLACK, YELLOW); text(25, 1, 3, "JS", BLACK)
    rect(26, 0, 2, 15, 13, BLACK, WHITE); text(26, 1, 3, "HT", RED)
    # 27 about
    circle(27, 8, 8, 6, TEAL, WHITE); text(27, 5, 3, "i", TEAL)


def write_bmp(path):
    width, height = CELL * COUNT, CELL
    row_size = (width * 3 + 3) & ~3
    data = b""
    for y in reversed(range(height)):
        row = b"".join(struct.pack("BBB", b, g, r) for r, g, b in pixels[y])
        data += row + b"\0" * (row_size - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


draw()
write_bmp(os.path.join(sys.argv[1], "ToolBar", "TOOLBUTTONS.bmp"))
