#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks that every C++ source of the program, its tests, fuzz targets and benchmarks is laid out as
# .clang-format says; lists the files that are not and fails. Changes nothing: `clang-format -i` on the
# files it names puts them right.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -d '' sorgenti < <(find src tests fuzz bench -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
  sort -z)
clang-format --dry-run -Werror "${sorgenti[@]}"
