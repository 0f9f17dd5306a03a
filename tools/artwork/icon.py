#!/usr/bin/python3
"""Builds the window icon (.ico) from an SVG: one image per size, 32-bit
bitmaps for the small sizes that older shell code paths read, PNG for the
large ones (Windows Vista and later read PNG icon images).

    /usr/bin/python3 tools/artwork/icon.py resources/icon.svg resources/icon.ico \
        [resources/icon-small.svg]

The optional second drawing is used for 16 and 24 pixels.
"""

import os
import struct
import sys
import tempfile
import zlib

import raster

SIZES = (16, 24, 32, 48, 64, 128, 256)
LARGEST_BITMAP = 48  # sizes above this are stored as PNG
SMALL_SIZE = 24  # sizes up to this one come from the heavier small drawing


def read_png_rgba(data):
    """Decodes an 8-bit RGBA or RGB, non-interlaced PNG into (width, height, rows of bytes RGBA)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("unsupported PNG layout")
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            up_left = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else up_left)
                line[i] = (line[i] + pred) & 255
        previous = line
        if channels == 3:
            line = bytearray(b"".join(bytes(line[x:x + 3]) + b"\xff" for x in range(0, stride, 3)))
        rows.append(bytes(line))
    return width, height, rows


def bitmap_image(png_data):
    """An icon image in the classic layout: BITMAPINFOHEADER, bottom-up BGRA
    rows, then the 1-bit mask (set where the pixel is fully transparent)."""
    width, height, rows = read_png_rgba(png_data)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((width + 31) // 32) * 4
    for row in reversed(rows):
        mask_row = bytearray(mask_stride)
        for x in range(width):
            r, g, b, a = row[4 * x:4 * x + 4]
            pixels += bytes((b, g, r, a))
            if a == 0:
                mask_row[x // 8] |= 0x80 >> (x % 8)
        mask += mask_row
    return header + bytes(pixels) + bytes(mask)


def write_ico(images, ico_path):
    """images: list of (size, image bytes), written in the order given."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        edge = 0 if size >= 256 else size
        directory += struct.pack("<BBBBHHII", edge, edge, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        body += data
    with open(ico_path, "wb") as f:
        f.write(directory + body)


def build_icon(svg_path, ico_path, small_svg_path=None, sizes=SIZES):
    """Renders each size (from small_svg_path, when given, up to SMALL_SIZE)
    and writes them into one .ico."""
    with tempfile.TemporaryDirectory() as tmp:
        jobs = [(small_svg_path if small_svg_path and s <= SMALL_SIZE else svg_path,
                 os.path.join(tmp, "%d.png" % s), s) for s in sizes]
        raster.render(jobs)
        images = []
        for size, (_, png, _) in zip(sizes, jobs):
            with open(png, "rb") as f:
                data = f.read()
            images.append((size, bitmap_image(data) if size <= LARGEST_BITMAP else data))
    write_ico(images, ico_path)


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4):
        raise SystemExit(__doc__)
    build_icon(sys.argv[1], sys.argv[2], sys.argv[3] if len(sys.argv) == 4 else None)
