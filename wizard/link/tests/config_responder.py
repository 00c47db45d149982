#!/usr/bin/env python3
"""Test double of an appliance's configuration port (UDP 915) for the wizard's Wine tests. Runs only inside a lab.

Every datagram on port 915 is logged with its source and the address it was sent to (broadcast or unicast).
Behaviour (set on the command line as key=value, or later by the control command SET key=value):
  mode=echo        answer every datagram with "ECHO", the source address and port, the destination address,
                   this host's lab name and the datagram itself
  mode=appliance   answer as an appliance: info replies, set-config and password results (keys below)
  mode=silent      log only
  mac=00:11:22:33:44:55  name=NAS1  state=0  password=secret (empty: none set)  setconfig=0 (status)
  copies=1         how many copies of each answer are sent
  from=ADDR        send answers from this address of the host (default: the one the request came to)
Control: UDP 40916 on the host's first address. "LOG" returns the datagrams logged since the last LOG as JSON
lines; "SET k=v ..." changes behaviour; both answer with a datagram.
"""
import json
import os
import select
import socket
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "lab"))
import zlab  # noqa: E402

IP_PKTINFO = 8
ns = zlab.require_lab("config_responder")
conf = {"mode": "echo", "mac": "00:11:22:33:44:55", "name": "NAS1", "state": "0", "password": "",
        "setconfig": "0", "copies": "1", "from": "", "infotext": "READY"}


def apply(words):
    for w in words:
        k, _, v = w.partition("=")
        conf[k] = v


apply(sys.argv[1:])
service = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
service.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
service.setsockopt(socket.IPPROTO_IP, IP_PKTINFO, 1)
service.bind(("0.0.0.0", 915))
control = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
control.bind(("0.0.0.0", 40916))
senders = {}
log = []


def sender_for(address):
    if address not in senders:
        s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        s.bind((address, 0))
        senders[address] = s
    return senders[address]


def info_payload(src):
    settings = bytearray(234)
    settings[0:6] = bytes(int(x, 16) for x in conf["mac"].split(":"))
    name = conf["name"].encode()[:15]
    settings[6:6 + len(name)] = name
    settings[70:80] = b"12/31/2026"
    settings[81:89] = b"23:59:00"
    settings[91:95] = socket.inet_aton("0.0.0.0")
    settings[162:166] = struct.pack("<i", 22)
    text = conf["infotext"].encode()[:15]
    head = struct.pack("<HB2s15s", int(conf["state"]), 1 if conf["password"] else 0, b"\0\0", text)
    return head + bytes(settings)


def answer(data, src, dst):
    mode = conf["mode"]
    if mode == "silent" or len(data) < 8:
        return None
    wtype, _, seq, _ = struct.unpack("<HhHH", data[:8])
    if mode == "echo":
        name = ns.encode()
        return (b"ECHO" + socket.inet_aton(src[0]) + struct.pack(">H", src[1]) + socket.inet_aton(dst) +
                bytes([len(name)]) + name + data)
    if wtype == 16:
        return struct.pack("<HhHH", 16, 0, seq, 254) + info_payload(src)
    if wtype == 17:
        return struct.pack("<HhHH", 17, int(conf["setconfig"]), seq, 0)
    if wtype == 19:
        typed = data[14:29].split(b"\0")[0].decode(errors="replace")
        status = 0 if typed == conf["password"] else -305
        return struct.pack("<HhHH", 19, status, seq, 0)
    return None


while True:
    ready, _, _ = select.select([service, control], [], [])
    if control in ready:
        text, peer = control.recvfrom(2048)
        words = text.decode(errors="replace").split()
        if words and words[0] == "LOG":
            out = "\n".join(json.dumps(e) for e in log)
            del log[:]
            control.sendto(("LOG\n" + out).encode(), peer)
        elif words and words[0] == "SET":
            apply(words[1:])
            control.sendto(b"OK", peer)
    if service in ready:
        data, anc, _, src = service.recvmsg(2048, socket.CMSG_SPACE(12))
        dst = "0.0.0.0"
        for level, kind, value in anc:
            if level == socket.IPPROTO_IP and kind == IP_PKTINFO:
                dst = socket.inet_ntoa(value[8:12])
        entry = {"src": src[0], "dst": dst, "len": len(data)}
        if len(data) >= 8:
            entry["type"], entry["status"], entry["seq"], entry["length"] = struct.unpack("<HhHH", data[:8])
        entry["payload"] = data[8:].hex()
        log.append(entry)
        reply = answer(data, src, dst)
        if reply is not None:
            out = sender_for(conf["from"]) if conf["from"] else service
            for _ in range(int(conf["copies"])):
                out.sendto(reply, src)
