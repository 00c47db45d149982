#!/usr/bin/env python3
"""Lab tests of zsim, run in the PC namespace of a lab whose hosts run zsim (see CMakeLists.txt).

  sim_lab_client.py basic DIR      one host, two configured appliances (examples/two.ini) and a spare address
  sim_lab_client.py segments DIR   two PC interfaces, one zsim --auto per segment
  sim_lab_client.py scale DIR      one host with 1000 addresses, zsim --auto

Requests are built here byte by byte from the wire layout; replies are compared byte for byte with what
the layout and the appliances' settings say, and with what zsim logged.
"""
import os
import socket
import struct
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lab"))
import zlab  # noqa: E402
from labcheck import check, verdict, zsimctl  # noqa: E402

BROADCAST = "255.255.255.255"


def header(wtype, status, seq, length):
    return struct.pack("<HHHH", wtype, status & 0xFFFF, seq, length)


def udp(bind_addr="0.0.0.0", port=0):
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    s.setsockopt(socket.SOL_SOCKET, 33, 8 << 20)  # SO_RCVBUFFORCE: a thousand replies at once
    s.bind((bind_addr, port))
    return s


def collect(sock, seconds, until=None):
    """Datagrams (bytes, (addr, port)) arriving within `seconds`, or until `until` of them arrived."""
    out = []
    deadline = time.time() + seconds
    while until is None or len(out) < until:
        left = deadline - time.time()
        if left <= 0:
            break
        sock.settimeout(left)
        try:
            data, peer = sock.recvfrom(4096)
        except socket.timeout:
            break
        out.append((data, peer))
    return out


def exchange(sock, packet, dest, port, seconds=1.0, until=None, grace=0.2):
    """Sends, then collects for `seconds`; with `until`, stops at that many datagrams and then listens `grace`
    seconds more, so that a surplus reply still shows."""
    sock.sendto(packet, (dest, port))
    got = collect(sock, seconds, until)
    if until is not None:
        got += collect(sock, grace)
    return got


def mac_bytes(text):
    return bytes(int(x, 16) for x in text.split(":"))


def ip_bytes(text):
    return socket.inet_aton(text)


def text_field(value, width):
    return value.encode().ljust(width, b"\0")


def default_record(name, address, mac, workgroup="WORKGROUP", disk_server=None):
    """The record zsim serves for an appliance by default, written out from the layout."""
    r = bytearray(234)
    for lo, hi in ((104, 113), (166, 191), (195, 234)):
        for i in range(lo, hi):
            r[i] = (0x80 + i) & 0xFF
    r[0:6] = mac_bytes(mac)
    r[6:21] = text_field(name, 15)
    r[21:70] = text_field("note of " + name, 49)
    r[70:81] = text_field("12/08/2026", 11)
    r[81:90] = text_field("23:15:00", 9)
    r[90] = 1
    r[91:95] = ip_bytes(address)
    r[95:99] = ip_bytes("255.255.255.0")
    r[99:103] = ip_bytes(address.rsplit(".", 1)[0] + ".1")
    r[103] = 1
    r[113:129] = text_field(workgroup, 16)
    r[129:162] = text_field("aux of " + name, 33)
    r[162:166] = struct.pack("<i", 22)
    r[191:195] = ip_bytes(address)
    return bytes(r)


def info_reply(seq, record, password_set, state=0, info="ZT-2000 sim"):
    payload = struct.pack("<HB", state, password_set) + bytes([0x48, 0x49]) + text_field(info, 15) + record
    return header(16, 0, seq, 254) + payload


def usb_packet(wtype, status, name):
    return struct.pack("<HHHH", wtype, status, 0, 256) + text_field(name, 256)


# ---------------------------------------------------------------------------------------------------------


