#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Start-up and idle memory of the program against a bare Qt Widgets program (bench/nudo.cpp: one
# window, one label, same compiler and flags), both run in alternation on one Xvfb display.
#
#   bench/avvio.sh [BUILD_FOLDER] [RUNS]         (defaults: build 30)
#   KELMO_ALTRO=FOLDER bench/avvio.sh ...         also runs FOLDER/kelmo-dravolo in the same alternation, as
#                                                 the column "other": an earlier build copied with its tables
#                                                 (before and after), or a build alone without its tables
#
# For each start bench/sentinella measures, as the X server sees it, the time from the spawn to the
# first window drawn on screen (the splash for the program, the only window for the bare one), then
# waits for the main window, lets it idle for a second and reads its resident (Rss) and private
# (Private_Dirty) memory. The program runs from its build folder beside its sample tables, as run.sh
# starts it, so its main window is up ten seconds after the splash: a run of each takes about 11
# seconds. A first run of each warms the caches and is not counted; the order alternates so that a
# drift of the machine weighs on every side alike. A private session bus stands in for the desktop's.
# On a shared machine wall times drift by several milliseconds; instructions do not: bench/istruzioni.sh
# counts those up to the first window on screen.
set -euo pipefail
sorgente="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$sorgente/build}" && pwd)"
coppie="${2:-30}"

cmake -S "$sorgente" -B "$build" -DKELMO_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target kelmo-dravolo nudo sentinella >/dev/null

source "$sorgente/bench/schermo.sh"

# The program is started from its own folder, beside its tables. A start that fails is reported and
# left out rather than ending the whole run.
programma() {
  (cd "$1" && "$build/bench/sentinella" 2 1000 "$1/kelmo-dravolo") || echo "a start of $1 failed" >&2
}
nudo() {
  "$build/bench/sentinella" 1 1000 "$build/bench/nudo" || echo "a start of the bare program failed" >&2
}
altro="${KELMO_ALTRO:+$(cd "$KELMO_ALTRO" && pwd)}"
giro() {
  programma "$build" >>"$lavoro/programma"
  nudo >>"$lavoro/nudo"
  if [ -n "$altro" ]; then programma "$altro" >>"$lavoro/altro"; fi
}

programma "$build" >/dev/null
nudo >/dev/null
if [ -n "$altro" ]; then programma "$altro" >/dev/null; fi
rm -f "$lavoro/programma" "$lavoro/nudo" "$lavoro/altro"
for i in $(seq "$coppie"); do
  if [ $((i % 2)) -eq 1 ]; then
    giro
  else
    # The other order, so that a drift of the machine weighs on every side alike.
    if [ -n "$altro" ]; then programma "$altro" >>"$lavoro/altro"; fi
    nudo >>"$lavoro/nudo"
    programma "$build" >>"$lavoro/programma"
  fi
done

/usr/bin/python3 - "$coppie" "$lavoro/nudo" "$lavoro/programma" ${altro:+"$lavoro/altro"} <<'PY'
import statistics, sys
def colonne(percorso):
    righe = [list(map(float, r.split())) for r in open(percorso) if r.strip()]
    return list(zip(*righe))
nudo = colonne(sys.argv[2])
programmi = [("program", colonne(sys.argv[3]))]
if len(sys.argv) > 4:
    programmi.append(("other", colonne(sys.argv[4])))
titoli = "".join(f"{n:>10} {'ratio':>6}" for n, _ in programmi)
print(f"{sys.argv[1]} runs each, medians" + " " * 11 + titoli + f"{'bare':>10}")
for nome, colonna, unita, scala in (("exec to first window drawn", 0, "ms", 1),
                                    ("idle resident memory (Rss)", 2, "MB", 1024),
                                    ("idle private dirty memory", 3, "MB", 1024)):
    n = statistics.median(nudo[colonna]) / scala
    riga = f"{nome:28} {unita:>3}"
    for _, valori in programmi:
        p = statistics.median(valori[colonna]) / scala
        riga += f"{p:10.2f} {p / n:6.2f}"
    print(riga + f"{n:10.2f}")
PY
