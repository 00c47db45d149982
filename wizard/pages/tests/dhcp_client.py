#!/usr/bin/env python3
"""The real Zentrive_Setup.exe switching an appliance with a fixed address (and its DHCP server on) to a DHCP
client: the IP settings page disables every octet and its labels, Back and Next keep the choice, the summary still
shows the old addresses, and the record that reaches the simulator differs from the appliance's exactly in the
DHCP setting, the DHCP server stored as off, the time zone chosen, and the name with the note after it.
Runs inside a winetest run: argv = zdrive.exe, Zentrive_Setup.exe, the simulator's log."""
import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import flowlib as f  # noqa: E402

ZDRIVE, SETUP, SIM_LOG = sys.argv[1], sys.argv[2], sys.argv[3]
CONTROL = os.environ.get("ZT_HOST_A1", "198.18.1.10") + ":7000"
OCTETS = f.IP + f.MASK + f.GATEWAY
TOKYO = 50


class DhcpClient(unittest.TestCase):
    def enabled(self, d, page, ids):
        return [d.state(d.child(page, i))["enabled"] for i in ids]

    def test_dhcp_client_write_carries_the_setting_and_only_the_edits(self):
        sim = f.zsimctl.Control(CONTROL)
        before = bytes.fromhex(sim.ok("record NAS1"))
        self.assertEqual((before[90], before[103]), (1, 0), "a fixed address, the DHCP server on")
        with f.Driver(ZDRIVE) as d:
            app, win = f.start_with(d, SETUP, "NAS1")
            f.press(d, win, f.IDC_NEXT)

            f.step("the IP settings page as loaded: a fixed address, every octet open")
            page = f.wait_page(d, win, f.IP[0], "the IP settings page")
            f.wait_bar(d, win, [f.IDC_NEXT, f.IDC_BACK])
            self.assertEqual(self.enabled(d, page, OCTETS + f.IP_LABELS), [True] * 15)
            self.assertEqual([d.text(d.child(page, i)) for i in f.IP], ["198", "18", "1", "10"])

            f.step("Obtain an IP address automatically: the octets and labels are disabled")
            d.click(page, f.DHCP_CLIENT)
            self.assertEqual(self.enabled(d, page, OCTETS + f.IP_LABELS), [False] * 15)
            self.assertEqual([d.text(d.child(page, i)) for i in f.IP], ["198", "18", "1", "10"], "kept as shown")
            d.no_msgbox(300)
            d.screenshot("dhcp_01_client", win)

            f.step("Next, Back: the page reloads as a DHCP client")
            f.press(d, win, f.IDC_NEXT)
            server = f.wait_page(d, win, f.SERVER_NAME, "the server page")
            f.press(d, win, f.IDC_BACK)
            page = f.wait_page(d, win, f.IP[0], "the IP settings page again")
            self.assertEqual(self.enabled(d, page, OCTETS + f.IP_LABELS), [False] * 15)
            f.press(d, win, f.IDC_NEXT)

            f.step("the server page: another time zone")
            server = f.wait_page(d, win, f.SERVER_NAME, "the server page")
            zone = d.child(server, f.TIME_ZONE)
            self.assertEqual(d.combo(zone)[1], 22)
            d.combo_select(zone, TOKYO)
            f.press(d, win, f.IDC_NEXT)

            f.step("the summary shows the addresses last stored, and the zone by its name")
            summary = f.wait_page(d, win, f.SUMMARY_NAME, "the summary page")
            f.wait_bar(d, win, [f.IDC_BACK, f.IDC_SAVE])
            shown = [d.text(d.child(summary, i)) for i in (f.SUMMARY_NAME, f.SUMMARY_IP, f.SUMMARY_MASK,
                                                           f.SUMMARY_GATEWAY, f.SUMMARY_TIME_ZONE)]
            self.assertEqual(shown, ["NAS1", "198.18.1.10", "255.255.255.0", "198.18.1.1",
                                     "(GMT+09:00) Osaka, Sapporo, Tokyo"])
            d.screenshot("dhcp_02_summary", win)
            self.assertEqual(f.requests(SIM_LOG, f.PKT_SET_CONFIG), [], "nothing written before Save")
            f.save(d, win)
            f.finish_after_success(d, win, app, "dhcp_03_saved")

        sent = f.only_write(SIM_LOG)
        expected = f.as_stored(before)
        expected[90] = 0  # DHCP client
        expected[103] = 1  # the appliance's DHCP server off, as the page always stores it
        expected[162:166] = struct.pack("<i", TOKYO)
        self.assertEqual(f.differing(sent, expected), [], "bytes that differ")
        self.assertEqual(bytes.fromhex(sim.ok("record NAS1")), sent, "stored as sent")
        sim.close()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
