"""The lab: an isolated network of Linux network namespaces, the only place where this project sends datagrams.

A lab has
  - a switch namespace holding one bridge per LAN segment (segment n is 198.18.n.0/24);
  - a PC namespace with one interface per segment it joins (eth0 = 198.18.1.1/24, eth1 = 198.18.2.1/24, ...),
    a default route on eth0 inside the lab, and ping sockets allowed for every group (Wine's ICMP needs them);
  - any number of host namespaces (appliances, responders, flooders), each with eth0 on one segment and one or
    many addresses.
None of these namespaces has a link to the machine's own namespace: their traffic cannot leave the lab.
Every namespace name starts with "zt" and a run id, so that two runs never collide; the state of a lab lives in
/run/zlab/<id>.json so that `zlab down` and `zlab sweep` can clean up after a crash.
"""

import json
import os
import secrets
import signal
import subprocess
import sys
import time

STATE_DIR = "/run/zlab"
NETNS_DIR = "/run/netns"
PREFIX = "zt"


def _run(*argv, check=True, quiet=False):
    res = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if check and res.returncode != 0:
        raise RuntimeError("lab: '%s' failed: %s" % (" ".join(argv), res.stderr.strip()))
    return res.stdout


def _ns_inode(path):
    try:
        return os.stat(path).st_ino
    except OSError:
        return None


def current_lab_namespace():
    """The name of the lab namespace this process runs in, or None outside every lab."""
    mine = _ns_inode("/proc/self/ns/net")
    try:
        names = os.listdir(NETNS_DIR)
    except OSError:
        return None
    for name in names:
        if name.startswith(PREFIX) and _ns_inode(os.path.join(NETNS_DIR, name)) == mine:
            return name
    return None


def require_lab(what):
    """Refuse, before anything is sent, to run a network program outside a lab namespace."""
    name = current_lab_namespace()
    if name is None:
        sys.stderr.write(
            "REFUSED: %s sends datagrams and may run only inside a lab network namespace.\n"
            "  This process runs in another network namespace; nothing was started and nothing was sent.\n"
            "  Run it through lab/zlab run (or the test runner, which does).\n" % what)
        sys.exit(3)
    return name


class Host:
    def __init__(self, lab, name, segment, addrs, icmp=True):
        self.lab = lab
        self.name = name
        self.segment = segment
        self.addrs = addrs
        self.icmp = icmp

    @property
    def netns(self):
        return self.lab.netns(self.name)

    @property
    def address(self):
        return self.addrs[0]

    def to_json(self):
        return {"segment": self.segment, "addrs": self.addrs, "icmp": self.icmp}


