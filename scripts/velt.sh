#!/usr/bin/env bash
# Sets up this machine for the quotation desk and then starts it or tests it.
#   bash scripts/velt.sh start   install what is missing, build, start the program
#   bash scripts/velt.sh test    install what is missing, build, run the whole test suite
set -euo pipefail
cd "$(dirname "$0")/.."

what=${1:-}
case "$what" in
  start|test) ;;
  *) echo "usage: bash scripts/velt.sh start|test" >&2; exit 2 ;;
esac

# Debian 12 packages the build, the program and the tests need.
packages=(
  cmake ninja-build g++
  qt6-base-dev libqt6sql6-sqlite
  sqlite3 libsqlite3-dev
  pkg-config mdbtools-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  fonts-noto-cjk
  poppler-utils
  binutils
  qt6-translations-l10n
)
# Test-only: a real print queue (a CUPS scheduler with a PDF printer), and
# mdbtools' command-line tools (mdb-tables, mdb-export), which check the tests'
# Jet writer against a reader that is not the program's own.
if [ "$what" = test ]; then
  packages+=(cups printer-driver-cups-pdf mdbtools)
fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel

# The customer-search component lives beside the program; register it in the
# class registry the program reads, so that 参照 finds it. Without it the
# program still runs; 参照 then says the search is not registered.
./build/pelmar_register ./build/libPrjPelmar.so ||
  echo "Customer search: could not register build/libPrjPelmar.so" >&2

if [ "$what" = start ]; then
  exec ./build/PrjVelt
fi

# The print-queue test adds a PDF queue of its own to the CUPS scheduler:
# start the scheduler where it is not running (without systemd, as in CI, the
# daemon itself). Where it cannot be started, that test says so and skips.
if ! LC_ALL=C lpstat -r 2>/dev/null | grep -qx 'scheduler is running'; then
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then as_root=(sudo -n); fi
  if [ -d /run/systemd/system ]; then
    "${as_root[@]}" systemctl start cups 2>/dev/null || true
  else
    "${as_root[@]}" /usr/sbin/cupsd 2>/dev/null || true
  fi
  for _ in $(seq 1 20); do
    LC_ALL=C lpstat -r 2>/dev/null | grep -qx 'scheduler is running' && break
    sleep 0.5
  done
  LC_ALL=C lpstat -r 2>/dev/null | grep -qx 'scheduler is running' ||
    echo "CUPS scheduler could not be started: the print-queue test will be skipped" >&2
fi
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
