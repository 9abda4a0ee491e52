#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks that every file of the source tree says its licence, as REUSE asks: an SPDX licence line and
a copyright line near its top, or, for a file that cannot hold a comment, an entry of REUSE.toml.

    licenze.py <source folder>

The files are those git knows (tracked, or new and not ignored) or, outside a git checkout, every file
but build trees (folders holding a CMakeCache.txt) and a distribution's debian/ folder.
"""

import fnmatch
import os
import subprocess
import sys
import tomllib

LICENZA = "SPDX-License-Identifier: GPL-3.0-or-later"
COPIA = "SPDX-FileCopyrightText: "
# How far into a file its licence may stand: after a shebang or an XML declaration.
RIGHE_IN_TESTA = 5


def file_del_sorgente(radice):
    if os.path.isdir(os.path.join(radice, ".git")):
        uscita = subprocess.run(["git", "-C", radice, "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                                capture_output=True, check=True).stdout
        return sorted({n for n in uscita.decode().split("\0") if n and os.path.isfile(os.path.join(radice, n))})
    trovati = []
    for cartella, sottocartelle, nomi in os.walk(radice):
        # A distribution's own debian/ folder, added to an unpacked tree, is not the project's.
        sottocartelle[:] = [s for s in sottocartelle if s != ".git"
                            and not (cartella == radice and s == "debian")
                            and not os.path.exists(os.path.join(cartella, s, "CMakeCache.txt"))]
        trovati += [os.path.relpath(os.path.join(cartella, n), radice) for n in nomi]
    return sorted(trovati)


def annotati(radice):
    """The path patterns of REUSE.toml, whose licence it states, each with its own licence line."""
    with open(os.path.join(radice, "REUSE.toml"), "rb") as file:
        dati = tomllib.load(file)
    schemi = []
    for voce in dati.get("annotations", []):
        percorsi = voce["path"] if isinstance(voce["path"], list) else [voce["path"]]
        if voce.get("SPDX-License-Identifier") == "GPL-3.0-or-later" and voce.get("SPDX-FileCopyrightText"):
            schemi += percorsi
    return schemi


def coperto(nome, schemi):
    # REUSE's "**" crosses folders, "*" does not; fnmatch's "*" crosses them, which only widens "*".
    return any(fnmatch.fnmatchcase(nome, s.replace("**", "*")) for s in schemi)


def main(radice):
    schemi = annotati(radice)
    mancanti = []
    for nome in file_del_sorgente(radice):
        if nome == "LICENSE" or coperto(nome, schemi):
            continue
        try:
            with open(os.path.join(radice, nome), encoding="utf-8") as file:
                testa = [file.readline() for _ in range(RIGHE_IN_TESTA)]
        except UnicodeDecodeError:
            mancanti.append(f"{nome}: not text, and not in REUSE.toml")
            continue
        if not any(LICENZA in r for r in testa) or not any(COPIA in r for r in testa):
            mancanti.append(f"{nome}: no '{LICENZA}' and '{COPIA}...' lines in its first {RIGHE_IN_TESTA} lines")
    for riga in mancanti:
        print(riga)
    print(f"{len(mancanti)} of the source tree's files without their licence")
    return 1 if mancanti else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
