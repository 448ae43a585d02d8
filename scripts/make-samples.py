#!/usr/bin/env python3
"""Writes the small sample pictures in samples/ (our own drawings, standard library only).

Run again after changing a drawing; the outputs are committed so that scripts/run.sh works at once.
JPEG files are encoded with cjpeg (Debian's libjpeg-turbo-progs).
"""
import io
import math
import os
import struct
import subprocess
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), "samples")


def scene(width, height, hue, t=0.0):
    """A sky gradient with a sun and rolling hills: photo-like enough to compress like a photo."""
    rows = []
    sun_x, sun_y, sun_r = width * (0.3 + 0.4 * t), height * 0.32, height * 0.12
    for y in range(height):
        row = bytearray()
        for x in range(width):
            sky = y / height
            r, g, b = 40 + 120 * sky, 90 + 100 * sky, 200 - 60 * sky
            r, g, b = (r + hue[0]) / 2, (g + hue[1]) / 2, (b + hue[2]) / 2
            if math.hypot(x - sun_x, y - sun_y) < sun_r:
                r, g, b = 255, 220, 120
            hill = height * (0.7 + 0.08 * math.sin(x / width * 6.3 + hue[0] / 40))
            if y > hill:
                shade = 0.6 + 0.4 * (y - hill) / (height - hill + 1)
                r, g, b = 50 * shade, 140 * shade, 60 * shade
            row += bytes((int(r) & 255, int(g) & 255, int(b) & 255))
        rows.append(bytes(row))
    return rows


def png(width, height, rows, alpha=False):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    color_type = 6 if alpha else 2
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, color_type, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def jpeg(width, height, rows):
    ppm = b"P6 %d %d 255\n" % (width, height) + b"".join(rows)
    return subprocess.run(["cjpeg", "-quality", "85", "-optimize"], input=ppm, capture_output=True, check=True).stdout


def exif_block(ifd0, exif, gps):
    """A little-endian TIFF-structured EXIF block: IFD0 pointing at the EXIF and GPS directories. Each
    directory is a list of (tag, type, value): type 2 ASCII (str), 3 SHORT (int), 5 RATIONAL (list of pairs)."""
    def encode(kind, value):
        if kind == 2:
            return len(value) + 1, value.encode() + b"\0"
        if kind == 3:
            return 1, struct.pack("<H", value)
        if kind == 4:
            return 1, struct.pack("<I", value)
        return len(value), b"".join(struct.pack("<II", n, d) for n, d in value)

    def directory(entries, offset, links=()):
        entries = sorted(entries + [(tag, 4, target) for tag, target in links])
        data_at = offset + 2 + 12 * len(entries) + 4
        head, data = struct.pack("<H", len(entries)), b""
        for tag, kind, value in entries:
            count, raw = encode(kind, value)
            if len(raw) <= 4:
                head += struct.pack("<HHI", tag, kind, count) + raw.ljust(4, b"\0")
            else:
                head += struct.pack("<HHII", tag, kind, count, data_at + len(data))
                data += raw + b"\0" * (len(raw) % 2)
        return head + b"\0\0\0\0" + data

    placeholder = directory(ifd0, 8, [(0x8769, 0), (0x8825, 0)])
    exif_at = 8 + len(placeholder)
    exif_dir = directory(exif, exif_at)
    gps_at = exif_at + len(exif_dir)
    first = directory(ifd0, 8, [(0x8769, exif_at), (0x8825, gps_at)])
    return b"II*\0" + struct.pack("<I", 8) + first + exif_dir + directory(gps, gps_at)


def with_exif(jpeg_bytes, block):
    """Puts an APP1 EXIF segment right after the JFIF header, where cameras and viewers expect it."""
    payload = b"Exif\0\0" + block
    segment = b"\xFF\xE1" + struct.pack(">H", len(payload) + 2) + payload
    app0_end = 4 + struct.unpack(">H", jpeg_bytes[4:6])[0]
    return jpeg_bytes[:app0_end] + segment + jpeg_bytes[app0_end:]


