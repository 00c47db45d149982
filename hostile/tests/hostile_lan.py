#!/usr/bin/env python3
"""A hostile LAN: while zflood (on its own lab host) floods the wizard's channels and port 917 with malformed
datagrams from its own and forged addresses, the real Zentrive_Setup.exe configures the simulated appliance
from end to end (search, select, IP settings, server page, Save, confirmation, success notice) and the real
Pebblink.exe offers the appliance's disk, which is mapped. The run fails unless the record that reached the
simulator is exactly the edited one, the disk is mapped, neither program crashed, the tray answered window
messages throughout, and the working sets of both programs stayed within a bound. It prints a table of the
working sets before, during and after the flood, and the flooder's own table.

    hostile_lan.py ZDRIVE SETUP PEBBLINK ZTNPREG TRAY_POST SIM_CONTROL SIM_LOG TARGETS_FILE FLOOD_REPORT
"""
import json
import os
import subprocess
import sys
import threading
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "wizard", "pages", "tests"))
from flowlib import (IDC_EXIT, IDC_NEXT, IDC_SAVE, IDC_SETUP, IDC_UTILITY, IDOK, IP, SERVER_NAME,  # noqa: E402
                     SUMMARY_NAME, TREE, VALUES, Driver, DriverError, bar, shown, step, wait_until, zsimctl)

ZDRIVE, SETUP, PEBBLINK, ZTNPREG, TRAY_POST, SIM_CONTROL, SIM_LOG, TARGETS, FLOOD_REPORT = sys.argv[1:10]
PC = os.environ.get("ZT_PC_ADDR1", "198.18.1.1")
GENUINE = "\\\\NAS1\\usb"
# Working-set growth allowed from the sample before the flood to any later one, per program.
GROWTH_BOUND_MB = 64
# The longest the tray may take to answer a window message while the flood runs.
RESPONSE_BOUND_MS = 2000
FLOOD_RATE = 400  # zflood's --rate in this test's declaration
FLOOD_SECONDS = 40  # the least time the flood lasts, however fast the wizard is through

WM_COMMAND, ID_APP_EXIT = 0x111, 57665

failures = []
lock = threading.Lock()


def check(cond, what):
    with lock:
        print(("ok   " if cond else "FAIL ") + what, flush=True)
        if not cond:
            failures.append(what)
    return cond


# ---- The flood's targets: every UDP port the PC's programs have open, as the flooder cannot see them -------

def pc_udp_ports():
    ports = set()
    with open("/proc/net/udp") as f:
        next(f)
        for line in f:
            local = line.split()[1]
            address, port = local.split(":")
            octets = bytes.fromhex(address)[::-1]
            if octets[0] != 127:
                ports.add(int(port, 16))
    return sorted(ports)


def write_targets(lines):
    tmp = TARGETS + ".tmp"
    with open(tmp, "w") as f:
        f.write("".join(line + "\n" for line in lines))
    os.replace(tmp, TARGETS)


# ---- Working sets ---------------------------------------------------------------------------------------------

def rss_mb(exe_name):
    """The largest VmRSS, in MB, of the processes running exe_name (the Windows program itself under Wine)."""
    best = None
    if exe_name in ended:
        return None
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                argv0 = f.read().split(b"\0")[0].decode("utf-8", "replace")
            if not argv0.lower().endswith(exe_name.lower()):
                continue
            with open("/proc/%s/status" % pid) as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        kb = int(line.split()[1])
                        best = max(best or 0, kb / 1024.0)
        except OSError:
            continue
    return best


samples = []
ended = set()  # programs that have ended: nothing of theirs is sampled any more


def sample(phase):
    row = (phase, rss_mb("Zentrive_Setup.exe"), rss_mb("Pebblink.exe"))
    with lock:
        samples.append(row)
    return row


def print_table():
    print("\nworking sets (VmRSS, MB)")
    print("  %-14s %16s %12s" % ("phase", "Zentrive_Setup", "Pebblink"))
    fmt = lambda v: "%12.1f" % v if v is not None else "%12s" % "-"
    for phase, setup, tray in samples:
        print("  %-14s %16s %12s" % (phase, fmt(setup), fmt(tray)))


