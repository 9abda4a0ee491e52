# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The built program on a real display, met as a screen reader meets it: the main window comes up,
every control can be named, the site and mail addresses of the About and bug-report windows are links
that a screen reader can press, F1 hands the help page to the desktop's opener, "Gioca" draws plays, a
fixed number in redme.qzl always takes the first field, and closing the window ends the program.

Run through sessione.sh, which prepares the display, the buses and a private copy of the program.
"""

import os
import re
import urllib.parse

import accessibile as A
from accessibile import passo, verifica

PULSANTI = ["Stampa", "Impostazioni", "Gioca"]
# Each menu, then its entries, with the keys a screen reader announces for them.
VOCI_MENU = [("Giocate", "Alt+G"), ("Gioca", "F5"), ("Gioca più volte...", "Ctrl+G"), ("Stampa...", "Ctrl+P"),
             ("Impostazioni...", "Ctrl+I"), ("Mostra le giocate...", "Ctrl+L"), ("Copia le giocate", "Ctrl+C"),
             ("Salva le giocate...", "Ctrl+S"), ("Verifica vincite...", "Ctrl+R"), ("Esci", "Ctrl+Q"),
             ("Utilità", ""), ("Aggiorna versione", ""), ("Segnala Bug", ""),
             ("?", ""), ("Aiuto", "F1"), ("About", "")]
# The entries that, like "Stampa", wait for the first play.
DOPO_LA_PRIMA = ["Stampa...", "Copia le giocate", "Salva le giocate..."]
# The 12 bytes the settings window writes to fix 90.
FILE_NOVANTA = b"AO '90'$tg\r\n"
PRESSIONI_CON_NUMERO_FISSO = 8
DUE_CIFRE = re.compile(r"[0-9]{2}")
TASTO_F1 = 0xFFBE
# The site and mail addresses the program was built with (the build passes them in).
SITO = os.environ["KELMO_SITO"]
MAIL = os.environ["KELMO_POSTA"]


def nessuna_altra_finestra(pid):
    """Fails at once when a box or window other than the main window is on screen (an error report
    instead of a play, for instance), saying what it shows."""
    for finestra in A.finestre(A.applicazione(pid)):
        if finestra.name == A.TITOLO_PRINCIPALE and finestra.getRoleName() == "frame":
            continue
        raise AssertionError(f"unexpected {A.descrivi_finestra(finestra)} on screen")


def giocata_valida(numeri, fisso=None):
    """Why these six field texts are not a valid play, or None when they are."""
    if not all(DUE_CIFRE.fullmatch(n) for n in numeri):
        return "not six two-digit texts"
    valori = [int(n) for n in numeri]
    if not all(1 <= v <= 90 for v in valori):
        return "a number outside 01-90"
    if len(set(valori)) != 6:
        return "repeated numbers"
    if fisso is not None and valori[0] != fisso:
        return f"first field {numeri[0]}, expected {fisso}"
    return None


def premi_e_attendi_giocata(pid, gioca, campi, stampa, precedente, fisso=None):
    """Presses "Gioca" and waits until the fields show a new valid play and printing is enabled."""
    A.premi(gioca)
    ultimo = {}

    def nuova_giocata():
        nessuna_altra_finestra(pid)
        numeri = tuple(A.testo(c) for c in campi)
        ultimo["numeri"] = numeri
        if numeri == precedente:
            return None
        ultimo["motivo"] = giocata_valida(numeri, fisso)
        if ultimo["motivo"] is not None or not A.abilitato(stampa):
            return None
        return numeri

    try:
        return A.attendi(nuova_giocata, "a new play after pressing Gioca", tempo=10)
    except A.Scaduto as errore:
        raise AssertionError(f"{errore}; the fields show {ultimo.get('numeri')} "
                             f"({ultimo.get('motivo', 'unchanged')})") from None


def controlla_nomi(finestra):
    passo("every control of the main window has an accessible name")
    senza_nome = A.controlli_senza_nome(finestra)
    verifica(not senza_nome, f"controls without an accessible name: {senza_nome}")
    pulsanti = [a.name for a in A.discendenti(finestra) if a.getRoleName() == "push button"]
    verifica(sorted(pulsanti) == sorted(PULSANTI), f"buttons {pulsanti}, expected {PULSANTI}")
    campi = [a.name for a in A.discendenti(finestra) if a.getRoleName() == "text"]
    verifica(campi == A.CAMPI, f"text fields {campi}, expected {A.CAMPI} in this order")
    voci = [(a.name, a.queryAction().getKeyBinding(0))
            for a in A.discendenti(finestra) if a.getRoleName() == "menu item"]
    verifica(voci == VOCI_MENU, f"menu entries {voci}, expected {VOCI_MENU}")


def voci_abilitate(finestra):
    return [v.name for v in A.discendenti(finestra) if v.getRoleName() == "menu item" and v.name in DOPO_LA_PRIMA
            and A.abilitato(v)]


def apri_dal_menu(pid, principale, voce, titolo):
    A.premi(A.trova(principale, "menu item", voce))
    return A.trova_finestra(pid, titolo, "dialog")


def chiudi_con_esci(pid, finestra):
    A.premi(A.trova(finestra, "push button", "Esci"))
    A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)


def collegamenti_delle_finestre(pid, principale):
    passo("About: the site and mail addresses are links; pressed, they open the site and a message")
    about = apri_dal_menu(pid, principale, "About", "About")
    collegamenti = A.collegamenti(about, [SITO, MAIL])
    A.premi_collegamento(collegamenti[SITO], SITO)
    A.premi_collegamento(collegamenti[MAIL], "mailto:" + MAIL)
    chiudi_con_esci(pid, about)

    passo("Segnala Bug: the site address is a link; pressed, it opens the site")
    bug = apri_dal_menu(pid, principale, "Segnala Bug", "Segnalazione bug al team Kelmo")
    A.premi_collegamento(A.collegamenti(bug, [SITO])[SITO], SITO)
    chiudi_con_esci(pid, bug)


def guida(pid, principale):
    """F1 hands the help page next to the program to the desktop's opener as a file address of the
    folder's real name: sessione.sh names it with a byte that is not UTF-8, which the opener must
    receive percent-encoded as it is (%E0), not as the replacement character."""
    passo("F1 hands the help page, named by the folder's real bytes, to the desktop's opener")
    pagina = os.fsencode(os.path.join(A.cartella_programma(), "help.html"))
    attesa = "file://" + urllib.parse.quote(pagina, safe="/")
    if "active" not in A.stati(principale):
        A.clic_su([a for a in A.discendenti(principale) if a.getRoleName() == "image"][-1])
        A.attendi(lambda: "active" in A.stati(principale), "the main window to become active")
    prima = len(A.aperture())
    A.Atspi.generate_keyboard_event(TASTO_F1, None, A.Atspi.KeySynthType.SYM)
    lanci = A.attendi(lambda: A.aperture()[prima:], "a launch of the desktop's opener")
    verifica(lanci == [attesa], f"the opener was given {lanci}, expected {attesa}")
    nessuna_altra_finestra(pid)


def main():
    fisso = os.path.join(A.cartella_programma(), "redme.qzl")
    verifica(not os.path.exists(fisso), "a fixed-number file is already next to the program")
    with A.programma(env=A.ambiente_con_apertura()) as processo:
        pid = processo.pid
        finestra = A.finestra_principale(pid)
        controlla_nomi(finestra)
        collegamenti_delle_finestre(pid, finestra)
        guida(pid, finestra)

        stampa = A.trova(finestra, "push button", "Stampa")
        gioca = A.trova(finestra, "push button", "Gioca")
        campi = [A.trova(finestra, "text", nome) for nome in A.CAMPI]

        passo("before the first play the fields show ?? and printing is disabled")
        iniziali = tuple(A.testo(c) for c in campi)
        verifica(iniziali == ("??",) * 6, f"fields before the first play: {iniziali}")
        verifica(not A.abilitato(stampa), "Stampa is enabled before the first play")
        verifica(not voci_abilitate(finestra), f"enabled before the first play: {voci_abilitate(finestra)}")
        verifica(A.abilitato(gioca), "Gioca is disabled")

        passo("Gioca draws six distinct numbers and enables printing, copying and saving")
        prima = premi_e_attendi_giocata(pid, gioca, campi, stampa, iniziali)
        print(f"   play: {' '.join(prima)}")
        A.attendi(lambda: voci_abilitate(finestra) == DOPO_LA_PRIMA, "the entries that need a play to be enabled")

        passo("a second press draws a new play")
        seconda = premi_e_attendi_giocata(pid, gioca, campi, stampa, prima)
        print(f"   play: {' '.join(seconda)}")

        passo("with 90 fixed in redme.qzl, 90 always takes the first field and no other")
        with open(fisso, "wb") as file:
            file.write(FILE_NOVANTA)
        precedente = seconda
        for _ in range(PRESSIONI_CON_NUMERO_FISSO):
            precedente = premi_e_attendi_giocata(pid, gioca, campi, stampa, precedente, fisso=90)
            print(f"   play: {' '.join(precedente)}")

        passo("screenshot of the display")
        foto = A.schermata("e2e_principale.png")
        with open(foto, "rb") as file:
            verifica(file.read(8) == b"\x89PNG\r\n\x1a\n", f"{foto} is not a PNG picture")
        print(f"   {foto}" + (f" (copied to {os.environ['KELMO_SCREENSHOT']})"
                              if os.environ.get("KELMO_SCREENSHOT") else ""))

        A.chiudi_principale(processo, finestra)


if __name__ == "__main__":
    A.esegui(main)
