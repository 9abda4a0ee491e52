#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a test where what it needs is at hand; else names what is missing and ends with 77, which ctest
# reports as a skip (the test's SKIP_RETURN_CODE), never as a failure.
#
#   richiede.sh [<need>...] [--qtest] -- <command> [arguments...]
#
# A need is a program on PATH (Xvfb), an absolute path that must exist (a helper in /usr/libexec, a Qt
# plugin), a module of the system's Python as python3:<module> (the one the e2e sessions run), or
# root: for a user whom sudo lets in without asking now (./test.sh asks once, before the tests), the
# command runs as root through sudo, in this environment. With --qtest the command is a QtTest program: a case it skipped (QSKIP) is as unseen by ctest
# as a passed one, so where it skipped any and failed none it ends with 77 too, each skip named.
set -euo pipefail

mancanti=()
comeRoot=
qtest=
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  case $1 in
    --qtest) qtest=1 ;;
    root)
      if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
          comeRoot=1
        else
          mancanti+=("root privileges")
        fi
      fi ;;
    python3:*) /usr/bin/python3 -W ignore -c "import ${1#python3:}" 2>/dev/null || mancanti+=("the Python module ${1#python3:}") ;;
    /*) [ -e "$1" ] || mancanti+=("$1") ;;
    *) command -v "$1" >/dev/null || mancanti+=("$1") ;;
  esac
  shift
done
if [ $# -lt 2 ]; then
  echo "usage: $0 [<need>...] [--qtest] -- <command> [arguments...]" >&2
  exit 2
fi
shift

if [ ${#mancanti[@]} -gt 0 ]; then
  printf -v elenco '%s, ' "${mancanti[@]}"
  echo "skipped: missing ${elenco%, }"
  exit 77
fi
if [ -n "$comeRoot" ]; then
  # This environment, but root's own home and none of the user's folders: what root writes (caches,
  # settings) must not land among the user's files.
  ambiente=()
  while IFS= read -r -d '' voce; do
    case $voce in
      HOME=* | XDG_CACHE_HOME=* | XDG_CONFIG_HOME=* | XDG_DATA_HOME=* | XDG_STATE_HOME=* | XDG_RUNTIME_DIR=*) ;;
      *) ambiente+=("$voce") ;;
    esac
  done < <(env -0)
  set -- sudo -n env -i "${ambiente[@]}" "HOME=$(echo ~root)" "$@"
fi
if [ -z "$qtest" ]; then
  exec "$@"
fi
uscita=$(mktemp)
trap 'rm -f "$uscita"' EXIT
esito=0
"$@" 2>&1 | tee "$uscita" || esito=${PIPESTATUS[0]}
if [ "$esito" -eq 0 ] && grep -q '^SKIP   : ' "$uscita"; then
  sed -n 's/^SKIP   : /skipped: /p' "$uscita"
  exit 77
fi
exit "$esito"
