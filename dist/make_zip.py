#!/usr/bin/python3
"""Lays out the folder the user gets, with a SHA256SUMS of its files, and zips it.

  make_zip.py OUTPUT.zip FOLDER DEST=SOURCE ...

FOLDER is made anew; its name is the zip's top folder. Each DEST (a path inside the folder, "/" between names)
gets the bytes of SOURCE. SHA256SUMS lists every other file as `sha256sum -c` reads it. The zip's entries come
in name order, dated SOURCE_DATE_EPOCH, with fixed permissions and no owner, so the same inputs give the same
zip whoever builds it and whenever.
"""
import hashlib
import os
import shutil
import sys
import time
import zipfile

SUMS = "SHA256SUMS"


def lay_out(folder, mapping):
    shutil.rmtree(folder, ignore_errors=True)
    for dest, source in mapping:
        target = os.path.join(folder, *dest.split("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(source, target)
    lines = []
    for dest, _ in sorted(mapping):
        with open(os.path.join(folder, *dest.split("/")), "rb") as f:
            lines.append("%s  %s\n" % (hashlib.sha256(f.read()).hexdigest(), dest))
    with open(os.path.join(folder, SUMS), "w", newline="\n") as f:
        f.writelines(lines)
    return sorted([dest for dest, _ in mapping] + [SUMS])


def write_zip(output, folder, names, epoch):
    top = os.path.basename(os.path.normpath(folder))
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # a zip cannot date a file before 1980
    tmp = output + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
        for name in names:
            info = zipfile.ZipInfo("%s/%s" % (top, name), stamp)
            info.external_attr = 0o100644 << 16
            info.create_system = 3  # Unix, so the permissions above are read as such
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, *name.split("/")), "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)
    os.replace(tmp, output)


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    output, folder = sys.argv[1], sys.argv[2]
    mapping = [tuple(arg.split("=", 1)) for arg in sys.argv[3:]]
    names = lay_out(folder, mapping)
    write_zip(output, folder, names, int(os.environ.get("SOURCE_DATE_EPOCH", "0")))
    print("make_zip: %s (%s)" % (output, ", ".join(names)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