def scenario_basic(work):
    pc = os.environ["ZT_PC_ADDR1"]
    nas1, nas2, spare = "198.18.1.10", "198.18.1.11", "198.18.1.12"
    ctl = zsimctl.Control(os.path.join(work, "sim.sock"))
    tcp = zsimctl.Control("%s:7000" % nas1)
    check(ctl.command("ping") == "OK pong", "ping over the Unix socket")
    check(tcp.command("list") == "OK NAS1=%s NAS2=%s" % (nas1, nas2), "list over TCP")
    s = udp()
    my_port = s.getsockname()[1]

    rec1 = default_record("NAS1", nas1, "02:5a:54:12:01:0a", "LAB")
    rec2 = default_record("NAS2", nas2, "02:5a:00:00:00:02", "LAB")
    check(ctl.ok("record NAS1") == rec1.hex(), "NAS1's record as the layout says")

    # Search by broadcast: both answer, each from its own address and port 915, byte for byte.
    replies = exchange(s, header(16, 0, 1001, 0), BROADCAST, 915, 1.0, until=2)
    by_source = {peer: data for data, peer in replies}
    check(len(replies) == 2, "two info replies to a broadcast, got %d" % len(replies))
    check(by_source.get((nas1, 915)) == info_reply(1001, rec1, 1), "NAS1's info reply byte for byte")
    check(by_source.get((nas2, 915)) == info_reply(1001, rec2, 0), "NAS2's info reply byte for byte")

    # A write round trip: change named fields, send back the rest unchanged; it is stored byte for byte.
    written = bytearray(rec2)
    written[6:21] = text_field("RENAMED", 15)
    written[162:166] = struct.pack("<i", 40)
    written = bytes(written)
    replies = exchange(s, header(17, 0, 1002, 234) + written, BROADCAST, 915, 1.0, until=1)
    check(replies == [(header(17, 0, 1002, 0), (nas2, 915))], "one set-config reply, from NAS2: %r" % replies)
    check(ctl.ok("record NAS2") == written.hex(), "written record stored byte for byte")
    replies = exchange(s, header(16, 0, 1003, 0), nas2, 915, 1.0, until=1)
    check(replies == [(info_reply(1003, written, 0), (nas2, 915))], "stored record served byte for byte")

    # Password check.
    mac1 = mac_bytes("02:5a:54:12:01:0a")
    replies = exchange(s, header(19, 0, 1004, 21) + mac1 + text_field("secret", 15), nas1, 915, 1.0, until=1)
    check(replies == [(header(19, 0, 1004, 0), (nas1, 915))], "right password: status 0")
    replies = exchange(s, header(19, 0, 1005, 21) + mac1 + text_field("Secret", 15), nas1, 915, 1.0, until=1)
    check(replies == [(header(19, -305, 1005, 0), (nas1, 915))], "wrong password: -305")

    # A chosen result code refuses the write.
    ctl.ok("result NAS2 -101")
    replies = exchange(s, header(17, 0, 1006, 234) + rec2, nas2, 915, 1.0, until=1)
    check(replies == [(bytes.fromhex("11009bff") + struct.pack("<HH", 1006, 0), (nas2, 915))], "status 0xFF9B")
    check(ctl.ok("record NAS2") == written.hex(), "refused write stores nothing")
    ctl.ok("result NAS2 0")

    # Fault modes, one at a time, on NAS1.
    base = info_reply(1100, rec1, 1)

    def faulty(mode, seq, until=1, seconds=1.0):
        ctl.ok("fault NAS1 " + mode)
        got = exchange(s, header(16, 0, seq, 0), nas1, 915, seconds, until)
        ctl.ok("fault NAS1 none")
        return got

    expect = info_reply(1101, rec1, 1)
    check(faulty("twice", 1101, until=2) == [(expect, (nas1, 915))] * 2, "twice: two identical replies")
    got = faulty("stale-seq", 1102)
    check(len(got) == 1 and got[0][0] == info_reply(1101, rec1, 1), "stale-seq: the previous sequence number")
    got = faulty("wrong-type", 1103)
    check(len(got) == 1 and got[0][0][:2] == b"\x11\x00" and got[0][0][2:] == info_reply(1103, rec1, 1)[2:],
          "wrong-type: type 17, the rest unchanged")
    got = faulty("short=6", 1104)
    check(got == [(info_reply(1104, rec1, 1)[:6], (nas1, 915))], "short=6")
    got = faulty("long=1100", 1105)
    check(len(got) == 1 and got[0][0] == info_reply(1105, rec1, 1) + b"\xee" * (1100 - 262), "long=1100")
    got = faulty("from-other", 1106)
    check(got == [(info_reply(1106, rec1, 1), (nas2, 915))], "from-other: from the host's next address")
    got = faulty("from-other=" + spare, 1107)
    check(got == [(info_reply(1107, rec1, 1), (spare, 915))], "from-other=ADDR")
    got = faulty("state1", 1108)
    check(got == [(info_reply(1108, rec1, 1, state=1), (nas1, 915))], "state1: wState 1")
    got = faulty("unterminated", 1109)
    check(len(got) == 1 and 0 not in got[0][0][8 + 5:8 + 20] and 0 not in got[0][0][8 + 20 + 6:8 + 20 + 21],
          "unterminated: szInfoText and szServerName without NUL")
    check(faulty("drop-replies=100", 1110, until=None, seconds=0.5) == [], "drop-replies=100: silence")
    check(faulty("drop-requests=100", 1111, until=None, seconds=0.5) == [], "drop-requests=100: silence")
    ctl.ok("fault NAS1 late=1500")
    s.sendto(header(16, 0, 1112, 0), (nas1, 915))
    early = collect(s, 1.0)
    late = collect(s, 1.5)
    ctl.ok("fault NAS1 none")
    check(early == [] and late == [(info_reply(1112, rec1, 1), (nas1, 915))], "late=1500: after 1.5 s")
    del base

    # Malformed requests are ignored, and zsim lives on.
    check(exchange(s, b"\x10\x00\x01", nas1, 915, 0.5) == [], "3-byte datagram ignored")
    check(exchange(s, header(16, 5, 1113, 0), nas1, 915, 0.5) == [], "request with a status ignored")
    check(exchange(s, header(17, 0, 1114, 234) + rec1[:100], nas1, 915, 0.5) == [], "short write ignored")
    check(ctl.command("ping") == "OK pong", "alive after malformed requests")

    # USB-disk service: discovery and the eject modes.
    replies = exchange(s, header(32, 0, 0, 0), BROADCAST, 917, 1.0, until=2)
    by_source = {peer: data for data, peer in replies}
    check(by_source == {(nas1, 917): usb_packet(32, 0, "\\\\NAS1\\usb"), (nas2, 917): usb_packet(32, 0, "")},
          "discovery replies: NAS1's path, NAS2 empty")
    eject = struct.pack("<HHHH", 35, 0, 0, 256) + text_field("NAS1", 256)
    for mode, expected in (("inuse", usb_packet(35, 0xFFFF, "\\\\NAS1\\usb")),
                           ("other", usb_packet(32, 0, "\\\\NAS1\\usb")),
                           ("silent", None),
                           ("success", usb_packet(33, 0, "\\\\NAS1\\usb"))):
        ctl.ok("eject NAS1 " + mode)
        got = exchange(s, eject, BROADCAST, 917, 0.6 if expected is None else 1.0, None if expected is None else 1)
        check(got == ([] if expected is None else [(expected, (nas1, 917))]), "eject mode " + mode)
    replies = exchange(s, header(32, 0, 0, 0), nas1, 917, 1.0, until=1)
    check(replies == [(usb_packet(32, 0, ""), (nas1, 917))], "after a successful eject the disk is gone")

    # Notices to the PC's port 917, to its address and by broadcast.
    listener = udp("0.0.0.0", 917)
    ctl.ok("notice NAS1 wrongport %s \\\\NAS1\\USB1" % pc)
    ctl.ok("plug NAS2 announce")
    got = collect(listener, 1.0, until=2)
    check(got == [(usb_packet(36, 0, "\\\\NAS1\\USB1"), (nas1, 917)),
                  (usb_packet(32, 0, "\\\\RENAMED\\usb"), (nas2, 917))], "notices 36 and 32: %r" % got)

    # Moving to a written address that the host lacks: the reply still leaves from the old one.
    ctl.ok("set NAS2 address-change move")
    moved = bytearray(written)
    moved[91:95] = ip_bytes("198.18.1.40")
    replies = exchange(s, header(17, 0, 1200, 234) + bytes(moved), nas2, 915, 1.0, until=1)
    check(replies == [(header(17, 0, 1200, 0), (nas2, 915))], "move: reply from the old address")
    replies = exchange(s, header(16, 0, 1201, 0), "198.18.1.40", 915, 1.0, until=1)
    check(replies == [(info_reply(1201, bytes(moved), 0), ("198.18.1.40", 915))], "move: answers at the new one")
    check(exchange(s, header(16, 0, 1202, 0), nas2, 915, 0.5) == [], "move: silent at the old one")

    # The log shows every request as sent and every reply as received.
    ctl.ok("mark end")
    log = zsimctl.read_log(os.path.join(work, "sim.log"))
    rx = [r for r in log if r["dir"] == "rx" and r["peer"] == "%s:%d" % (pc, my_port)]
    check(any(r["hex"] == (header(17, 0, 1002, 234) + written).hex() and r["local"] == BROADCAST + ":915"
              and r["decoded"]["settings"]["szServerName"] == "RENAMED" for r in rx), "write logged as received")
    tx = [r for r in log if r["dir"] == "tx" and r["peer"] == "%s:%d" % (pc, my_port)]
    check(any(r["hex"] == info_reply(1003, written, 0).hex() and r["local"] == nas2 + ":915"
              and r["decoded"]["wSequence"] == 1003 for r in tx), "info reply logged as sent")
    check(any(r["dir"] == "drop" and r["decoded"]["wSequence"] == 1110 for r in log), "dropped reply logged")
    check(any(r["dir"] == "rx" and r["note"].startswith("ignored:") and r["size"] == 3 for r in log),
          "malformed request logged with the reason")
    check(log[-1]["note"] == "mark end", "mark is the last line")
    check(tcp.command("quit") == "OK bye", "quit")


