#!/usr/bin/env bash
# Instructions the program and the bare Qt program (bench/nudo.cpp) execute from exec until their first
# window is on screen and idle, counted by callgrind on one private Xvfb display: steadier than the wall
# times of bench/avvio.sh on a shared machine.
#
#   bench/istruzioni.sh [BUILD_FOLDER] [SECONDS]    (defaults: build 6)
#
# The program runs from its build folder beside its sample tables, as run.sh starts it, and is ended
# with SIGTERM after SECONDS, while its splash is still up (it stays ten seconds); the bare program the
# same. Once a window is up and idle it executes next to nothing, so the count is that of the start.
set -euo pipefail
sorgente="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$sorgente/build}" && pwd)"
attesa="${2:-6}"

cmake -S "$sorgente" -B "$build" -DKELMO_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target kelmo-dravolo nudo >/dev/null
source "$sorgente/bench/schermo.sh"

# conta FOLDER PROGRAM: the instructions PROGRAM executes, started in FOLDER.
conta() {
  local uscita="$lavoro/callgrind.$RANDOM"
  (cd "$1" && exec valgrind --tool=callgrind --callgrind-out-file="$uscita" "$2" >/dev/null 2>&1) &
  local pid=$!
  sleep "$attesa"
  kill -TERM "$pid"
  wait "$pid" || true
  awk '/^summary:/ {print $2}' "$uscita"
}
programma=$(conta "$build" "$build/kelmo-dravolo")
nudo=$(conta "$build" "$build/bench/nudo")
awk -v p="$programma" -v n="$nudo" 'BEGIN {
  printf "instructions to the first window on screen, program %.1f M, bare %.1f M, ratio %.2f\n", p / 1e6, n / 1e6, p / n }'
