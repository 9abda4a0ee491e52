#!/usr/bin/env bash
# Start-up and idle memory of the program against a bare Qt Widgets program (bench/nudo.cpp: one
# window, one label, same compiler and flags), both run in alternation on one Xvfb display.
#
#   bench/avvio.sh [BUILD_FOLDER] [PAIRS]        (defaults: build 30)
#
# For each start bench/sentinella measures, as the X server sees it, the time from the spawn to the
# first window drawn on screen (the splash for the program, the only window for the bare one), then
# waits for the main window, lets it idle for a second and reads its resident (Rss) and private
# (Private_Dirty) memory. The program runs from its build folder beside its sample
# tables, as run.sh starts it, so its main window is up ten seconds after the splash: a pair takes
# about 11 seconds. A first pair warms the caches and is not counted; the order inside a pair
# alternates so that a drift of the machine weighs on both sides alike.
set -euo pipefail
sorgente="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$sorgente/build}" && pwd)"
coppie="${2:-30}"

cmake -S "$sorgente" -B "$build" -DKELMO_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target kelmo-dravolo nudo sentinella >/dev/null

lavoro="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$lavoro/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$lavoro"' EXIT
for _ in $(seq 50); do [ -s "$lavoro/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$lavoro/display")" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

programma() { (cd "$build" && "$build/bench/sentinella" 2 1000 "$build/kelmo-dravolo"); }
nudo() { "$build/bench/sentinella" 1 1000 "$build/bench/nudo"; }

programma >/dev/null
nudo >/dev/null
for i in $(seq "$coppie"); do
  if [ $((i % 2)) -eq 1 ]; then
    programma >>"$lavoro/programma"; nudo >>"$lavoro/nudo"
  else
    nudo >>"$lavoro/nudo"; programma >>"$lavoro/programma"
  fi
done

/usr/bin/python3 - "$lavoro/programma" "$lavoro/nudo" "$coppie" <<'PY'
import statistics, sys
def colonne(percorso):
    righe = [list(map(float, r.split())) for r in open(percorso) if r.strip()]
    return list(zip(*righe))
prog, nudo = colonne(sys.argv[1]), colonne(sys.argv[2])
print(f"{sys.argv[3]} pairs, medians           program      bare   ratio")
for nome, colonna, unita, scala in (("exec to first window drawn", 0, "ms", 1),
                                    ("idle resident memory (Rss)", 2, "MB", 1024),
                                    ("idle private dirty memory", 3, "MB", 1024)):
    p = statistics.median(prog[colonna]) / scala
    n = statistics.median(nudo[colonna]) / scala
    print(f"{nome:28} {p:8.2f} {unita} {n:7.2f} {unita}   {p / n:5.2f}")
PY
