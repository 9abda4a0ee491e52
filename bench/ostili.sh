#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The program against hostile tables: the time from exec to its first window on screen (the splash, or
# the error box of a read cut short) and its peak resident memory, against the same program with the
# sample tables.
#
#   bench/ostili.sh [BUILD_FOLDER] [RUNS]        (defaults: build 3)
#   KELMO_ALTRO=FOLDER bench/ostili.sh ...        also runs FOLDER/kelmo-dravolo, an earlier build copied
#                                                 with its tables, on the same tables, as "other"
#
# Each set of tables stands in a folder of its own, the program's working directory; in each the
# settings table gives the language Inglese, so the splash looks its text up:
#   esempio   the sample translation table
#   vista     the translation table is a view over a recursive query that never ends
#   testo50   the sample translation table, with the splash's text translated by 50 MB of text
#   vistaimp  the sample translation table; the settings table is a view that would give Inglese, over
#             a recursive query that never ends
# bench/sentinella measures each start and reads the memory a second after the first window; it gives
# up on a start that shows no window within 60 seconds ("none" below).
set -euo pipefail
sorgente="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$sorgente/build}" && pwd)"
giri="${2:-3}"

cmake -S "$sorgente" -B "$build" -DKELMO_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target kelmo-dravolo sentinella >/dev/null

source "$sorgente/bench/schermo.sh"

tabelle() {
  mkdir -p "$lavoro/$1"
  sqlite3 -bail "$lavoro/$1/impostazioni.db" \
    "create table impostazioni (LINGUA text); insert into impostazioni values ('Inglese');"
}
tabelle esempio
sqlite3 -bail "$lavoro/esempio/lingua.db" ".read '$sorgente/data/lingua.sql'"
tabelle vista
sqlite3 -bail "$lavoro/vista/lingua.db" "create view lingua as with recursive r(n) as (select 1 union all
  select n + 1 from r) select 'Caricamento in corso, attendere..' as ITALIANO, 'x' as Inglese from r where n = 0;"
tabelle testo50
cp "$lavoro/esempio/lingua.db" "$lavoro/testo50/lingua.db"
sqlite3 -bail "$lavoro/testo50/lingua.db" "update lingua set Inglese = replace(hex(zeroblob(25000000)), '0', 'a')
  where ITALIANO = 'Caricamento in corso, attendere..';"
mkdir -p "$lavoro/vistaimp"
cp "$lavoro/esempio/lingua.db" "$lavoro/vistaimp/lingua.db"
sqlite3 -bail "$lavoro/vistaimp/impostazioni.db" "create view impostazioni as with recursive r(n) as (select 1
  union all select n + 1 from r) select 'Inglese' as LINGUA from r where n = 0;"

# The program looks for lingua.db beside itself (its build folder holds one) and opens the tables in
# its working directory. A start without a window is recorded as such, and why.
altro="${KELMO_ALTRO:+$(cd "$KELMO_ALTRO" && pwd)}"
programmi=(programma)
[ -n "$altro" ] && programmi+=(altro)
avvia() { # NAME TABLES
  local eseguibile="$build/kelmo-dravolo"
  [ "$1" = altro ] && eseguibile="$altro/kelmo-dravolo"
  if ! (cd "$lavoro/$2" && "$build/bench/sentinella" 1 1000 "$eseguibile" 2>"$lavoro/errore") >>"$lavoro/$1.$2"; then
    echo none >>"$lavoro/$1.$2"
    echo "$1, $2: $(cat "$lavoro/errore")" >&2
  fi
}
for _ in $(seq "$giri"); do
  for caso in esempio vista testo50 vistaimp; do
    for nome in "${programmi[@]}"; do avvia "$nome" "$caso"; done
  done
done

/usr/bin/python3 - "$giri" "$lavoro" "${programmi[@]}" <<'PY'
import statistics, sys
giri, lavoro, programmi = sys.argv[1], sys.argv[2], sys.argv[3:]
def misure(nome, caso):
    righe = [r.split() for r in open(f"{lavoro}/{nome}.{caso}") if r.strip()]
    fatte = [list(map(float, r)) for r in righe if r[0] != "none"]
    return fatte, len(righe) - len(fatte)
print(f"{giri} runs each, medians; peak growth is over the same program with the sample tables")
print(f"{'':10}{'program':>10} {'first window ms':>16} {'peak Rss MB':>12} {'peak growth MB':>15}")
for nome in programmi:
    etichetta = "program" if nome == "programma" else "other"
    base = statistics.median(r[4] for r in misure(nome, "esempio")[0]) / 1024
    for caso in ("esempio", "vista", "testo50", "vistaimp"):
        fatte, senza = misure(nome, caso)
        if not fatte:
            print(f"{caso:10}{etichetta:>10} {'none':>16}")
            continue
        finestra = statistics.median(r[0] for r in fatte)
        picco = statistics.median(r[4] for r in fatte) / 1024
        nota = f"  ({senza} starts without a window)" if senza else ""
        print(f"{caso:10}{etichetta:>10} {finestra:16.0f} {picco:12.1f} {picco - base:15.1f}{nota}")
PY