# ---- The parts ------------------------------------------------------------------------------------------------

class Flood:
    """Keeps the flooder's targets file up to date with the PC's ports until stopped, and gives it the names
    the LAN really uses (the appliance's disk path, which the tray maps, and its server name), so that its
    notices of every type also name them."""

    def __init__(self, names):
        self.names = names
        self.running = True
        self.ports = set()  # every PC port that was a target at some time
        self.seconds = 0.0
        self.thread = threading.Thread(target=self.run, daemon=True)

    def start(self):
        self.started = time.time()
        self.thread.start()

    def run(self):
        next_sample = time.time() + 5
        while self.running:
            ports = pc_udp_ports()
            self.ports.update(ports)
            write_targets(["%s:%d" % (PC, p) for p in ports] + ["name=" + n for n in self.names])
            if time.time() >= next_sample:
                sample("during %3.0f s" % (time.time() - flood_started))
                next_sample += 5
            time.sleep(0.5)

    def stop(self):
        self.seconds = time.time() - self.started
        self.running = False
        self.thread.join(timeout=5)
        write_targets(["stop"])


class Tray:
    """Works off whatever the tray shows while the wizard is driven: forged offers are cancelled, the genuine
    one is mapped, wrong-port warnings are confirmed; the appliance re-announces its disk until it is mapped.
    Also asks the tray to answer a window message, again and again."""

    def __init__(self, sim):
        self.sim = sim
        self.mapped = False
        self.forged_offers = 0
        self.warnings = 0
        self.removals = 0
        self.boxes = []
        self.slowest_ms = 0
        self.late = 0
        self.done = False
        self.error = None
        self.thread = threading.Thread(target=self.run, daemon=True)

    def respond(self):
        out = subprocess.run(["wine", TRAY_POST, "respond", "Pebblink Utility", str(RESPONSE_BOUND_MS), "5", "100"],
                             capture_output=True, text=True)
        try:
            self.slowest_ms = max(self.slowest_ms, int(out.stdout.strip()))
        except ValueError:
            self.late += 1
        if out.returncode != 0:
            self.late += 1

    def run(self):
        try:
            with Driver(ZDRIVE) as d:
                next_announce = 0
                next_probe = 0
                while not self.done:
                    now = time.time()
                    if not self.mapped and now >= next_announce:
                        self.sim.ok("notice NAS1 available %s" % PC)
                        next_announce = now + 3
                    if now >= next_probe:
                        self.respond()
                        next_probe = time.time() + 2
                    self.work_off(d)
        except Exception:
            self.error = traceback.format_exc()

    def work_off(self, d):
        try:
            dlg = d.find("Map Network Drive", "#32770", timeout=300)
        except DriverError:
            dlg = None
        if dlg:
            path = d.text(dlg, 1002)
            if path == GENUINE and not self.mapped:
                time.sleep(0.3)
                d.screenshot("hostile_genuine_offer", dlg)
                d.click(dlg, IDOK)
                self.mapped = True
                step("the genuine offer was shown and mapped")
            else:
                self.forged_offers += 1
                d.click(dlg, 2)
            try:
                d.gone(dlg, timeout=3000)
            except DriverError:
                pass
        try:
            warn = d.find("Warning", "#32770", timeout=50)
            d.child(warn, 1006)  # the wrong-port warning, not a message box
            self.warnings += 1
            d.click(warn, IDOK)
        except DriverError:
            pass
        try:
            gone = d.find("Delete Network Drive", "#32770", timeout=50)
            self.removals += 1
            d.click(gone, IDOK)
        except DriverError:
            pass
        try:
            box = d.msgbox(timeout=50)
            self.boxes.append(box[1:])
            d.answer(box[0], IDOK)
        except DriverError:
            pass