def camera_exif():
    """What a camera records, so that the info panel shows every row: Seoul at 37°33'59.4" N, 126°58'40.8" E."""
    ifd0 = [(0x010F, 2, "Haneul Optics"), (0x0110, 2, "Haneul Optics HO-7 Mark II"), (0x0112, 3, 1),
            (0x0131, 2, "make-samples.py")]
    exif = [(0x829A, 5, [(1, 250)]), (0x829D, 5, [(28, 10)]), (0x8827, 3, 200),
            (0x9003, 2, "2024:05:01 10:20:30"), (0x920A, 5, [(50, 1)]), (0xA434, 2, "HO 24-70mm F2.8")]
    gps = [(1, 2, "N"), (2, 5, [(37, 1), (33, 1), (594, 10)]), (3, 2, "E"), (4, 5, [(126, 1), (58, 1), (408, 10)])]
    return exif_block(ifd0, exif, gps)


def with_alpha(width, height, rows):
    """Adds a soft round hole so that the checkerboard behind transparent pixels shows."""
    out = []
    for y, row in enumerate(rows):
        line = bytearray()
        for x in range(width):
            d = math.hypot(x - width / 2, y - height / 2) / (min(width, height) / 2)
            a = 0 if d < 0.5 else min(255, int((d - 0.5) * 4 * 255))
            line += row[3 * x:3 * x + 3] + bytes((a,))
        out.append(bytes(line))
    return out


def lzw(indices, min_code_size):
    """GIF's variable-width LZW."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    table = {bytes((i,)): i for i in range(clear)}
    size, next_code, bits, nbits, out = min_code_size + 1, end + 1, 0, 0, bytearray()

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(bits & 255)
            bits >>= 8
            nbits -= 8

    emit(clear)
    w = b""
    for i in indices:
        wc = w + bytes((i,))
        if wc in table:
            w = wc
            continue
        emit(table[w])
        if next_code < 4096:
            table[wc] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear)
            table = {bytes((k,)): k for k in range(clear)}
            size, next_code = min_code_size + 1, end + 1
        w = bytes((i,))
    if w:
        emit(table[w])
    emit(end)
    if nbits:
        out.append(bits & 255)
    return bytes(out)


def animated_gif(width, height, frames):
    palette = [(255, 255, 255), (30, 30, 30), (230, 80, 60), (60, 130, 230), (250, 200, 60), (80, 180, 90)]
    palette += [(0, 0, 0)] * (8 - len(palette))
    data = bytearray(b"GIF89a" + struct.pack("<HHBBB", width, height, 0xF2, 0, 0))
    for c in palette:
        data += bytes(c)
    data += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop forever
    for f in range(frames):
        angle = f / frames * 2 * math.pi
        cx, cy = width / 2 + width * 0.3 * math.cos(angle), height / 2 + height * 0.3 * math.sin(angle)
        pixels = bytearray()
        for y in range(height):
            for x in range(width):
                if math.hypot(x - cx, y - cy) < height * 0.15:
                    pixels.append(2 + f % 4)
                elif (x // 16 + y // 16) % 2:
                    pixels.append(0)
                else:
                    pixels.append(1 if y > height - 8 else 0)
        data += b"\x21\xF9\x04\x04" + struct.pack("<H", 8) + b"\x00\x00"  # 80 ms, keep
        data += b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0)
        encoded = lzw(pixels, 3)
        data += b"\x03"
        for i in range(0, len(encoded), 255):
            block = encoded[i:i + 255]
            data += bytes((len(block),)) + block
        data += b"\x00"
    data += b"\x3B"
    return bytes(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    w, h = 480, 320
    files = {
        "1.png": png(w, h, scene(w, h, (255, 160, 120))),
        "2.jpg": with_exif(jpeg(w, h, scene(w, h, (120, 200, 255))), camera_exif()),
        "10.png": png(w, h, scene(w, h, (200, 120, 255))),
        "alpha.png": png(w, h, with_alpha(w, h, scene(w, h, (255, 230, 140))), alpha=True),
        "animated.gif": animated_gif(240, 160, 12),
    }
    pages = io.BytesIO()
    with zipfile.ZipFile(pages, "w", zipfile.ZIP_DEFLATED) as archive:
        for i, name in enumerate(["page 1.jpg", "page 2.jpg", "page 10.jpg"]):
            archive.writestr(name, jpeg(360, 520, scene(360, 520, (90 + 60 * i, 150, 255 - 50 * i))))
    files["comic.cbz"] = pages.getvalue()
    for name, data in files.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
        print(f"{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
