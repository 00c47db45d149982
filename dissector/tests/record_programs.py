#!/usr/bin/env python3
"""Runs inside a winetest run beside zsim (see record-captures): captures the real programs' traffic with the
simulated appliance. config.pcap: the wizard's search, reading NAS1, a wrong and a right admin password, a write
the appliance refuses (-101), Redo, and a write it takes. usb.pcap: the tray utility's discovery, an
available, a wrong-port and a removed notice, an eject of a disk in use and one that succeeds.

    record_programs.py ZDRIVE SETUP PEBBLINK TRAY_POST ZTNPREG SIM_CONTROL OUT_DIR
"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "wizard", "pages", "tests"))
import flowlib as f  # noqa: E402
from capture import Capture  # noqa: E402

ZDRIVE, SETUP, PEBBLINK, TRAY_POST, ZTNPREG, CONTROL, OUT = sys.argv[1:8]
PC = os.environ.get("ZT_PC_ADDR1", "198.18.1.1")
WM_COMMAND, ID_APP_EXIT, ID_SAFELY_REMOVE = 0x111, 57665, 32773
SAFE_TREE, SAFE_EJECT = 1009, 1008


def to_summary(d, win, sim):
    """From the device list with NAS1 listed: read it, pass the password (a wrong one first, when asked), name it
    NAS-7 and go on to the summary."""
    f.select(d, win, "NAS1")
    f.press(d, win, f.IDC_NEXT)
    try:
        pw = d.find("Verify admin password", timeout=3000)
    except f.DriverError:
        pw = None
    if pw:
        f.password(d, "wrong")
        f.expect_box(d, "Wrong password", timeout=10000)
        f.password(d, "admin")
        d.gone(pw, timeout=10000)
    f.wait_page(d, win, f.IP[0], "the IP settings page")
    f.press(d, win, f.IDC_NEXT)
    page = f.wait_page(d, win, f.SERVER_NAME, "the server page")
    d.replace(d.child(page, f.SERVER_NAME), "NAS-7")
    f.press(d, win, f.IDC_NEXT)
    f.wait_page(d, win, f.SUMMARY_NAME, "the summary page")
    f.wait_bar(d, win, [f.IDC_BACK, f.IDC_SAVE])


def record_wizard(d, sim):
    capture = Capture(os.path.join(OUT, "config.pcap"), PC)
    app, win = f.start(d, SETUP)
    f.search(d, win, ["NAS1"])
    sim.ok("result NAS1 -101")
    to_summary(d, win, sim)
    f.save(d, win)
    f.expect_box(d, "Set IP fail", timeout=10000)
    d.click(d.find("Setup notice", timeout=5000), f.IDCANCEL)  # Redo: a new search
    d.gone(d.find("Searching for devices", timeout=10000), timeout=60000)
    f.wait_bar(d, win, [f.IDC_NEXT, f.IDC_BACK])
    sim.ok("result NAS1 0")
    to_summary(d, win, sim)
    f.save(d, win)
    f.finish_after_success(d, win, app)
    capture.stop()


def post(command):
    subprocess.run(["wine", TRAY_POST, "post", "Pebblink Utility", str(WM_COMMAND), str(command)], check=True)


def eject(d, expected):
    post(ID_SAFELY_REMOVE)
    safe = d.find("Safely Remove Network USB", "#32770", timeout=30000)
    tree = d.child(safe, SAFE_TREE)
    f.wait_until(lambda: [t for _, _, t in d.tree(tree)] == ["NAS1"], 30, "NAS1 in the removal list")
    d.tree_select(tree, "NAS1")
    d.click(safe, SAFE_EJECT)
    box = d.msgbox(timeout=30000)
    if expected not in box[2]:
        raise AssertionError("eject: %r" % (box[1:],))
    d.answer(box[0], f.IDOK)
    d.gone(box[0])
    d.click(safe, f.IDCANCEL)
    d.gone(safe)


def record_tray(d, sim):
    capture = Capture(os.path.join(OUT, "usb.pcap"), PC)
    app = d.start(PEBBLINK)
    offer = d.find("Map Network Drive", "#32770", timeout=30000)
    d.click(offer, f.IDCANCEL)
    d.gone(offer)
    sim.ok("notice NAS1 available %s" % PC)
    offer = d.find("Map Network Drive", "#32770", timeout=15000)
    d.click(offer, f.IDCANCEL)
    d.gone(offer)
    sim.ok("notice NAS1 wrongport %s" % PC)
    warn = d.find("Warning", "#32770", timeout=15000)
    d.click(warn, f.IDOK)
    d.gone(warn)
    sim.ok("notice NAS1 removed %s" % PC)
    eject(d, "in use")
    sim.ok("eject NAS1 success")
    eject(d, "can now be safely removed")
    d.post(d.find("Pebblink Utility", hidden=True), WM_COMMAND, ID_APP_EXIT)
    app.wait(timeout=30)
    capture.stop()


sim = f.zsimctl.Control(CONTROL)
subprocess.run(["wine", ZTNPREG, "install"], check=True)
try:
    with f.Driver(ZDRIVE) as d:
        record_wizard(d, sim)
        record_tray(d, sim)
finally:
    subprocess.run(["wine", ZTNPREG, "remove"])
    sim.close()
