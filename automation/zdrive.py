"""Client of the automation driver (zdrive.exe) for scenario scripts run inside a winetest run.

    with Driver() as d:
        app = d.start("Zentrive_Setup.exe")
        wiz = d.find("Setup Wizard", timeout=10000)
        d.click(wiz, 1001)                  # waits until the button is shown and enabled
        page = d.page(wiz, 1078)            # the page holding control 1078
        d.paste(d.child(page, 1078), "1a")  # ids repeat across pages: search within one
        box = d.msgbox(timeout=5000)        # (hwnd, caption, text)
        d.answer(box[0], IDOK)
        d.screenshot("after-next")          # lands in the run's artifacts as after-next.png

Windows are named by their handle as the driver prints it (a hex string).
"""
import os
import subprocess

IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
CLICK_WAIT_MS = 10000  # how long a click waits for its button to be shown and enabled
HERE = os.path.dirname(os.path.abspath(__file__))


class DriverError(Exception):
    pass


def _escape(text):
    return str(text).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def _unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            i += 1
            c = {"t": "\t", "n": "\n", "r": "\r"}.get(text[i], text[i])
        out.append(c)
        i += 1
    return "".join(out)


def default_exe():
    return os.environ.get("ZT_ZDRIVE") or os.path.join(os.environ.get("ZT_WINDOWS_BUILD", ""), "automation",
                                                       "zdrive.exe")