def configure(d, win):
    step("Setup: the device list page searches")
    d.click(win, IDC_SETUP)
    search = d.find("Searching for devices", timeout=15000)
    d.gone(search, timeout=60000)
    tree = d.child(win, TREE)
    names = [t for _, _, t in d.tree(tree)]
    check(names == ["NAS1"], "the search lists the appliance and nothing forged (%r)" % names)
    values = d.child(win, VALUES)
    d.tree_select(tree, "NAS1")
    wait_until(lambda: d.list_rows(values) and d.list_rows(values)[0][1][1:] == ["NAS1"], timeout=30,
               what="NAS1's values")
    got = [r[1][1] if len(r[1]) > 1 else "" for r in d.list_rows(values)]
    check(got[:4] == ["NAS1", "198.18.1.10", "255.255.255.0", "198.18.1.1"], "NAS1's values as served (%r)" % got)
    d.screenshot("hostile_device_list", win)

    step("IP settings: a new address")
    d.click(win, IDC_NEXT)
    wait_until(lambda: shown(d, win, IP[0]), timeout=30, what="the IP settings page")
    check([d.text(win, i) for i in IP] == ["198", "18", "1", "10"], "the IP settings page loads the address")
    d.replace(d.child(win, IP[3]), "77")
    d.click(win, IDC_NEXT)

    step("server page: a new name")
    wait_until(lambda: shown(d, win, SERVER_NAME), what="the server page")
    name = d.child(win, SERVER_NAME)
    check(d.text(name) == "NAS1", "the server page loads the name")
    d.replace(name, "NAS-7")
    d.click(win, IDC_NEXT)

    step("summary, Save, confirmation, the write")
    wait_until(lambda: shown(d, win, SUMMARY_NAME), what="the summary page")
    check(d.text(win, SUMMARY_NAME) == "NAS-7", "the summary shows the new name")
    d.click(win, IDC_SAVE)
    d.click(d.find("Confirm settings", timeout=10000), IDOK)
    notice = d.find("Setup notice", timeout=180000)
    d.screenshot("hostile_saved", notice)
    d.gone(notice, timeout=10000)
    wait_until(lambda: bar(d, win) == [IDC_UTILITY, IDC_EXIT], timeout=15, what="the finish page's bar")
    d.screenshot("hostile_finish", win)


def start_logged(d, exe, name):
    """Starts a program under test with its own stderr log, where Wine reports a crash of it."""
    log = open(os.path.join(os.environ.get("ZT_ARTIFACTS", "/tmp"), "hostile_%s.stderr" % name), "w+")
    p = subprocess.Popen(["wine", exe], stderr=log)
    d.started.append(p)
    crash_logs[name] = log
    return p


crash_logs = {}


def crashes(name):
    log = crash_logs[name]
    log.flush()
    log.seek(0)
    return [line.strip() for line in log if "Unhandled" in line or "page fault" in line or "Assertion" in line]


def mapped_remote_paths():
    out = subprocess.run(["wine", "reg", "query", "HKCU\\Network", "/s"], capture_output=True, text=True,
                         errors="replace")
    return [line.split()[-1] for line in out.stdout.splitlines() if "RemotePath" in line]


