#!/usr/bin/env python3
"""One burst of disk notices at the real Pebblink.exe, started as a user starts it; runs inside a winetest run and
prints one RESULT line for bench/tray-burst.

  tray_burst_run.py ZDRIVE.exe Pebblink.exe COUNT EACH SIMLOG

The utility is left to finish its start-up discovery (its CPU quiet for a second); then the simulator is told to
send EACH notices from each of COUNT appliances, back to back. From outside: the kernel's count of datagrams its
listener's socket dropped (/proc/net/udp of the lab's PC namespace), the bytes still waiting there, the CPU time
of the utility and of the wineserver, its peak memory, and at the end the map dialogs on show."""
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "wizard", "pages", "tests"))
import flowlib as f  # noqa: E402
import proclib  # noqa: E402

PORT = 917
QUIET_S = 1.0


def listener():
    """(bytes waiting, datagrams dropped) of the utility's listening socket, or None before it exists."""
    return proclib.udp_socket(PORT)


def wait_quiet(pid, give_up_s):
    """Polls until the socket is empty and the process has used no CPU for QUIET_S; returns when it last did."""
    start = last = time.monotonic()
    cpu = proclib.cpu_seconds(pid)
    while True:
        time.sleep(0.05)
        now, spent, waiting = time.monotonic(), proclib.cpu_seconds(pid), listener()[0]
        if spent != cpu or waiting:
            cpu, last = spent, now
        if now - last >= QUIET_S or now - start > give_up_s:
            return last


def main():
    zdrive, exe, count, each, log = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
    host = os.environ["ZT_HOST_SIM"]
    sim = f.zsimctl.Control(host + ":7000")
    first = sim.ok("list").split()[0].partition("=")[0]
    with f.Driver(zdrive) as d:
        d.start(exe)
        f.wait_until(lambda: proclib.find("Pebblink") and listener() is not None, 30, "the utility's listener")
        tray, server = proclib.only("Pebblink"), proclib.only("wineserver")
        wait_quiet(tray, 30)
        dropped_before = listener()[1]
        meter = proclib.Meter([tray, server])
        meter.start()
        start = time.monotonic()
        sim.ok("burst %s %d available %s" % ("*" if count > 1 else first, each, os.environ["ZT_PC_ADDR1"]))
        last = wait_quiet(tray, 120)
        meter.stop()
        dropped = listener()[1] - dropped_before
        dialogs = d.count("Map Network Drive")
        peak = proclib.peak_kb(tray)
    sent = len([r for r in f.zsimctl.read_log(log, dir="tx", service="usb")
                if r.get("decoded", {}).get("wType") == 32 and r["decoded"].get("szName")])
    out = {"sent": sent, "dropped": dropped, "last_ms": "%.0f" % (1000 * (last - start)),
           "cpu_tray": "%.2f" % meter.spent[tray], "cpu_server": "%.2f" % meter.spent[server],
           "peak_mb": "%.1f" % (peak / 1024), "map_dialogs": dialogs}
    print("RESULT " + " ".join("%s=%s" % kv for kv in out.items()), flush=True)


if __name__ == "__main__":
    main()
