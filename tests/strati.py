#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks that the includes of the program's sources point down its layers, and that no two folders of
src/ include each other, however indirectly.

    tests/strati.py <src folder> [--elenco]

The layers, bottom to top:
  rules       the files listed in src/regole.cmake, wherever they stand: they include only each other
  kit         app/
  subsystems  settings/, windows/, update/, main/, in this order: each includes those before it
  start-up    avvio/, over every window
A folder missing from the table below is an error: a new folder is given its place first.
With --elenco every include between two folders is listed, with the line that makes it.
"""

import re
import sys
from pathlib import Path

# For each folder, the folders whose files (other than rules) its files may include.
PUO_INCLUDERE = {
    "app": {"app"},
    "settings": {"settings", "app"},
    "windows": {"windows", "settings", "app"},
    "update": {"update", "windows", "settings", "app"},
    "main": {"main", "update", "windows", "settings", "app"},
    "avvio": {"avvio", "main", "update", "windows", "settings", "app"},
}
# Headers made by the build, by the folder whose layer they belong to.
GENERATI = {"build_config.h": "app"}

INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*"([^"]+)"', re.MULTILINE)


def regole(src):
    """The rules' files, relative to src, as regole.cmake lists them (none when it is missing)."""
    elenco = src / "regole.cmake"
    if not elenco.exists():
        return set()
    testo = elenco.read_text(encoding="utf-8")
    blocco = re.search(r"set\(KELMO_REGOLE\s+(.*?)\)", testo, re.DOTALL)
    if not blocco:
        sys.exit(f"{elenco}: no set(KELMO_REGOLE ...) list")
    return set(re.sub(r"#.*", "", blocco.group(1)).split())


def inclusioni(src):
    """Every (file, included file, line number) between two files of src, paths relative to src."""
    for file in sorted(src.rglob("*")):
        if file.suffix not in (".h", ".cpp") or not file.is_file():
            continue
        testo = file.read_text(encoding="utf-8", errors="replace")
        for trovato in INCLUDE.finditer(testo):
            nome = trovato.group(1)
            riga = testo.count("\n", 0, trovato.start()) + 1
            if nome in GENERATI:
                incluso = f"{GENERATI[nome]}/{nome}"
            elif nome.startswith("ui_"):
                continue  # the window design of a file of the same folder
            elif (src / nome).is_file():
                incluso = nome
            elif (file.parent / nome).is_file():
                incluso = str((file.parent / nome).relative_to(src))
            else:
                continue  # not one of the program's files (a .moc, for instance)
            yield str(file.relative_to(src)), incluso, riga


def cartella(percorso):
    return percorso.split("/")[0]


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
    file_regole = regole(src)
    errori = []
    for nome in sorted(file_regole):
        if not (src / nome).is_file():
            errori.append(f"regole.cmake lists {nome}, which does not exist")

    for c in sorted({cartella(str(f.relative_to(src))) for f in src.rglob("*.cpp")} |
                    {cartella(str(f.relative_to(src))) for f in src.rglob("*.h")}):
        if c not in PUO_INCLUDERE:
            errori.append(f"folder {c}/ has no layer: give it one in tests/strati.py")

    archi = {}
    for file, incluso, riga in inclusioni(src):
        da, a = cartella(file), cartella(incluso)
        if file in file_regole:
            if incluso not in file_regole:
                errori.append(f"{file}:{riga}: a rule includes {incluso}, which is not a rule")
        elif incluso not in file_regole and da in PUO_INCLUDERE and a not in PUO_INCLUDERE[da]:
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
