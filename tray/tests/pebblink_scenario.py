#!/usr/bin/env python3
"""The real Pebblink.exe end to end: start-up offers, a second start, notices from the simulator, safe
removal and exit, with a picture of every dialog. A hostile host (h1, usb_responder.py) on the first segment
sends removal notices for the mapped disk and confirms every eject request at once; NAS3 sits behind the PC's
second interface.

    pebblink_scenario.py ZDRIVE PEBBLINK ZTNPREG TRAY_POST ZSIMCTL_DIR CONTROL_SOCKET
"""
import os
import socket
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "automation"))
import zdrive as zdrive_client  # noqa: E402
from zdrive import Driver, IDOK  # noqa: E402

zdrive, pebblink, ztnpreg, tray_post, zsimctl_dir, control = sys.argv[1:7]
sys.path.insert(0, zsimctl_dir)
from importlib.machinery import SourceFileLoader  # noqa: E402

zsimctl = SourceFileLoader("zsimctl", os.path.join(zsimctl_dir, "zsimctl")).load_module()

WM_COMMAND, ID_APP_ABOUT, ID_APP_EXIT, ID_SAFELY_REMOVE, ID_MAP_DRIVE = 0x111, 57664, 57665, 32773, 32771
PC = os.environ.get("ZT_PC_ADDR1", "198.18.1.1")
HOSTILE = os.environ["ZT_HOST_H1"]
failures = []


def hostile(command):
    """One command to the hostile host's responder, acknowledged once it has acted."""
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.settimeout(5)
    try:
        s.sendto(b"ZTCTL " + command.encode(), (HOSTILE, 917))
        check(s.recvfrom(16)[0] == b"ZTOK", "the hostile host did: " + command)
    finally:
        s.close()


def check(cond, what):
    print(("ok   " if cond else "FAIL ") + what, flush=True)
    if not cond:
        failures.append(what)


def wine(*args):
    return subprocess.run(["wine"] + list(args), check=False).returncode


def picture(d, name, hwnd=None):
    time.sleep(0.5)  # let every control paint before the picture
    d.screenshot(name, hwnd)


def main_windows():
    out = subprocess.run(["wine", tray_post, "count", "Pebblink Utility"], capture_output=True, text=True)
    return int(out.stdout.strip() or "-1")


def post(message, wparam=0):
    check(wine(tray_post, "post", "Pebblink Utility", str(message), str(wparam)) == 0, "posted %d" % wparam)


# A reply of the driver once held a byte that is not UTF-8 (0xff) under Wine; read such bytes as
# replacement characters rather than end the run.
_popen = zdrive_client.subprocess.Popen


def _popen_replacing(*args, **kwargs):
    if kwargs.get("text"):
        kwargs.setdefault("errors", "replace")
    return _popen(*args, **kwargs)


zdrive_client.subprocess.Popen = _popen_replacing

