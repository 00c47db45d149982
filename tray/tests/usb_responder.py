#!/usr/bin/env python3
"""A small stand-in for an appliance's USB-disk service on UDP port 917, for the tray's Wine tests.

It answers discovery (type 32) and eject (type 35) requests at their source address and port, and takes
commands from the test in datagrams beginning with b"ZTCTL " (answered with b"ZTOK"):
  reply full|short|empty|silent      discovery reply: 264 bytes with the disk path, 8 bytes, empty name, none
  eject ok|inuse|silent|any          eject reply: type 33, type 33 with status 0xFFFF, none; any: type 33 to
                                     every eject request, whatever server it names (a hostile host)
  notify TYPE SIZE DEST [PATH]       send a notice of TYPE, SIZE bytes long, to DEST port 917
  icmp-off MS                        ignore ICMP echo for MS milliseconds
--reply and --eject set the first modes. Runs only inside a lab namespace (it is started with zlab's --on).
"""
import argparse
import socket
import struct
import threading
import time

PORT = 917


def packet(ptype, status, name, size=264):
    body = struct.pack("<HHHH", ptype, status, 0, 256) + name.encode()
    body = body[:264] + b"\0" * max(0, 264 - len(body))
    # Longer than the record: filler past it, which the PC must ignore.
    return body[:size] + b"X" * max(0, size - 264)


def set_icmp_ignore(value):
    with open("/proc/sys/net/ipv4/icmp_echo_ignore_all", "w") as f:
        f.write("1" if value else "0")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--server", default="NAS1")
    ap.add_argument("--share", default="usb")
    ap.add_argument("--reply", default="full")
    ap.add_argument("--eject", default="ok")
    args = ap.parse_args()
    path = "\\\\%s\\%s" % (args.server, args.share)
    mode = {"reply": args.reply, "eject": args.eject}

    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    s.bind(("0.0.0.0", PORT))
    while True:
        data, peer = s.recvfrom(2048)
        if data.startswith(b"ZTCTL "):
            words = data[6:].decode().split()
            if words[0] in ("reply", "eject"):
                mode[words[0]] = words[1]
            elif words[0] == "notify":
                ptype, size, dest = int(words[1]), int(words[2]), words[3]
                name = words[4] if len(words) > 4 else path
                s.sendto(packet(ptype, 0, name, size), (dest, PORT))
            elif words[0] == "icmp-off":
                set_icmp_ignore(True)
                threading.Timer(int(words[1]) / 1000.0, set_icmp_ignore, (False,)).start()
            s.sendto(b"ZTOK", peer)
            continue
        if len(data) < 2:
            continue
        ptype = struct.unpack("<H", data[:2])[0]
        if ptype == 32:
            r = mode["reply"]
            if r == "full":
                s.sendto(packet(32, 0, path), peer)
            elif r == "short":
                s.sendto(packet(32, 0, path, 8), peer)
            elif r == "empty":
                s.sendto(packet(32, 0, ""), peer)
        elif ptype == 35:
            wanted = data[8:264].split(b"\0")[0].decode(errors="replace")
            e = mode["eject"]
            if wanted != args.server and e != "any":
                continue
            if e in ("ok", "any"):
                s.sendto(packet(33, 0, path), peer)
            elif e == "inuse":
                s.sendto(packet(33, 0xFFFF, path), peer)


if __name__ == "__main__":
    main()
