#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Idempotent: packages already present are skipped by apt, and the package
# index is refreshed only once per machine (a stamp in /var/lib).
set -euo pipefail

PACKAGES=(
  cmake g++ make ninja-build pkg-config clang clang-format libclang-rt-14-dev
  qt6-base-dev libgl-dev
  libsnmp-dev snmpd snmp
  libgtest-dev googletest
  xvfb xdotool x11-apps imagemagick
  procps time
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
stamp=/var/lib/ksv720e-apt-updated
if [ ! -e "$stamp" ]; then
  $SUDO apt-get update
  $SUDO touch "$stamp" || true
fi
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
