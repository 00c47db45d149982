#!/usr/bin/env python3
"""The real Zentrive_Setup.exe started twice: the second copy ends by itself and restores the first copy's
window, which stays the only wizard window and keeps running until its Exit button. Runs inside a winetest run."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "automation"))
from zdrive import Driver  # noqa: E402

ZDRIVE, SETUP = sys.argv[1], sys.argv[2]
IDC_EXIT, IDC_SETUP, IDC_NEXT = 1033, 1032, 1029


class SecondCopy(unittest.TestCase):
    def test_second_copy_ends_and_the_first_is_restored(self):
        with Driver(ZDRIVE) as d:
            first = d.start(SETUP)
            win = d.find("Setup Wizard", timeout=30000)
            state = d.state(win)
            self.assertTrue(state["visible"])
            self.assertEqual(state["rect"][2:], (600, 314), "400 x 209 units at 6 x 12 pixels, rounded")
            # The bar's own buttons: the server page reuses 1032 and 1033 for its month and day.
            self.assertTrue(d.state(d.child(win, IDC_SETUP, direct=True))["visible"])
            self.assertFalse(d.state(d.child(win, IDC_NEXT, direct=True))["visible"])
            d.screenshot("setup_exe_first_copy", win)

            second = d.start(SETUP)
            self.assertEqual(second.wait(timeout=60), 0, "the second copy ends by itself")
            self.assertIsNone(first.poll(), "the first copy still runs")
            self.assertEqual(d.count("Setup Wizard"), 1)
            # Restored: shown again at its place, not minimised.
            deadline = time.time() + 5
            while d.state(win)["rect"] != state["rect"] and time.time() < deadline:
                time.sleep(0.1)
            self.assertEqual(d.state(win)["rect"], state["rect"])
            self.assertTrue(d.state(win)["visible"])

            d.click(d.child(win, IDC_EXIT, direct=True, ready=True, timeout=10000))
            self.assertEqual(first.wait(timeout=30), 0)
            d.gone(win)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
