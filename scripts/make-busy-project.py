#!/usr/bin/env python3
"""A help project that takes a few seconds to convert, so that the window can
be photographed while it works (scripts/screenshots.sh): TOPICS one-topic
files, each showing a large picture under a name of its own (links
to one file, so that every one is converted and the disk holds one).

Usage: make-busy-project.py FOLDER [TOPICS]
"""
import os
import random
import struct
import sys

WIDTH, HEIGHT = 1600, 1200


def blocks_bmp(path):
    # Blocks of colour, as in a screenshot: every row and filter is worked
    # through, but the pictures written stay small.
    rng = random.Random(21)
    colours = [bytes(rng.getrandbits(8) for _ in range(3)) for _ in range(WIDTH // 16 * HEIGHT // 16)]
    rows = []
    for y in range(HEIGHT):
        base = (y // 16) * (WIDTH // 16)
        rows.append(b"".join(colours[base + x // 16] for x in range(WIDTH)))
    pixels = b"".join(rows)  # 24-bit rows need no padding at this width
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def topic(n):
    return ("{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset128 Gothic;}}\n"
            "\\pard\\f0\\fs20 #{\\footnote topic%d}${\\footnote Topic %d}Topic %d\\par\n"
            "\\pard \\{bmc picture%d.bmp\\}\\par\n}\n" % (n, n, n, n))


def main():
    folder = sys.argv[1]
    topics = int(sys.argv[2]) if len(sys.argv) > 2 else 150
    os.makedirs(os.path.join(folder, "rtf"), exist_ok=True)
    os.makedirs(os.path.join(folder, "bmp"), exist_ok=True)
    blocks_bmp(os.path.join(folder, "bmp", "blocks.bmp"))
    files = []
    for n in range(1, topics + 1):
        link = os.path.join(folder, "bmp", "picture%d.bmp" % n)
        if not os.path.lexists(link):
            os.symlink("blocks.bmp", link)
        name = "topic%d.rtf" % n
        with open(os.path.join(folder, "rtf", name), "w", newline="\r\n") as out:
            out.write(topic(n))
        files.append(name)
    with open(os.path.join(folder, "busy.hpj"), "w", newline="\r\n") as out:
        out.write("[OPTIONS]\nTITLE=Busy\nCONTENTS=topic1\nROOT=rtf\nBMROOT=bmp\n\n[FILES]\n" + "\n".join(files) + "\n")


if __name__ == "__main__":
    main()