def main():
    global flood_started
    sim = zsimctl.Control(SIM_CONTROL)
    before = bytes.fromhex(sim.ok("record NAS1"))
    disk = json.loads(sim.ok("show NAS1"))["disk"]
    check(disk == GENUINE, "the appliance serves the disk the tray is to map (%r)" % disk)
    check(subprocess.run(["wine", ZTNPREG, "install"]).returncode == 0, "network provider installed")
    flood = Flood([disk, disk[2:].split("\\")[0]])
    tray = Tray(sim)
    try:
        with Driver(ZDRIVE) as d:
            step("both programs start; the tray's start-up offer of the disk is put off")
            pebblink = start_logged(d, PEBBLINK, "Pebblink")
            first = d.find("Map Network Drive", "#32770", timeout=30000)
            check(d.text(first, 1002) == GENUINE, "the start-up discovery offers the disk")
            d.click(first, 2)
            d.gone(first)
            setup = start_logged(d, SETUP, "Zentrive_Setup")
            win = d.find("Setup Wizard", timeout=30000)
            time.sleep(2)
            sample("before")

            step("the flood starts")
            flood_started = time.time()
            flood.start()
            wait_until(lambda: os.path.exists(TARGETS), what="the targets file")
            tray.thread.start()
            configure(d, win)
            sample("finish page")
            wait_until(lambda: tray.mapped or tray.error, timeout=90, what="the genuine offer")
            sample("disk mapped")
            while time.time() - flood_started < FLOOD_SECONDS:
                time.sleep(1)
            step("the flood stops")
            flood.stop()
            time.sleep(4)  # the tray's side works off what the flood left queued
            tray.done = True
            tray.thread.join(timeout=30)
            sample("after")
            check(setup.poll() is None and pebblink.poll() is None, "both programs are still running")
            tray.respond()
            d.click(win, IDC_EXIT)
            check(setup.wait(timeout=60) == 0, "the wizard ends normally after Exit")
            ended.add("Zentrive_Setup.exe")
            d.post(d.find("Pebblink Utility", hidden=True), WM_COMMAND, ID_APP_EXIT)
            check(pebblink.wait(timeout=30) == 0, "the tray utility ends normally on Exit")
            ended.add("Pebblink.exe")
    finally:
        flood.running = False
        write_targets(["stop"])
        tray.done = True
        paths = mapped_remote_paths()
        subprocess.run(["wine", ZTNPREG, "remove"])

    for name in crash_logs:
        check(not crashes(name), "%s did not crash (%r)" % (name, crashes(name)))
    if tray.error:
        check(False, "the tray's side ran through:\n" + tray.error)
    check(tray.mapped, "the genuine offer was shown and OK pressed")
    check(GENUINE in paths, "the disk is mapped (%r)" % paths)
    check(tray.removals == 0, "no removal notice of the flood's was acted on (%d)" % tray.removals)
    check(not tray.boxes, "no message box came up (%r)" % tray.boxes)
    check(tray.late == 0 and tray.slowest_ms < RESPONSE_BOUND_MS,
          "the tray answered every window message within %d ms (slowest %d ms)" % (RESPONSE_BOUND_MS, tray.slowest_ms))
    print("tray: %d forged offers cancelled, %d wrong-port warnings confirmed" % (tray.forged_offers, tray.warnings))

    after = bytes.fromhex(sim.ok("record NAS1"))
    expected = bytearray(before)
    expected[6:70] = b"NAS-7".ljust(64, b"\0")  # the name, and the note cleared with it
    expected[91:95] = bytes([198, 18, 1, 77])
    diff = [i for i in range(234) if after[i] != expected[i]]
    check(not diff, "the stored record is the edited one (bytes differing: %r)" % diff)
    writes = [r for r in zsimctl.read_log(SIM_LOG, dir="rx", service="config") if r.get("decoded", {}).get("wType") == 17]
    check(writes and all(r["peer"].startswith(PC + ":") for r in writes), "every write came from the PC")
    sim.close()

    for _ in range(20):
        if os.path.exists(FLOOD_REPORT):
            break
        time.sleep(0.25)
    if check(os.path.exists(FLOOD_REPORT), "the flooder wrote its report"):
        report = open(FLOOD_REPORT).read()
        print("\n" + report)
        sent = int(report.split(" sent,")[0].split()[-1])
        check(sent >= 0.5 * FLOOD_RATE * flood.seconds,
              "the flood went on throughout: %d datagrams in %.0f s" % (sent, flood.seconds))
    check(917 in flood.ports and len(flood.ports) >= 3,
          "the flood reached port 917 and the wizard's channels (ports %r)" % sorted(flood.ports))
    print_table()
    base = samples[0]
    for phase, setup_mb, tray_mb in samples[1:]:
        for name, value, start in (("Zentrive_Setup", setup_mb, base[1]), ("Pebblink", tray_mb, base[2])):
            if value is not None and start is not None and value - start > GROWTH_BOUND_MB:
                check(False, "%s grew by %.1f MB by '%s' (bound %d MB)" % (name, value - start, phase, GROWTH_BOUND_MB))
    check(base[1] is not None and base[2] is not None, "both working sets were sampled before the flood")
    check(len(samples) >= 5, "working sets sampled during the flood (%d samples)" % len(samples))


flood_started = time.time()
try:
    main()
except Exception:
    check(False, "the scenario ran through:\n" + traceback.format_exc())
sys.exit(1 if failures else 0)
