#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks that every C++ source of the program, its tests, fuzz targets and benchmarks is laid out as
# .clang-format says; lists the files that are not and fails. Changes nothing: `clang-format -i` on the
# files it names puts them right.
# .clang-format is written for clang-format 14 (Debian 12's), and another major version lays the same
# code out otherwise: without clang-format-14, or a clang-format that is 14, the check says so and ends
# with 77, which ctest reports as a skip.
set -euo pipefail
cd "$(dirname "$0")/.."
VERSIONE=14
programma=
for candidato in clang-format-$VERSIONE clang-format; do
  if command -v "$candidato" >/dev/null &&
    [[ $("$candidato" --version) =~ version\ $VERSIONE\. ]]; then
    programma=$candidato
    break
  fi
done
if [ -z "$programma" ]; then
  trovata=$(clang-format --version 2>/dev/null || echo "no clang-format")
  echo "skipped: .clang-format is written for clang-format $VERSIONE; found: $trovata"
  exit 77
fi
mapfile -d '' sorgenti < <(find src tests fuzz bench -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
  sort -z)
"$programma" --dry-run -Werror "${sorgenti[@]}"
