#!/usr/bin/env python3
"""Runs inside a lab's PC host beside zflood (see record-captures): captures the flooder's first datagrams to the
PC's port 917 and to a configuration-style port, then stops the flooder.

    record_flood.py TARGETS_FILE OUT.pcap
"""
import os
import sys

from capture import Capture

DATAGRAMS = 160  # captured packets (IP fragments of the largest datagrams count one each)
PC = os.environ.get("ZT_PC_ADDR1", "198.18.1.1")
targets, out = sys.argv[1:3]


def write_targets(lines):
    with open(targets + ".tmp", "w") as f:
        f.write("".join(line + "\n" for line in lines))
    os.replace(targets + ".tmp", targets)


capture = Capture(out, PC, count=DATAGRAMS)
write_targets(["%s:917" % PC, "%s:40915" % PC])
capture.wait()
write_targets(["stop"])
