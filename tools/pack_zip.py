#!/usr/bin/env python3
"""Packs files into a zip whose bytes depend only on their names and contents.

    pack_zip.py <zip> <epoch> <file>...

Entries go in by name, flat, each with the time <epoch> (seconds, taken as UTC),
plain read-write permissions and no extra fields: nothing of the machine, the
folder or the moment of packing reaches the archive.
"""
import os
import sys
import time
import zipfile

# The earliest time a zip entry can hold.
DOS_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC


def pack(target, epoch, files):
    stamp = time.gmtime(max(epoch, DOS_EPOCH))[:6]
    names = sorted(files, key=os.path.basename)
    if len({os.path.basename(f) for f in names}) != len(names):
        raise SystemExit("two files of the same name")
    partial = target + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for path in names:
            entry = zipfile.ZipInfo(os.path.basename(path), date_time=stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 3  # Unix, so the permissions below are read as such everywhere
            entry.external_attr = 0o100644 << 16
            with open(path, "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)
    os.replace(partial, target)


if __name__ == "__main__":
    if len(sys.argv) < 4:
        raise SystemExit(__doc__)
    pack(sys.argv[1], int(sys.argv[2]), sys.argv[3:])
