#!/usr/bin/env python3
"""The real Zentrive_Setup.exe and a text with a letter pasted into an IP octet (a numeric edit refuses a typed
letter, not a pasted one): "must be numeric value", the text stays, Next keeps the page and shows the octet as
stored (0), and after the user's correction the write carries the corrected address and nothing else new.
Runs inside a winetest run: argv = zdrive.exe, Zentrive_Setup.exe, the simulator's log."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import flowlib as f  # noqa: E402

ZDRIVE, SETUP, SIM_LOG = sys.argv[1], sys.argv[2], sys.argv[3]
CONTROL = os.environ.get("ZT_HOST_A1", "198.18.1.10") + ":7000"


class PastedLetter(unittest.TestCase):
    def test_letter_pasted_into_an_octet(self):
        sim = f.zsimctl.Control(CONTROL)
        before = bytes.fromhex(sim.ok("record NAS1"))
        with f.Driver(ZDRIVE) as d:
            app, win = f.start_with(d, SETUP, "NAS1")
            f.press(d, win, f.IDC_NEXT)
            page = f.wait_page(d, win, f.IP[0], "the IP settings page")
            f.wait_bar(d, win, [f.IDC_NEXT, f.IDC_BACK])
            last = d.child(page, f.IP[3])

            f.step("typed, a letter does not even reach the octet")
            d.type(last, "b")
            d.no_msgbox(300)
            self.assertEqual(d.text(last), "10")

            f.step("pasted over the octet, it does: the message, and the text stays")
            d.select_all(last)
            d.paste(last, "7b")
            box = d.msgbox(timeout=5000)
            d.screenshot("paste_01_message")
            self.assertEqual(box[1:], ("Zentrive_Setup", "must be numeric value"))
            d.answer(box[0], f.IDOK)
            d.gone(box[0])
            self.assertEqual(d.text(last), "7b")
            d.no_msgbox(300)
            d.screenshot("paste_02_kept", win)

            f.step("Next keeps the page; the octet comes back as stored, 0")
            f.press(d, win, f.IDC_NEXT)
            d.no_msgbox(300)
            self.assertTrue(f.shown(d, win, f.IP[0]))
            self.assertFalse(f.shown(d, win, f.SERVER_NAME))
            self.assertEqual([d.text(d.child(page, i)) for i in f.IP], ["198", "18", "1", "0"])

            f.step("corrected by typing, on to the summary and the write")
            d.replace(last, "20")
            d.no_msgbox(300)
            summary = f.to_summary(d, win)
            self.assertEqual(d.text(d.child(summary, f.SUMMARY_IP)), "198.18.1.20")
            f.save(d, win)
            f.finish_after_success(d, win, app, "paste_03_saved")

        sent = f.only_write(SIM_LOG)
        expected = f.as_stored(before)
        expected[91:95] = bytes([198, 18, 1, 20])
        self.assertEqual(f.differing(sent, expected), [], "bytes that differ")
        sim.close()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
