#!/usr/bin/python3
"""Draws every picture of Zentrive_Setup and Pebblink into <root>/wizard/res/art and <root>/tray/res/art.

  generate.py                 write into this repository
  generate.py --out DIR       write into DIR instead (the check regenerates there and compares)
  generate.py --sheet FILE    also write the contact sheet of all pictures as a PNG
  generate.py --check         compare a fresh run with the files in the repository; exit 1 and name what differs
  generate.py --sheet FILE --screens DIR
                              the contact sheet with the screenshots (PNG) found under DIR after the pictures
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from zskin import emit  # noqa: E402

ROOT = os.path.dirname(HERE)


def check(root):
    """Names of the files that a fresh run would write differently, and of stray files in the art folders."""
    expected = dict(emit.outputs())
    differ = []
    for rel, data in sorted(expected.items()):
        path = os.path.join(root, rel)
        try:
            with open(path, "rb") as f:
                if f.read() != data:
                    differ.append(rel + " differs")
        except FileNotFoundError:
            differ.append(rel + " is missing")
    folders = {os.path.dirname(rel) for rel in expected}
    for folder in sorted(folders):
        for name in sorted(os.listdir(os.path.join(root, folder))):
            if os.path.join(folder, name) not in expected:
                differ.append(os.path.join(folder, name) + " is not written by the generator")
    return differ


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", default=ROOT, help="root folder to write into (default: the repository)")
    parser.add_argument("--sheet", help="write the contact sheet to this PNG")
    parser.add_argument("--screens", help="folder of PNG screenshots to add to the contact sheet")
    parser.add_argument("--check", action="store_true", help="compare with the files under --out, write nothing")
    args = parser.parse_args()
    if args.sheet:
        from zskin.sheet import contact_sheet
        os.makedirs(os.path.dirname(os.path.abspath(args.sheet)), exist_ok=True)
        contact_sheet(args.screens).save(args.sheet, optimize=False)
    if args.check:
        differ = check(args.out)
        for line in differ:
            print("art: " + line, file=sys.stderr)
        if differ:
            print("art: run art/generate.py and commit its outputs", file=sys.stderr)
            return 1
        return 0
    emit.write(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
