#!/usr/bin/env python3
"""Convert a WOFF 1.0 font into a TrueType file and give it a fixed family/style naming.

Usage: woff2ttf.py INPUT.woff OUTPUT.ttf STYLE
STYLE is Regular, Bold or Italic. The name table is rewritten so that the family is "Exo",
the subfamily is STYLE and the full name is "Exo STYLE"; head.macStyle and OS/2.fsSelection
are made to agree with the style. Only the Python standard library is used, and the output
depends on nothing but the input bytes (no timestamps are touched).
"""
import struct
import sys
import zlib

FAMILY = "Exo"
COPYRIGHT = "Copyright 2017 The Exo Project Authors (https://github.com/NDISCOVER/Exo-1.0)"
LICENSE = ("This Font Software is licensed under the SIL Open Font License, Version 1.1. "
           "This license is available with a FAQ at: https://openfontlicense.org")
LICENSE_URL = "https://openfontlicense.org"


def read_woff(data):
    """Return (flavor, {tag: table bytes}) of a WOFF 1.0 file."""
    signature, flavor, _length, num_tables = struct.unpack(">4sIIH", data[:14])
    if signature != b"wOFF":
        raise ValueError("not a WOFF 1.0 file")
    tables = {}
    for i in range(num_tables):
        entry = data[44 + 20 * i: 64 + 20 * i]
        tag, offset, comp_len, orig_len, _checksum = struct.unpack(">4sIIII", entry)
        raw = data[offset: offset + comp_len]
        table = zlib.decompress(raw) if comp_len < orig_len else raw
        if len(table) != orig_len:
            raise ValueError("table %r has the wrong length" % tag)
        tables[tag] = table
    return flavor, tables


def checksum(table):
    padded = table + b"\0" * (-len(table) % 4)
    return sum(struct.unpack(">%dI" % (len(padded) // 4), padded)) & 0xFFFFFFFF


def build_name_table(style, version, postscript_prefix):
    """A format-0 name table with Windows (3, 1, 0x409) and Macintosh (1, 0, 0) records."""
    full = "%s %s" % (FAMILY, style)
    strings = {
        0: COPYRIGHT,
        1: FAMILY,
        2: style,
        3: "%s;%s" % (version, "%s-%s" % (postscript_prefix, style)),
        4: full,
        5: version,
        6: "%s-%s" % (postscript_prefix, style),
        13: LICENSE,
        14: LICENSE_URL,
    }
    records, storage = [], b""
    for platform, encoding, language, codec in ((1, 0, 0, "mac_roman"), (3, 1, 0x409, "utf-16-be")):
        for name_id in sorted(strings):
            encoded = strings[name_id].encode(codec)
            records.append((platform, encoding, language, name_id, len(encoded), len(storage)))
            storage += encoded
    header = struct.pack(">HHH", 0, len(records), 6 + 12 * len(records))
    body = b"".join(struct.pack(">HHHHHH", *r) for r in records)
    return header + body + storage


def read_name(table, wanted_id):
    count, string_offset = struct.unpack(">HH", table[2:6])
    for i in range(count):
        platform, _enc, _lang, name_id, length, offset = struct.unpack(
            ">HHHHHH", table[6 + 12 * i: 18 + 12 * i])
        if name_id == wanted_id and platform == 3:
            start = string_offset + offset
            return table[start: start + length].decode("utf-16-be")
    return None


def fix_style_bits(tables, style):
    bold, italic = style == "Bold", style == "Italic"
    head = bytearray(tables[b"head"])
    mac_style = (1 if bold else 0) | (2 if italic else 0)
    struct.pack_into(">H", head, 44, mac_style)
    tables[b"head"] = bytes(head)
    if b"OS/2" in tables:
        os2 = bytearray(tables[b"OS/2"])
        selection = struct.unpack_from(">H", os2, 62)[0]
        selection &= ~(0x01 | 0x20 | 0x40)  # italic, bold, regular
        selection |= 0x20 if bold else 0x01 if italic else 0x40
        struct.pack_into(">H", os2, 62, selection)
        struct.pack_into(">H", os2, 4, 700 if bold else 400)  # usWeightClass
        tables[b"OS/2"] = bytes(os2)


def write_sfnt(flavor, tables):
    tags = sorted(tables)
    num = len(tags)
    power = 1
    while power * 2 <= num:
        power *= 2
    entry_selector = power.bit_length() - 1
    header = struct.pack(">IHHHH", flavor, num, power * 16, entry_selector, num * 16 - power * 16)
    offset = 12 + 16 * num
    directory, body = b"", b""
    head_offset = None
    for tag in tags:
        table = tables[tag]
        if tag == b"head":
            table = table[:8] + b"\0\0\0\0" + table[12:]  # checkSumAdjustment counts as 0
            head_offset = offset
        directory += struct.pack(">4sIII", tag, checksum(table), offset, len(table))
        padded = table + b"\0" * (-len(table) % 4)
        body += padded
        offset += len(padded)
    font = bytearray(header + directory + body)
    adjustment = (0xB1B0AFBA - checksum(bytes(font))) & 0xFFFFFFFF
    struct.pack_into(">I", font, head_offset + 8, adjustment)
    return bytes(font)


def main():
    source, target, style = sys.argv[1:4]
    if style not in ("Regular", "Bold", "Italic"):
        raise SystemExit("style must be Regular, Bold or Italic")
    with open(source, "rb") as f:
        flavor, tables = read_woff(f.read())
    old_name = tables.get(b"name", b"")
    version = (read_name(old_name, 5) if old_name else None) or "Version 2.001"
    for obsolete in (b"DSIG", b"fvar", b"gvar", b"STAT", b"avar", b"HVAR", b"MVAR"):
        tables.pop(obsolete, None)
    tables[b"name"] = build_name_table(style, version, FAMILY)
    fix_style_bits(tables, style)
    with open(target, "wb") as f:
        f.write(write_sfnt(flavor, tables))


if __name__ == "__main__":
    main()
