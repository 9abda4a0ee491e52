#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks that each folder of src/ is one library of its own name over the layers below it, that the
includes of the program's sources point down those layers, and that no two folders include each other,
however indirectly.

    tests/strati.py <src folder> [--elenco]

Each folder's CMakeLists.txt declares its one library, kelmo_<folder>, with kelmo_libreria; the
libraries it names after USA must be those of folders its files may include. Files in src/ itself are
the executable's (main.cpp) and may include any folder. The layers, bottom to top, as the table below
gives them; a folder missing from the table is an error: a new folder is given its place first.
A window's form (ui_*.h) is included by the window's .cpp only, never by a header, and no file of the
program sets a seam (Sostituzioni::Imposta): tests do, through tests/support.
With --elenco every include between two folders is listed, with the line that makes it.
"""

import re
import sys
from pathlib import Path

# For each folder, the folders whose files its files may include, itself included.
PUO_INCLUDERE = {
    "regole": {"regole"},
    "kit": {"kit", "regole"},
    "traduzione": {"traduzione", "kit", "regole"},
    "impostazioni": {"impostazioni", "kit", "regole"},
    "finestre": {"finestre", "traduzione", "kit", "regole"},
    "stampa": {"stampa", "kit", "regole"},
    "aggiornamento": {"aggiornamento", "traduzione", "kit", "regole"},
    "modulo": {"modulo", "stampa", "aggiornamento", "traduzione", "kit", "regole"},
    "principale": {"principale", "finestre", "impostazioni", "traduzione", "kit", "regole"},
    "avvio": {"avvio", "principale", "finestre", "impostazioni", "traduzione", "kit", "regole"},
}
# Headers made by the build, by the folder whose layer they belong to.
GENERATI = {"Configurazione.h": "kit"}
# What the executable's own files in src/ stand as.
RADICE = "."

INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*"([^"]+)"', re.MULTILINE)
# A window design's custom control: its header is included by the code uic makes of it.
INTESTAZIONE_UI = re.compile(r"<header>([^<]+)</header>")


def librerie(src):
    """The errors of the folders' library declarations: one kelmo_libreria(kelmo_<folder> USA ...) in each
    folder's CMakeLists.txt, naming only libraries of folders below it."""
    errori = []
    for c in sorted(p.name for p in src.iterdir() if p.is_dir()):
        lista = src / c / "CMakeLists.txt"
        if not lista.is_file():
            errori.append(f"{c}/ has no CMakeLists.txt declaring its library")
            continue
        testo = re.sub(r"#.*", "", lista.read_text(encoding="utf-8"))
        dichiarate = re.findall(r"\b(?:kelmo_libreria|qt_add_library|add_library)\s*\(([^)]*)\)", testo)
        if len(dichiarate) != 1 or not dichiarate[0].split()[0] == f"kelmo_{c}" or \
                not re.search(r"\bkelmo_libreria\s*\(", testo):
            errori.append(f"{c}/CMakeLists.txt must declare one library, kelmo_libreria(kelmo_{c} ...), and "
                          f"no other")
            continue
        parole = dichiarate[0].split()
        usa = parole[parole.index("USA") + 1:] if "USA" in parole else []
        for altra in re.findall(r"target_link_libraries\s*\(\s*kelmo_\w+\s+([^)]*)\)", testo):
            usa += altra.split()
        for libreria in usa:
            if not libreria.startswith("kelmo_"):
                continue
            sotto = libreria[len("kelmo_"):]
            if c in PUO_INCLUDERE and sotto not in PUO_INCLUDERE[c]:
                errori.append(f"{c}/CMakeLists.txt: kelmo_{c} links {libreria}, which is not below it")
    return errori


def inclusioni(src):
    """Every (file, included file, line number) between two files of src, paths relative to src."""
    for file in sorted(src.rglob("*")):
        if file.suffix not in (".h", ".cpp", ".ui") or not file.is_file():
            continue
        testo = file.read_text(encoding="utf-8", errors="replace")
        for trovato in (INTESTAZIONE_UI if file.suffix == ".ui" else INCLUDE).finditer(testo):
            nome = trovato.group(1)
            riga = testo.count("\n", 0, trovato.start()) + 1
            if nome in GENERATI:
                incluso = f"{GENERATI[nome]}/{nome}"
            elif nome.startswith("ui_"):
                if file.suffix == ".h":
                    yield str(file.relative_to(src)), nome, riga  # a window's form, open to its includers
                continue  # the window design of a file of the same folder
            elif (src / nome).is_file():
                incluso = nome
            elif (file.parent / nome).is_file():
                incluso = str((file.parent / nome).relative_to(src))
            else:
                continue  # not one of the program's files (a .moc, for instance)
            yield str(file.relative_to(src)), incluso, riga


