#!/usr/bin/env python3
"""A lab host's answer to the harness probe: every datagram on the given port is answered with its own text and
this host's name, sent back to its source. Runs only inside a lab namespace."""
import os
import socket
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zlab  # noqa: E402

ns = zlab.require_lab("responder")
port = int(sys.argv[1])
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("0.0.0.0", port))
while True:
    data, peer = s.recvfrom(2048)
    s.sendto(b"answer of " + ns.encode() + b" to '" + data[:200] + b"'", peer)
