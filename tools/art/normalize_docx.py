#!/usr/bin/env python3
"""Repack a .docx so that identical content always gives identical bytes.

Usage: normalize_docx.py IN.docx OUT.docx
Entries keep pandoc's order with [Content_Types].xml first (Word expects it there); every entry
gets the same fixed timestamp, deflate compression and no extra fields, and the document
properties' created/modified dates are set from SOURCE_DATE_EPOCH.
"""
import os
import re
import sys
import time
import zipfile


def fixed_date():
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "1767225600"))
    return time.gmtime(epoch)


def normalise_core(data, stamp):
    text = data.decode("utf-8")
    iso = time.strftime("%Y-%m-%dT%H:%M:%SZ", stamp)
    text = re.sub(r"(<dcterms:(created|modified)[^>]*>)[^<]*(</dcterms:\2>)",
                  lambda m: m.group(1) + iso + m.group(3), text)
    return text.encode("utf-8")


def main():
    source, target = sys.argv[1:3]
    stamp = fixed_date()
    with zipfile.ZipFile(source) as zin:
        names = zin.namelist()
        names.sort(key=lambda n: (n != "[Content_Types].xml",))
        entries = [(n, zin.read(n)) for n in names]
    tmp = target + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as zout:
        for name, data in entries:
            if name == "docProps/core.xml":
                data = normalise_core(data, stamp)
            info = zipfile.ZipInfo(name, date_time=tuple(stamp[:6]))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            info.create_system = 3
            zout.writestr(info, data, compresslevel=9)
    os.replace(tmp, target)


if __name__ == "__main__":
    main()
