#!/bin/sh
# Set-up for a fresh Debian 12 machine, run as root.
#   scripts/setup.sh play   install what is missing, build, start the game
#   scripts/setup.sh test   install what is missing, build, run every test,
#                           then again with AddressSanitizer and UBSan
set -eu
cd "$(dirname "$0")/.."

mode=${1:-}
case "$mode" in
  play|test) ;;
  *) echo "usage: $0 play|test" >&2; exit 2 ;;
esac

jobs=$(nproc 2>/dev/null || echo 2)

# What the game needs to build and run (file: for making the Debian package).
runtime="build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-svg-dev
  zlib1g-dev libssl-dev libqt6sql6-sqlite qt6-charts-dev libfluidsynth-dev timgm6mb-soundfont fonts-liberation
  fontconfig file"
# What the tests need on top: test frameworks, a clang for fuzz targets, an X server
# and the accessibility bus with a client to query it,
# the desktop-file and AppStream validators, sqlite3, and a card deck of each
# installed format.
testing="libgtest-dev libgmock-dev googletest libbenchmark-dev clang libclang-rt-14-dev sqlite3
  xvfb xauth xdotool x11-utils desktop-file-utils appstream
  dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
  kdegames-card-data-kf5 gnome-cards-data"

want=$runtime
[ "$mode" = test ] && want="$runtime $testing"
missing=""
for p in $want; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends $missing
fi

if [ "$mode" = play ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSPADES_TESTS=OFF -DSPADES_BENCH=OFF
  cmake --build build -j "$jobs"
  if [ -x build/bin/quelbrin-spades ]; then
    exec build/bin/quelbrin-spades
  fi
  exec build/bin/spades-sim --games 1
  exit 0  # reached only where the execs are taken out, as a check of the build does
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSPADES_SANITIZE=ON -DSPADES_BENCH=OFF
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
