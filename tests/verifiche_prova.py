#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The project's own checks on the smallest trees they accept: the layer check (tests/strati.py), the
licence check (tests/licenze.py), the skipped-test check (scripts/saltati.py) and the report of a test
program's own skips (tests/richiede.sh --qtest). Each case makes a good
tree in a temporary folder, on which its check must pass, then breaks it as the case says, and the check
must fail and name what broke: a check that passed everything would let every tree through.

    verifiche_prova.py
"""

import subprocess
import sys
import tempfile
from pathlib import Path

SORGENTI = Path(__file__).resolve().parent.parent
STRATI = [SORGENTI / "tests/strati.py", "src"]
LICENZE = [SORGENTI / "tests/licenze.py", "."]
SALTATI = [SORGENTI / "scripts/saltati.py", "risultati.xml"]
# A QtTest program as ctest runs it: through richiede.sh, which turns its skips into ctest's.
QTEST = [SORGENTI / "tests/richiede.sh", "--qtest", "--", sys.executable, "prova.py"]

INTESTAZIONE = ("// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers\n"
                "// SPDX-License-Identifier: GPL-3.0-or-later\n")
# Two folders, one over the other, each declaring its library; the upper one includes the lower.
STRATI_BUONI = {
    "src/regole/CMakeLists.txt": "kelmo_libreria(kelmo_regole)\n",
    "src/regole/Basso.h": "#pragma once\n",
    "src/kit/CMakeLists.txt": "kelmo_libreria(kelmo_kit USA kelmo_regole)\n",
    "src/kit/Alto.h": '#pragma once\n#include "regole/Basso.h"\n',
}
LICENZE_BUONE = {
    "REUSE.toml": "# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers\n"
                  "# SPDX-License-Identifier: GPL-3.0-or-later\nversion = 1\n",
    "Uno.cpp": INTESTAZIONE,
}


# A JUnit file as ctest writes it, with one test that passed and the given test cases besides.
def junit(altri=""):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<testsuite name="prova" tests="2">\n'
            '<testcase name="passato" classname="passato" time="0.1" status="run">'
            "<system-out>ok</system-out></testcase>\n" + altri + "</testsuite>\n")


# Each case: its name, the check's command, the good tree, what breaks it (files written over the good
# ones), and a text the check's output must hold once it fails.
CASI = [
    ("a folder declares a library of another name", STRATI, STRATI_BUONI,
     {"src/kit/CMakeLists.txt": "kelmo_libreria(kelmo_other USA kelmo_regole)\n"},
     "kit/CMakeLists.txt must declare one library, kelmo_libreria(kelmo_kit ...)"),
    ("two folders include each other", STRATI, STRATI_BUONI,
     {"src/regole/Basso.h": '#pragma once\n#include "kit/Alto.h"\n'},
     "folders that include each other: kit, regole"),
    ("a header includes a window's form", STRATI, STRATI_BUONI,
     {"src/kit/Alto.h": '#pragma once\n#include "ui_Alto.h"\n'},
     "kit/Alto.h:2: includes ui_Alto.h: a window keeps its form in its .cpp"),
    ("the program sets a seam", STRATI, STRATI_BUONI,
     {"src/kit/Alto.h": '#pragma once\ninline void f() { Sostituzioni::Imposta({}); }\n'},
     "kit/Alto.h: sets a seam; only tests set them"),
    ("a file with its licence but no copyright", LICENZE, LICENZE_BUONE,
     {"Uno.cpp": INTESTAZIONE.splitlines(keepends=True)[1]},
     "Uno.cpp: no 'SPDX-License-Identifier"),
    ("a QtTest program skipped a case", QTEST, {"prova.py": 'print("PASS   : Prova::caso()")\n'},
     {"prova.py": 'print("PASS   : Prova::caso()")\nprint("SKIP   : Prova::altro() no tool here")\n'},
     "skipped: Prova::altro() no tool here"),
    ("a skipped test", SALTATI, {"risultati.xml": junit()},
     {"risultati.xml": junit('<testcase name="e2e_avvio" classname="e2e_avvio" time="0" status="notrun">'
                             '<skipped message="SKIP_RETURN_CODE=77"/>'
                             "<system-out>skipped: missing Xvfb</system-out></testcase>\n")},
     "e2e_avvio: skipped: missing Xvfb"),
]


def scrivi(radice, file):
    for nome, testo in file.items():
        percorso = radice / nome
        percorso.parent.mkdir(parents=True, exist_ok=True)
        percorso.write_text(testo, encoding="utf-8")


def esegui(comando, radice):
    interprete = [] if str(comando[0]).endswith(".sh") else [sys.executable]
    fatto = subprocess.run([*interprete, *map(str, comando)], cwd=radice, capture_output=True, text=True)
    return fatto.returncode, fatto.stdout + fatto.stderr


def main():
    errori = []
    for nome, comando, buono, guasto, atteso in CASI:
        with tempfile.TemporaryDirectory(prefix="kelmo-verifiche.") as cartella:
            radice = Path(cartella)
            scrivi(radice, buono)
            esito, uscita = esegui(comando, radice)
            if esito != 0:
                errori.append(f"{nome}: the good tree fails ({esito}):\n{uscita}")
                continue
            scrivi(radice, guasto)
            esito, uscita = esegui(comando, radice)
            if esito == 0 or atteso not in uscita:
                errori.append(f"{nome}: expected a failure naming \"{atteso}\", got {esito}:\n{uscita}")
                continue
        print(f"ok: {nome}")
    for errore in errori:
        print(f"FAIL: {errore}")
    return 1 if errori else 0


if __name__ == "__main__":
    sys.exit(main())
