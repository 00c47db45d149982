#!/usr/bin/env python3
"""Lab scenarios of the zentrive tool, run in the PC namespace of a lab whose hosts run zsim (CMakeLists.txt).

  cli_lab.py --zentrive CMD --work DIR search_show   search, show, timezones: two interfaces, loss, a password,
                                                     an appliance outside the subnet, two with one name
  cli_lab.py ... set                                 set: dry run, password with loss, wrong password,
                                                     refusal, outside the subnet, no answer, bad fields
  cli_lab.py ... apply                               apply: 100 appliances, dry run first, a bad table, partial
  cli_lab.py ... disks                               disks, eject (both interfaces, in use, unknown), watch

CMD is the tool's command (`zentrive`, or `wine zentrive.exe` with --wine). Each scenario runs the built tool, checks
its output and exit code, and checks what reached the appliances in the simulator's JSON log.
"""
import argparse
import csv
import io
import json
import os
import shlex
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "lab"))
import zlab  # noqa: E402
from labcheck import check, verdict, zsimctl  # noqa: E402

TOOL = []
WORK = ""
WINE = False


class Tool:
    """The tool running with its output in files: under Wine, processes the tool starts may keep a pipe open
    after it ended, so the end of the tool is its exit, not the end of its output."""

    def __init__(self, args, stdin=None):
        self.args = list(args)
        self.out = tempfile.TemporaryFile("w+")
        self.err = tempfile.TemporaryFile("w+")
        self.proc = subprocess.Popen(TOOL + self.args, stdin=stdin, stdout=self.out, stderr=self.err, text=True)

    def finish(self, timeout=400):
        code = self.proc.wait(timeout)
        self.out.seek(0)
        self.err.seek(0)
        out, err = self.out.read(), self.err.read()
        print("$ zentrive %s -> %d\n%s%s" % (" ".join(self.args), code, out, err))
        return code, out, err


def run(*args):
    """Runs the tool; (exit code, stdout, stderr)."""
    return Tool(args, stdin=subprocess.DEVNULL).finish()


def tool_path(path):
    """A file name as the tool sees it: under Wine, Unix files are on drive Z:."""
    return "Z:" + path.replace("/", "\\") if WINE else path


def sim(name):
    return zsimctl.Control(os.path.join(WORK, name + ".sock"))


def log(name, **match):
    return zsimctl.read_log(os.path.join(WORK, name + ".log"), **match)


def rx(name, wtype):
    return [r for r in log(name, dir="rx", service="config") if r["decoded"].get("wType") == wtype]


def mark(name, text):
    sim(name).ok("mark " + text)


def since_mark(name, text, **match):
    records = log(name)
    for i, r in enumerate(records):
        if r["dir"] == "event" and r["note"] == "mark " + text:
            records = records[i + 1:]
            break
    return [r for r in records if all(r.get(k) == v for k, v in match.items())]


def by_name(rows):
    return {r["name"]: r for r in rows}


# ---- search, show, timezones -------------------------------------------------------------------------------

