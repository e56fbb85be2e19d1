#!/usr/bin/env python3
"""make_zip.py FOLDER ZIP: the portable zip, FOLDER's contents under FOLDER's own name.

Names are stored as UTF-8 with the zip's UTF-8 flag, which Windows' own extractor honours, so
"マニュアル.pdf" arrives under its name.
"""
import os
import sys
import zipfile


def main():
    folder, target = sys.argv[1:3]
    top = os.path.basename(os.path.normpath(folder))
    with zipfile.ZipFile(target + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for root, dirs, files in os.walk(folder):
            dirs.sort()
            for name in sorted(files):
                path = os.path.join(root, name)
                archive.write(path, os.path.join(top, os.path.relpath(path, folder)))
    os.replace(target + ".part", target)


if __name__ == "__main__":
    main()
