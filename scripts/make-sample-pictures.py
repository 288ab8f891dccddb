#!/usr/bin/env python3
"""Writes the pictures of examples/sample/bmp: screen.bmp, an 8-bit palette
bitmap of a small window, and toolbar.shg, a segmented-hypergraphics picture
of three buttons with a jump, a popup and a macro hotspot. The files are
committed; run this only to make them anew."""

import os
import struct
import sys

# Palette entries as red, green, blue.
PALETTE = [
    (255, 255, 255),  # 0 white
    (0, 0, 0),        # 1 black
    (192, 192, 192),  # 2 grey
    (0, 0, 128),      # 3 navy
    (255, 0, 0),      # 4 red
    (0, 160, 0),      # 5 green
    (0, 0, 255),      # 6 blue
    (255, 255, 0),    # 7 yellow
]


def screen_pixels():
    """32 x 24 pixels, top row first: a window with a title bar and a button."""
    width, height = 32, 24
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            if x in (0, width - 1) or y in (0, height - 1):
                row.append(1)
            elif y < 5:
                row.append(3)
            elif 20 <= x < 28 and 16 <= y < 20:
                row.append(2)
            elif 4 <= x < 16 and y in (8, 11, 14):
                row.append(6)
            else:
                row.append(0)
        rows.append(row)
    return width, height, rows


def toolbar_pixels():
    """48 x 16 pixels, top row first: three framed buttons, red, yellow, green."""
    width, height = 48, 16
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            inner = x % 16
            if inner in (0, 15) or y in (0, 15):
                row.append(1)
            elif 4 <= inner < 12 and 4 <= y < 12:
                row.append((4, 7, 5)[x // 16])
            else:
                row.append(2)
        rows.append(row)
    return width, height, rows


def dib_rows(rows):
    """Rows bottom first, each padded to 4 bytes."""
    data = bytearray()
    for row in reversed(rows):
        data += bytes(row)
        data += bytes(-len(row) % 4)
    return bytes(data)


def quads(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)


def bmp_file(width, height, rows, palette):
    pixels = dib_rows(rows)
    offset = 14 + 40 + 4 * len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 3780, 3780, len(palette), 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + quads(palette) + pixels


def pack_runlen(data):
    """RunLen blocks: runs of 3 or more equal bytes, literals between them."""
    out = bytearray()
    literal = bytearray()

    def flush():
        while literal:
            chunk = literal[:127]
            out.append(0x80 + len(chunk))
            out.extend(chunk)
            del literal[:127]

    i = 0
    while i < len(data):
        run = 1
        while i + run < len(data) and data[i + run] == data[i] and run < 127:
            run += 1
        if run >= 3:
            flush()
            out += bytes((run, data[i]))
            i += run
        else:
            literal.append(data[i])
            i += 1
    flush()
    return bytes(out)


def compressed_word(value):
    return bytes((value * 2,)) if value < 128 else struct.pack("<BB", (value & 0x7F) * 2 + 1, value >> 7)


def compressed_dword(value):
    return struct.pack("<H", value * 2) if value < 32768 else struct.pack("<HH", (value & 0x7FFF) * 2 + 1, value >> 15)


def shg_file(width, height, rows, palette, hotspots):
    packed = pack_runlen(dib_rows(rows))
    section = bytearray(struct.pack("<BHI", 1, len(hotspots), 0))
    for kind, x, y, w, h, _name, _target in hotspots:
        section += struct.pack("<BBBHHHHI", kind, 0, 0, x, y, w, h, 0)
    for _kind, _x, _y, _w, _h, name, target in hotspots:
        section += name.encode("ascii") + b"\0" + target.encode("ascii") + b"\0"

    def header(data_offset, hotspot_offset):
        return (bytes((6, 1)) + compressed_dword(96) + compressed_dword(96) + compressed_word(1) +
                compressed_word(8) + compressed_dword(width) + compressed_dword(height) +
                compressed_dword(len(palette)) + compressed_dword(0) + compressed_dword(len(packed)) +
                compressed_dword(len(section)) + struct.pack("<II", data_offset, hotspot_offset))

    data_offset = len(header(0, 0)) + 4 * len(palette)
    picture = header(data_offset, data_offset + len(packed)) + quads(palette) + packed + bytes(section)
    return struct.pack("<HHI", 0x506C, 1, 8) + picture


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "examples",
                                                                "sample", "bmp")
    os.makedirs(folder, exist_ok=True)
    width, height, rows = screen_pixels()
    with open(os.path.join(folder, "screen.bmp"), "wb") as f:
        f.write(bmp_file(width, height, rows, PALETTE))
    width, height, rows = toolbar_pixels()
    hotspots = [
        (0xE3, 0, 0, 16, 16, "jump", "FAQ"),      # jump to the FAQ topic
        (0xE2, 16, 0, 16, 16, "popup", "term"),   # popup of the term topic
        (0xC8, 32, 0, 16, 16, "macro", "ExecFile(readme.txt)"),
    ]
    with open(os.path.join(folder, "toolbar.shg"), "wb") as f:
        f.write(shg_file(width, height, rows, PALETTE, hotspots))


if __name__ == "__main__":
    main()