def scenario_search_show():
    code, out, _ = run("search", "--format", "json")
    check(code == 0, "search exits 0")
    found = json.loads(out) if code == 0 else []
    names = sorted(r["name"] for r in found)
    check(names == ["LOSSY", "NAS1", "NAS2", "NAS9", "TWIN", "TWIN"], "search finds all six: %s" % names)
    rows = by_name(found)
    if "NAS2" in rows and "NAS1" in rows:
        check(rows["NAS2"]["interface"] == "198.18.2.1", "NAS2 answered through the second interface")
        check(rows["NAS1"]["interface"] == "198.18.1.1", "NAS1 answered through the first interface")
        check(rows["NAS1"]["password"] == "yes" and rows["NAS2"]["password"] == "no", "password flags")
        check(rows["NAS9"]["ip"] == "198.18.9.10", "the appliance outside the subnet is listed at its address")
    # The wizard's schedule: four broadcasts through the first address, three through the second, one number.
    first = [r for r in rx("search_a1", 16) if r["peer"].startswith("198.18.1.1:")]
    second = [r for r in rx("search_a2", 16) if r["peer"].startswith("198.18.2.1:")]
    check(len(first) == 4 and len(second) == 3, "4 + 3 broadcasts (%d, %d)" % (len(first), len(second)))
    check(all(r["local"] == "255.255.255.255:915" for r in first + second), "the search only broadcasts")
    check(len({r["decoded"]["wSequence"] for r in first + second}) == 1, "one sequence number for the search")
    if len(first) == 4:
        gaps = [first[i + 1]["ms"] - first[i]["ms"] for i in range(3)]
        check(all(1800 <= g <= 2400 for g in gaps), "two seconds apart: %s" % gaps)

    code, out, _ = run("search", "--interface", "198.18.2.1", "--timeout", "3", "--format", "csv")
    listed = list(csv.DictReader(io.StringIO(out)))
    check(code == 0 and [r["name"] for r in listed] == ["NAS2"], "--interface keeps to that interface")

    code, _, err = run("show", "TWIN", "--timeout", "3")
    check(code == 1, "a name of two appliances is a usage error")
    check("02:5a:54:12:01:0b" in err and "02:5a:54:12:01:0c" in err, "both are listed")

    mark("search_a1", "show NAS1")
    code, out, _ = run("show", "NAS1", "--timeout", "3", "--format", "json")
    shown = json.loads(out) if code == 0 else {}
    check(shown.get("name") == "NAS1" and shown.get("workgroup") == "LAB", "show NAS1")
    check(shown.get("timezone") == "22 (GMT) Greenwich Mean Time: Edinburgh, London", "time zone shown by name")
    check(shown.get("password") == "yes" and shown.get("ip") == "198.18.1.10", "password flag and address")
    reads = [r for r in since_mark("search_a1", "show NAS1", dir="rx", service="config")
             if r["decoded"].get("wType") == 16 and r["appliance"] == "NAS1"]
    check(len(reads) == 1 and reads[0]["local"] == "198.18.1.10:915", "the read goes to the appliance itself")

    code, out, _ = run("show", "02:5a:54:12:09:0a", "--format", "json")
    check(code == 0 and json.loads(out).get("name") == "NAS9", "show by MAC outside the subnet")
    reads = rx("search_off", 16)
    check(all(r["local"] == "255.255.255.255:915" for r in reads), "outside the subnet, only broadcasts")

    code, out, _ = run("show", "198.18.2.10", "--format", "csv")
    listed = list(csv.DictReader(io.StringIO(out)))
    check(code == 0 and listed and listed[0]["timezone"].startswith("50 "), "show by address behind interface 2")

    code, _, err = run("show", "NOSUCH", "--timeout", "2")
    check(code == 2 and "NOSUCH" in err, "an unknown appliance exits 2")

    code, out, _ = run("timezones", "--format", "csv")
    zones = list(csv.DictReader(io.StringIO(out)))
    check(code == 0 and len(zones) == 63, "63 time zones")
    check(zones[40]["name"] == "(GMT+05:00) Ekaterinburg", "the server page's names")


# ---- set --------------------------------------------------------------------------------------------------

PW_MAC = "02:5a:54:12:01:0a"


def record(name, control="set_a1"):
    return bytes.fromhex(sim(control).ok("record " + name).strip())


def changed_offsets(before, after):
    return [i for i in range(len(before)) if before[i] != after[i]]