class Driver:
    def __init__(self, exe=None):
        self.exe = exe or default_exe()
        self.proc = subprocess.Popen(["wine", self.exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
                                     encoding="utf-8", errors="replace", bufsize=1)
        self.started = []
        hello = self.proc.stdout.readline()
        if not hello.startswith("ok"):
            raise DriverError("zdrive did not start: %r" % hello)

    # Plumbing ---------------------------------------------------------------------------------------------------

    def call(self, command, *args):
        self.proc.stdin.write("\t".join([command] + [_escape(a) for a in args]) + "\n")
        self.proc.stdin.flush()
        line = self.proc.stdout.readline()
        if not line:
            raise DriverError("zdrive ended during '%s'" % command)
        status, _, rest = line.rstrip("\n").partition("\t")
        if status != "ok":
            raise DriverError("%s %s: %s" % (command, " ".join(map(str, args)), rest))
        return rest

    def fields(self, command, *args):
        rest = self.call(command, *args)
        return [_unescape(f) for f in rest.split("\t")] if rest else []

    def close(self):
        if self.proc.poll() is None:
            try:
                self.proc.stdin.write("quit\n")
                self.proc.stdin.flush()
                self.proc.wait(timeout=10)
            except (BrokenPipeError, subprocess.TimeoutExpired):
                self.proc.kill()
        for p in self.started:
            if p.poll() is None:
                p.kill()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    # Programs ---------------------------------------------------------------------------------------------------

    def start(self, exe, *args, cwd=None):
        """Starts a Windows program under test; it is ended with the driver if it is still running."""
        p = subprocess.Popen(["wine", exe] + list(args), cwd=cwd)
        self.started.append(p)
        return p

    # Windows ----------------------------------------------------------------------------------------------------

    def find(self, title, cls="", timeout=0, hidden=False):
        return self.call("find", title, cls, timeout, "hidden" if hidden else "")

    def count(self, title, cls="", hidden=False):
        return int(self.call("count", title, cls, "hidden" if hidden else ""))

    def windows(self):
        return self.fields("windows")

    def gone(self, hwnd, timeout=5000):
        self.call("gone", hwnd, timeout)

    def child(self, hwnd, control_id, direct=False, ready=False, timeout=0):
        """A control by id below hwnd (a visible one first). direct: only hwnd's own children (the wizard's bar
        rather than a page); ready: only a shown, enabled one, waited for up to timeout ms."""
        flags = ",".join(f for f, on in (("direct", direct), ("ready", ready)) if on)
        return self.call("child", hwnd, control_id, timeout, flags)

    def page(self, hwnd, control_id):
        """The window (a wizard page) that holds the control: ids repeat across pages, so search within it."""
        return self.call("parent", self.child(hwnd, control_id))

    def state(self, hwnd):
        v = self.call("state", hwnd).split("\t")
        return {"visible": v[0] == "1", "enabled": v[1] == "1", "rect": tuple(int(x) for x in v[2:6])}

    def text(self, hwnd, control_id=None):
        return _unescape(self.call("text", self.child(hwnd, control_id) if control_id is not None else hwnd))

    # Acting as a user -------------------------------------------------------------------------------------------

    def click(self, hwnd, control_id=None, timeout=CLICK_WAIT_MS):
        """Clicks a button once it is shown and enabled (a handler may show it after its page); with
        control_id, the shown, enabled control of that id below hwnd."""
        if control_id is not None:
            hwnd = self.child(hwnd, control_id, ready=True, timeout=timeout)
        self.call("click", hwnd, timeout)

    def type(self, hwnd, text):
        self.call("type", hwnd, text)

    def select_all(self, hwnd):
        """Selects an edit's whole text (what a paste or typing then replaces)."""
        self.call("selectall", hwnd)

    def replace(self, hwnd, text):
        """Selects an edit's whole text and types over it, as a user does."""
        self.select_all(hwnd)
        self.call("type", hwnd, text if text else "\b")

    def paste(self, hwnd, text):
        """Puts the text on the clipboard and pastes it into the edit, as Ctrl+V does: all at once, and past a
        numeric edit's filter of typed characters."""
        self.call("paste", hwnd, text)

    def key(self, hwnd, vk):
        """A key press, posted (Enter and Esc reach the dialog manager); wait for its effect before reading."""
        self.call("key", hwnd, vk)

    def set_text(self, hwnd, text):
        self.call("settext", hwnd, text)

    def tree(self, hwnd):
        """[(depth, selected, text)] of a tree view, in display order."""
        return [(int(f[0]), f[1] == "*", f[2:]) for f in self.fields("tree", hwnd)]

    def tree_count(self, hwnd):
        return int(self.call("treecount", hwnd))

    def tree_select(self, hwnd, text, double=False):
        self.call("treeselect", hwnd, text, "dbl" if double else "")

    def list_rows(self, hwnd):
        """[(selected, [columns])] of a report list view."""
        return [(f[0] == "*", f[1:].split(" | ")) for f in self.fields("list", hwnd)]

    def list_select(self, hwnd, row):
        self.call("listselect", hwnd, row)

    def combo(self, hwnd):
        """([items], selected index or -1)."""
        items = self.fields("combo", hwnd)
        sel = next((i for i, f in enumerate(items) if f.startswith("*")), -1)
        return [f[1:] for f in items], sel

    def combo_select(self, hwnd, index):
        self.call("comboselect", hwnd, index)

    def msgbox(self, timeout=5000):
        """(hwnd, caption, text) of the message box shown."""
        f = self.fields("msgbox", timeout)
        return f[0], f[1], f[2]

    def no_msgbox(self, wait=500):
        try:
            box = self.msgbox(wait)
        except DriverError:
            return True
        raise DriverError("unexpected message box %r: %r" % (box[1], box[2]))

    def answer(self, hwnd, button):
        self.call("answer", hwnd, button)

    def post(self, hwnd, msg, wparam=0, lparam=0):
        self.call("post", hwnd, msg, wparam, lparam)

    def screenshot(self, name, hwnd=None):
        """Saves the screen (or one window) as NAME.png among the run's artifacts; returns the BMP's path."""
        folder = os.environ.get("ZT_ARTIFACTS_WIN", ".")
        path = folder + "\\" + name + ".bmp"
        self.call("screenshot", path, *([hwnd] if hwnd else []))
        return os.path.join(os.environ.get("ZT_ARTIFACTS", "."), name + ".bmp")
