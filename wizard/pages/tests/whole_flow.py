#!/usr/bin/env python3
"""The real Zentrive_Setup.exe configuring a simulated appliance from end to end, as a user does it: Setup,
search, an appliance whose settings never show, the password dialog cancelled and then passed, typing in the
IP settings and server pages with their messages, Save cancelled and then confirmed, the write, the success
notice and the finish page. The record that reached the simulator must carry exactly the edited fields.
A second scenario: a write the appliance refuses, the failure notice, Redo (a new search) and then Exit.
Runs inside a winetest run: argv = zdrive.exe, Zentrive_Setup.exe, the simulator's log."""
import os
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from flowlib import (AM_PM, GATEWAY, IDC_BACK, IDC_EXIT, IDC_NEXT, IDC_SAVE, IDC_SETUP, IDC_UTILITY,  # noqa: E402
                     IDNO, IDOK, IP, PASSWORD_EDIT, PASSWORD_OK, SERVER_NAME, SUMMARY_DATE, SUMMARY_NAME, TIME_ZONE,
                     TREE, VALUES, WORKGROUP, Driver, press, step, wait_bar, wait_until, zsimctl)
import flowlib  # noqa: E402

ZDRIVE, SETUP, SIM_LOG = sys.argv[1], sys.argv[2], sys.argv[3]
CONTROL = os.environ.get("ZT_HOST_A1", "198.18.1.10") + ":7000"


def set_config_requests():
    return flowlib.requests(SIM_LOG, flowlib.PKT_SET_CONFIG)


