"""What the kernel knows of the Wine processes of this lab run: found in /proc among the processes of the caller's
own network namespace (each run has a lab, a wineserver and programs of its own, beside other runs of the same
programs), their CPU time and peak memory; and of that namespace's UDP sockets."""
import os

TICKS = os.sysconf("SC_CLK_TCK")


def _netns(pid):
    try:
        return os.readlink("/proc/%s/ns/net" % pid)
    except OSError:
        return None


def find(comm_prefix):
    """Pids in this network namespace whose command name starts with comm_prefix (the kernel keeps 15 characters:
    Zentrive_Setup.exe shows as "Zentrive_Setup.")."""
    own = _netns("self")
    found = []
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/comm" % pid) as f:
                comm = f.read().strip()
        except OSError:
            continue
        if comm.startswith(comm_prefix[:15]) and _netns(pid) == own:
            found.append(int(pid))
    return found


def only(comm_prefix):
    pids = find(comm_prefix)
    if len(pids) != 1:
        raise RuntimeError("%d processes named %s in this lab" % (len(pids), comm_prefix))
    return pids[0]


def cpu_seconds(pid):
    """User plus system time of the process so far."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rpartition(")")[2].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def peak_kb(pid):
    """The largest resident set the process had (VmHWM)."""
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def udp_buffer_drops():
    """UDP datagrams this network namespace dropped because a socket's receive buffer was full."""
    with open("/proc/net/snmp") as snmp:
        rows = [line.split() for line in snmp if line.startswith("Udp:")]
    return int(rows[1][rows[0].index("RcvbufErrors")])


def udp_socket(port):
    """(bytes waiting, datagrams dropped) of the socket bound to this UDP port, or None before one is."""
    with open("/proc/net/udp") as table:
        for line in table.readlines()[1:]:
            fields = line.split()
            if int(fields[1].split(":")[1], 16) == port:
                return int(fields[4].split(":")[1], 16), int(fields[12])
    return None


class Meter:
    """CPU time of a set of processes between start() and stop()."""

    def __init__(self, pids):
        self.pids = pids
        self.before = {}
        self.spent = {}

    def start(self):
        self.before = {p: cpu_seconds(p) for p in self.pids}

    def stop(self):
        self.spent = {p: cpu_seconds(p) - self.before[p] for p in self.pids}
        return self.spent
