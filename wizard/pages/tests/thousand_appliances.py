#!/usr/bin/env python3
"""The real Zentrive_Setup.exe searching a LAN of a thousand appliances: the search's dialog ends by itself and the
tree lists every appliance once, by the name the simulator gives it. Its bound is generous (the search's schedule
is 8 s); it fails when the program falls so far behind the replies that the dialog stays open minutes.
Runs inside a winetest run: argv = zdrive.exe, Zentrive_Setup.exe."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import flowlib as f  # noqa: E402

ZDRIVE, SETUP = sys.argv[1], sys.argv[2]


class ThousandAppliances(unittest.TestCase):
    def test_every_appliance_listed_once_and_the_search_ends(self):
        sim = f.zsimctl.Control(os.environ["ZT_HOST_BIG"] + ":7000")
        expected = sorted(pair.partition("=")[0] for pair in sim.ok("list").split())
        self.assertEqual(len(expected), 1000)
        with f.Driver(ZDRIVE) as d:
            app, win = f.start(d, SETUP)
            f.press(d, win, f.IDC_SETUP)
            d.gone(d.find("Searching for devices", timeout=10000), timeout=120000)
            names = [t for _, _, t in d.tree(d.child(win, f.TREE))]
            self.assertEqual(len(names), len(set(names)), "an appliance listed twice")
            self.assertEqual(names, expected, "not every appliance listed, in name order")
            app.terminate()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
