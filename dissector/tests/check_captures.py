#!/usr/bin/env python3
"""tshark with zentrive.lua on the captures recorded in the lab (record-captures): every field of the programs'
datagrams as the simulator's configuration (captures.ini) and the recorded steps make them, requests and replies
linked, no Lua error anywhere, an expert note on every malformed datagram of the flood and no "malformed" mark
on a valid datagram.

    check_captures.py ZENTRIVE_LUA CAPTURES_DIR
"""
import os
import subprocess
import sys
import unittest

SCRIPT, CAPTURES = sys.argv[1:3]
SEP = "\x1f"
MALFORMED = 0x07000000  # expert group of malformed packets in tshark's output

# NAS1 as zsim serves it from captures.ini (password admin, disk auto, eject inuse, timezone 46) and its defaults.
NAS1 = {
    "zentrive.settings.mac": "02:5a:54:12:01:0a",
    "zentrive.settings.server_name": "NAS1",
    "zentrive.settings.note": "note of NAS1",
    "zentrive.settings.date": "12/08/2026",
    "zentrive.settings.time": "23:15:00",
    "zentrive.settings.fixed_ip": "1",
    "zentrive.settings.ip_address": "198.18.1.10",
    "zentrive.settings.subnet_mask": "255.255.255.0",
    "zentrive.settings.gateway": "198.18.1.1",
    "zentrive.settings.dhcp_server_off": "1",
    "zentrive.settings.workgroup": "LAB",
    "zentrive.settings.aux_name": "aux of NAS1",
    "zentrive.settings.time_zone": "46",
    "zentrive.settings.time_zone_name": "(GMT+08:00) Beijing, Chongqing, Hong Kong",
    "zentrive.settings.reported_address": "198.18.1.10",
}
DISK = "\\\\NAS1\\usb"

# Fields that hold no text of the datagram, and so no tab or line end of random bytes.
PLAIN_FIELDS = ["frame.number", "frame.time_relative", "udp.srcport", "udp.dstport", "udp.payload", "_ws.expert",
                "_ws.expert.group", "_ws.lua.error", "_ws.malformed", "_ws.malformed.expert",
                "_ws.malformed.dissector_bug", "zentrive.type", "zentrive.usb.type"]
FIELDS = PLAIN_FIELDS + [
    "zentrive.status", "zentrive.message", "zentrive.sequence", "zentrive.length", "zentrive.response_to",
    "zentrive.response_in", "zentrive.time", "zentrive.info.state", "zentrive.info.password_set",
    "zentrive.info.info_text", "zentrive.check.mac", "zentrive.check.password", "zentrive.usb.status",
    "zentrive.usb.reserved", "zentrive.usb.length", "zentrive.usb.name", "zentrive.usb.server"] + list(NAS1)


def tshark(capture, *args):
    out = subprocess.run(["tshark", "-n", "-2", "-X", "lua_script:" + SCRIPT, "-r", os.path.join(CAPTURES, capture)]
                         + list(args), capture_output=True, text=True, errors="replace")
    if out.returncode != 0:
        raise AssertionError("tshark on %s: %s" % (capture, out.stderr))
    return out.stdout


def frames(capture, fields=FIELDS):
    """Every frame as {field: [values]}, in capture order. tshark writes text fields as they are, tabs and line
    ends included: ask only for fields whose values cannot hold them where the datagrams are random."""
    args = ["-T", "fields", "-E", "occurrence=a", "-E", "aggregator=" + SEP]
    for field in fields:
        args += ["-e", field]
    rows = []
    for line in tshark(capture, *args).splitlines():
        values = line.split("\t")
        if len(values) != len(fields):
            raise AssertionError("a field of %s holds a tab or a line end: %r" % (capture, line))
        rows.append({f: (v.split(SEP) if v else []) for f, v in zip(fields, values)})
    return rows


def one(frame, field):
    values = frame[field]
    return values[0] if len(values) == 1 else values


def matching(capture, display_filter):
    return [int(n) for n in tshark(capture, "-Y", display_filter, "-T", "fields", "-e", "frame.number").split()]


