#!/usr/bin/env python3
"""The demo inside the lab: starts the tray utility (with the test network provider standing in for the SMB
redirector Wine lacks) and the setup wizard. `interactive`: waits until the user closes the wizard. `tour`: a
guided tour on the virtual display that configures NAS2 and saves a screenshot of every step."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "automation"))
from zdrive import IDOK, Driver, DriverError  # noqa: E402

MODE, WINDOWS = sys.argv[1], sys.argv[2]
WIZARD = os.path.join(WINDOWS, "wizard", "pages", "Zentrive_Setup.exe")
TRAY = os.path.join(WINDOWS, "tray", "Pebblink.exe")
ZTNPREG = os.path.join(WINDOWS, "netprovider", "ztnpreg.exe")
ZDRIVE = os.path.join(WINDOWS, "automation", "zdrive.exe")

# Wizard control ids.
ID_SETUP, ID_NEXT, ID_SAVE, ID_EXIT = 1032, 1029, 1001, 1033
ID_TREE, ID_VALUES = 1012, 1010


def start_programs():
    procs = []
    if os.path.exists(TRAY):
        procs.append(subprocess.Popen(["wine", ZTNPREG, "run", TRAY]))
    procs.append(subprocess.Popen(["wine", WIZARD], cwd=os.path.dirname(WIZARD)))
    return procs


def wait_for_tree(d, wizard, names, timeout=60):
    tree = d.child(wizard, ID_TREE)
    deadline = time.time() + timeout
    while time.time() < deadline:
        shown = [text for _, _, text in d.tree(tree)]
        if all(n in shown for n in names):
            return tree, shown
        time.sleep(0.5)
    raise DriverError("the device list shows %r, not all of %r" % (shown, names))


def tour():
    with Driver(ZDRIVE) as d:
        wizard = d.find("Setup Wizard", "", 30000)
        time.sleep(1)
        d.screenshot("01-welcome")
        if os.path.exists(TRAY):
            # The tray utility offers NAS2's USB disk as soon as its start-up discovery finds it.
            offer = d.find("Map Network Drive", "", 30000)
            time.sleep(0.5)
            d.screenshot("02-tray-offers-nas2-disk")
            d.click(offer, IDOK)
            d.gone(offer, 10000)
        d.click(wizard, ID_SETUP)
        # The device list page searches on its first showing: 8 s on each of the PC's two addresses.
        search = d.find("Searching for devices", "", 10000)
        d.screenshot("03-searching")
        d.gone(search, 40000)
        tree, shown = wait_for_tree(d, wizard, ["NAS1", "NAS2", "NAS3"])
        print("tour: the search found", ", ".join(shown))
        d.screenshot("04-device-list")
        d.tree_select(tree, "NAS2")
        time.sleep(3)
        d.screenshot("05-nas2-selected")
        for step in ("06-ip-settings", "07-server-page", "08-summary"):
            d.click(wizard, ID_NEXT)
            time.sleep(1)
            d.screenshot(step)
        d.click(wizard, ID_SAVE)
        confirm = d.find("Confirm settings", "", 10000)
        d.screenshot("09-confirmation")
        d.click(d.child(confirm, IDOK))
        notice = d.find("Setup notice", "", 60000)
        d.screenshot("10-saved")
        d.gone(notice, 10000)
        time.sleep(1)
        d.screenshot("11-finish")
        try:
            box = d.msgbox(3000)
            d.screenshot("12-utility-offer")
            d.answer(box[0], 7)
        except DriverError:
            pass
        d.click(wizard, ID_EXIT)
        d.gone(wizard, 10000)
    print("tour: NAS2 configured end to end")


def main():
    procs = start_programs()
    try:
        if MODE == "interactive":
            procs[-1].wait()
            return 0
        tour()
        return 0
    finally:
        for p in procs:
            if p.poll() is None:
                p.terminate()


if __name__ == "__main__":
    sys.exit(main())
