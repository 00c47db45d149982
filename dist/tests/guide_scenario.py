#!/usr/bin/python3
"""The user guide's pictures, taken from the real programs in the lab, and the wizard's Shortcut button.

Inside a winetest run with three simulated appliances (guide.ini): the real Zentrive_Setup.exe sets up NAS1
page by page as the guide tells it, and the real Pebblink.exe offers, maps, removes and ejects the appliances'
USB disks. Each window the guide shows is saved as artifacts/guide/NAME.png, where the guide's build looks
for its figures. The Shortcut button (command 1046, on no page's bar) is driven by posting its command.

  guide_scenario.py ZDRIVE Zentrive_Setup.exe Pebblink.exe ztnpreg.exe linkinfo.exe APPLIANCE_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "wizard", "pages", "tests"))
from flowlib import (IDC_EXIT, IDC_NEXT, IDC_SAVE, IDC_SETUP, IDC_SHORTCUT, IDNO, IDOK, PASSWORD_EDIT,  # noqa: E402
                     PASSWORD_OK, SERVER_NAME, SUMMARY_NAME, TREE, Driver, shown, step, values, wait_until, zsimctl)

ZDRIVE, SETUP_EXE, PEBBLINK, ZTNPREG, LINKINFO, APPLIANCE_DIR = sys.argv[1:7]
CONTROL = os.environ.get("ZT_HOST_A1", "198.18.1.10") + ":7000"
PC = os.environ.get("ZT_PC_ADDR1", "198.18.1.1")

WM_USER, WM_COMMAND, WM_CANCELMODE, WM_RBUTTONUP = 0x400, 0x111, 0x1F, 0x205
# Wizard window, pages and dialogs beside those flowlib names.
IDC_CLOSE, IP_FIRST, NOTICE_TEXT = 2, 1078, 1049
# Tray utility: its icon's callback, menu commands and dialogs.
TRAY_ICON, ID_APP_EXIT, ID_SAFELY_REMOVE = 130, 57665, 32773
TRAY_PATH, TRAY_NOTICE_TEXT, TRAY_EJECT, TRAY_TREE = 1002, 1006, 1008, 1009


def wine(*args, output=False):
    r = subprocess.run(["wine"] + list(args), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                       errors="replace")
    return (r.returncode, r.stdout) if output else r.returncode


SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"
SHELL_FOLDERS_FOUND = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"


def windows_path(unix_path):
    r = subprocess.run(["winepath", "-w", unix_path], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                       text=True, check=True)
    return r.stdout.strip()


def shell_folder(key, name):
    """(type, value) of one of the user's shell folders in the registry, None when it is not set."""
    status, out = wine("reg", "query", key, "/v", name, output=True)
    for line in out.splitlines() if status == 0 else []:
        fields = line.split(None, 2)
        if len(fields) == 3 and fields[0] == name:
            return fields[1], fields[2]
    return None


def black_share(png):
    """The share of the picture's pixels that are pure black: a window whose picture was not painted."""
    r = subprocess.run(["convert", png, "-alpha", "off", "-fill", "white", "+opaque", "black", "-colorspace", "gray",
                        "-format", "%[fx:1-mean]", "info:"], stdout=subprocess.PIPE, text=True, check=True)
    return float(r.stdout)


def save_for_guide(driver, name, hwnd):
    """Saves one window as guide/NAME.png among the run's artifacts; it must have painted."""
    time.sleep(0.5)  # every control painted
    bmp = driver.screenshot("guide-" + name, hwnd)
    folder = os.path.join(os.environ.get("ZT_ARTIFACTS", "."), "guide")
    os.makedirs(folder, exist_ok=True)
    png = os.path.join(folder, name + ".png")
    subprocess.run(["convert", bmp, png], check=True)
    os.unlink(bmp)
    share = black_share(png)
    if share > 0.3:
        raise AssertionError("%s is %d %% black: the window was not painted" % (name, share * 100))


