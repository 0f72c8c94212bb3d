#!/usr/bin/env python3
"""Draws the program's icons (a GNSS antenna on a survey tripod) with ImageMagick and packs them
as Windows icon files: res/TZR.ico, one 32 x 32 image of 256 colours (the window's icon and the
raw files' icon), and res/About.ico, 16, 24, 32 and 48 pixels each in 256 colours and in 32-bit
colour (the About box)."""
import pathlib
import struct
import subprocess

RES = pathlib.Path(__file__).resolve().parent.parent / "res"


def render(size, palette):
    s = size / 32.0
    def p(x):
        return f"{x * s:.2f}"
    draw = [
        "-fill", "#1f5fa8", "-draw", f"roundrectangle 0,0 {p(31)},{p(31)} {p(6)},{p(6)}",
        "-stroke", "white", "-strokewidth", p(2),
        "-draw", f"line {p(16)},{p(14)} {p(7)},{p(29)}",
        "-draw", f"line {p(16)},{p(14)} {p(25)},{p(29)}",
        "-draw", f"line {p(16)},{p(14)} {p(16)},{p(29)}",
        "-stroke", "none", "-fill", "#ffd54a", "-draw", f"ellipse {p(16)},{p(9)} {p(10)},{p(4)} 0,360",
        "-fill", "white", "-draw", f"rectangle {p(15)},{p(3)} {p(17)},{p(6)}",
    ]
    command = ["convert", "-size", f"{size}x{size}", "xc:none", *draw]
    if palette:
        command += ["-channel", "A", "-threshold", "50%", "+channel", "-colors", "255"]
    command += ["-depth", "8", "rgba:-"]
    return subprocess.run(command, check=True, capture_output=True).stdout


def dib(size, rgba, palette):
    """A BITMAPINFOHEADER image, bottom-up, with its AND mask, as an icon directory entry holds."""
    rows = [rgba[y * size * 4:(y + 1) * size * 4] for y in range(size)][::-1]
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in rows:
        bits = bytearray(mask_stride)
        for x in range(size):
            if row[x * 4 + 3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    if palette:
        colours = []
        index = {}
        pixels = bytearray()
        for row in rows:
            for x in range(size):
                r, g, b, a = row[x * 4:x * 4 + 4]
                key = (r, g, b) if a >= 128 else (0, 0, 0)
                if key not in index:
                    index[key] = len(colours)
                    colours.append(key)
                pixels.append(index[key])
            pixels += bytes((-size) % 4)
        assert len(colours) <= 256, len(colours)
        table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
        table += bytes(4 * (256 - len(colours)))
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
        return header + table + bytes(pixels) + bytes(mask), 8
    pixels = bytearray()
    for row in rows:
        for x in range(size):
            r, g, b, a = row[x * 4:x * 4 + 4]
            pixels += bytes((b, g, r, a))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask), 32


def write_icon(path, images):
    entries = []
    data = b""
    offset = 6 + 16 * len(images)
    for size, palette in images:
        image, bits = dib(size, render(size, palette), palette)
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(image),
                                   offset + len(data)))
        data += image
    path.write_bytes(struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + data)


write_icon(RES / "TZR.ico", [(32, True)])
write_icon(RES / "About.ico", [(size, palette) for size in (16, 24, 32, 48) for palette in (True, False)])
