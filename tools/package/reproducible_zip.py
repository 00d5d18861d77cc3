#!/usr/bin/env python3
"""Zips files the same way every time: in the order given, under their plain names, each dated
SOURCE_DATE_EPOCH (in UTC), with the same permissions and no owner or extra fields.

    reproducible_zip.py ARCHIVE.zip SOURCE_DATE_EPOCH FILE...
"""
import os
import sys
import time
import zipfile


def main(archive, epoch, files):
    # A zip file's date is a DOS date: from 1980, in steps of two seconds.
    date = time.gmtime(max(epoch, 315532800))[:6]
    with zipfile.ZipFile(archive, "w") as z:
        for path in files:
            info = zipfile.ZipInfo(os.path.basename(path), date_time=date)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3                   # Unix, for the permissions below
            info.external_attr = 0o100644 << 16      # a plain file, rw-r--r--
            with open(path, "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)


if __name__ == "__main__":
    if len(sys.argv) < 4 or not sys.argv[2].isdigit():
        sys.exit("usage: reproducible_zip.py ARCHIVE.zip SOURCE_DATE_EPOCH FILE...")
    main(sys.argv[1], int(sys.argv[2]), sys.argv[3:])
