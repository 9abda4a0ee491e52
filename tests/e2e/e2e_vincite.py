# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""A player's evening with the keyboard alone: ten plays drawn at once with Ctrl+G; the list of the
session's plays opened with Ctrl+L and read through the accessibility tree, one line a play; the plays
checked with Ctrl+R against a combination typed in (the first play's numbers), the categories read back;
then the plays saved with Ctrl+S and the same check made on that file, opened with "Apri giocate...".

Run through sessione.sh, which prepares the display, openbox, the buses and a private copy of the
program.
"""

import os

import accessibile as A
from accessibile import passo, verifica
from e2e_tastiera import ALT, CTRL, ESC, INVIO, attiva, con_il_fuoco, scrivi, tasto

NOMI_CAMPI = ["Primo", "Secondo", "Terzo", "Quarto", "Quinto", "Sesto"]


def voci(lista):
    """The lines of a list as a screen reader reads them."""
    return [a.name for a in A.discendenti(lista) if a.getRoleName() == "list item"]


def scrivi_nome_file(dialogo, percorso):
    """Types a path into a file dialog's name field, which has the focus, and confirms it."""
    nome = A.attendi(lambda: [a for a in A.discendenti(dialogo) if a.getRoleName() == "text"
                              and "focused" in A.stati(a)], "the dialog's name field to take the focus")[0]
    tasto("a", CTRL)
    scrivi(percorso)
    A.attendi(lambda: A.testo(nome) == percorso, "the file's name in the field")
    tasto(INVIO)


def verifica_vincite(pid, principale, numeri, da_file=None):
    """Ctrl+R, the six numbers typed field by field, the plays (the session's, or a file's), Enter:
    returns the result lines and the summary, as read through the accessibility tree."""
    attiva(principale, "the main window")
    tasto("r", CTRL)
    finestra = A.trova_finestra(pid, "Verifica vincite", "dialog")
    attiva(finestra, "the check window")
    for nome, numero in zip(NOMI_CAMPI, numeri):
        campo = A.trova(finestra, "text", f"{nome} numero estratto")
        con_il_fuoco(campo, f"the field {nome}")
        scrivi(numero)
        A.attendi(lambda: A.testo(campo) == numero, f"{numero} in the field {nome}")
    if da_file:
        tasto("a", ALT)
        apri = A.trova_finestra(pid, "Apri giocate", "dialog")
        attiva(apri, "the open dialog")
        scrivi_nome_file(apri, da_file)
        attiva(finestra, "the check window, once the open dialog has gone,")
        verifica("checked" in A.stati(A.trova(finestra, "radio button", "Le giocate di un file")),
                 "the file's plays are not the ones chosen")
    tasto("v", ALT)
    risultati = A.trova(finestra, "list", "Risultati")
    righe = A.attendi(lambda: voci(risultati) or None, "the results")
    riepilogo = [t for t in A.etichette(finestra) if t.startswith("Riepilogo")]
    tasto(ESC)
    A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)
    return righe, riepilogo


def main():
    temp = A.cartella_temporanea()
    with A.programma() as processo:
        pid = processo.pid
        principale = A.finestra_principale(pid)
        attiva(principale, "the main window, once the splash has gone,")

        passo("Ctrl+G, 10, Enter: ten plays at once")
        tasto("g", CTRL)
        scelta = A.trova_finestra(pid, "Gioca più volte", "dialog")
        attiva(scelta, "the window that asks how many")
        scrivi("10")
        tasto(INVIO)
        A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)

        passo("Ctrl+L: the session's plays, each heard as one line; Escape closes the list")
        attiva(principale, "the main window")
        tasto("l", CTRL)
        elenco = A.trova_finestra(pid, "Giocate della sessione", "dialog")
        attiva(elenco, "the list of the plays")
        giocate = A.attendi(lambda: (lambda v: v if len(v) == 10 else None)(voci(A.trova(elenco, "list", "Giocate"))),
                            "ten plays in the list")
        verifica([g.split(":")[0] for g in giocate] == [f"Giocata {n}" for n in range(1, 11)],
                 f"the list reads {giocate}")
        verifica("10 giocate nella sessione" in A.etichette(elenco), f"the list's labels: {A.etichette(elenco)}")
        tasto(ESC)
        A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)

        # The first play, in ascending order, typed in as the numbers drawn.
        numeri = giocate[0].split(": ")[1].split()
        verifica(numeri == sorted(numeri) and len(numeri) == 6, f"the first play reads {giocate[0]}")

        passo("Ctrl+R, the first play's numbers, Enter: the session's plays checked, read back")
        righe, riepilogo = verifica_vincite(pid, principale, numeri)
        verifica(len(righe) == 10 and righe[0].endswith(" - 6"), f"the results read {righe}")
        verifica(riepilogo and riepilogo[0].startswith("Riepilogo - 6: 1, "), f"the summary reads {riepilogo}")

        passo("Ctrl+S, the file's name, Enter; then Ctrl+R on that file: the same results")
        attiva(principale, "the main window")
        tasto("s", CTRL)
        salva = A.trova_finestra(pid, "Salva le giocate", "dialog")
        attiva(salva, "the save dialog")
        file = os.path.join(temp, "giocate.txt")
        scrivi_nome_file(salva, file)
        A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)
        A.attendi(lambda: os.path.isfile(file), "the saved file")
        righe_file, riepilogo_file = verifica_vincite(pid, principale, numeri, da_file=file)
        verifica(righe_file == righe and riepilogo_file == riepilogo,
                 f"from the file: {righe_file} {riepilogo_file}, from the session: {righe} {riepilogo}")

        passo("Ctrl+Q ends the program")
        attiva(principale, "the main window")
        tasto("q", CTRL)
        codice = A.attendi_uscita(processo, tempo=5)
        verifica(codice == 0, f"the program exited with code {codice}")


if __name__ == "__main__":
    A.esegui(main)
