#!/usr/bin/python3
"""The distribution as a user runs it, inside a winetest run: the real Zentrive_Setup.exe started from a folder
laid out as the distribution (Manual.pdf, Utility\\Setup.exe beside it). Its welcome page is saved for the user
guide; its Drivelet button runs the real installer, which starts the utility; its User Guide button, on a PC
without a program for PDF files, says so. The utility is uninstalled at the end.

  distribution_scenario.py ZDRIVE.exe Zentrive_Setup.exe Manual.pdf Setup.exe
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "automation"))
from zdrive import IDOK, Driver  # noqa: E402

ZDRIVE, SETUP_EXE, MANUAL, INSTALLER = sys.argv[1:5]
IDC_USER_GUIDE, IDC_UTILITY, IDC_EXIT = 1044, 1054, 1033
UNINSTALLER = r"C:\Program Files\Zentrive\Drivelet Utility\Uninstall.exe"


def wine(*args):
    return subprocess.run(["wine"] + list(args), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


def wait_for_process(command_part, seconds):
    """Whether a process whose command line holds command_part appears within the time."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    if command_part.encode() in f.read():
                        return True
            except OSError:
                pass
        time.sleep(0.2)
    return False


def save_for_guide(driver, name, hwnd):
    """Saves one window as guide/NAME.png among the run's artifacts, where the guide's build looks."""
    bmp = driver.screenshot("guide-" + name, hwnd)
    folder = os.path.join(os.environ.get("ZT_ARTIFACTS", "."), "guide")
    os.makedirs(folder, exist_ok=True)
    subprocess.run(["convert", bmp, os.path.join(folder, name + ".png")], check=True)
    os.unlink(bmp)


class Distribution(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="zt-dist-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        shutil.copy(SETUP_EXE, os.path.join(self.folder, "Zentrive_Setup.exe"))
        shutil.copy(MANUAL, os.path.join(self.folder, "Manual.pdf"))
        os.mkdir(os.path.join(self.folder, "Utility"))
        shutil.copy(INSTALLER, os.path.join(self.folder, "Utility", "Setup.exe"))
        # A PC without a program for PDF files (the prefix is made anew for every test run).
        wine("reg", "delete", r"HKEY_CLASSES_ROOT\.pdf", "/f")

    def test_welcome_page_installs_the_utility_and_reports_the_missing_pdf_program(self):
        with Driver(ZDRIVE) as d:
            wizard = d.start("Zentrive_Setup.exe", cwd=self.folder)
            win = d.find("Setup Wizard", timeout=30000)
            save_for_guide(d, "wizard-welcome", win)

            d.click(d.child(win, IDC_UTILITY))
            d.no_msgbox(wait=3000)
            # The utility's window is hidden, which the driver does not look for: the process shows it runs.
            self.assertTrue(wait_for_process(r"Drivelet Utility\Pebblink.exe", 60), "the utility was not started")
            d.no_msgbox()

            d.click(d.child(win, IDC_USER_GUIDE))
            box = d.msgbox(timeout=10000)
            self.assertEqual(box[2], "There is no application associated with the given filename extension.")
            d.answer(box[0], IDOK)

            d.click(d.child(win, IDC_EXIT))
            self.assertEqual(wizard.wait(timeout=30), 0)
        self.assertEqual(wine(UNINSTALLER, "/S", r"_?=C:\Program Files\Zentrive\Drivelet Utility"), 0)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
