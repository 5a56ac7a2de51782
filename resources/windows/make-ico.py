#!/usr/bin/env python3
"""Packs PNG images into one Windows icon file (.ico), each image stored as
PNG, which Windows reads at every size since Vista.

    make-ico.py OUT.ico IN-16.png IN-32.png ...
"""
import struct
import sys


def png_size(data):
    """Width and height from a PNG's IHDR chunk."""
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError("not a PNG file")
    return struct.unpack(">II", data[16:24])


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    images = []
    for name in argv[2:]:
        with open(name, "rb") as f:
            data = f.read()
        width, height = png_size(data)
        if width > 256 or height > 256:
            raise ValueError(f"{name}: {width}x{height} is larger than an icon holds")
        images.append((width, height, data))
    images.sort(key=lambda image: image[0])
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for width, height, data in images:
        # 256 is written as 0; no palette; one plane; 32 bits per pixel.
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    with open(argv[1], "wb") as f:
        f.write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