def search(d, win):
    d.click(win, IDC_SETUP)
    d.gone(d.find("Searching for devices", timeout=10000), timeout=30000)
    tree = d.child(win, TREE)
    wait_until(lambda: [t for _, _, t in d.tree(tree)] == ["NAS1", "NAS2", "NAS3"], what="three appliances")
    return tree


def select(d, win, tree, name, server_name):
    d.tree_select(tree, name)
    wait_until(lambda: values(d, win)[:1] == [server_name], what=name + "'s settings")


class Shortcut(unittest.TestCase):
    """The Shortcut button names the link after the appliance last read and shows the shortcut notice."""

    def setUp(self):
        self.sim = zsimctl.Control(CONTROL)
        self.addCleanup(self.sim.close)
        # The prefix's desktop is the Unix home: the test's own folder stands in for it.
        self.root = tempfile.mkdtemp(prefix="zt-guide-")
        self.addCleanup(shutil.rmtree, self.root, True)
        self.desktop = os.path.join(self.root, "Desktop")
        os.mkdir(self.desktop)
        self.desktop_win = windows_path(self.desktop)
        # The shell keeps the folder it found under Shell Folders: that value is put back too.
        for key in (SHELL_FOLDERS, SHELL_FOLDERS_FOUND):
            old = shell_folder(key, "Desktop")
            if old is None:
                self.addCleanup(wine, "reg", "delete", key, "/v", "Desktop", "/f")
            else:
                self.addCleanup(wine, "reg", "add", key, "/v", "Desktop", "/t", old[0], "/d", old[1], "/f")
        self.assertEqual(wine("reg", "add", SHELL_FOLDERS, "/v", "Desktop", "/t", "REG_EXPAND_SZ", "/d",
                              self.desktop_win, "/f"), 0)
        status, out = wine(LINKINFO, "desktop", output=True)
        self.assertEqual((status, out.strip().lower()), (0, self.desktop_win.lower()), "the desktop is moved")
        # A file of the shortcut's name that is no shortcut: the button overwrites it.
        with open(os.path.join(self.desktop, "NAS1.lnk"), "wb") as f:
            f.write(b"not a shortcut, and longer than one so that a short write would leave a tail" * 20)

    def links(self):
        return sorted(n for n in os.listdir(self.desktop) if n.endswith(".lnk"))

    def read_link(self, name):
        status, out = wine(LINKINFO, "read", self.desktop_win + "\\" + name, output=True)
        self.assertEqual(status, 0, name + " is not a shortcut")
        return out.splitlines()

    def expect_save_failed(self, d):
        box = d.msgbox(timeout=10000)
        self.assertEqual(box[2], "Save failed!")
        d.answer(box[0], IDOK)
        d.gone(box[0])
        self.assertEqual(d.count("Setup notice"), 0, "no shortcut notice after a failure")

    def test_shortcut_to_the_appliance_read_and_none_for_a_refused_name(self):
        with Driver(ZDRIVE) as d:
            app = d.start(SETUP_EXE)
            win = d.find("Setup Wizard", timeout=30000)

            step("before any appliance is read there is no name: nothing is written")
            status, _ = wine(LINKINFO, "read", self.desktop_win + "\\NAS1.lnk", output=True)
            self.assertEqual(status, 1, "linkinfo tells a file that is no shortcut")
            d.post(win, WM_COMMAND, IDC_SHORTCUT)
            self.expect_save_failed(d)
            self.assertEqual(self.links(), ["NAS1.lnk"])

            step("NAS1 read: NAS1.lnk, written over, to \\\\NAS1 and the notice with its name, which closes itself")
            tree = search(d, win)
            select(d, win, tree, "NAS1", "NAS1")
            d.post(win, WM_COMMAND, IDC_SHORTCUT)
            notice = d.find("Setup notice", timeout=10000)
            self.assertEqual(d.text(notice, NOTICE_TEXT), "NAS1")
            self.assertTrue(d.state(d.child(notice, NOTICE_TEXT))["visible"])
            self.assertFalse(d.state(d.child(notice, IDOK))["visible"], "the shortcut notice has no Exit")
            time.sleep(0.5)
            picture = d.screenshot("shortcut_notice", notice)
            self.assertLess(black_share(picture), 0.3, "the notice's picture was painted")
            d.gone(notice, timeout=6000)
            d.no_msgbox(300)
            self.assertEqual(self.links(), ["NAS1.lnk"])
            self.assertEqual(self.read_link("NAS1.lnk"),
                             ["\\\\NAS1", "Shortcut to NAS1", "C:\\Zentrive\\Zentrive.ico", "0"])

            step("a name that would leave the desktop: Save failed! and no file anywhere")
            self.sim.ok("set NAS1 server-name ..\\NAS9")
            try:
                select(d, win, tree, "NAS2", "NAS2")
                select(d, win, tree, "NAS1", "..\\NAS9")
                d.post(win, WM_COMMAND, IDC_SHORTCUT)
                self.expect_save_failed(d)
            finally:
                self.sim.ok("set NAS1 server-name NAS1")
            self.assertEqual(self.links(), ["NAS1.lnk"])
            self.assertEqual(os.listdir(self.root), ["Desktop"], "nothing beside the desktop")

            step("NAS2 read: its own shortcut beside the first")
            select(d, win, tree, "NAS2", "NAS2")
            d.post(win, WM_COMMAND, IDC_SHORTCUT)
            notice = d.find("Setup notice", timeout=10000)
            self.assertEqual(d.text(notice, NOTICE_TEXT), "NAS2")
            d.gone(notice, timeout=6000)
            self.assertEqual(self.links(), ["NAS1.lnk", "NAS2.lnk"])
            self.assertEqual(self.read_link("NAS2.lnk")[:2], ["\\\\NAS2", "Shortcut to NAS2"])

            d.click(win, IDC_CLOSE)
            self.assertEqual(app.wait(timeout=30), 0)