class Lab:
    def __init__(self, pc_ifaces=1, lab_id=None, subnet_bits=24):
        self.id = lab_id or PREFIX + secrets.token_hex(3)
        self.pc_ifaces = pc_ifaces
        self.subnet_bits = subnet_bits
        self.hosts = {}
        self.procs = []
        self.is_up = False
        self.owner = os.getpid()  # "manual" for a lab made by hand, which only `zlab down` removes
        self._next_host_octet = {}

    # Names -----------------------------------------------------------------------------------------

    def netns(self, host):
        return "%s-%s" % (self.id, host)

    @property
    def pc(self):
        return self.netns("pc")

    @property
    def switch(self):
        return self.netns("sw")

    def pc_address(self, segment):
        return self.segment_address(segment, 1)

    # Building ---------------------------------------------------------------------------------------

    def add_host(self, name, segment=1, addrs=None, icmp=True, count=1):
        """Adds an appliance host on a segment. addrs defaults to the next free address; count > 1 gives it
        that many consecutive addresses (for scale tests)."""
        if name in ("pc", "sw") or name in self.hosts:
            raise ValueError("lab: host name %r is taken" % name)
        if not addrs:
            addrs = []
            for _ in range(count):
                addrs.append(self._allocate(segment))
        host = Host(self, name, segment, list(addrs), icmp)
        self.hosts[name] = host
        if self.is_up:
            self._make_host(host)
            self._save()
        return host

    def _allocate(self, segment):
        n = self._next_host_octet.get(segment, 10)
        if n >= self.segment_size() - 1:
            raise ValueError("lab: segment %d is full; use a smaller subnet_bits" % segment)
        self._next_host_octet[segment] = n + 1
        return self.segment_address(segment, n)

    # Segment s is block s of 198.18.0.0/15 cut into subnets of subnet_bits: with the default 24, segment 1 is
    # 198.18.1.0/24 and the PC is 198.18.1.1; with 19 (for thousands of hosts), segment 1 is 198.18.32.0/19.
    def segment_size(self):
        return 1 << (32 - self.subnet_bits)

    def segment_address(self, segment, index):
        if not 0 < segment < (1 << (self.subnet_bits - 15)):
            raise ValueError("lab: no segment %d with %d-bit subnets" % (segment, self.subnet_bits))
        value = (198 << 24 | 18 << 16) + segment * self.segment_size() + index
        return "%d.%d.%d.%d" % (value >> 24, value >> 16 & 255, value >> 8 & 255, value & 255)

    def on_segment(self, addr, segment):
        base = self.segment_address(segment, 0)
        to_int = lambda a: int.from_bytes(bytes(int(x) for x in a.split(".")), "big")
        return to_int(addr) >> (32 - self.subnet_bits) == to_int(base) >> (32 - self.subnet_bits)

    def up(self):
        os.makedirs(STATE_DIR, exist_ok=True)
        self.is_up = True
        self._save()
        for ns in (self.switch, self.pc):
            _run("ip", "netns", "add", ns)
            self._base_sysctls(ns)
        segments = set(range(1, self.pc_ifaces + 1)) | {h.segment for h in self.hosts.values()}
        for seg in sorted(segments):
            br = "br%d" % seg
            _run("ip", "-n", self.switch, "link", "add", br, "type", "bridge", "stp_state", "0",
                 "forward_delay", "0")
            _run("ip", "-n", self.switch, "link", "set", br, "up")
        for i in range(self.pc_ifaces):
            seg = i + 1
            self._plug(self.pc, "eth%d" % i, "pc%d" % i, seg, [self.pc_address(seg)])
        _run("ip", "-n", self.pc, "route", "add", "default", "dev", "eth0")
        # Wine's IcmpSendEcho uses unprivileged ping sockets.
        self._sysctl(self.pc, "net.ipv4.ping_group_range", "0 2147483647")
        for host in self.hosts.values():
            self._make_host(host)
        self._save()
        return self

    def _base_sysctls(self, ns):
        _run("ip", "-n", ns, "link", "set", "lo", "up")
        # IPv6 is of no use to the system and would only add noise to the captures.
        for key in ("net.ipv6.conf.all.disable_ipv6", "net.ipv6.conf.default.disable_ipv6"):
            self._sysctl(ns, key, "1", check=False)

    def _sysctl(self, ns, key, value, check=True):
        _run("ip", "netns", "exec", ns, "sysctl", "-q", "-w", "%s=%s" % (key, value), check=check)

    def _plug(self, ns, ifname, switch_port, segment, addrs):
        # The pair is made inside the switch namespace and one end moved: no name ever exists in the
        # machine's own namespace.
        _run("ip", "-n", self.switch, "link", "add", switch_port, "type", "veth", "peer", "name", ifname,
             "netns", ns)
        _run("ip", "-n", self.switch, "link", "set", switch_port, "master", "br%d" % segment)
        _run("ip", "-n", self.switch, "link", "set", switch_port, "up")
        for a in addrs:
            _run("ip", "-n", ns, "addr", "add", "%s/%s" % (a, self._prefix_len(a)), "dev", ifname)
        _run("ip", "-n", ns, "link", "set", ifname, "up")

    def _prefix_len(self, addr):
        return self.subnet_bits

    def _make_host(self, host):
        ns = host.netns
        _run("ip", "netns", "add", ns)
        self._base_sysctls(ns)
        if len(host.addrs) > 1:
            # Thousands of addresses: add them in one batch.
            first, rest = host.addrs[0], host.addrs[1:]
            self._plug(ns, "eth0", "h-" + host.name[:12], host.segment, [first])
            batch = "".join("addr add %s/%d dev eth0\n" % (a, self._prefix_len(a)) for a in rest)
            subprocess.run(["ip", "-n", ns, "-batch", "-"], input=batch, text=True, check=True)
        else:
            self._plug(ns, "eth0", "h-" + host.name[:12], host.segment, host.addrs)
        _run("ip", "-n", ns, "route", "add", "default", "dev", "eth0")
        # A host off its segment's subnet is reached the way a router would reach it: through that segment.
        if host.segment <= self.pc_ifaces:
            for a in host.addrs:
                if not self.on_segment(a, host.segment):
                    _run("ip", "-n", self.pc, "route", "replace", a, "dev", "eth%d" % (host.segment - 1))
        self.set_icmp(host.name, host.icmp)

    # Operating --------------------------------------------------------------------------------------

    def host(self, name):
        return self.hosts[name]

    def set_icmp(self, name, answer):
        """The kernel's own echo answer on or off."""
        self.hosts[name].icmp = answer
        self._sysctl(self.netns(name), "net.ipv4.icmp_echo_ignore_all", "0" if answer else "1")

    def host_down(self, name):
        _run("ip", "-n", self.netns(name), "link", "set", "eth0", "down")

    def host_up(self, name):
        _run("ip", "-n", self.netns(name), "link", "set", "eth0", "up")
        _run("ip", "-n", self.netns(name), "route", "replace", "default", "dev", "eth0")

    def command(self, host, argv):
        return ["ip", "netns", "exec", self.netns(host)] + list(argv)

    def env(self):
        """Environment that tells a program inside the lab where everything is."""
        env = {"ZT_LAB": self.id, "ZT_LAB_STATE": os.path.join(STATE_DIR, self.id + ".json")}
        for i in range(self.pc_ifaces):
            env["ZT_PC_ADDR%d" % (i + 1)] = self.pc_address(i + 1)
        for name, h in self.hosts.items():
            env["ZT_HOST_" + name.upper().replace("-", "_")] = h.address
        return env

    def spawn(self, host, argv, **kw):
        """Starts a background process on a host; it is ended when the lab goes down."""
        env = dict(os.environ)
        env.update(self.env())
        env.update(kw.pop("env", {}))
        p = subprocess.Popen(self.command(host, argv), env=env, start_new_session=True, **kw)
        self.procs.append(p)
        self._save()
        return p

    def run(self, host, argv, **kw):
        env = dict(os.environ)
        env.update(self.env())
        env.update(kw.pop("env", {}))
        return subprocess.run(self.command(host, argv), env=env, **kw)

    # Tearing down -----------------------------------------------------------------------------------

    def down(self):
        for p in self.procs:
            _end_group(p.pid)
        for p in self.procs:
            try:
                p.wait(timeout=5)
            except subprocess.TimeoutExpired:
                pass
        self.procs = []
        _destroy(self.id)
        self.is_up = False

    def _save(self):
        state = {
            "id": self.id,
            "owner": self.owner,
            "pc_ifaces": self.pc_ifaces,
            "subnet_bits": self.subnet_bits,
            "hosts": {n: h.to_json() for n, h in self.hosts.items()},
            "procs": [p.pid for p in self.procs],
        }
        tmp = os.path.join(STATE_DIR, self.id + ".json.tmp")
        with open(tmp, "w") as f:
            json.dump(state, f)
        os.replace(tmp, os.path.join(STATE_DIR, self.id + ".json"))

    def __enter__(self):
        return self.up()

    def __exit__(self, *exc):
        self.down()
        return False


