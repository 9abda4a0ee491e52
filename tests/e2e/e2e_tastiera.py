# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""A whole session of the built program with the keyboard alone, on a real display with a window
manager: not one pointer event. Three plays with F5; the plays copied with Ctrl+C and read back from
the desktop's clipboard as another program would; a number fixed through Ctrl+I and the settings
window's keys, then seen first in the next play; every play printed with Ctrl+P through the real
printer dialog to a PDF file, read back; the plays saved with Ctrl+S through the save dialog, read
back; the update-check window opened from the menu, its question answered No with Tab and Space, a
check started with Alt+C and the window closed with Escape; About opened from the menu with Alt+G and
the arrows, its site link reached with Tab and opened with Enter, and closed with Escape; Ctrl+Q ends
the program.

Run through sessione.sh, which prepares the display, openbox, the buses and a private copy of the
program.
"""

import os
import subprocess
import urllib.parse

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

import accessibile as A  # noqa: E402
from accessibile import passo, verifica  # noqa: E402

# X key symbols and modifier masks.
F5 = 0xFFC2
INVIO = 0xFF0D
TAB = 0xFF09
SPAZIO = 0x20
ESC = 0xFF1B
DESTRA = 0xFF53
GIU = 0xFF54
CTRL = 1 << 2
ALT = 1 << 3

RIENTRO = " " * 7
SALVATE = "Le impostazioni sono state salvate"


def tasto(simbolo, modificatori=0):
    """One real key press (XTest), with the modifiers held down, delivered to the active window."""
    if isinstance(simbolo, str):
        simbolo = ord(simbolo)
    if modificatori:
        Atspi.generate_keyboard_event(modificatori, None, Atspi.KeySynthType.LOCKMODIFIERS)
    try:
        Atspi.generate_keyboard_event(simbolo, None, Atspi.KeySynthType.SYM)
    finally:
        if modificatori:
            Atspi.generate_keyboard_event(modificatori, None, Atspi.KeySynthType.UNLOCKMODIFIERS)


def scrivi(testo):
    for carattere in testo:
        tasto(carattere)


def attiva(finestra, descrizione):
    A.attendi(lambda: "active" in A.stati(finestra), f"{descrizione} to be active")


def con_il_fuoco(controllo, descrizione, tasti=30):
    """Tab until the control has the keyboard focus; each press waits for the focus to move on."""
    for _ in range(tasti):
        if "focused" in A.stati(controllo):
            return
        tasto(TAB)
        try:
            A.attendi(lambda: "focused" in A.stati(controllo), descrizione, tempo=0.5)
            return
        except A.Scaduto:
            continue
    raise AssertionError(f"Tab never brought the focus to {descrizione}")


def stabile(leggi):
    """A value read twice in a row the same (the program may be handling a key between two reads)."""
    primo = leggi()
    return primo if leggi() == primo else None


def gioca(campi, precedente):
    tasto(F5)
    return A.attendi(lambda: (lambda g: g if g and g != precedente and "??" not in g else None)(
        stabile(lambda: tuple(A.testo(c) for c in campi))), "a new play after F5")


def main():
    fisso = os.path.join(A.cartella_programma(), "redme.qzl")
    verifica(not os.path.exists(fisso), "a fixed-number file is already next to the program")
    temp = A.cartella_temporanea()
    with A.programma(env=A.ambiente_con_apertura()) as processo:
        pid = processo.pid
        principale = A.finestra_principale(pid)
        # The window manager gives the new window the focus: nothing else may.
        attiva(principale, "the main window, once the splash has gone,")
        campi = [A.trova(principale, "text", nome) for nome in A.CAMPI]

        passo("F5 three times: three plays")
        giocate = []
        for _ in range(3):
            giocate.append(gioca(campi, giocate[-1] if giocate else None))
            print(f"   play: {' '.join(giocate[-1])}")
        righe = [RIENTRO + " ".join(g) for g in giocate]

        passo("Ctrl+C: the plays, as printed, on the desktop's clipboard")
        tasto("c", CTRL)
        atteso = "".join(r + "\n" for r in righe)
        appunti = A.attendi(lambda: (lambda t: t if t == atteso else None)(subprocess.run(
            ["xclip", "-o", "-selection", "clipboard"], capture_output=True, text=True, timeout=10).stdout),
            "the plays on the clipboard")
        verifica(appunti == atteso, f"the clipboard holds {appunti!r}")

        passo("Ctrl+I, Tab, Space, Tab, 7, Enter: 07 fixed, and confirmed with Enter")
        tasto("i", CTRL)
        impostazioni = A.trova_finestra(pid, "Impostazioni", "dialog")
        attiva(impostazioni, "the settings window")
        casella = A.trova(impostazioni, "check box", "Si")
        con_il_fuoco(casella, "the box")
        tasto(SPAZIO)
        A.attendi(lambda: "checked" in A.stati(casella), "the box to be ticked")
        campo = A.trova(impostazioni, "text", "Numero fisso")
        con_il_fuoco(campo, "the number field")
        scrivi("7")
        A.attendi(lambda: A.testo(campo) == "7", "7 in the field")
        tasto(INVIO)
        informazione = A.trova_finestra(pid, "Messaggio.", "alert")
        verifica(SALVATE in A.etichette(informazione), f"the box says {A.etichette(informazione)}")
        attiva(informazione, "the information box")
        tasto(INVIO)
        A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)
        attiva(principale, "the main window, once the settings window has gone,")

        passo("F5: 07 takes the first field")
        giocate.append(gioca(campi, giocate[-1]))
        print(f"   play: {' '.join(giocate[-1])}")
        verifica(giocate[-1][0] == "07", f"the play {giocate[-1]} does not start with 07")
        righe.append(RIENTRO + " ".join(giocate[-1]))

        passo("Ctrl+P, Enter (all plays), then the printer dialog: the file's name typed, Enter")
        tasto("p", CTRL)
        domanda = A.trova_finestra(pid, "Richiesta.", "alert")
        verifica("Stampare tutte le giocate effettuate fino adesso?" in A.etichette(domanda),
                 f"the question is {A.etichette(domanda)}")
        attiva(domanda, "the question")
        tasto(INVIO)
        dialogo = A.trova_finestra(pid, "Stampa", "dialog")
        attiva(dialogo, "the printer dialog")
        verifica(A.trova(dialogo, "combo box", "Stampa su file (PDF)"), "no PDF printer offered")
        uscita = A.trova(dialogo, "text", "File di output:")
        con_il_fuoco(uscita, "the output file field")
        pdf = os.path.join(temp, "giocate.pdf")
        tasto("a", CTRL)
        scrivi(pdf)
        A.attendi(lambda: A.testo(uscita) == pdf, "the PDF file's name in the field")
        tasto(INVIO)
        A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)
        A.attendi(lambda: os.path.isfile(pdf), "the PDF file")
        testo = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True, check=True,
                               timeout=30).stdout
        stampate = [r.strip() for r in testo.splitlines() if r.strip()]
        sito = urllib.parse.urlsplit(os.environ["KELMO_SITO"]).hostname
        intestazione = f"Riepilogo Stampa giocate effettuate tramite Kelmo_Dravolo - {sito} - {os.environ['KELMO_POSTA']}"
        verifica(stampate == [intestazione] + [r.strip() for r in righe], f"the printed page reads {stampate}")

        passo("Ctrl+S: the save dialog, the file's name typed, Enter: the plays in a text file")
        attiva(principale, "the main window, once the printer dialog has gone,")
        tasto("s", CTRL)
        salva = A.trova_finestra(pid, "Salva le giocate", "dialog")
        attiva(salva, "the save dialog")
        nome = [a for a in A.discendenti(salva) if a.getRoleName() == "text" and "focused" in A.stati(a)]
        verifica(nome, "the save dialog opens with no field in focus")
        verifica(A.testo(nome[0]).endswith("giocate.txt"), f"the dialog proposes {A.testo(nome[0])!r}")
        txt = os.path.join(temp, "giocate.txt")
        tasto("a", CTRL)
        scrivi(txt)
        A.attendi(lambda: A.testo(nome[0]) == txt, "the text file's name in the field")
        tasto(INVIO)
        A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)
        A.attendi(lambda: os.path.isfile(txt), "the text file")
        with open(txt, encoding="utf-8") as file:
            salvato = file.read()
        verifica(salvato == "".join(r + "\n" for r in righe), f"the saved file holds {salvato!r}")

        passo("Alt+G, Right, Enter: the update check; No with Tab and Space; Alt+C checks; Escape closes")
        attiva(principale, "the main window, once the save dialog has gone,")
        tasto("g", ALT)
        tasto(DESTRA)
        tasto(INVIO)
        domanda = A.trova_finestra(pid, "Richiesta.", "alert")
        attiva(domanda, "the question")
        con_il_fuoco(A.trova(domanda, "push button", "No"), "the No button")
        tasto(SPAZIO)
        aggiornamento = A.trova_finestra(pid, "Controllo eventuali aggiornamenti disponibili", "dialog")
        attiva(aggiornamento, "the update-check window")
        # No site answers here: the check that Alt+C starts ends without a version.
        tasto("c", ALT)
        A.trova(aggiornamento, "label", "Non disponibile", tempo=45)
        tasto(ESC)
        A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)

        passo("Alt+G, Right, Right, Down, Enter: About; Tab, Enter opens the site; Escape closes it")
        attiva(principale, "the main window, once the update check has gone,")
        # The menus open and move within the handling of each key, in the keys' order.
        tasto("g", ALT)
        tasto(DESTRA)
        tasto(DESTRA)
        tasto(GIU)
        tasto(INVIO)
        about = A.trova_finestra(pid, "About", "dialog")
        attiva(about, "the About window")
        sito = os.environ["KELMO_SITO"]
        con_il_fuoco(A.trova(about, "link", sito), "the site's link")
        tasto(INVIO)
        A.attendi(lambda: [a for a in A.aperture() if a.lower().startswith(sito.lower())],
                  "the site handed to the desktop")
        tasto(ESC)
        A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)

        passo("Ctrl+Q ends the program")
        attiva(principale, "the main window, once About has gone,")
        tasto("q", CTRL)
        codice = A.attendi_uscita(processo, tempo=5)
        verifica(codice == 0, f"the program exited with code {codice}")


if __name__ == "__main__":
    A.esegui(main)
