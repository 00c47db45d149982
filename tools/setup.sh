#!/usr/bin/env bash
# Installs every Debian package that the build, the tests, the demo and packaging need: the lists in
# tools/packages/*.txt (one package a line, # comments). Idempotent: apt is not touched when nothing is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

mapfile -t packages < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$here"/packages/*.txt | grep -v '^$' | sort -u)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q >/dev/null
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

# The posix-thread variant of the cross compiler gives std::thread and std::mutex to the Windows tests.
for tool in x86_64-w64-mingw32-gcc x86_64-w64-mingw32-g++; do
  if [ -e "/usr/bin/$tool-posix" ]; then
    $SUDO update-alternatives --set "$tool" "/usr/bin/$tool-posix" >/dev/null 2>&1 || true
  fi
done

# The lab's PC stands for a Windows PC, whose sockets get the receive buffers they ask for (4 MB, for a burst
# of replies or notices). Linux caps every namespace's buffers at net.core.rmem_max: raise a lower cap.
rmem_max=$(cat /proc/sys/net/core/rmem_max 2>/dev/null || echo 0)
if [ "$rmem_max" -lt 4194304 ]; then
  $SUDO sysctl -q -w net.core.rmem_max=4194304 || echo "setup: could not raise net.core.rmem_max (burst tests will lose datagrams)"
fi