class CaptureTest(unittest.TestCase):
    def assertSound(self, rows):
        """No Lua error, no exception, no malformed mark."""
        for f in rows:
            n = one(f, "frame.number")
            self.assertEqual(f["_ws.lua.error"] + f["_ws.malformed"], [], "frame %s" % n)
            self.assertNotIn(str(MALFORMED), f["_ws.expert.group"], "frame %s: %r" % (n, f["_ws.expert"]))

    def assertLinked(self, rows, is_request, key_fields):
        """Every reply names the latest request before it from the port it goes to with the same key (a retry's
        replies belong to the retry), with the time between them; every request lists exactly the replies that
        name it."""
        by_number = {int(one(f, "frame.number")): f for f in rows}
        answered = {}
        for n, f in by_number.items():
            if is_request(f):
                continue
            asked = [m for m, r in by_number.items() if m < n and is_request(r) and r["udp.srcport"] == f["udp.dstport"]
                     and all(r[k] == f[k] for k in key_fields)]
            self.assertEqual([int(v) for v in f["zentrive.response_to"]], asked[-1:], "reply %d" % n)
            request = int(one(f, "zentrive.response_to"))
            r = by_number[request]
            elapsed = float(one(f, "frame.time_relative")) - float(one(r, "frame.time_relative"))
            self.assertAlmostEqual(float(one(f, "zentrive.time")), elapsed, places=6)
            answered.setdefault(request, []).append(n)
        for n, f in by_number.items():
            if is_request(f):
                self.assertEqual([int(v) for v in f["zentrive.response_in"]], answered.get(n, []), "request %d" % n)
        return answered


