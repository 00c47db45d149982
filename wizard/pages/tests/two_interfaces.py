#!/usr/bin/env python3
"""The real Zentrive_Setup.exe on a PC with two interfaces, one appliance on each segment: one search lists both,
and each is configured in its own run of the wizard. Each simulator's log must show the search, the reading and
the write of its own appliance, all from the PC's address on that segment, and the record stored as sent.
Runs inside a winetest run: argv = zdrive.exe, Zentrive_Setup.exe, the log of segment 1's simulator, segment 2's."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import flowlib as f  # noqa: E402

ZDRIVE, SETUP, LOGS = sys.argv[1], sys.argv[2], {1: sys.argv[3], 2: sys.argv[4]}
APPLIANCES = {1: ("NAS1", os.environ.get("ZT_HOST_A1", "198.18.1.10")),
              2: ("NAS2", os.environ.get("ZT_HOST_A2", "198.18.2.10"))}
PC = {1: os.environ.get("ZT_PC_ADDR1", "198.18.1.1"), 2: os.environ.get("ZT_PC_ADDR2", "198.18.2.1")}


class TwoInterfaces(unittest.TestCase):
    def configure(self, d, segment):
        name, address = APPLIANCES[segment]
        app, win = f.start(d, SETUP)
        f.step("search over both interfaces, then %s" % name)
        f.search(d, win, ["NAS1", "NAS2"])
        shown = f.select(d, win, name)
        self.assertEqual(shown[1:4], [address, "255.255.255.0", PC[segment]])
        d.screenshot("two_ifaces_%d_list" % segment, win)
        f.press(d, win, f.IDC_NEXT)
        page = f.wait_page(d, win, f.IP[0], "the IP settings page")
        self.assertEqual(".".join(d.text(d.child(page, i)) for i in f.IP), address)
        f.press(d, win, f.IDC_NEXT)
        f.wait_page(d, win, f.SERVER_NAME, "the server page")
        f.press(d, win, f.IDC_NEXT)
        summary = f.wait_page(d, win, f.SUMMARY_NAME, "the summary page")
        f.wait_bar(d, win, [f.IDC_BACK, f.IDC_SAVE])
        self.assertEqual(d.text(d.child(summary, f.SUMMARY_IP)), address)
        f.save(d, win)
        f.finish_after_success(d, win, app, "two_ifaces_%d_saved" % segment)

    def test_one_appliance_on_each_interface(self):
        sims = {n: f.zsimctl.Control(APPLIANCES[n][1] + ":7000") for n in (1, 2)}
        before = {n: bytes.fromhex(sims[n].ok("record " + APPLIANCES[n][0])) for n in (1, 2)}
        with f.Driver(ZDRIVE) as d:
            self.configure(d, 1)
        with f.Driver(ZDRIVE) as d:
            self.configure(d, 2)

        for n in (1, 2):
            name, address = APPLIANCES[n]
            received = f.zsimctl.read_log(LOGS[n], dir="rx", service="config")
            peers = sorted({r["peer"].rpartition(":")[0] for r in received})
            self.assertEqual(peers, [PC[n]], "segment %d heard the PC only through its own interface" % n)
            searches = [r for r in f.requests(LOGS[n], f.PKT_GET_INFO) if r["local"] == "255.255.255.255:915"]
            # Each run's search from a socket of its own (a reading's broadcast may add one more).
            self.assertGreaterEqual(len({r["peer"] for r in searches}), 2, "both runs' searches")
            self.assertTrue(f.requests(LOGS[n], f.PKT_GET_INFO, local=address + ":915"), "its own reading")
            writes = f.requests(LOGS[n], f.PKT_SET_CONFIG)
            self.assertEqual(len(writes), 1, "one write on segment %d, answered at once" % n)
            self.assertEqual(writes[0]["local"], address + ":915", "sent to the appliance itself")
            sent = bytes.fromhex(writes[0]["hex"])[8:]
            self.assertEqual(sent[0:6], before[n][0:6], "its own MAC")
            self.assertEqual(f.differing(sent, f.as_stored(before[n], name)), [], "bytes that differ")
            self.assertEqual([r["note"] for r in f.replies(LOGS[n], f.PKT_SET_CONFIG)], ["record stored"])
            self.assertEqual(bytes.fromhex(sims[n].ok("record " + name)), sent)
            sims[n].close()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
