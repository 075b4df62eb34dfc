#!/usr/bin/env python3
"""Writes a zip of a folder that is the same, byte for byte, on every run.

    zip-folder.py FOLDER OUT.zip SOURCE_DATE_EPOCH

Entries are sorted and stored under the folder's own name; each carries the
time SOURCE_DATE_EPOCH (UTC; zip has no earlier time than 1980) and fixed
permissions, so neither the clock nor the checkout's umask shows in it.
"""
import os
import sys
import time
import zipfile


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: zip-folder.py FOLDER OUT.zip SOURCE_DATE_EPOCH")
    folder, out, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    top = os.path.basename(os.path.normpath(folder))
    names = []
    for parent, dirs, files in os.walk(folder):
        dirs.sort()
        for name in files:
            names.append(os.path.relpath(os.path.join(parent, name), folder))
    with zipfile.ZipFile(out, "w") as archive:
        for name in sorted(names):
            entry = zipfile.ZipInfo(top + "/" + name.replace(os.sep, "/"), stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 3   # Unix, so the mode bits below are read
            mode = 0o755 if name.endswith(".exe") else 0o644
            entry.external_attr = (0o100000 | mode) << 16
            with open(os.path.join(folder, name), "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)


if __name__ == "__main__":
    main()
