#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages that building, running and testing need.
# Only packages that are missing are installed; nothing happens when all are present.
# Usage: scripts/deps.sh [run|test|bench]
set -euo pipefail

run_pkgs=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libqt6network6
  qt6-translations-l10n qt6-l10n-tools
  libjpeg62-turbo-dev libxml2-dev libsqlite3-dev sqlite3
  fonts-liberation2 fonts-comic-neue
  xdg-utils
  librsvg2-bin
)
# The tests write their tables through Qt SQL's SQLite driver.
test_pkgs=(
  libqt6sql6-sqlite
  xvfb xauth openbox poppler-utils imagemagick x11-utils
  dbus dbus-x11 at-spi2-core python3 python3-pyatspi
  libqt6opengl6 qt6-qpa-plugins
  weston qt6-wayland
  clang libclang-rt-14-dev clang-format
  desktop-file-utils appstream dpkg-dev lintian
  devscripts
  strace xclip
)
# The benchmarks in bench/ (run by hand): Google Benchmark, callgrind for instruction counts, and Xvfb
# with the X Damage headers and a session bus for the start-up watcher of bench/avvio.sh.
bench_pkgs=(
  libbenchmark-dev valgrind libxdamage-dev xvfb xauth dbus-x11
)

want=("${run_pkgs[@]}")
[ "${1:-run}" = test ] && want+=("${test_pkgs[@]}")
[ "${1:-run}" = bench ] && want+=("${bench_pkgs[@]}")

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
