#!/usr/bin/env python3
"""Joins PNG images of an icon drawn at several sizes into one Windows .ico file (entries that
hold PNG data, which Windows reads since Vista). Usage: make_ico.py OUT.ico IN.png..."""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG image")
    return struct.unpack(">II", data[16:24])


def main(out, inputs):
    images = [open(name, "rb").read() for name in inputs]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, payload = b"", b""
    for data in images:
        w, h = png_size(data)
        # A size of 256 is written as 0 in the one-byte fields.
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        payload += data
        offset += len(data)
    with open(out, "wb") as f:
        f.write(header + entries + payload)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
