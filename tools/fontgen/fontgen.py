#!/usr/bin/python3
"""Writes the display engine's glyph strips from the misc-fixed fonts of Debian's xfonts-base.

usage: fontgen.py [FONT_DIR] > src/emulators/display/GlyphStrips.cpp
"""
import gzip
import struct
import sys

FONT_DIR = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/X11/misc"

# name, source file, first code, trim to the inked columns (fonts that add their own spacing)
STRIPS = [
    ("kFixed6x12", "6x12-ISO8859-1.pcf.gz", 20, False),
    ("kFixed6x10", "6x10-ISO8859-1.pcf.gz", 20, False),
    ("kWide10x20", "10x20-ISO8859-1.pcf.gz", 31, True),
    ("kWide12x24", "12x24.pcf.gz", 31, True),
]
LAST = 255


def read_pcf(path):
    data = gzip.open(path).read()
    assert data[:4] == b"\x01fcp", path
    (count,) = struct.unpack_from("<i", data, 4)
    tables = {}
    for i in range(count):
        kind, fmt, size, offset = struct.unpack_from("<iiii", data, 8 + 16 * i)
        tables[kind] = offset

    def table(kind):
        offset = tables[kind]
        (fmt,) = struct.unpack_from("<i", data, offset)
        return fmt, ">" if fmt & 4 else "<", offset + 4

    fmt, e, at = table(0x100 if 0x100 in tables else 2)  # accelerators: font ascent and descent
    ascent, descent = struct.unpack_from(e + "ii", data, at + 8)

    fmt, e, at = table(4)  # metrics
    metrics = []
    if fmt & 0x100:
        (n,) = struct.unpack_from(e + "h", data, at)
        for i in range(n):
            metrics.append([b - 0x80 for b in data[at + 2 + 5 * i: at + 7 + 5 * i]])
    else:
        (n,) = struct.unpack_from(e + "i", data, at)
        for i in range(n):
            metrics.append(list(struct.unpack_from(e + "hhhhh", data, at + 4 + 12 * i)))

    fmt, e, at = table(8)  # bitmaps
    (n,) = struct.unpack_from(e + "i", data, at)
    offsets = struct.unpack_from(e + "%di" % n, data, at + 4)
    bits_at = at + 4 + 4 * n + 16
    pad = 1 << (fmt & 3)
    msb_bit = bool(fmt & 8)
    unit = 1 << ((fmt >> 4) & 3)
    msb_byte = bool(fmt & 4)

    fmt, e, at = table(32)  # encodings
    min2, max2, min1, max1, _ = struct.unpack_from(e + "hhhhh", data, at)
    cols = max2 - min2 + 1
    index = struct.unpack_from(e + "%dH" % (cols * (max1 - min1 + 1)), data, at + 10)

    glyphs = {}
    for code in range(max(min2, 0), min(max2, LAST) + 1):
        g = index[(0 - min1) * cols + code - min2] if min1 <= 0 <= max1 else 0xFFFF
        if g == 0xFFFF:
            continue
        lsb, rsb, width, gasc, gdesc = metrics[g]
        row_bytes = ((rsb - lsb + 8 * pad - 1) // (8 * pad)) * pad
        rows = []
        for r in range(gasc + gdesc):
            raw = bytearray(data[bits_at + offsets[g] + r * row_bytes: bits_at + offsets[g] + (r + 1) * row_bytes])
            if msb_bit != msb_byte and unit > 1:
                for k in range(0, len(raw), unit):
                    raw[k:k + unit] = raw[k:k + unit][::-1]
            bits = 0
            for b in raw:
                if not msb_bit:
                    b = int("{:08b}".format(b)[::-1], 2)
                bits = bits << 8 | b
            rows.append([(bits >> (8 * row_bytes - 1 - x)) & 1 for x in range(rsb - lsb)])
        cell = [[0] * width for _ in range(ascent + descent)]
        for r, row in enumerate(rows):
            y = ascent - gasc + r
            for x, bit in enumerate(row):
                if bit and 0 <= y < len(cell) and 0 <= x + lsb < width:
                    cell[y][x + lsb] = 1
        glyphs[code] = cell
    return ascent + descent, glyphs


def trimmed(cell, height):
    inked = [x for x in range(len(cell[0]) if cell else 0) if any(row[x] for row in cell)]
    if not inked:
        return [[0] * (len(cell[0]) // 2 if cell else 0) for _ in range(height)]
    return [row[inked[0]:inked[-1] + 1] for row in cell]


def strip(name, source, first, trim):
    height, glyphs = read_pcf(FONT_DIR + "/" + source)
    blank_width = len(next(iter(glyphs.values()))[0])
    offsets, rows = [0], [[] for _ in range(height)]
    for code in range(first, LAST + 1):
        cell = glyphs.get(code)
        if cell is None or (trim and code < 32):
            cell = [[0] * (0 if trim else blank_width) for _ in range(height)]
        elif trim:
            cell = trimmed(cell, height)
        for r in range(height):
            rows[r] += cell[r]
        offsets.append(offsets[-1] + len(cell[0]))
    row_bytes = (offsets[-1] + 7) // 8
    out = ["const GlyphStrip %s = {%d, %d, %d, %d, {" % (name, first, LAST, height, row_bytes)]
    for k in range(0, len(offsets), 16):
        out.append("    " + " ".join("%d," % o for o in offsets[k:k + 16]))
    out.append("}, {")
    for row in rows:
        row = row + [0] * (8 * row_bytes - len(row))
        hexrow = "".join("%02x" % int("".join(map(str, row[b:b + 8])), 2) for b in range(0, len(row), 8))
        for k in range(0, len(hexrow), 96):
            out.append('    "%s"' % hexrow[k:k + 96])
        out.append("    ,")
    out[-1] = "    ,"
    out.append("}};")
    return "\n".join(out)


print("// Generated by tools/fontgen/fontgen.py from the public-domain misc-fixed fonts of xfonts-base.")
print("// Do not edit; run the generator again.")
print('#include "emulators/display/GlyphStrip.h"\n')
print("namespace qs::display {\n")
for s in STRIPS:
    print(strip(*s))
    print()
print("}  // namespace qs::display")
