#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The builds other distributions make, each in a folder of its own beside build/, each checked by
# starting the program under Qt's offscreen platform: it must still be running after a few seconds.
#   build-lto/              link-time optimisation, as several distributions build every package;
#   build-senza-controllo/  without the update check (-DKELMO_CONTROLLO_AGGIORNAMENTI=OFF): no network
#                           library linked, and the main window's test, which finds no update entry.
# Run by .ci/run after ./test.sh, which has installed what the builds need.
set -euo pipefail
cd "$(dirname "$0")/.."

fallito() {
  echo "FAIL: $*" >&2
  exit 1
}

# Started alone, the program puts up its splash and waits: killed by timeout (124) it was alive.
avvia() {
  local esito=0
  (cd "$(dirname "$1")" && QT_QPA_PLATFORM=offscreen timeout 5 "$1" >/dev/null 2>&1) || esito=$?
  [ "$esito" -eq 124 ] || fallito "$1 ended with status $esito under the offscreen platform, not still running"
  echo "-- $1: started, still running after 5 s"
}

cmake -S . -B build-lto -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_INTERPROCEDURAL_OPTIMIZATION=ON \
  >/dev/null
cmake --build build-lto -j"$(nproc)" >build-lto/costruzione.log 2>&1 || { tail -50 build-lto/costruzione.log >&2; fallito "the LTO build"; }
avvia "$PWD/build-lto/kelmo-dravolo"

cmake -S . -B build-senza-controllo -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELMO_CONTROLLO_AGGIORNAMENTI=OFF \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build-senza-controllo -j"$(nproc)" --target kelmo-dravolo tst_finestraprincipale \
  >build-senza-controllo/costruzione.log 2>&1 || { tail -50 build-senza-controllo/costruzione.log >&2; fallito "the build without the update check"; }
avvia "$PWD/build-senza-controllo/kelmo-dravolo"
! ldd build-senza-controllo/kelmo-dravolo build-senza-controllo/kelmo-dravolo-modulo.so |
  grep -E 'libQt6Network|libxml2' ||
  fallito "built without the update check, the program or its module still links the network code"
(cd build-senza-controllo && ctest -R '^tst_finestraprincipale$' --output-on-failure) ||
  fallito "the main window's test, built without the update check"
echo "-- without the update check: no network library, no update entry in the menu"
