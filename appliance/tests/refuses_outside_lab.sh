#!/bin/sh
# zsim run outside a lab: in a fresh network namespace of its own (only a loopback that is down), so that
# even a broken guard could send nothing anywhere. It must print REFUSED and exit with status 3.
zsim=$1
out=$(unshare --net "$zsim" --auto --control-tcp 7000 2>&1)
status=$?
echo "$out"
[ "$status" -eq 3 ] || { echo "expected exit status 3, got $status"; exit 1; }
echo "$out" | grep -q '^REFUSED: ' || { echo "no REFUSED message"; exit 1; }
