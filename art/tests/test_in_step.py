"""The committed pictures are the generator's: a fresh run writes the same bytes, twice over, and the check that
guards this names every file that is off."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ART = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REPO = os.path.dirname(ART)
GENERATE = os.path.join(ART, "generate.py")
sys.path.insert(0, ART)

import generate  # noqa: E402


def run(*args, env=None):
    return subprocess.run([sys.executable, GENERATE, *args], capture_output=True, text=True, env=env)


def tree_bytes(root):
    out = {}
    for program in ("wizard", "tray"):
        folder = os.path.join(root, program, "res", "art")
        for name in os.listdir(folder):
            with open(os.path.join(folder, name), "rb") as f:
                out[os.path.join(program, name)] = f.read()
    return out


class InStepTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="zt-art-")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def test_committed_outputs_are_what_the_generator_writes(self):
        out = os.path.join(self.tmp, "fresh")
        sheet = os.path.join(os.environ.get("ZT_ARTIFACTS", self.tmp), "art", "contact-sheet.png")
        result = run("--out", out, "--sheet", sheet)
        self.assertEqual(result.returncode, 0, result.stderr)
        fresh, committed = tree_bytes(out), tree_bytes(REPO)
        self.assertEqual(sorted(fresh), sorted(committed), "the same files")
        differ = [name for name in fresh if fresh[name] != committed[name]]
        self.assertEqual(differ, [], "regenerate with art/generate.py and commit the outputs")
        self.assertTrue(os.path.getsize(sheet) > 0)

    def test_two_runs_with_different_hash_seeds_write_identical_bytes(self):
        outputs = []
        for seed in ("1", "2"):
            out = os.path.join(self.tmp, "seed" + seed)
            env = dict(os.environ, PYTHONHASHSEED=seed)
            result = run("--out", out, env=env)
            self.assertEqual(result.returncode, 0, result.stderr)
            outputs.append(tree_bytes(out))
        self.assertEqual(outputs[0].keys(), outputs[1].keys())
        self.assertEqual([n for n in outputs[0] if outputs[0][n] != outputs[1][n]], [])

    def test_check_names_changed_missing_and_stray_files(self):
        out = os.path.join(self.tmp, "edited")
        self.assertEqual(run("--out", out).returncode, 0)
        self.assertEqual(run("--out", out, "--check").returncode, 0)
        art = os.path.join(out, "wizard", "res", "art")
        with open(os.path.join(art, "welcome.bmp"), "r+b") as f:
            f.seek(2000)
            byte = f.read(1)
            f.seek(2000)
            f.write(bytes((byte[0] ^ 1,)))
        os.remove(os.path.join(out, "tray", "res", "art", "usb_disk.bmp"))
        with open(os.path.join(art, "old_logo.bmp"), "wb") as f:
            f.write(b"BM")
        self.assertEqual(generate.check(out), [
            os.path.join("tray", "res", "art", "usb_disk.bmp") + " is missing",
            os.path.join("wizard", "res", "art", "welcome.bmp") + " differs",
            os.path.join("wizard", "res", "art", "old_logo.bmp") + " is not written by the generator",
        ])
        result = run("--out", out, "--check")
        self.assertEqual(result.returncode, 1)
        self.assertIn("welcome.bmp differs", result.stderr)


if __name__ == "__main__":
    unittest.main()