class WholeFlow(unittest.TestCase):
    def bar(self, d, win):
        return flowlib.bar(d, win)

    def shown(self, d, win, control_id):
        try:
            return d.state(d.child(win, control_id))["visible"]
        except Exception:
            return False

    def expect_box(self, d, text, answer=IDOK):
        box = d.msgbox(timeout=5000)
        self.assertEqual(box[2], text)
        d.answer(box[0], answer)
        return box

    def test_configure_one_appliance(self):
        sim = zsimctl.Control(CONTROL)
        before = bytes.fromhex(sim.ok("record NAS1"))
        self.assertEqual(len(before), 234)
        with Driver(ZDRIVE) as d:
            app = d.start(SETUP)
            win = d.find("Setup Wizard", timeout=30000)
            d.screenshot("flow_01_welcome", win)

            step("Setup: the device list page's first activation searches (8 s on one local address)")
            press(d, win, IDC_SETUP)
            search = d.find("Searching for devices", timeout=10000)
            d.gone(search, timeout=30000)
            tree = d.child(win, TREE)
            self.assertEqual([t for _, _, t in d.tree(tree)], ["NAS1", "NAS2"])
            values = d.child(win, VALUES)

            step('NAS2 answers with an empty info text: rows without values and Next refused')
            d.tree_select(tree, "NAS2")
            rows = wait_until(lambda: d.list_rows(values), what="the value rows")
            time.sleep(1.0)
            rows = d.list_rows(values)
            self.assertEqual([r[1][0] for r in rows], ["Server Name", "IP Address", "Subnet Mask", "Default Gateway",
                                                       "Time Zone", "Local Date", "Local Time"])
            self.assertTrue(all(len(r[1]) < 2 or r[1][1] == "" for r in rows), rows)
            press(d, win, IDC_NEXT)
            self.assertTrue(self.shown(d, win, TREE))
            self.assertEqual(self.bar(d, win), [IDC_NEXT, IDC_BACK])
            d.no_msgbox(300)

            step('NAS1: the values as read; its time-zone index 63 has no name')
            d.tree_select(tree, "NAS1")
            wait_until(lambda: d.list_rows(values)[0][1][1:] == ["NAS1"], what="NAS1's values")
            got = [r[1][1] if len(r[1]) > 1 else "" for r in d.list_rows(values)]
            self.assertEqual(got, ["NAS1", "198.18.1.10", "255.255.255.0", "198.18.1.1", "", "12/08/2026",
                                   "23:15:00"])
            d.screenshot("flow_02_device_list", win)

            step('Next asks for the password; Cancel keeps the page and its buttons')
            press(d, win, IDC_NEXT)
            self.cancel(d, "Verify admin password", "flow_03_password")
            self.assertTrue(self.shown(d, win, TREE))
            self.assertEqual(self.bar(d, win), [IDC_NEXT, IDC_BACK])
            press(d, win, IDC_NEXT)
            pw = d.find("Verify admin password", timeout=5000)
            d.type(d.child(pw, PASSWORD_EDIT), "secret")
            d.click(pw, PASSWORD_OK)
            d.gone(pw, timeout=10000)

            step('IP settings page, loaded from the record')
            wait_until(lambda: self.shown(d, win, IP[0]), what="the IP settings page")
            self.assertEqual([d.text(win, i) for i in IP], ["198", "18", "1", "10"])
            self.assertEqual([d.text(win, i) for i in GATEWAY], ["198", "18", "1", "1"])
            d.screenshot("flow_04_ip_settings", win)
            step('256 typed digit by digit: the range message at the third digit, and the octet emptied')
            last = d.child(win, IP[3])
            d.replace(last, "2")
            d.type(last, "5")
            d.no_msgbox(200)
            d.type(last, "6")
            self.expect_box(d, "Value must be between 0 and 255")
            self.assertEqual(d.text(last), "")
            d.type(last, "77")
            d.no_msgbox(200)
            step('An emptied gateway octet: no message; Next stays and shows "0"; a second Next proceeds')
            d.replace(d.child(win, GATEWAY[3]), "")
            d.no_msgbox(300)
            press(d, win, IDC_NEXT)
            self.assertTrue(self.shown(d, win, IP[0]))
            self.assertEqual(d.text(win, GATEWAY[3]), "0")
            press(d, win, IDC_NEXT)

            step('Server page')
            wait_until(lambda: self.shown(d, win, SERVER_NAME), what="the server page")
            name = d.child(win, SERVER_NAME)
            self.assertEqual(d.text(name), "NAS1")
            zone = d.combo(d.child(win, TIME_ZONE))
            self.assertEqual(len(zone[0]), 63)
            self.assertEqual(zone[1], 4, "index 63 loads as 4")
            self.assertEqual(d.combo(d.child(win, AM_PM)), (["AM", "PM"], 1))
            d.replace(name, "NAS")
            d.type(name, " ")
            box = self.expect_box(d, "The following characters are not allowed\n \" / \\ [ ] : ; | = .  , + * ? < > "
                                     "SPACE ` ' ")
            d.type(name, "\b.")
            self.expect_box(d, box[2])
            d.type(name, "\b-7")
            d.no_msgbox(200)
            self.assertEqual(d.text(name), "NAS-7")
            combo = d.child(win, WORKGROUP)
            wg = d.child(combo, 1001)
            d.replace(wg, "LAB.")
            self.expect_box(d, "The following characters are not allowed\n \" / \\ [ ] : ; | = . , + * ? < > ` '  ")
            d.type(wg, "\b TEAM")
            d.no_msgbox(300)
            self.assertEqual(d.text(wg), "LAB TEAM")
            d.screenshot("flow_05_server", win)
            press(d, win, IDC_NEXT)

            step('Summary: Back and Save')
            wait_until(lambda: self.shown(d, win, SUMMARY_NAME), what="the summary page")
            wait_bar(d, win, [IDC_BACK, IDC_SAVE])
            self.assertEqual(d.text(win, SUMMARY_NAME), "NAS-7")
            self.assertEqual(d.text(win, SUMMARY_DATE), "12/08/2026")
            d.screenshot("flow_06_summary", win)

            step('Save, then Cancel in the confirmation: nothing is sent, the summary stays')
            press(d, win, IDC_SAVE)
            self.cancel(d, "Confirm settings", "flow_07_confirm")
            time.sleep(0.5)
            self.assertEqual(set_config_requests(), [])
            self.assertEqual(self.bar(d, win), [IDC_BACK, IDC_SAVE])

            step('Save and OK: the write, the success notice that closes itself, the finish page')
            press(d, win, IDC_SAVE)
            confirm = d.find("Confirm settings", timeout=5000)
            d.click(confirm, IDOK)
            notice = d.find("Setup notice", timeout=30000)
            d.screenshot("flow_08_saved", notice)
            d.gone(notice, timeout=6000)
            step('The finish page offers the utility, which is not running')
            offer = d.msgbox(timeout=10000)
            d.screenshot("flow_09_offer")
            d.answer(offer[0], IDNO)
            wait_bar(d, win, [IDC_UTILITY, IDC_EXIT])
            d.screenshot("flow_10_finish", win)
            press(d, win, IDC_EXIT)
            self.assertEqual(app.wait(timeout=30), 0)

        writes = set_config_requests()
        self.assertEqual(len(writes), 1, "one write, answered at once")
        after = bytes.fromhex(sim.ok("record NAS1"))
        sent = bytes.fromhex(writes[0]["hex"])[8:]
        self.assertEqual(sent, after, "the simulator stored what was sent")
        expected = bytearray(before)
        expected[6:70] = b"NAS-7".ljust(64, b"\0")  # the name, and the note cleared with it
        expected[90] = 1
        expected[91:95] = bytes([198, 18, 1, 77])
        expected[99:103] = bytes([198, 18, 1, 0])
        expected[103] = 1
        expected[113:129] = b"LAB TEAM".ljust(16, b"\0")
        expected[162:166] = struct.pack("<i", 4)
        expected[191:195] = before[91:95]  # the address as the appliance reported it
        for offset in range(234):
            self.assertEqual(sent[offset], expected[offset], "byte %d" % offset)
        sim.ok("record NAS1 " + before.hex())  # the next scenario starts from the appliance as configured
        sim.close()

    def cancel(self, d, title, screenshot):
        """The dialog of that title, pictured, then its Cancel."""
        dialog = d.find(title, timeout=5000)
        d.screenshot(screenshot, dialog)
        d.click(dialog, 2)
        d.gone(dialog)

    def to_summary(self, d, win):
        tree = d.child(win, TREE)
        d.tree_select(tree, "NAS1")
        wait_until(lambda: d.list_rows(d.child(win, VALUES))[0][1][1:] != [""], what="NAS1's values")
        press(d, win, IDC_NEXT)
        pw = d.find("Verify admin password", timeout=5000)
        d.type(d.child(pw, PASSWORD_EDIT), "secret")
        d.click(pw, PASSWORD_OK)
        d.gone(pw, timeout=10000)
        wait_until(lambda: self.shown(d, win, IP[0]), what="the IP settings page")
        flowlib.to_summary(d, win)

    def failed_save(self, d, win):
        press(d, win, IDC_SAVE)
        d.click(d.find("Confirm settings", timeout=5000), IDOK)
        box = d.msgbox(timeout=10000)
        self.assertEqual(box[2], "Set IP fail")
        d.answer(box[0], IDOK)
        return d.find("Setup notice", timeout=5000)

    def test_failed_write_redo_then_exit(self):
        sim = zsimctl.Control(CONTROL)
        sim.ok("result NAS1 -101")
        try:
            with Driver(ZDRIVE) as d:
                app = d.start(SETUP)
                win = d.find("Setup Wizard", timeout=30000)
                press(d, win, IDC_SETUP)
                d.gone(d.find("Searching for devices", timeout=10000), timeout=30000)
                step("to the summary, a refused write, the failure notice")
                self.to_summary(d, win)
                notice = self.failed_save(d, win)
                time.sleep(3)  # the failure notice does not close itself
                self.assertTrue(d.state(notice)["visible"])
                d.screenshot("flow_11_failed", notice)
                step("Redo: back to the device list and a new search")
                d.click(notice, 2)
                d.gone(d.find("Searching for devices", timeout=10000), timeout=30000)
                self.assertTrue(self.shown(d, win, TREE))
                wait_bar(d, win, [IDC_NEXT, IDC_BACK])  # shown once the new search has ended
                self.assertEqual([t for _, _, t in d.tree(d.child(win, TREE))], ["NAS1", "NAS2"])
                step("again, and Exit closes the wizard")
                self.to_summary(d, win)
                notice = self.failed_save(d, win)
                d.click(notice, IDOK)
                self.assertEqual(app.wait(timeout=30), 0)
        finally:
            sim.ok("result NAS1 0")
            sim.close()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