def scenario_segments(work):
    for seg in (1, 2):
        pc = "198.18.%d.1" % seg
        s = udp(pc)
        replies = exchange(s, header(16, 0, 2000 + seg, 0), BROADCAST, 915, 1.0, until=1)
        expected = "198.18.%d.10" % seg
        check([peer for _, peer in replies] == [(expected, 915)],
              "segment %d: only its appliance answers a broadcast from %s: %r" % (seg, pc, replies))
        ctl = zsimctl.Control("%s:7000" % expected)
        name = zlab_name(expected)
        check(ctl.command("list") == "OK %s=%s" % (name, expected), "segment %d: control over TCP" % seg)
        if replies:
            mac = "02:5a:54:12:%02x:0a" % seg
            check(replies[0][0] == info_reply(2000 + seg, default_record(name, expected, mac), 0),
                  "segment %d: reply byte for byte" % seg)
        ctl.ok("quit")


def zlab_name(address):
    o = [int(x) for x in address.split(".")]
    return "ZT%03d%03d" % (o[2], o[3])


def scenario_scale(work):
    lab = zlab.load(os.environ["ZT_LAB"])
    addresses = lab.host("big").addrs
    check(len(addresses) == 1000, "the lab host has 1000 addresses")
    ctl = zsimctl.Control(os.path.join(work, "sim.sock"))
    listed = ctl.ok("list").split()
    check(len(listed) == 1000, "1000 appliances listed")
    s = udp(os.environ["ZT_PC_ADDR1"])
    start = time.time()
    replies = exchange(s, header(16, 0, 3000, 0), BROADCAST, 915, 10.0, until=1000)
    took = time.time() - start
    sources = {}
    for data, (addr, port) in replies:
        o = [int(x) for x in addr.split(".")]
        ok = (port == 915 and len(data) == 262 and data[:8] == header(16, 0, 3000, 254)
              and data[28:34] == bytes([2, 0x5a, 0x54, o[1], o[2], o[3]])
              and data[34:49] == text_field(zlab_name(addr), 15)
              and data[28 + 91:28 + 95] == ip_bytes(addr))
        check(ok, "reply from %s carries that appliance's MAC, name and address" % addr)
        sources[addr] = sources.get(addr, 0) + 1
    check(set(sources) == set(addresses), "every one of the 1000 addresses answered (%d)" % len(sources))
    check(all(n == 1 for n in sources.values()), "each answered once")
    print("broadcast: %d replies in %.2f s" % (len(replies), took))
    for addr in addresses[::97]:
        got = exchange(s, header(16, 0, 3001, 0), addr, 915, 1.0, until=1)
        check(len(got) == 1 and got[0][1] == (addr, 915) and collect(s, 0.2) == [],
              "unicast to %s: one reply, from it" % addr)
    replies = exchange(s, header(32, 0, 0, 0), BROADCAST, 917, 10.0, until=1000)
    paths = {addr: data[8:].rstrip(b"\0").decode() for data, (addr, _) in replies}
    check(len(replies) == 1000 and all(paths[a] == "\\\\%s\\usb" % zlab_name(a) for a in addresses),
          "discovery: 1000 replies, each with its own disk path")
    ctl.ok("fault * drop-replies=50")
    replies = exchange(s, header(16, 0, 3002, 0), BROADCAST, 915, 3.0)
    check(300 < len(replies) < 700, "drop-replies=50 on all: about half answer (%d)" % len(replies))
    ctl.ok("quit")


def main(argv):
    zlab.require_lab("sim_lab_client.py")
    scenario, work = argv[0], argv[1]
    {"basic": scenario_basic, "segments": scenario_segments, "scale": scenario_scale}[scenario](work)
    return verdict()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