sim = zsimctl.Control(control)
check(wine(ztnpreg, "install") == 0, "provider installed")
try:
    with Driver(zdrive) as d:
        app = d.start(pebblink)
        d.find("Map Network Drive", "#32770", timeout=20000)
        check(wine(tray_post, "icon", "Pebblink Utility", "130") == 0, "the tray icon is added at start-up")
        # Start-up: one dialog per disk, one after another.
        dlg = d.find("Map Network Drive", "#32770", timeout=20000)
        first = d.text(dlg, 1002)
        picture(d, "scenario_map_network_drive", dlg)
        check(first == "\\\\NAS1\\usb", "first offer is NAS1's disk (%r)" % first)
        check(d.count("Map Network Drive", "#32770") == 1, "one mapping dialog at a time")
        d.click(dlg, 1)
        d.gone(dlg)
        dlg = d.find("Map Network Drive", "#32770", timeout=10000)
        check(d.text(dlg, 1002) == "\\\\NAS2\\usb", "second offer is NAS2's disk")
        picture(d, "scenario_map_network_drive_second", dlg)
        d.click(dlg, 2)
        d.gone(dlg)
        dlg = d.find("Map Network Drive", "#32770", timeout=10000)
        check(d.text(dlg, 1002) == "\\\\NAS3\\usb", "third offer is NAS3's disk, behind the second interface")
        d.click(dlg, 2)
        d.gone(dlg)
        time.sleep(1)
        check(d.count("Map Network Drive", "#32770") == 0, "no fourth offer")

        # A second start ends at once and leaves the first alone.
        second = subprocess.run(["wine", pebblink], timeout=60)
        check(second.returncode == 0, "second start ends (%d)" % second.returncode)
        check(main_windows() == 1, "one main window")
        check(wine(tray_post, "icon", "Pebblink Utility", "130") == 0, "its tray icon is there")

        # About box.
        post(WM_COMMAND, ID_APP_ABOUT)
        about = d.find("About Drivelet Utility", "#32770", timeout=5000)
        picture(d, "scenario_about", about)
        d.click(about, 1)
        d.gone(about)

        # Removal notices for the mapped disk from hosts that do not serve it: the hostile host (to the PC and by
        # broadcast) and NAS2. They are read before NAS1's wrong-port notice below and must change nothing.
        for kind in (33, 34):
            hostile("notify %d 264 %s \\\\NAS1\\usb" % (kind, PC))
        hostile("notify 34 264 255.255.255.255 \\\\NAS1\\usb")
        sim.ok("notice NAS2 removed %s \\\\NAS1\\usb" % PC)

        # Wrong-port warning from NAS1.
        sim.ok("notice NAS1 wrongport %s" % PC)
        warn = d.find("Warning", "#32770", timeout=15000)
        check(d.count("Delete Network Drive", "#32770") == 0, "no removal notice from the hosts that do not serve it")
        check("Wrong USB flash attach on USB1 of  NAS1  !" == d.text(warn, 1006), "wrong-port text")
        picture(d, "scenario_wrong_port", warn)
        d.click(warn, 1)
        d.gone(warn)

        # NAS1's disk pulled: its mapping goes, with the notice naming the letter.
        sim.ok("pull NAS1 announce=%s" % PC)
        gone = d.find("Delete Network Drive", "#32770", timeout=15000)
        text = d.text(gone, 1006)
        # Wine's prefix has C: and Z: as local drives: the first free letter, preselected and mapped, is D:.
        check(text == "D:\\\\NAS1\\usb  has been removed.", "removal notice names the letter (%r)" % text)
        picture(d, "scenario_delete_network_drive", gone)
        d.click(gone, 1)
        d.gone(gone)

        # Safe removal (NAS1 has no disk any more and is not listed). The hostile host confirms every eject
        # request at once; only the appliance's own answer counts.
        post(WM_COMMAND, ID_SAFELY_REMOVE)
        safe = d.find("Safely Remove Network USB", "#32770", timeout=30000)
        tree = d.child(safe, 1009)
        time.sleep(1)
        names = [t for _, _, t in d.tree(tree)]
        check(names == ["NAS2", "NAS3"], "tree lists the appliances with a disk (%r)" % names)
        # NAS2's answer comes 300 ms after the hostile host's confirmation.
        sim.ok("eject NAS2 inuse")
        sim.ok("fault NAS2 late=300")
        d.tree_select(tree, "NAS2")
        d.click(safe, 1008)
        box = d.msgbox(timeout=30000)
        check(box[1] == "Warning" and box[2] == "The device is in use by an active process and cannot be disconnected.",
              "a disk in use stays in use, whoever else confirms (%r)" % (box[1:],))
        d.answer(box[0], IDOK)
        sim.ok("eject NAS2 success")
        d.tree_select(tree, "NAS2")
        picture(d, "scenario_safely_remove", safe)
        d.click(safe, 1008)
        box = d.msgbox(timeout=30000)
        check(box[1] == "Information" and box[2] == "The USB disk  NAS2  can now be safely removed from the system.",
              "eject confirmed (%r)" % (box[1:],))
        picture(d, "scenario_information")
        d.answer(box[0], IDOK)
        # The hostile host is quiet now, so that only NAS3 itself can confirm its eject.
        hostile("eject silent")
        d.tree_select(tree, "NAS3")
        d.click(safe, 1008)
        box = d.msgbox(timeout=30000)
        check(box[2] == "The USB disk  NAS3  can now be safely removed from the system.",
              "the appliance behind the second interface is ejected (%r)" % (box[1:],))
        d.answer(box[0], IDOK)
        d.click(safe, 2)
        d.gone(safe)

        post(WM_COMMAND, ID_APP_EXIT)
        app.wait(timeout=20)
        check(app.returncode == 0, "Exit ends the program")
finally:
    wine(ztnpreg, "remove")

sys.exit(1 if failures else 0)