def scenario_set():
    pw_file = os.path.join(WORK, "pw")
    wrong_file = os.path.join(WORK, "wrong")
    with open(pw_file, "w") as f:
        f.write("secret\n")
    with open(wrong_file, "w") as f:
        f.write("guess\n")

    for bad in (["--name", "A B"], ["--date", "2026-02-30"], ["--ip", "198.18.1.300"], ["--timezone", "Atlantis"], []):
        code, _, _ = run("set", "PW", *bad)
        check(code == 1, "refused before the network: %s" % bad)
    check(rx("set_a1", 16) == [], "bad fields send nothing")

    before = record("PW")
    code, out, _ = run("set", PW_MAC, "--name", "NEWNAME", "--timezone", "50", "--dry-run", "--format", "json")
    diff = {d["field"]: d for d in json.loads(out)} if code == 0 else {}
    check(sorted(diff) == ["name", "note", "timezone"], "dry run shows the changes: %s" % sorted(diff))
    check(diff.get("name", {}).get("after") == "NEWNAME", "new name in the difference")
    check(record("PW") == before and rx("set_a1", 17) == [] and rx("set_a1", 19) == [], "dry run writes nothing")

    # The password is read after the appliance was read: lose the first two checks then.
    mark("set_a1", "password")
    tool = Tool(["set", PW_MAC, "--name", "NEWNAME", "--timezone", "50", "--password-stdin"], stdin=subprocess.PIPE)
    deadline = time.monotonic() + 60
    # PW answers twice before the password is asked for: the search's broadcast and the read. Another appliance's
    # answer to the broadcast does not count, or the fault would eat PW's own read instead of its checks.
    while len([r for r in since_mark("set_a1", "password", dir="tx", appliance="PW")
               if r["decoded"].get("wType") == 16]) < 2:
        if time.monotonic() > deadline:
            tool.proc.kill()
            raise SystemExit("the tool never read the appliance")
        time.sleep(0.05)
    sim("set_a1").ok("fault PW drop-first=2")
    tool.proc.stdin.write("secret\n")
    tool.proc.stdin.close()
    code, _, _ = tool.finish(120)
    check(code == 0, "set with a password exits 0 (%d)" % code)
    checks = [r for r in since_mark("set_a1", "password", dir="rx") if r["decoded"].get("wType") == 19]
    check(len(checks) == 3, "two lost checks, the third answered (%d)" % len(checks))
    check(all(r["local"] == "198.18.1.10:915" for r in checks), "every check went to the appliance's address")
    check(not any("secret".encode().hex() in r["hex"] for r in log("set_a1") if r.get("local", "").startswith("255.")),
          "the password never went by broadcast")
    after = record("PW")
    check(after[6:21].rstrip(b"\0") == b"NEWNAME" and after[162] == 50, "name and time zone written")
    outside = [i for i in changed_offsets(before, after) if not (6 <= i < 70 or 162 <= i < 166)]
    check(outside == [], "no other byte changed: %s" % outside)

    code, _, err = run("set", PW_MAC, "--workgroup", "OFFICE", "--password-file", tool_path(wrong_file))
    check(code == 3 and "-305" in err and "Wrong password" in err, "a wrong password exits 3 with its message")
    check(rx("set_a1", 17) and all(r["appliance"] == "PW" for r in rx("set_a1", 17)) and len(rx("set_a1", 17)) == 1,
          "no write after a wrong password")

    code, _, err = run("set", "REFUSE", "--workgroup", "OFFICE", "--timeout", "3")
    check(code == 3 and "-101" in err and "Set IP fail" in err, "a refusal exits 3 with code and message")

    code, _, err = run("set", "02:5a:54:12:09:0a", "--workgroup", "OFFICE", "--password-file", tool_path(pw_file))
    check(code == 0, "outside the subnet, the write goes by broadcast and succeeds")
    off = [r for r in log("set_off", dir="rx", service="config") if r["decoded"].get("wType") in (17, 19)]
    check(off and all(r["local"] == "255.255.255.255:915" for r in off), "outside the subnet: broadcasts")
    check(record("NAS9", "set_off")[113:119] == b"OFFICE", "the workgroup is written")

    code, _, err = run("set", "DEAF", "--workgroup", "X", "--timeout", "3")
    check(code == 2 and "no answer" in err, "an appliance that ignores its address: no answer, exit 2")


# ---- apply ------------------------------------------------------------------------------------------------

def apply_rows():
    rows = []
    for i in range(100):
        mac = "02:5a:54:12:01:%02x" % (10 + i)
        rows.append({"mac": mac, "name": "SHOP%03d" % i, "workgroup": "SHOPS" if i % 2 else "",
                     "timezone": str(i % 63), "date": "2027-01-05" if i % 3 == 0 else "", "time": "08:30"})
    return rows


def write_csv(path, rows):
    with open(path, "w", newline="") as f:
        w = csv.DictWriter(f, fieldnames=list(rows[0]))
        w.writeheader()
        w.writerows(rows)


