#!/usr/bin/env bash
# Builds the fuzz targets with clang, or runs one of them for a while.
#   fuzz/esegui.sh costruisci <build folder>
#   fuzz/esegui.sh esegui <build folder> <target: scansione|intero|corpo> <seconds> [more libFuzzer options]
# A run starts from the seeds in fuzz/semi/<target> and keeps what it learns in <build folder>/corpus.
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
  exec "./fuzz_$nome" "corpus/$nome" "$sorgente/semi/$nome" \
    -max_total_time="$secondi" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$@"
  ;;
*)
  echo "unknown action: $azione" >&2
  exit 2
  ;;
esac
