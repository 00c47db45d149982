"""A packet capture of both services on the lab PC's first interface (dumpcap, run inside the lab only)."""
import os
import signal
import subprocess

FILTER = "udp port 915 or udp port 917"


def pc_interface(address):
    """The PC namespace's interface that holds address."""
    out = subprocess.run(["ip", "-o", "-4", "addr", "show"], capture_output=True, text=True, check=True).stdout
    for line in out.splitlines():
        fields = line.split()
        if fields[3].split("/")[0] == address:
            return fields[1]
    raise RuntimeError("no interface holds " + address)


class Capture:
    """Starts on construction and returns once dumpcap captures; stop() ends it. count: stop by itself after
    that many packets (wait() then waits for it)."""

    def __init__(self, path, address, count=None):
        self.path = path
        if os.path.exists(path):
            os.remove(path)
        argv = ["dumpcap", "-q", "-P", "-i", pc_interface(address), "-f", FILTER, "-w", path]
        if count:
            argv += ["-c", str(count)]
        self.proc = subprocess.Popen(argv, stderr=subprocess.PIPE, text=True)
        for line in self.proc.stderr:
            if line.startswith("Capturing on"):
                return
        raise RuntimeError("dumpcap did not start (exit %r)" % self.proc.wait())

    def wait(self):
        self.proc.wait()

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGINT)
        self.proc.wait()