class ConfigService(CaptureTest):
    """The wizard against NAS1: search, read, wrong and right password, a refused write, Redo, the write."""

    @classmethod
    def setUpClass(cls):
        cls.rows = frames("config.pcap")
        cls.requests = [f for f in cls.rows if one(f, "udp.dstport") == "915"]
        cls.replies = [f for f in cls.rows if one(f, "udp.srcport") == "915"]

    def of_type(self, rows, wType):
        return [f for f in rows if one(f, "zentrive.type") == str(wType)]

    def test_every_datagram_is_sound_and_every_request_answered(self):
        self.assertEqual(len(self.requests) + len(self.replies), len(self.rows))
        self.assertSound(self.rows)
        answered = self.assertLinked(self.rows, lambda f: one(f, "udp.dstport") == "915",
                                     ["zentrive.type", "zentrive.sequence"])
        self.assertEqual(len(answered), len(self.requests), "the simulator answers every request")

    def test_header_fields(self):
        for f in self.requests:
            self.assertEqual(one(f, "zentrive.status"), "0")
            self.assertEqual(int(one(f, "zentrive.length")), len(one(f, "udp.payload")) // 2 - 8)
            self.assertTrue(1 <= int(one(f, "zentrive.sequence")) <= 10000)
        self.assertEqual(sorted({one(f, "zentrive.type") for f in self.rows}), ["16", "17", "19"])

    def test_info_replies_carry_nas1s_settings(self):
        infos = self.of_type(self.replies, 16)
        self.assertGreaterEqual(len(infos), 4)
        for f in infos:
            self.assertEqual((one(f, "zentrive.status"), one(f, "zentrive.length")), ("0", "254"))
            self.assertEqual([one(f, "zentrive.info.state"), one(f, "zentrive.info.password_set"),
                              one(f, "zentrive.info.info_text")], ["0", "1", "ZT-2000 sim"])
            self.assertEqual({k: one(f, k) for k in NAS1}, NAS1)

    def test_password_checks_wrong_then_right(self):
        checks = self.of_type(self.requests, 19)
        self.assertEqual([one(f, "zentrive.check.password") for f in checks], ["wrong", "admin"] * 2)
        self.assertEqual({one(f, "zentrive.check.mac") for f in checks}, {NAS1["zentrive.settings.mac"]})
        answers = self.of_type(self.replies, 19)
        self.assertEqual([one(f, "zentrive.status") for f in answers], ["-305", "0"] * 2)
        self.assertEqual([one(f, "zentrive.message") for f in answers], ["Wrong password", []] * 2)
        self.assertTrue(one(answers[0], "_ws.expert").endswith("The appliance reports a failure: Wrong password"))

    def test_writes_refused_then_taken(self):
        writes = self.of_type(self.requests, 17)
        self.assertEqual(len(writes), 2)
        edited = dict(NAS1, **{"zentrive.settings.server_name": "NAS-7", "zentrive.settings.note": []})
        for f in writes:
            self.assertEqual(one(f, "zentrive.length"), "234")
            self.assertEqual({k: one(f, k) for k in NAS1}, edited)
        answers = self.of_type(self.replies, 17)
        self.assertEqual([(one(f, "zentrive.status"), one(f, "zentrive.message")) for f in answers],
                         [("-101", "Set IP fail"), ("0", [])])

    def test_display_filters(self):
        self.assertEqual(matching("config.pcap", "zentrive.type == 17"),
                         [int(one(f, "frame.number")) for f in self.of_type(self.rows, 17)])
        self.assertEqual(len(matching("config.pcap", "zentrive.status < 0")), 3)
        self.assertEqual(matching("config.pcap", 'zentrive.settings.server_name == "NAS-7"'),
                         [int(one(f, "frame.number")) for f in self.of_type(self.requests, 17)])


class UsbService(CaptureTest):
    """The tray utility with NAS1: discovery, three notices, an eject refused (in use) and one done."""

    @classmethod
    def setUpClass(cls):
        cls.rows = frames("usb.pcap")

    def test_every_datagram_is_sound_and_linked(self):
        self.assertSound(self.rows)
        notices = [f for f in self.rows if one(f, "udp.srcport") == one(f, "udp.dstport") == "917"]
        self.assertLinked([f for f in self.rows if f not in notices],
                          lambda f: one(f, "udp.dstport") == "917", [])
        for f in notices:
            self.assertEqual(f["zentrive.response_to"] + f["zentrive.response_in"], [])

    def test_datagrams_in_order(self):
        got = [(one(f, "zentrive.usb.type"), one(f, "zentrive.usb.status"), one(f, "zentrive.usb.length"),
                one(f, "zentrive.usb.name"), one(f, "zentrive.usb.server")) for f in self.rows]
        discovery = [("32", "0x0000", "0", [], []), ("32", "0x0000", "256", DISK, "NAS1")]
        self.assertEqual(got, discovery + [
            ("32", "0x0000", "256", DISK, "NAS1"),  # notices: available, wrong port, removed
            ("36", "0x0000", "256", DISK, "NAS1"),
            ("34", "0x0000", "256", DISK, "NAS1"),
        ] + discovery + [
            ("35", "0x0000", "256", "NAS1", "NAS1"),
            ("35", "0xffff", "256", DISK, "NAS1"),
        ] + discovery + [
            ("35", "0x0000", "256", "NAS1", "NAS1"),
            ("33", "0x0000", "256", DISK, "NAS1"),
        ])
        in_use = [f for f in self.rows if one(f, "zentrive.usb.status") == "0xffff"]
        self.assertTrue(one(in_use[0], "_ws.expert").endswith("The disk is in use and was not ejected"))
        self.assertEqual(matching("usb.pcap", "zentrive.usb.status == 0xffff"), [int(one(in_use[0], "frame.number"))])


def usb_well_formed(payload):
    """A record as the tray utility's peers send it: 264 bytes, a known type, length 256, a terminated name."""
    return (len(payload) == 264 and payload[0] in range(32, 37) and payload[1] == 0
            and payload[6:8] == b"\x00\x01" and 0 in payload[8:])


class Flood(CaptureTest):
    """zflood's malformed datagrams: the configuration kinds (each malformed or a reply that no request asked for)
    and the USB-disk kinds (notices, some well formed)."""

    def test_every_malformed_datagram_has_an_expert_note(self):
        rows = frames("flood.pcap", PLAIN_FIELDS)
        seen = set()
        for f in rows:
            n = one(f, "frame.number")
            if not f["udp.srcport"]:
                continue  # an IP fragment; its datagram is dissected in the frame that completes it
            exceptions = f["_ws.lua.error"] + f["_ws.malformed.expert"] + f["_ws.malformed.dissector_bug"]
            self.assertEqual(exceptions, [], "frame %s" % n)
            seen.update(e.split(": ", 1)[1].split(" ")[0] for e in f["_ws.expert"])
            if "917" in (one(f, "udp.srcport"), one(f, "udp.dstport")):
                if usb_well_formed(bytes.fromhex(one(f, "udp.payload") or "")):
                    self.assertEqual(f["_ws.expert"], [], "well-formed notice %s" % n)
                    continue
            self.assertNotEqual(f["_ws.expert"], [], "frame %s has no expert note" % n)
        self.assertGreater(len(rows), 100)
        for start in ("Length", "Text", "Unknown", "Datagram", "Empty", "No", "Name"):
            self.assertIn(start, seen, "the flood shows the note that starts %r" % start)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