def cartella(percorso):
    parti = percorso.split("/")
    return parti[0] if len(parti) > 1 else RADICE


def componenti_cicliche(archi):
    """The groups of folders that reach each other (strongly connected, more than one folder)."""
    nodi = sorted({a for a, _ in archi} | {b for _, b in archi})
    raggiunti = {n: {n} for n in nodi}
    cambiato = True
    while cambiato:
        cambiato = False
        for a, b in archi:
            nuovi = raggiunti[b] - raggiunti[a]
            if nuovi:
                raggiunti[a] |= nuovi
                cambiato = True
    gruppi = []
    for n in nodi:
        gruppo = sorted(m for m in nodi if m in raggiunti[n] and n in raggiunti[m])
        if len(gruppo) > 1 and gruppo not in gruppi:
            gruppi.append(gruppo)
    return gruppi


def cicli_elementari(archi):
    """Every simple cycle of the folder graph, each once, starting from its smallest folder."""
    uscite = {}
    for a, b in archi:
        uscite.setdefault(a, set()).add(b)
    cicli = []

    def visita(inizio, nodo, cammino):
        for dopo in sorted(uscite.get(nodo, ())):
            if dopo == inizio:
                cicli.append(cammino + [inizio])
            elif dopo > inizio and dopo not in cammino:
                visita(inizio, dopo, cammino + [dopo])

    for inizio in sorted(uscite):
        visita(inizio, inizio, [inizio])
    return cicli


def main():
    argomenti = [a for a in sys.argv[1:] if not a.startswith("--")]
    if len(argomenti) != 1:
        sys.exit(__doc__)
    src = Path(argomenti[0]).resolve()
    errori = librerie(src)

    for c in sorted({cartella(str(f.relative_to(src))) for f in src.rglob("*.cpp")} |
                    {cartella(str(f.relative_to(src))) for f in src.rglob("*.h")}):
        if c != RADICE and c not in PUO_INCLUDERE:
            errori.append(f"folder {c}/ has no layer: give it one in tests/strati.py")

    for file in sorted(src.rglob("*")):
        if file.suffix in (".h", ".cpp") and file.stem != "Sostituzioni" and \
                "Sostituzioni::Imposta" in file.read_text(encoding="utf-8", errors="replace"):
            errori.append(f"{file.relative_to(src)}: sets a seam; only tests set them (SostituzioniProva)")

    archi = {}
    for file, incluso, riga in inclusioni(src):
        if incluso.startswith("ui_"):
            errori.append(f"{file}:{riga}: includes {incluso}: a window keeps its form in its .cpp")
            continue
        da, a = cartella(file), cartella(incluso)
        if da in PUO_INCLUDERE and a not in PUO_INCLUDERE[da]:
            errori.append(f"{file}:{riga}: {da}/ includes {incluso}, from a layer above it")
        if da != a:
            archi.setdefault((da, a), []).append(f"{file}:{riga} -> {incluso}")

    gruppi = componenti_cicliche(archi)
    cicli = cicli_elementari(archi)
    for gruppo in gruppi:
        errori.append("folders that include each other: " + ", ".join(gruppo))

    if "--elenco" in sys.argv:
        for (da, a), righe in sorted(archi.items()):
            print(f"{da} -> {a}: {len(righe)}")
            for r in righe:
                print(f"    {r}")
    print(f"folders: {len({c for arco in archi for c in arco})}, edges between folders: {len(archi)}, "
          f"elementary cycles: {len(cicli)}, folders on a cycle: {sum(len(g) for g in gruppi)}")
    for ciclo in cicli:
        print("  cycle: " + " -> ".join(ciclo))
    for errore in errori:
        print(errore)
    return 1 if errori else 0


if __name__ == "__main__":
    sys.exit(main())
