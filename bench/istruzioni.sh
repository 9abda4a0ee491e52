#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Instructions the program and the bare Qt program (bench/nudo.cpp) execute, counted by callgrind on one
# private Xvfb display: steadier than the wall times of bench/avvio.sh on a shared machine. Two counts:
# from exec to the end of the first frame put on screen (the splash for the program, the only window for
# the bare one: callgrind dumps its count after the first QBackingStore::flush), and the whole run.
#
#   bench/istruzioni.sh [BUILD_FOLDER] [SECONDS]    (defaults: build 6)
#
# The program runs from its build folder beside its sample tables, as run.sh starts it, and is ended
# with SIGTERM after SECONDS, while its splash is still up (it stays ten seconds); the bare program the
# same. Once a window is up and idle it executes next to nothing, so the whole run counts what the
# program does at start, on the splash's path and after it.
# Then what start-up no longer does, which comes at the first use of the module holding printing and
# the update check (bench/primo_uso.cpp): the instructions from the request, with the main window up and
# idle, to the first frame of the update check's window, and of the printer dialog.
set -euo pipefail
sorgente="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$sorgente/build}" && pwd)"
attesa="${2:-6}"

cmake -S "$sorgente" -B "$build" -DKELMO_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target kelmo-dravolo nudo primo-uso >/dev/null
source "$sorgente/bench/schermo.sh"

# conta FOLDER PROGRAM: "TO_FIRST_FRAME WHOLE_RUN", the instructions PROGRAM executes, started in FOLDER.
conta() {
  local uscita="$lavoro/callgrind.$RANDOM"
  (cd "$1" && exec valgrind --tool=callgrind --dump-after='QBackingStore::flush*' \
    --callgrind-out-file="$uscita.%p" "$2" >/dev/null 2>&1) &
  local pid=$!
  sleep "$attesa"
  kill -TERM "$pid"
  wait "$pid" || true
  # One file per part: .1 ends with the first flush, the last (no suffix) with the program's end.
  local primo=$(awk '/^summary:/ {print $2}' "$uscita.$pid.1")
  local tutto=$(cat "$uscita.$pid" "$uscita.$pid".* | awk '/^summary:/ {s += $2} END {print s}')
  echo "$primo $tutto"
}
read -r programma programmaTutto <<<"$(conta "$build" "$build/kelmo-dravolo")"
read -r nudo nudoTutto <<<"$(conta "$build" "$build/bench/nudo")"
awk -v p="$programma" -v n="$nudo" -v pt="$programmaTutto" -v nt="$nudoTutto" 'BEGIN {
  printf "instructions to the first frame on screen, program %.1f M, bare %.1f M, ratio %.2f\n", p / 1e6, n / 1e6, p / n
  printf "instructions in the whole run,             program %.1f M, bare %.1f M, ratio %.2f\n", pt / 1e6, nt / 1e6, pt / nt }'

# primo_uso WHAT: the instructions from the request to the first frame of the window it opens.
primo_uso() {
  local uscita="$lavoro/primo.$RANDOM"
  (cd "$build" && exec valgrind --tool=callgrind --collect-atstart=no --dump-after='QBackingStore::flush*' \
    --callgrind-out-file="$uscita.%p" "$build/primo-uso" "$1" >/dev/null 2>&1) &
  local pid=$!
  sleep "$attesa"
  kill -TERM "$pid"
  wait "$pid" || true
  # The parts before the request count nothing; the first that counts ends with the window's first frame.
  local parte
  for parte in $(ls "$uscita.$pid".* | sed 's/.*\.//' | sort -n); do
    awk '/^summary:/ && $2 > 0 {print $2; trovato = 1} END {exit !trovato}' "$uscita.$pid.$parte" && return
  done
  echo 0
}
aggiornamento=$(primo_uso aggiornamento)
stampa=$(primo_uso stampa)
awk -v a="$aggiornamento" -v s="$stampa" 'BEGIN {
  printf "first use of the module, to the first frame:  update window %.1f M, printer dialog %.1f M\n", a / 1e6, s / 1e6 }'
