#!/usr/bin/env python3
"""Draw the duoscope icons and write them as Windows .ico files.

The picture is a pair of round 3D-glasses lenses seen from the front:
the left lens is red, the right lens is cyan, and the lens-shaped area
where they overlap is dark blue (navy), the colour you see when looking
through both filters at once.  A one-pixel black rim runs around the
outside of the pair; on the 32x32 image each lens also shows its own rim
where it crosses the other lens, and a small white glint sits near the
top outer edge of each lens.  Everything outside the lenses is
transparent.

Files written (both 16 colours, 4 bits per pixel):
  duoscope.ico  32x32 and 16x16 images  (application icon, resource 107)
  small.ico     16x16 image             (small icon, resource 108)

Each image is stored as a device-independent bitmap inside the .ico:
a 40-byte bitmap header whose height is twice the image height, a
16-entry palette, the colour pixels (rows bottom-up, each row padded to
a multiple of 4 bytes), then a 1-bit transparency mask (bit set =
transparent, rows bottom-up, padded to 4 bytes).  Transparent pixels use
palette index 0 in the colour pixels.

Usage: make_icons.py [OUTPUT_DIR]   (default: the res/ folder beside tools/)
Only the Python standard library is used and the output is byte-for-byte
the same on every run.
"""

import os
import struct
import sys

# The standard 16-colour Windows palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00),  # 0  black
    (0x80, 0x00, 0x00),  # 1  dark red (maroon)
    (0x00, 0x80, 0x00),  # 2  dark green
    (0x80, 0x80, 0x00),  # 3  olive
    (0x00, 0x00, 0x80),  # 4  navy
    (0x80, 0x00, 0x80),  # 5  purple
    (0x00, 0x80, 0x80),  # 6  teal
    (0xC0, 0xC0, 0xC0),  # 7  silver
    (0x80, 0x80, 0x80),  # 8  grey
    (0xFF, 0x00, 0x00),  # 9  red
    (0x00, 0xFF, 0x00),  # 10 green (lime)
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 magenta (fuchsia)
    (0x00, 0xFF, 0xFF),  # 14 cyan (aqua)
    (0xFF, 0xFF, 0xFF),  # 15 white
]

BLACK = 0
NAVY = 4
RED = 9
CYAN = 14
WHITE = 15

TRANSPARENT = None  # marker for "no pixel here" in a drawn image

# Lens layout for each image size, in pixels (pixel (x, y) covers the
# square from x to x+1 and y to y+1, so its centre is at x+0.5, y+0.5).
#   left, right : centres of the two lenses (x, y)
#   radius      : lens radius
#   inner_rims  : draw each lens's rim across the other lens
#   glints      : white highlight pixels
LAYOUTS = {
    32: {
        "left": (10.0, 16.0),
        "right": (22.0, 16.0),
        "radius": 10.0,
        "inner_rims": True,
        "glints": [(4, 11), (5, 10), (6, 9), (25, 9), (26, 10), (27, 11)],
    },
    16: {
        "left": (5.0, 8.0),
        "right": (11.0, 8.0),
        "radius": 5.0,
        "inner_rims": False,
        "glints": [],
    },
}


def in_circle(x, y, centre, radius):
    """True if the centre of pixel (x, y) lies inside the circle."""
    dx = x + 0.5 - centre[0]
    dy = y + 0.5 - centre[1]
    return dx * dx + dy * dy <= radius * radius


def draw(size):
    """Return the icon picture as rows of palette indices (or TRANSPARENT)."""
    lay = LAYOUTS[size]
    r = lay["radius"]

    def left(x, y):
        return 0 <= x < size and 0 <= y < size and in_circle(x, y, lay["left"], r)

    def right(x, y):
        return 0 <= x < size and 0 <= y < size and in_circle(x, y, lay["right"], r)

    def on_rim(inside, x, y):
        """Inside a shape, with at least one of the 4 neighbours outside it."""
        if not inside(x, y):
            return False
        return any(not inside(x + dx, y + dy)
                   for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))

    def either(x, y):
        return left(x, y) or right(x, y)

    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            in_l, in_r = left(x, y), right(x, y)
            if not (in_l or in_r):
                row.append(TRANSPARENT)
            elif on_rim(either, x, y):
                row.append(BLACK)  # outer rim of the pair
            elif lay["inner_rims"] and (on_rim(left, x, y) or on_rim(right, x, y)):
                row.append(BLACK)  # one lens's rim seen through the other
            elif in_l and in_r:
                row.append(NAVY)   # both filters: dark overlap
            elif in_l:
                row.append(RED)
            else:
                row.append(CYAN)
        rows.append(row)

    for gx, gy in lay["glints"]:
        if rows[gy][gx] in (RED, CYAN):
            rows[gy][gx] = WHITE
    return rows


def pad4(data):
    """Pad a row of bytes with zeros to a multiple of 4 bytes."""
    return data + b"\0" * (-len(data) % 4)


def encode_image(rows):
    """Encode a drawn picture as a 4-bit bitmap with a transparency mask."""
    size = len(rows)
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom row first
        line = bytearray()
        for x in range(0, size, 2):
            hi = rows_index(row[x])
            lo = rows_index(row[x + 1])
            line.append((hi << 4) | lo)
        colour += pad4(bytes(line))

        bits = bytearray((size + 7) // 8)
        for x, px in enumerate(row):
            if px is TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += pad4(bytes(bits))

    header = struct.pack(
        "<IiiHHIIiiII",
        40,                        # header size
        size,                      # width
        size * 2,                  # height: colour pixels plus mask
        1,                         # planes
        4,                         # bits per pixel
        0,                         # no compression
        len(colour) + len(mask),   # size of the pixel data
        0, 0,                      # resolution (unused)
        0, 0,                      # all 16 palette entries used
    )
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(colour) + bytes(mask)


def rows_index(px):
    """Palette index for a pixel; transparent pixels are stored as 0."""
    return 0 if px is TRANSPARENT else px


def build_ico(sizes):
    """Build a complete .ico file holding one image per size, in order."""
    images = [(size, encode_image(draw(size))) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))  # reserved, type icon, count
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack(
            "<BBBBHHII",
            size,       # width
            size,       # height
            16,         # colours in the palette
            0,          # reserved
            1,          # planes
            4,          # bits per pixel
            len(data),  # bytes in this image
            offset,     # where the image starts in the file
        )
        offset += len(data)
    for _, data in images:
        out += data
    return out


def main(argv):
    if len(argv) > 2:
        sys.stderr.write("usage: make_icons.py [OUTPUT_DIR]\n")
        return 2
    if len(argv) == 2:
        out_dir = argv[1]
    else:
        here = os.path.dirname(os.path.abspath(__file__))
        out_dir = os.path.join(os.path.dirname(here), "res")
    os.makedirs(out_dir, exist_ok=True)

    for name, sizes in (("duoscope.ico", (32, 16)), ("small.ico", (16,))):
        data = build_ico(sizes)
        path = os.path.join(out_dir, name)
        with open(path, "wb") as f:
            f.write(data)
        desc = " + ".join("%dx%d" % (s, s) for s in sizes)
        print("wrote %s (%s, 16 colours, %d bytes)" % (path, desc, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