def _end_group(pid):
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(pid, sig)
        except (ProcessLookupError, PermissionError):
            return
        for _ in range(20):
            try:
                os.kill(pid, 0)
            except ProcessLookupError:
                return
            time.sleep(0.05)


def _lab_namespaces(lab_id):
    try:
        return [n for n in os.listdir(NETNS_DIR) if n.startswith(lab_id + "-")]
    except OSError:
        return []


def _destroy(lab_id):
    """Ends every process still inside the lab's namespaces (all of them ours), then removes the namespaces."""
    spaces = _lab_namespaces(lab_id)
    for ns in spaces:
        for _ in range(3):
            pids = _run("ip", "netns", "pids", ns, check=False).split()
            if not pids:
                break
            for pid in pids:
                try:
                    os.kill(int(pid), signal.SIGKILL)
                except (ProcessLookupError, ValueError):
                    pass
            time.sleep(0.1)
    for ns in spaces:
        _run("ip", "netns", "del", ns, check=False)
    try:
        os.unlink(os.path.join(STATE_DIR, lab_id + ".json"))
    except OSError:
        pass


def sweep():
    """Removes the labs whose owning process has gone (a crashed or killed run)."""
    removed = []
    try:
        files = [f for f in os.listdir(STATE_DIR) if f.endswith(".json")]
    except OSError:
        files = []
    for f in files:
        lab_id = f[:-5]
        try:
            with open(os.path.join(STATE_DIR, f)) as fh:
                owner = json.load(fh).get("owner")
            if owner == "manual":
                continue
            os.kill(owner, 0)
            continue
        except (OSError, ValueError, TypeError):
            pass
        _destroy(lab_id)
        removed.append(lab_id)
    return removed


def load(lab_id):
    with open(os.path.join(STATE_DIR, lab_id + ".json")) as f:
        state = json.load(f)
    lab = Lab(state["pc_ifaces"], state["id"], state.get("subnet_bits", 24))
    for name, h in state["hosts"].items():
        lab.hosts[name] = Host(lab, name, h["segment"], h["addrs"], h["icmp"])
    lab.is_up = True
    return lab
