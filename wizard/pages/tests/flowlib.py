"""Shared pieces of the scenarios on the real Zentrive_Setup.exe: control ids, waits, the simulator's log, and the
steps every flow takes (start, search, select, password, pages, save). The scenarios run inside a winetest run."""
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..", "..")
sys.path.insert(0, os.path.join(ROOT, "automation"))
sys.path.insert(0, os.path.join(ROOT, "lab"))
from zdrive import Driver, DriverError, IDCANCEL, IDNO, IDOK  # noqa: E402,F401
from labcheck import zsimctl  # noqa: E402,F401

# Wizard window and pages. Ids repeat across pages and the bar (1001 Save and the device list's default button,
# 1052 Advanced and the summary's time zone, 1108 the IP page's label and the summary's address): read a page's
# control within that page (Driver.page) and the bar's among the window's own children.
IDC_SETUP, IDC_NEXT, IDC_BACK, IDC_SAVE, IDC_UTILITY, IDC_EXIT, IDC_USER_GUIDE = 1032, 1029, 1002, 1001, 1054, 1033, 1044
IDC_SHORTCUT, IDC_ADVANCED = 1046, 1052
BAR = [IDC_SETUP, IDC_UTILITY, IDC_USER_GUIDE, IDC_NEXT, IDC_BACK, IDC_SAVE, IDC_SHORTCUT, IDC_ADVANCED, IDC_EXIT]
TREE, VALUES = 1012, 1010
DHCP_CLIENT, FIXED_IP = 1061, 1062
IP_LABELS = [1108, 1109, 1069]
IP = [1078, 1079, 1081, 1082]
MASK = [1083, 1084, 1085, 1086]
GATEWAY = [1089, 1090, 1091, 1092]
SERVER_NAME, WORKGROUP, TIME_ZONE, AM_PM = 1003, 1011, 1074, 1077
SUMMARY_NAME, SUMMARY_IP, SUMMARY_MASK, SUMMARY_GATEWAY, SUMMARY_TIME_ZONE, SUMMARY_DATE, SUMMARY_TIME = \
    1049, 1108, 1109, 1069, 1052, 1060, 1061
PASSWORD_EDIT, PASSWORD_OK = 1058, 1073
VALUE_ROWS = ["Server Name", "IP Address", "Subnet Mask", "Default Gateway", "Time Zone", "Local Date", "Local Time"]
PKT_GET_INFO, PKT_SET_CONFIG, PKT_CHECK_PASSWORD = 16, 17, 19


def step(text):
    sys.stderr.write("step: %s\n" % text)
    sys.stderr.flush()


def wait_until(predicate, timeout=10.0, what="condition"):
    deadline = time.time() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.time() >= deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.1)


def requests(log, wType, **match):
    """What reached one simulator: the configuration requests of one type, in order."""
    return [r for r in zsimctl.read_log(log, dir="rx", service="config", **match)
            if r.get("decoded", {}).get("wType") == wType]


def replies(log, wType):
    return [r for r in zsimctl.read_log(log, dir="tx", service="config")
            if r.get("decoded", {}).get("wType") == wType]


def shown(d, win, control_id):
    try:
        return d.state(d.child(win, control_id))["visible"]
    except DriverError:
        return False


def bar(d, win):
    """The wizard's bar buttons that are shown, in BAR order."""
    out = []
    for i in BAR:
        try:
            if d.state(d.child(win, i, direct=True))["visible"]:
                out.append(i)
        except DriverError:
            pass
    return out


def wait_bar(d, win, expected, timeout=10.0):
    """The bar changes in the handler after the page it belongs to has shown: wait for it, never sleep."""
    wait_until(lambda: bar(d, win) == expected, timeout, "the bar %r (shown: %r)" % (expected, bar(d, win)))


def press(d, win, button):
    """Clicks a bar button once it is shown and enabled; among the window's own children, since pages reuse the
    bar's ids (1032 Setup and the server page's month, 1033 Exit and its day)."""
    d.click(d.child(win, button, direct=True, ready=True, timeout=10000))


