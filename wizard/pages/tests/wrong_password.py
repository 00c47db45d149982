#!/usr/bin/env python3
"""The real Zentrive_Setup.exe and an appliance with an admin password: a wrong password first ("Wrong password",
the dialog stays for a correction), then the right one, and the write goes through. The simulator's log must show
both checks with their own sequence numbers and answers, and one write that differs from the appliance's record
only where the server page always stores (the name with the note after it).
Runs inside a winetest run: argv = zdrive.exe, Zentrive_Setup.exe, the simulator's log."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import flowlib as f  # noqa: E402

ZDRIVE, SETUP, SIM_LOG = sys.argv[1], sys.argv[2], sys.argv[3]
CONTROL = os.environ.get("ZT_HOST_A1", "198.18.1.10") + ":7000"


def password_checks():
    """(sequence, MAC, password) of every check that reached the appliance, and the status of each answer."""
    checks = []
    for r in f.requests(SIM_LOG, f.PKT_CHECK_PASSWORD):
        raw = bytes.fromhex(r["hex"])
        checks.append((r["decoded"]["wSequence"], raw[8:14], raw[14:29].split(b"\0")[0]))
    answers = {r["decoded"]["wSequence"]: r["decoded"]["wStatus"] for r in f.replies(SIM_LOG, f.PKT_CHECK_PASSWORD)}
    return checks, answers


class WrongPassword(unittest.TestCase):
    def test_wrong_password_then_the_right_one_and_the_write(self):
        sim = f.zsimctl.Control(CONTROL)
        before = bytes.fromhex(sim.ok("record NAS1"))
        with f.Driver(ZDRIVE) as d:
            f.step("search and select NAS1")
            app, win = f.start_with(d, SETUP, "NAS1")

            f.step("Next opens the password dialog; OK waits for a password")
            f.press(d, win, f.IDC_NEXT)
            pw = d.find("Verify admin password", timeout=5000)
            edit, ok = d.child(pw, f.PASSWORD_EDIT), d.child(pw, f.PASSWORD_OK)
            self.assertFalse(d.state(ok)["enabled"])
            d.type(edit, "wrong")
            self.assertTrue(d.state(ok)["enabled"])
            d.click(ok)

            f.step("the appliance refuses: the message, and the dialog is open for a correction")
            box = d.msgbox(timeout=10000)
            d.screenshot("password_01_wrong")
            self.assertEqual(box[2], "Wrong password")
            d.answer(box[0], f.IDOK)
            d.gone(box[0])
            f.wait_until(lambda: d.state(ok)["enabled"] and d.state(edit)["enabled"], 5, "OK and the edit again")
            self.assertTrue(d.state(pw)["visible"])
            self.assertTrue(f.shown(d, win, f.TREE), "still on the device list")
            checks, answers = password_checks()
            self.assertEqual([c[2] for c in checks], [b"wrong"], "one check so far, answered at once")
            self.assertEqual(answers, {checks[0][0]: -305})

            f.step("the right password: the dialog closes and the IP settings page shows")
            d.replace(edit, "secret")
            d.screenshot("password_02_corrected", pw)
            d.click(ok)
            d.gone(pw, timeout=10000)
            page = f.wait_page(d, win, f.IP[0], "the IP settings page")
            self.assertEqual([d.text(d.child(page, i)) for i in f.IP], ["198", "18", "1", "10"])
            f.wait_bar(d, win, [f.IDC_NEXT, f.IDC_BACK])
            d.screenshot("password_03_ip_settings", win)

            f.step("on through the server page to the summary, Save, the write")
            summary = f.to_summary(d, win)
            self.assertEqual(d.text(d.child(summary, f.SUMMARY_NAME)), "NAS1")
            f.save(d, win)
            f.finish_after_success(d, win, app, "password_04_saved")

        checks, answers = password_checks()
        self.assertEqual([c[2] for c in checks], [b"wrong", b"secret"])
        self.assertTrue(all(c[1] == before[0:6] for c in checks), "every check carries the appliance's MAC")
        self.assertNotEqual(checks[0][0], checks[1][0], "the second attempt is a new transaction")
        self.assertEqual(answers, {checks[0][0]: -305, checks[1][0]: 0})
        sent = f.only_write(SIM_LOG)
        self.assertEqual([r["note"] for r in f.replies(SIM_LOG, f.PKT_SET_CONFIG)], ["record stored"])
        self.assertEqual(sent.hex(), f.as_stored(before).hex())
        self.assertEqual(bytes.fromhex(sim.ok("record NAS1")), sent)
        sim.close()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