class GuidePictures(unittest.TestCase):
    """The walk the guide describes, with a picture of each step it shows."""

    def test_1_wizard_sets_up_nas1(self):
        sim = zsimctl.Control(CONTROL)
        self.addCleanup(sim.close)
        before = bytes.fromhex(sim.ok("record NAS1"))
        with Driver(ZDRIVE) as d:
            app = d.start(SETUP_EXE)
            win = d.find("Setup Wizard", timeout=30000)
            save_for_guide(d, "wizard-welcome", win)

            step("device list")
            tree = search(d, win)
            select(d, win, tree, "NAS1", "NAS1")
            save_for_guide(d, "wizard-device-list", win)

            step("password")
            d.click(win, IDC_NEXT)
            pw = d.find("Verify admin password", timeout=5000)
            d.type(d.child(pw, PASSWORD_EDIT), "admin")
            save_for_guide(d, "wizard-password", pw)
            d.click(pw, PASSWORD_OK)
            d.gone(pw, timeout=10000)

            step("IP settings, server page, summary")
            wait_until(lambda: shown(d, win, IP_FIRST), what="the IP settings page")
            save_for_guide(d, "wizard-ip-settings", win)
            d.click(win, IDC_NEXT)
            wait_until(lambda: shown(d, win, SERVER_NAME), what="the server page")
            self.assertEqual(d.text(win, SERVER_NAME), "NAS1")
            save_for_guide(d, "wizard-server", win)
            d.click(win, IDC_NEXT)
            wait_until(lambda: shown(d, win, SUMMARY_NAME), what="the summary page")
            self.assertEqual(d.text(win, SUMMARY_NAME), "NAS1")
            save_for_guide(d, "wizard-summary", win)

            step("confirmation, write, success notice")
            d.click(win, IDC_SAVE)
            confirm = d.find("Confirm settings", timeout=5000)
            save_for_guide(d, "wizard-confirm", confirm)
            d.click(confirm, IDOK)
            notice = d.find("Setup notice", timeout=30000)
            save_for_guide(d, "wizard-saved", notice)
            d.gone(notice, timeout=6000)

            step("finish page and the offer of the utility")
            offer = d.msgbox(timeout=10000)
            self.assertEqual(offer[2], "Do you want to install Drivelet utility")
            d.answer(offer[0], IDNO)
            wait_until(lambda: not shown(d, win, SUMMARY_NAME), what="the finish page")
            save_for_guide(d, "wizard-finish", win)
            d.click(win, IDC_EXIT)
            self.assertEqual(app.wait(timeout=30), 0)
        # Nothing was edited: the appliance stored its own settings again, but for the note, which a written
        # server name clears.
        expected = bytearray(before)
        expected[6:70] = b"NAS1".ljust(64, b"\0")
        self.assertEqual(bytes.fromhex(sim.ok("record NAS1")), bytes(expected))
        sim.ok("record NAS1 " + before.hex())

    def test_2_utility_maps_removes_and_ejects(self):
        sim = zsimctl.Control(CONTROL)
        self.addCleanup(sim.close)
        self.assertEqual(wine(ZTNPREG, "install"), 0)
        self.addCleanup(wine, ZTNPREG, "remove")
        with Driver(ZDRIVE) as d:
            app = d.start(PEBBLINK)
            step("start-up: one offer per shared disk")
            offer = d.find("Map Network Drive", "#32770", timeout=30000)
            self.assertEqual(d.text(offer, TRAY_PATH), "\\\\NAS1\\usb")
            save_for_guide(d, "tray-map-drive", offer)
            d.click(offer, IDOK)
            d.gone(offer)
            offer = d.find("Map Network Drive", "#32770", timeout=15000)
            self.assertEqual(d.text(offer, TRAY_PATH), "\\\\NAS2\\usb")
            d.click(offer, IDOK)
            d.gone(offer)

            step("the icon's menu")
            main = d.find("Pebblink Utility", timeout=5000, hidden=True)
            d.post(main, WM_USER, TRAY_ICON, WM_RBUTTONUP)
            menu = d.find("", "#32768", timeout=5000)
            save_for_guide(d, "tray-menu", menu)
            d.post(main, WM_CANCELMODE)
            d.gone(menu, timeout=5000)

            step("NAS1's disk pulled: its drive letter goes")
            sim.ok("pull NAS1 announce=%s" % PC)
            removed = d.find("Delete Network Drive", "#32770", timeout=15000)
            self.assertRegex(d.text(removed, TRAY_NOTICE_TEXT), r"^[D-Z]:\\\\NAS1\\usb  has been removed\.$")
            save_for_guide(d, "tray-drive-removed", removed)
            d.click(removed, IDOK)
            d.gone(removed)

            step("safe removal of NAS2's disk")
            d.post(main, WM_COMMAND, ID_SAFELY_REMOVE)
            safe = d.find("Safely Remove Network USB", "#32770", timeout=30000)
            tree = d.child(safe, TRAY_TREE)
            wait_until(lambda: [t for _, _, t in d.tree(tree)] == ["NAS2"], what="NAS2 alone in the list")
            d.tree_select(tree, "NAS2")
            save_for_guide(d, "tray-safe-remove", safe)
            d.click(safe, TRAY_EJECT)
            box = d.msgbox(timeout=30000)
            self.assertEqual(box[2], "The USB disk  NAS2  can now be safely removed from the system.")
            save_for_guide(d, "tray-ejected", box[0])
            d.answer(box[0], IDOK)
            d.click(safe, 2)
            d.gone(safe)

            d.post(main, WM_COMMAND, ID_APP_EXIT)
            self.assertEqual(app.wait(timeout=20), 0)
        sim.ok("plug NAS1")
        sim.ok("plug NAS2")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