def expect_box(d, text, answer=IDOK, timeout=5000):
    box = d.msgbox(timeout=timeout)
    if box[2] != text:
        raise AssertionError("message box %r, not %r" % (box[2], text))
    d.answer(box[0], answer)
    d.gone(box[0])
    return box


def start(d, setup):
    app = d.start(setup)
    win = d.find("Setup Wizard", timeout=30000)
    return app, win


def search(d, win, names, timeout=60.0):
    """Setup on the welcome page: the device list's first search, until the tree lists exactly these names."""
    press(d, win, IDC_SETUP)
    d.gone(d.find("Searching for devices", timeout=10000), timeout=int(timeout * 1000))
    tree = d.child(win, TREE)
    wait_until(lambda: [t for _, _, t in d.tree(tree)] == names, 5, "the tree to list %r" % names)
    wait_bar(d, win, [IDC_NEXT, IDC_BACK])
    return tree


def to_summary(d, win):
    """From the IP settings page on through the server page to the summary; returns the summary page."""
    press(d, win, IDC_NEXT)
    wait_page(d, win, SERVER_NAME, "the server page")
    press(d, win, IDC_NEXT)
    summary = wait_page(d, win, SUMMARY_NAME, "the summary page")
    wait_bar(d, win, [IDC_BACK, IDC_SAVE])
    return summary


def only_write(log):
    """The record of the one settings write that reached the simulator."""
    writes = requests(log, PKT_SET_CONFIG)
    if len(writes) != 1:
        raise AssertionError("%d settings writes reached the appliance, not one" % len(writes))
    return bytes.fromhex(writes[0]["hex"])[8:]


def as_stored(before, name="NAS1"):
    """The record read, as the wizard writes it back unedited: the server page stores the name, which clears the
    note behind it."""
    expected = bytearray(before)
    expected[6:70] = name.encode().ljust(64, b"\0")
    return expected


def differing(sent, expected):
    return [i for i in range(234) if sent[i] != expected[i]]


def start_with(d, setup, name):
    """Starts the wizard, searches, and reads the one appliance found, name; returns (app, win)."""
    app, win = start(d, setup)
    search(d, win, [name])
    select(d, win, name)
    return app, win


def values(d, win):
    return [r[1][1] if len(r[1]) > 1 else "" for r in d.list_rows(d.child(win, VALUES))]


def select(d, win, name, timeout=20.0):
    """Selects an appliance and waits until its settings are read; returns the value column."""
    d.tree_select(d.child(win, TREE), name)
    return wait_until(lambda: (lambda v: v if v and v[0] == name else None)(values(d, win)), timeout,
                      "%s's values" % name)


def password(d, password_text):
    """The password dialog that Next opened: types the password and presses OK; returns the dialog."""
    pw = d.find("Verify admin password", timeout=5000)
    edit = d.child(pw, PASSWORD_EDIT)
    d.replace(edit, password_text)
    d.click(pw, PASSWORD_OK)
    return pw


def wait_page(d, win, control_id, what):
    """The page that holds control_id, once it is shown."""
    wait_until(lambda: shown(d, win, control_id), 10, what)
    return d.page(win, control_id)


def save(d, win):
    """Save and OK in the confirmation; returns once the write's outcome is shown (the notice)."""
    press(d, win, IDC_SAVE)
    d.click(d.find("Confirm settings", timeout=5000), IDOK)


def finish_after_success(d, win, app, screenshot=None):
    """The success notice closes itself, the utility is offered (No), the finish page's Exit ends the wizard."""
    notice = d.find("Setup notice", timeout=30000)
    if screenshot:
        d.screenshot(screenshot, notice)
    d.gone(notice, timeout=6000)
    d.answer(d.msgbox(timeout=10000)[0], IDNO)
    wait_bar(d, win, [IDC_UTILITY, IDC_EXIT])
    press(d, win, IDC_EXIT)
    if app.wait(timeout=30) != 0:
        raise AssertionError("the wizard ended with %r" % app.returncode)
