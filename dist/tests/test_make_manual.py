#!/usr/bin/python3
"""The user guide's generator: the source's structure, figures placed only when their screenshots exist and
numbered among those placed, and a PDF that holds exactly the placed pictures."""
import base64
import os
import re
import subprocess
import struct
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
GUIDE = os.path.join(HERE, "..", "guide")
sys.path.insert(0, GUIDE)
import make_manual  # noqa: E402

SOURCE = os.path.join(GUIDE, "Manual.txt")

def png(width, height):
    """A plain white RGB PNG of the given size."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    rows = b"".join(b"\0" + b"\xff" * (3 * width) for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def read(path, mode="r"):
    with open(path, mode, **({} if "b" in mode else {"encoding": "utf-8"})) as f:
        return f.read()


def pdf_text(path):
    """The PDF's bytes, and its streams decoded (reportlab writes them ASCII85 over Flate)."""
    data = read(path, "rb")
    out = []
    for m in re.finditer(rb"stream\r?\n(.*?)endstream", data, re.S):
        chunk = m.group(1).strip()
        try:
            if chunk.endswith(b"~>"):
                chunk = base64.a85decode(chunk[:-2])
            out.append(zlib.decompress(chunk))
        except (ValueError, zlib.error):
            out.append(chunk)
    return data, b"\n".join(out)


class Parse(unittest.TestCase):
    def test_blocks_of_each_kind(self):
        blocks = make_manual.parse("title: T\n# One\n## Sub\nline a\nline b\n\n- x\n- y\n1. s\n2. t\n"
                                   "continued\n[figure p.png] Cap tion\n")
        self.assertEqual(blocks, [("title", "T"), ("chapter", "One"), ("section", "Sub"),
                                  ("para", "line a line b"), ("bullets", ["x", "y"]),
                                  ("steps", ["s", "t continued"]), ("figure", ("p.png", "Cap tion"))])

    def test_markup_characters_are_escaped_and_bold_kept(self):
        self.assertEqual(make_manual.inline('a < b & **c** > "d"'), 'a &lt; b &amp; <b>c</b> &gt; "d"')

    def test_the_guide_covers_the_wizard_and_the_utility(self):
        blocks = make_manual.parse(read(SOURCE))
        chapters = [v for k, v in blocks if k == "chapter"]
        self.assertIn("Setting up an appliance with the wizard", chapters)
        self.assertIn("The Drivelet Utility", chapters)
        text = read(SOURCE)
        for quoted in ("Do you want to install Drivelet utility", "The specified file was not found.",
                       "There is no application associated with the given filename extension.",
                       "Map Network Drive", "Safely Remove Network USB", "Setup Completed!"):
            self.assertIn(quoted, text)
        figures = [v[0] for k, v in blocks if k == "figure"]
        self.assertEqual(len(figures), len(set(figures)), "a screenshot name is used twice")


class Build(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)

    def run_generator(self, shots):
        out = os.path.join(self.tmp.name, "Manual.pdf")
        res = subprocess.run([sys.executable, os.path.join(GUIDE, "make_manual.py"), SOURCE, out]
                             + (["--screenshots", shots] if shots is not None else []),
                             capture_output=True, text=True)
        self.assertEqual(res.returncode, 0, res.stderr)
        return out

    def test_without_screenshots_there_are_no_figures_and_no_word_of_them(self):
        data, text = pdf_text(self.run_generator(None))
        self.assertTrue(data.startswith(b"%PDF-"))
        self.assertNotIn(b"/Subtype /Image", data)
        self.assertNotIn(b"Figure", text)
        self.assertGreaterEqual(data.count(b"/Type /Page\n") + data.count(b"/Type /Page "), 5)

    def test_only_the_screenshots_found_are_placed_numbered_in_order(self):
        shots = os.path.join(self.tmp.name, "shots")
        os.mkdir(shots)
        # Pictures of different sizes: the PDF keeps one copy of identical ones.
        for i, name in enumerate(("wizard-device-list.png", "tray-menu.png", "not-in-the-guide.png")):
            with open(os.path.join(shots, name), "wb") as f:
                f.write(png(320 + i, 200))
        placed = make_manual.build(SOURCE, os.path.join(self.tmp.name, "direct.pdf"), shots)
        self.assertEqual(placed, ["wizard-device-list.png", "tray-menu.png"])
        data, text = pdf_text(self.run_generator(shots))
        self.assertEqual(len(re.findall(rb"/Subtype /Image", data)), 2)
        self.assertIn(b"Figure 1. The appliances found on the network", text)
        self.assertIn(b"Figure 2. The menu of the Drivelet Utility", text)
        self.assertNotIn(b"Figure 3", text)

    def test_a_missing_screenshots_folder_builds_the_guide_without_figures(self):
        data, _ = pdf_text(self.run_generator(os.path.join(self.tmp.name, "none")))
        self.assertNotIn(b"/Subtype /Image", data)


if __name__ == "__main__":
    unittest.main()
