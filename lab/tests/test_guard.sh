#!/usr/bin/env bash
# The guard: a network program started outside the lab refuses before it sends anything.
# Runs in a network namespace of its own (not a lab one) with a dummy interface and a default route, so that a
# datagram that did go out would be counted on that interface and could go no further.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != "--inside" ]; then
  exec unshare --net "$0" --inside
fi

ip link set lo up
# No IPv6: its router solicitations would move the counter on their own.
sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
ip link add out0 type veth peer name out1
ip addr add 198.18.77.1/24 dev out0
ip link set out0 up
ip link set out1 up
ip route add default dev out0
sent() { awk '$1 == "out0:" { print $11 }' /proc/net/dev; }

fail() { echo "FAIL: $*" >&2; exit 1; }

# The counter sees a datagram that is sent: an unguarded broadcast moves it.
base=$(sent)
python3 -c "import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); \
s.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1); s.sendto(b'x', ('255.255.255.255', 40915))"
[ "$(sent)" -gt "$base" ] || fail "the counter did not see an unguarded broadcast"

# The lab's responder refuses outside the lab and sends nothing.
base=$(sent)
set +e
out=$(timeout 10 python3 "$here/../responder.py" 40915 2>&1); rc=$?
set -e
[ "$rc" -eq 3 ] || fail "responder exited with $rc, expected 3: $out"
grep -q "REFUSED" <<<"$out" || fail "no clear refusal: $out"
[ "$(sent)" -eq "$base" ] || fail "responder sent $(( $(sent) - base )) packets outside the lab"

# zlab inlab, which scripts use to check, says no here too.
set +e
"$here/../zlab" inlab 2>/dev/null; rc=$?
set -e
[ "$rc" -eq 3 ] || fail "zlab inlab exited with $rc outside the lab"

# Further guarded programs (one per line: a command that must refuse) are checked the same way.
while read -r cmd; do
  [ -n "$cmd" ] || continue
  base=$(sent)
  set +e
  out=$(timeout 20 sh -c "$cmd" 2>&1); rc=$?
  set -e
  [ "$rc" -ne 0 ] || fail "'$cmd' ran outside the lab"
  grep -q "REFUSED" <<<"$out" || fail "'$cmd' gave no clear refusal: $out"
  [ "$(sent)" -eq "$base" ] || fail "'$cmd' sent $(( $(sent) - base )) packets outside the lab"
done <<<"${ZT_GUARDED_COMMANDS:-}"
echo "guard: every network program refused outside the lab and sent nothing"
