#!/usr/bin/env python3
"""The lab itself: addresses and routes as a LAN would have them, ICMP on and off, hosts down and up, isolation
from the machine's own network, unique names, and cleanup after a normal end, a failure and an interruption."""
import os
import signal
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
import zlab  # noqa: E402

ZLAB = os.path.join(HERE, "..", "zlab")


def namespaces_of(lab_id):
    return sorted(n for n in os.listdir(zlab.NETNS_DIR) if n.startswith(lab_id + "-")) \
        if os.path.isdir(zlab.NETNS_DIR) else []


def ping(lab, host, addr, count=1):
    return lab.run(host, ["ping", "-n", "-q", "-c", str(count), "-i", "0.2", "-W", "1", addr],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


class LabTopology(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.lab = zlab.Lab(pc_ifaces=2)
        cls.lab.add_host("a1", 1)
        cls.lab.add_host("a2", 2)
        cls.lab.add_host("quiet", 1, icmp=False)
        cls.lab.add_host("many", 2, count=200)
        cls.lab.add_host("far", 2, addrs=["198.19.5.5"])
        cls.lab.up()

    @classmethod
    def tearDownClass(cls):
        cls.lab.down()

    def test_pc_has_one_interface_per_segment_and_a_default_route(self):
        out = self.lab.run("pc", ["ip", "-4", "-o", "addr"], stdout=subprocess.PIPE, text=True).stdout
        self.assertIn("eth0    inet 198.18.1.1/24", out)
        self.assertIn("eth1    inet 198.18.2.1/24", out)
        routes = self.lab.run("pc", ["ip", "route"], stdout=subprocess.PIPE, text=True).stdout
        self.assertIn("default dev eth0", routes)

    def test_hosts_reach_the_pc_on_their_own_segment_only(self):
        self.assertTrue(ping(self.lab, "pc", "198.18.1.10"))
        self.assertTrue(ping(self.lab, "pc", "198.18.2.10"))
        # a1 sits on segment 1: the PC's segment-2 address is not on its wire.
        self.assertFalse(ping(self.lab, "a1", "198.18.2.10"))

    def test_icmp_can_be_ignored_and_restored(self):
        self.assertFalse(ping(self.lab, "pc", self.lab.host("quiet").address))
        self.lab.set_icmp("quiet", True)
        try:
            self.assertTrue(ping(self.lab, "pc", self.lab.host("quiet").address))
        finally:
            self.lab.set_icmp("quiet", False)

    def test_host_down_and_up(self):
        self.lab.host_down("a2")
        self.assertFalse(ping(self.lab, "pc", "198.18.2.10"))
        self.lab.host_up("a2")
        self.assertTrue(ping(self.lab, "pc", "198.18.2.10", count=3))

    def test_many_addresses_on_one_host_all_answer(self):
        addrs = self.lab.host("many").addrs
        self.assertEqual(len(addrs), 200)
        self.assertEqual(len(set(addrs)), 200)
        for a in (addrs[0], addrs[150], addrs[-1]):
            self.assertTrue(ping(self.lab, "pc", a), a)

    def test_host_off_the_subnet_is_reached_through_its_segment(self):
        self.assertTrue(ping(self.lab, "pc", "198.19.5.5"))
        route = self.lab.run("pc", ["ip", "route", "get", "198.19.5.5"], stdout=subprocess.PIPE, text=True).stdout
        self.assertIn("dev eth1", route)

    def test_ping_sockets_allowed_for_wine(self):
        out = self.lab.run("pc", ["sysctl", "-n", "net.ipv4.ping_group_range"], stdout=subprocess.PIPE,
                           text=True).stdout.split()
        self.assertEqual(out, ["0", "2147483647"])

    def test_no_link_to_the_machines_own_namespace(self):
        # Every interface of every lab namespace is loopback or a veth whose peer is in the lab's switch.
        for ns in namespaces_of(self.lab.id):
            out = subprocess.run(["ip", "-n", ns, "-o", "link"], stdout=subprocess.PIPE, text=True).stdout
            for line in out.splitlines():
                name = line.split(":")[1].strip().split("@")[0]
                if name == "lo" or name.startswith("br"):
                    continue
                self.assertIn("link-netns", line, "%s in %s is not a lab veth" % (name, ns))
        own = subprocess.run(["ip", "-o", "link"], stdout=subprocess.PIPE, text=True).stdout
        self.assertNotIn(self.lab.id, own)

    def test_lab_namespace_is_recognised_inside_and_not_outside(self):
        self.assertEqual(self.lab.run("pc", [ZLAB, "inlab"], stdout=subprocess.DEVNULL).returncode, 0)
        self.assertEqual(subprocess.run([ZLAB, "inlab"], stderr=subprocess.DEVNULL).returncode, 3)


class WideSegments(unittest.TestCase):
    def test_thousands_of_addresses_on_one_subnet(self):
        lab = zlab.Lab(pc_ifaces=2, subnet_bits=19)
        self.assertEqual(lab.pc_address(1), "198.18.32.1")
        self.assertEqual(lab.pc_address(2), "198.18.64.1")
        big = lab.add_host("big", 1, count=5000)
        self.assertEqual(big.addrs[0], "198.18.32.10")
        self.assertEqual(big.addrs[-1], "198.18.51.145")
        self.assertTrue(all(lab.on_segment(a, 1) for a in big.addrs))
        with lab:
            self.assertTrue(ping(lab, "pc", big.addrs[-1]))
        self.assertRaises(ValueError, lambda: zlab.Lab().add_host("crowd", 1, count=250))
        self.assertRaises(ValueError, lambda: zlab.Lab().segment_address(512, 1))


class LabLifetime(unittest.TestCase):
    def test_two_labs_at_once_have_distinct_names(self):
        with zlab.Lab() as one, zlab.Lab() as two:
            self.assertNotEqual(one.id, two.id)
            self.assertTrue(namespaces_of(one.id) and namespaces_of(two.id))

    def test_run_removes_the_lab_after_success_and_failure(self):
        for cmd, expected in (("true", 0), ("exit 7", 7)):
            out = subprocess.run([ZLAB, "run", "--host", "a=1", "--", "sh", "-c", "echo $ZT_LAB; " + cmd],
                                 stdout=subprocess.PIPE, text=True)
            self.assertEqual(out.returncode, expected)
            lab_id = out.stdout.strip()
            self.assertTrue(lab_id.startswith("zt"))
            self.assertEqual(namespaces_of(lab_id), [])

    def test_interrupted_run_removes_lab_and_its_processes(self):
        p = subprocess.Popen([ZLAB, "run", "--host", "a=1", "--on", "a", "exec python3 -c \"import socket,time;"
                              "s=socket.socket(socket.AF_INET,socket.SOCK_DGRAM);s.bind(('',40999));time.sleep(60)\"",
                              "--", "sh", "-c", "echo $ZT_LAB; sleep 60"], stdout=subprocess.PIPE, text=True)
        lab_id = p.stdout.readline().strip()
        self.assertTrue(namespaces_of(lab_id))
        p.send_signal(signal.SIGTERM)
        p.wait(timeout=20)
        self.assertEqual(namespaces_of(lab_id), [])
        self.assertFalse(os.path.exists(os.path.join(zlab.STATE_DIR, lab_id + ".json")))

    def test_sweep_removes_the_lab_of_a_killed_run(self):
        p = subprocess.Popen([ZLAB, "run", "--", "sh", "-c", "echo $ZT_LAB; sleep 60"], stdout=subprocess.PIPE,
                             text=True)
        lab_id = p.stdout.readline().strip()
        p.kill()  # no chance to clean up
        p.wait()
        self.assertTrue(namespaces_of(lab_id))
        time.sleep(0.1)
        zlab.sweep()
        self.assertEqual(namespaces_of(lab_id), [])

    def test_background_program_that_fails_is_reported(self):
        out = subprocess.run([ZLAB, "run", "--host", "a=1", "--on", "a", "exit 4", "--", "true"],
                             stderr=subprocess.PIPE, text=True)
        self.assertNotEqual(out.returncode, 0)
        self.assertIn("ended at once", out.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