def scenario_apply():
    control = sim("apply")
    names = ["ZT001%03d" % (10 + i) for i in range(100)]
    before = {n: bytes.fromhex(control.ok("record " + n).strip()) for n in names}

    bad = apply_rows()
    bad[57]["date"] = "2027-02-30"
    write_csv(os.path.join(WORK, "bad.csv"), bad)
    code, _, err = run("apply", tool_path(os.path.join(WORK, "bad.csv")))
    check(code == 1 and "row 59" in err, "a bad row stops the whole table before anything is sent")

    table = os.path.join(WORK, "shops.csv")
    write_csv(table, apply_rows())
    code, out, _ = run("apply", tool_path(table), "--dry-run", "--format", "json")
    planned = json.loads(out) if code == 0 else []
    check(code == 0 and len({p["mac"] for p in planned}) == 100, "the dry run reads all 100")
    check(rx("apply", 17) == [], "the dry run writes nothing")

    code, out, _ = run("apply", tool_path(table), "--format", "json")
    outcome = json.loads(out) if code == 0 else []
    check(code == 0 and len(outcome) == 100 and all(o["outcome"] == "written" for o in outcome), "100 written")
    check(len(rx("apply", 17)) == 100, "one write each")

    # What the dry run said is what was done, and nothing else.
    fields = {"name": (6, 21), "note": (21, 70), "workgroup": (113, 129), "timezone": (162, 166),
              "date": (70, 81), "time": (81, 90), "dhcp-server-off": (103, 104)}
    mismatches = 0
    for i, n in enumerate(names):
        after = bytes.fromhex(control.ok("record " + n).strip())
        mac = "02:5a:54:12:01:%02x" % (10 + i)
        said = {p["field"]: p["after"] for p in planned if p["mac"] == mac}
        touched = {f for f, (a, b) in fields.items() if before[n][a:b] != after[a:b]}
        if touched != set(said) or after[6:21].rstrip(b"\0").decode() != said.get("name"):
            mismatches += 1
            print("mismatch", n, sorted(touched), said)
        stray = [k for k in changed_offsets(before[n], after) if not any(a <= k < b for a, b in fields.values())]
        if stray:
            mismatches += 1
            print("stray bytes", n, stray)
    check(mismatches == 0, "the dry run showed exactly the changes made (%d mismatches)" % mismatches)

    partial = os.path.join(WORK, "partial.json")
    with open(partial, "w") as f:
        json.dump([{"mac": "02:5a:54:12:01:0a", "workgroup": "AGAIN"}, {"mac": "02:5a:54:12:09:09", "name": "GONE"}], f)
    code, out, _ = run("apply", tool_path(partial), "--timeout", "3", "--format", "csv")
    outcome = list(csv.DictReader(io.StringIO(out)))
    check(code == 5 and [o["outcome"] for o in outcome] == ["written", "failed"], "partial success exits 5")


# ---- disks, eject, watch ------------------------------------------------------------------------------------

def listening_on_917():
    with open("/proc/net/udp") as f:
        return any(line.split()[1].endswith(":0395") for line in f.readlines()[1:])


def scenario_disks():
    code, out, _ = run("disks", "--format", "json")
    disks = {d["server"]: d for d in json.loads(out)} if code == 0 else {}
    check(sorted(disks) == ["NAS1", "NAS3"], "the two disks: %s" % sorted(disks))
    if "NAS3" in disks:
        check(disks["NAS3"]["interface"] == "198.18.2.1" and disks["NAS3"]["path"] == "\\\\NAS3\\usb",
              "NAS3's disk behind the second interface")

    code, out, _ = run("eject", "NAS3")
    check(code == 0 and "NAS3" in out, "eject through the second interface")
    ejects = [r for r in zsimctl.read_log(os.path.join(WORK, "disks_a2.log"), dir="rx", service="usb")
              if r["decoded"].get("wType") == 35]
    check(ejects and all(r["peer"].startswith("198.18.2.1:") for r in ejects), "the request left through it")

    sim("disks_a1").ok("eject NAS1 inuse")
    code, _, err = run("eject", "NAS1")
    check(code == 3 and "in use" in err, "a disk in use exits 3")
    code, _, _ = run("eject", "NOPE")
    check(code == 2, "an unknown server exits 2")

    watcher = Tool(["watch", "--format", "json", "--count", "2", "--seconds", "60"], stdin=subprocess.DEVNULL)
    deadline = time.monotonic() + 30
    while not listening_on_917() and time.monotonic() < deadline:
        time.sleep(0.05)
    sim("disks_a1").ok("plug NAS2 announce")
    sim("disks_a1").ok("pull NAS1 announce")
    _, out, _ = watcher.finish(90)
    notices = [json.loads(line) for line in out.splitlines() if line.strip()]
    check([(n["notice"], n["server"]) for n in notices] == [("available", "NAS2"), ("removed", "NAS1")],
          "watch prints both notices as JSON lines")


def main():
    global TOOL, WORK, WINE
    zlab.require_lab("cli_lab.py")
    parser = argparse.ArgumentParser()
    parser.add_argument("--zentrive", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--wine", action="store_true", help="the tool is zentrive.exe under Wine")
    parser.add_argument("scenario", choices=["search_show", "set", "apply", "disks"])
    args = parser.parse_args()
    TOOL = shlex.split(args.zentrive)
    WORK = args.work
    WINE = args.wine
    os.makedirs(WORK, exist_ok=True)
    globals()["scenario_" + args.scenario]()
    return verdict()


if __name__ == "__main__":
    sys.exit(main())
