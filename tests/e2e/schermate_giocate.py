# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The pictures of the README and the help page for the player's windows: the list of the session's
plays after ten drawn at once, and the check of those plays against the first one's numbers, each
cropped to its window; with --volto, the main window alone before any play (to compare its face
between two builds).

    tests/e2e/sessione.sh build/kelmo-dravolo tests/e2e/schermate_giocate.py docs/
    tests/e2e/sessione.sh build/kelmo-dravolo tests/e2e/schermate_giocate.py --volto volto.png
"""

import os
import shutil
import sys

import accessibile as A
from e2e_tastiera import CTRL, INVIO, attiva, con_il_fuoco, scrivi, tasto
from e2e_vincite import NOMI_CAMPI, voci


def copia(foto, destinazione):
    os.makedirs(os.path.dirname(os.path.abspath(destinazione)), exist_ok=True)
    shutil.copy(foto, destinazione)
    print(destinazione)


def volto(destinazione):
    with A.programma() as processo:
        principale = A.finestra_principale(processo.pid)
        A.sposta_puntatore(0, 0)
        attiva(principale, "the main window")
        copia(A.schermata("volto.png", principale), destinazione)


def main(cartella):
    with A.programma() as processo:
        pid = processo.pid
        principale = A.finestra_principale(pid)
        A.sposta_puntatore(0, 0)
        attiva(principale, "the main window")
        tasto("g", CTRL)
        attiva(A.trova_finestra(pid, "Gioca più volte", "dialog"), "the window that asks how many")
        scrivi("10")
        tasto(INVIO)
        A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)

        attiva(principale, "the main window")
        tasto("l", CTRL)
        elenco = A.trova_finestra(pid, "Giocate della sessione", "dialog")
        attiva(elenco, "the list of the plays")
        giocate = A.attendi(lambda: (lambda v: v if len(v) == 10 else None)(voci(A.trova(elenco, "list", "Giocate"))),
                            "ten plays in the list")
        copia(A.schermata("giocate.png", elenco), os.path.join(cartella, "giocate.png"))
        A.chiudi_finestra_attiva()

        attiva(principale, "the main window")
        tasto("r", CTRL)
        finestra = A.trova_finestra(pid, "Verifica vincite", "dialog")
        attiva(finestra, "the check window")
        for nome, numero in zip(NOMI_CAMPI, giocate[0].split(": ")[1].split()):
            campo = A.trova(finestra, "text", f"{nome} numero estratto")
            con_il_fuoco(campo, f"the field {nome}")
            scrivi(numero)
            A.attendi(lambda: A.testo(campo) == numero, f"{numero} in the field {nome}")
        tasto(INVIO)
        A.attendi(lambda: voci(A.trova(finestra, "list", "Risultati")) or None, "the results")
        copia(A.schermata("verifica.png", finestra), os.path.join(cartella, "verifica.png"))


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--volto":
        A.esegui(volto, sys.argv[2])
    elif len(sys.argv) == 2:
        A.esegui(main, sys.argv[1])
    else:
        sys.exit(f"usage: {sys.argv[0]} <folder> | --volto <picture.png>")
