#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the fuzz targets with clang, or runs one of them for a while.
#   fuzz/esegui.sh costruisci <build folder>
#   fuzz/esegui.sh esegui <build folder> <target: scansione|intero|corpo> <seconds> [more libFuzzer options]
# A run starts from the seeds in fuzz/semi/<target>, and for the page target from large pages made here
# (kept out of the repository), and keeps what it learns in <build folder>/corpus.
# Any crash, sanitizer report or mismatch fails the run and leaves the input in <build folder>/crash-*.
set -euo pipefail
sorgente="$(cd "$(dirname "$0")" && pwd)"
azione="${1:?costruisci or esegui}"
cartella="${2:?build folder}"

case "$azione" in
costruisci)
  cmake -S "$sorgente" -B "$cartella" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$cartella" -j2
  ;;
esegui)
  nome="${3:?target}"
  secondi="${4:?seconds}"
  shift 4
  mkdir -p "$cartella/corpus/$nome"
  cd "$cartella"
  semi=("$sorgente/semi/$nome")
  massimo=4096
  if [ "$nome" = corpo ]; then
    # Pages up to the browser's limit (1 MB) and the byte that picks the character set: the large seeds
    # are what a hostile site sends, made of small tags, nesting, one run of text, ordinary paragraphs.
    massimo=$((1024 * 1024 + 1))
    grandi="$PWD/semi-grandi/corpo"
    mkdir -p "$grandi"
    ripeti() { yes "$1" | tr -d '\n' | head -c "$2" || true; }
    { printf '<html><body>'; ripeti '<p>' 1048000; } > "$grandi/tag-piccoli"
    ripeti '<div>' 1048000 > "$grandi/annidati"
    { printf '<body>'; ripeti 'sei numeri &egrave; gi&agrave; ' 1048000; } > "$grandi/testo"
    { printf '<html><head><title>Kelmo</title></head><body>'
      ripeti '<p class="n">Estrazione del <a href="/prg/x.exe">lotto</a> - sei numeri.</p>' 1040000
      printf '<p>Versione 06.2002-16</p></body></html>'; } > "$grandi/ordinaria"
    semi+=("$grandi")
  fi
  exec "./fuzz_$nome" "corpus/$nome" "${semi[@]}" \
    -max_len="$massimo" -max_total_time="$secondi" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 "$@"
  ;;
*)
  echo "unknown action: $azione" >&2
  exit 2
  ;;
esac
