#!/usr/bin/env python3
"""Packs files into a zip whose bytes depend only on the files' contents:
fixed entry times and attributes, entries in the order given.

    pack_zip.py OUT.zip SOURCE=NAME_IN_ZIP ...
"""
import sys
import zipfile

FIXED_TIME = (2026, 1, 1, 0, 0, 0)


def main(out, entries):
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for entry in entries:
            source, name = entry.split("=", 1)
            info = zipfile.ZipInfo(name, FIXED_TIME)
            info.create_system = 0  # MS-DOS: no Unix owner or mode bits
            info.external_attr = 0x20  # archive
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(source, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
