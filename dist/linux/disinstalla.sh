#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Uninstalls Kelmo_Dravolo installed with `cmake --install`: removes the files that installati.txt,
# beside this script, lists (this script and the list included), with the files SQLite may have left
# beside a table, and the fixed number the program kept in its own folder, with what an interrupted
# save of it left (redme.qzl.kelmo-...); then the folders the install made, deepest first, each only
# if it is empty. A folder that stood before the install is never touched.
set -eu

cartella=$(dirname -- "$(readlink -f -- "$0")")
elenco=$cartella/installati.txt
if [ ! -f "$elenco" ]; then
  echo "disinstalla.sh: $elenco is missing: nothing is removed" >&2
  exit 1
fi
# Read whole before anything goes: the list is one of the files removed.
voci=$(cat -- "$elenco")

rm -f -- "$cartella/redme.qzl" "$cartella"/redme.qzl.kelmo-*
printf '%s\n' "$voci" | while IFS= read -r voce; do
  case $voce in
    '') ;;
    */) rmdir -- "$voce" 2>/dev/null || true ;;
    *.db) rm -f -- "$voce" "$voce-journal" "$voce-wal" "$voce-shm" ;;
    *) rm -f -- "$voce" ;;
  esac
done
