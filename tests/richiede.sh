#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a test where what it needs is at hand; else names what is missing and ends with 77, which ctest
# reports as a skip (the test's SKIP_RETURN_CODE), never as a failure.
#
#   richiede.sh <need>... -- <command> [arguments...]
#
# A need is a program on PATH (Xvfb), an absolute path that must exist (a helper in /usr/libexec, a Qt
# plugin), a module of the system's Python as python3:<module> (the one the e2e sessions run), or
# root.
set -euo pipefail

mancanti=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  case $1 in
    root) [ "$(id -u)" -eq 0 ] || mancanti+=("root privileges") ;;
    python3:*) /usr/bin/python3 -W ignore -c "import ${1#python3:}" 2>/dev/null || mancanti+=("the Python module ${1#python3:}") ;;
    /*) [ -e "$1" ] || mancanti+=("$1") ;;
    *) command -v "$1" >/dev/null || mancanti+=("$1") ;;
  esac
  shift
done
if [ $# -lt 2 ]; then
  echo "usage: $0 <need>... -- <command> [arguments...]" >&2
  exit 2
fi
shift

if [ ${#mancanti[@]} -gt 0 ]; then
  printf -v elenco '%s, ' "${mancanti[@]}"
  echo "skipped: missing ${elenco%, }"
  exit 77
fi
exec "$@"
