#!/usr/bin/env python3
"""Draws the library's built-in tray icon and writes it as an .ico file.

One icon resource with two 32 x 32 images: 16 colours (4 bits per pixel,
the standard VGA palette) and 256 colours (8 bits per pixel). The picture:
a blue disc with a white ring and a short tail at its lower right, on a
transparent background; the 256-colour image shades the disc from light
to dark blue.

    tools/make-library-icon.py platform/win32/library_icon.ico
"""
import math
import struct
import sys

SIZE = 32

# The standard 16-colour palette (B, G, R order in the file).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def shape(x, y):
    """What lies at pixel centre (x, y): None (transparent), 'disc', 'ring' or 'tail'."""
    cx, cy = 15.5, 14.5
    d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
    # The tail: a thick stroke from the ring towards the lower right corner.
    tx, ty = x + 0.5 - 22.0, y + 0.5 - 22.0
    along = (tx + ty) / math.sqrt(2)
    across = abs(tx - ty) / math.sqrt(2)
    if 0 <= along <= 9 and across <= 2.2:
        return 'tail'
    if 7.5 <= d <= 10.5:
        return 'ring'
    if d <= 14.5:
        return 'disc'
    return None


def image(bits):
    """One icon image: BITMAPINFOHEADER, palette, colour rows, mask rows."""
    colours = 1 << bits
    if bits == 4:
        palette = VGA
        index = {'disc': 12, 'ring': 15, 'tail': 15}
        pick = lambda kind, x, y: index[kind]
    else:
        # VGA first, then 64 shades of blue for the disc, the rest black.
        palette = VGA + [(0, int(40 + i * 2), int(120 + i * 2)) for i in range(64)]
        palette += [(0, 0, 0)] * (colours - len(palette))
        def pick(kind, x, y):
            if kind != 'disc':
                return 15
            shade = max(0, min(63, int(63 - (x + y) * 63 / 62)))
            return 16 + shade
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, bits, 0, 0, 0, 0, colours, 0)
    # Palette entries are RGBQUAD: blue, green, red, reserved.
    pal = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in palette)
    rows = []
    masks = []
    for y in reversed(range(SIZE)):  # bottom-up
        px = []
        mask = 0
        for x in range(SIZE):
            kind = shape(x, y)
            if kind is None:
                px.append(0)
                mask |= 1 << (31 - x)
            else:
                px.append(pick(kind, x, y))
        if bits == 4:
            row = bytes((px[i] << 4) | px[i + 1] for i in range(0, SIZE, 2))
        else:
            row = bytes(px)
        rows.append(row)  # 16 or 32 bytes: already a multiple of 4
        masks.append(struct.pack('>I', mask))
    return header + pal + b''.join(rows) + b''.join(masks)


def main(path):
    images = [image(4), image(8)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for bits, data in zip((4, 8), images):
        count = 16 if bits == 4 else 0  # 0 means 256 or more
        out += struct.pack('<BBBBHHII', SIZE, SIZE, count, 0, 1, bits, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'library_icon.ico')
