#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Fails when a ctest run skipped any test, naming each with the reason its output gave.

    saltati.py <JUnit file of the run>

./test.sh and CI install everything the suite needs, so a skip there means an install step is missing:
a packager's run may skip what its machine lacks, theirs may not. The file is the one the dev and asan
test presets write (outputJUnitFile).
"""

import sys
import xml.etree.ElementTree as ET


def main(percorso):
    saltati = []
    for prova in ET.parse(percorso).getroot().iter("testcase"):
        salto = prova.find("skipped")
        # Not run because a test it needs failed: ctest counts that as a failure already.
        if salto is None or not salto.get("message", "").startswith("SKIP_"):
            continue
        uscita = prova.findtext("system-out") or ""
        motivi = [r for r in uscita.splitlines() if r.startswith("skipped: ")]
        saltati.append((prova.get("name"), motivi[0] if motivi else salto.get("message", "")))
    if not saltati:
        return 0
    print(f"\nSkipped: {len(saltati)} of the tests. A full run must skip none: install what they need "
          "(scripts/deps.sh test lists it).", file=sys.stderr)
    for nome, motivo in saltati:
        print(f"  {nome}: {motivo}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
