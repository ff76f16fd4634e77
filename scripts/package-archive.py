#!/usr/bin/env python3
"""Writes the release archive of a package folder: MQ450-package-VERSION.zip holding one folder of the same
name with what installer.exe and uninstall.exe run from: the programs and USB helper libraries at its top,
W32/ and W64/ (the driver files per word size), DRVCONFIG/ (configuration, Uninstall.ini), language/,
License/ and USBDRV/. Entries are sorted and all carry the time of the VERSION file, so the same files give the same archive.
The archive is written beside its final name and renamed, so a failure leaves the previous one intact.

Usage: package-archive.py DIST_DIR VERSION_FILE OUT_DIR
"""
import os
import sys
import time
import zipfile

FOLDERS = ["W32", "W64", "DRVCONFIG", "language", "License", "USBDRV"]
TOP_SUFFIXES = (".exe", ".dll")


def entries(dist):
    for name in sorted(os.listdir(dist)):
        path = os.path.join(dist, name)
        if os.path.isfile(path) and name.lower().endswith(TOP_SUFFIXES):
            yield path, name
    for folder in FOLDERS:
        top = os.path.join(dist, folder)
        if not os.path.isdir(top):
            sys.exit(f"package-archive: {top} is missing")
        for root, dirs, files in os.walk(top):
            dirs.sort()
            for name in sorted(files):
                path = os.path.join(root, name)
                yield path, os.path.relpath(path, dist).replace(os.sep, "/")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    dist, version_file, out_dir = sys.argv[1:]
    with open(version_file, encoding="utf-8") as f:
        version = f.readline().strip()
    stamp = time.localtime(os.stat(version_file).st_mtime)[:6]
    base = f"MQ450-package-{version}"
    target = os.path.join(out_dir, base + ".zip")
    temporary = target + ".part"
    os.makedirs(out_dir, exist_ok=True)
    count = 0
    with zipfile.ZipFile(temporary, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for path, name in entries(dist):
            info = zipfile.ZipInfo(f"{base}/{name}", date_time=max(stamp, (1980, 1, 1, 0, 0, 0)))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(path, "rb") as f:
                archive.writestr(info, f.read())
            count += 1
    os.replace(temporary, target)
    print(f"{target}: {count} files")


if __name__ == "__main__":
    main()
