#!/usr/bin/env python3
"""One search of the real Zentrive_Setup.exe, as a user starts it, against the simulated appliances of a lab; runs
inside a winetest run and prints one RESULT line for bench/search-scale.

  search_scale_run.py ZDRIVE.exe Zentrive_Setup.exe EXPECTED INTERFACES SIMLOG...

Setup is pressed on the welcome page; while the operation dialog searches, the tree's item count is polled (one
message, no reading of the items); the CPU time of the wizard and of the wineserver is taken from /proc at the
press and when the dialog has gone, the replies the kernel dropped for a full receive buffer from the lab PC's
/proc/net/snmp. The first broadcast's time comes from the simulators' logs, on the same
monotonic clock."""
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "wizard", "pages", "tests"))
import flowlib as f  # noqa: E402
import proclib  # noqa: E402

POLL_S = 0.1
GIVE_UP_S = 120.0
SCHEDULE_S = 8.0  # four broadcasts two seconds apart on each interface


def now_ms():
    return time.monotonic() * 1000.0


def search(d, win, expected):
    wizard, server = proclib.only("Zentrive_Setup"), proclib.only("wineserver")
    meter = proclib.Meter([wizard, server])
    meter.start()
    drops = proclib.udp_buffer_drops()
    pressed = now_ms()
    f.press(d, win, f.IDC_SETUP)
    dialog = d.find("Searching for devices", timeout=10000)
    tree = d.child(win, f.TREE)
    all_in = gone = None
    while True:
        at = now_ms()
        if all_in is None and d.tree_count(tree) >= expected:
            all_in = at
        if gone is None:
            try:
                d.gone(dialog, 0)
                gone = at
                meter.stop()
            except f.DriverError:
                pass
        if gone is not None and (all_in is not None or at - gone > 2000):
            break
        if at - pressed > GIVE_UP_S * 1000:
            meter.stop()
            break
        time.sleep(POLL_S)
    # Reading 5000 items goes through the wizard's own thread: only once it is idle again.
    names = [t for _, _, t in d.tree(tree)] if gone is not None else None
    listed = d.tree_count(tree) if names is None else len(set(names))
    return {"pressed": pressed, "dropped": proclib.udp_buffer_drops() - drops, "all_in": all_in, "gone": gone, "names": names, "listed": listed,
            "cpu_wizard": meter.spent[wizard], "cpu_server": meter.spent[server],
            "peak_wizard_kb": proclib.peak_kb(wizard), "peak_server_kb": proclib.peak_kb(server)}


def wire(logs):
    """The search's broadcasts (monotonic ms) and the info replies the simulators sent, from their logs."""
    broadcasts, replies = [], 0
    for log in logs:
        for r in f.zsimctl.read_log(log, service="config"):
            if r.get("decoded", {}).get("wType") != f.PKT_GET_INFO:
                continue
            if r["dir"] == "rx" and r["local"].startswith("255.255.255.255:"):
                broadcasts.append(r["ms"])
            elif r["dir"] == "tx":
                replies += 1
    return sorted(broadcasts), replies


def main():
    zdrive, setup, expected, interfaces, logs = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), \
        sys.argv[5:]
    with f.Driver(zdrive) as d:
        app, win = f.start(d, setup)
        r = search(d, win, expected)
        app.terminate()
    broadcasts, replies = wire(logs)
    first = broadcasts[0] if broadcasts else r["pressed"]
    cpu = r["cpu_wizard"] + r["cpu_server"]
    out = {
        "listed": r["listed"],
        "twice": len(r["names"]) - len(set(r["names"])) if r["names"] is not None else "-",
        "broadcasts": len(broadcasts),
        "replies": replies,
        "dropped": r["dropped"],
        "closed_s": "%.2f" % ((r["gone"] - first) / 1000) if r["gone"] else ">%.0f" % GIVE_UP_S,
        "late_s": "%.2f" % ((r["gone"] - first) / 1000 - SCHEDULE_S * interfaces) if r["gone"] else "-",
        "all_in_s": "%.2f" % ((r["all_in"] - first) / 1000) if r["all_in"] else "-",
        "cpu_wizard": "%.2f" % r["cpu_wizard"],
        "cpu_server": "%.2f" % r["cpu_server"],
        "us_per_reply": "%.0f" % (cpu * 1e6 / replies) if replies else "-",
        "peak_wizard_mb": "%.1f" % (r["peak_wizard_kb"] / 1024),
        "peak_server_mb": "%.1f" % (r["peak_server_kb"] / 1024),
        "broadcasts_s": ",".join("%.2f" % ((b - first) / 1000) for b in broadcasts),
    }
    print("RESULT " + " ".join("%s=%s" % kv for kv in out.items()), flush=True)


if __name__ == "__main__":
    main()
