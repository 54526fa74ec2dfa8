#!/usr/bin/env python3
"""Builds the Windows icon (resource 107) from the program's PNG artwork.

    make_icon.py OUTPUT.ico ICON-16.png ICON-32.png ICON-48.png

The program's icon, from the artwork the Qt program uses too:
    src/app/win32/make_icon.py src/app/win32/lumistra.ico src/app/icon/lumistra-{16,32,48}.png

Writes one icon group with the entries the program file carries:
16, 32 and 48 pixels at 4-bit and at 8-bit colour, 32 pixels at 24-bit, and
16 and 48 pixels at 32-bit colour (with alpha). Every entry is a classic
bitmap entry (header, colours, AND mask), which every Windows version reads.
Uses the standard library only; the PNGs must be RGB or RGBA, 8 or 16 bits
per channel, not interlaced.
"""

import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Reading a PNG (RGB or RGBA, 8 or 16 bits per channel, not interlaced)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(path):
    """Returns (width, height, rows of (r, g, b, a) tuples, top row first)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
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
    if depth not in (8, 16) or colour not in (2, 6) or interlace:
        sys.exit(f"{path}: needs RGB or RGBA, 8 or 16 bits, without interlacing")
    channels = 4 if colour == 6 else 3
    step = depth // 8  # bytes per channel; of 16 bits the high byte is kept
    bpp = channels * step  # the filters' byte distance to the left neighbour
    stride = width * bpp
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = previous[i]
            up_left = previous[i - bpp] if i >= bpp else 0
            predictor = (0, left, up, (left + up) // 2, paeth(left, up, up_left))[kind]
            line[i] = (line[i] + predictor) & 0xFF
        pixels = [tuple(line[x * bpp:(x + 1) * bpp:step]) for x in range(width)]
        if channels == 3:
            pixels = [p + (255,) for p in pixels]
        rows.append(pixels)
        previous = line
    return width, height, rows


# ---------------------------------------------------------------------------
# Palettes

# The 16 colours every Windows display has.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# The 16 above, a 6 x 6 x 6 colour cube and a grey ramp: 256 colours.
PALETTE256 = (VGA16
              + [(r, g, b) for r in range(0, 256, 51) for g in range(0, 256, 51) for b in range(0, 256, 51)]
              + [(v, v, v) for v in range(8, 248, 6)])[:256]


def nearest(palette, rgb):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - rgb[k]) ** 2 for k in range(3)))


# ---------------------------------------------------------------------------
# Icon entries


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def and_mask(rows):
    """1 bit per pixel, set where the pixel is transparent; rows bottom-up."""
    out = b""
    for row in reversed(rows):
        bits = bytearray((len(row) + 7) // 8)
        for x, p in enumerate(row):
            if p[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += padded(bytes(bits))
    return out


def colour_rows(rows, bits):
    """The XOR (colour) bitmap, rows bottom-up, and its colour table."""
    out = b""
    if bits == 32:
        for row in reversed(rows):
            out += b"".join(bytes((b, g, r, a)) for r, g, b, a in row)
        return out, b""
    if bits == 24:
        for row in reversed(rows):
            out += padded(b"".join(bytes((b, g, r)) if a >= 128 else b"\0\0\0" for r, g, b, a in row))
        return out, b""
    palette = VGA16 if bits == 4 else PALETTE256
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    table += b"\0" * (4 * (2 ** bits) - len(table))
    cache = {}
    for row in reversed(rows):
        indices = []
        for p in row:
            rgb = p[:3] if p[3] >= 128 else (0, 0, 0)
            if rgb not in cache:
                cache[rgb] = nearest(palette, rgb)
            indices.append(cache[rgb])
        if bits == 8:
            out += padded(bytes(indices))
        else:
            indices += [0] * (len(indices) % 2)
            out += padded(bytes((indices[i] << 4) | indices[i + 1] for i in range(0, len(indices), 2)))
    return out, table


def entry(image, bits):
    width, height, rows = image
    colours, table = colour_rows(rows, bits)
    mask = and_mask(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0,
                         len(colours) + len(mask), 0, 0, 0, 0)
    return header + table + colours + mask


# Size and colour depth of each entry, in the order the group lists them.
ENTRIES = [(16, 4), (32, 4), (48, 4), (16, 8), (32, 8), (48, 8), (32, 24), (16, 32), (48, 32)]


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    images = {}
    for path in sys.argv[2:]:
        image = read_png(path)
        if image[0] != image[1]:
            sys.exit(f"{path}: not square")
        images[image[0]] = image
    missing = sorted({size for size, _ in ENTRIES} - images.keys())
    if missing:
        sys.exit(f"missing artwork for sizes {missing}")

    bodies = [entry(images[size], bits) for size, bits in ENTRIES]
    directory = struct.pack("<HHH", 0, 1, len(ENTRIES))
    offset = 6 + 16 * len(ENTRIES)
    for (size, bits), body in zip(ENTRIES, bodies):
        colour_count = 16 if bits == 4 else 0
        directory += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(body), offset)
        offset += len(body)
    with open(sys.argv[1], "wb") as f:
        f.write(directory + b"".join(bodies))


if __name__ == "__main__":
    main()
