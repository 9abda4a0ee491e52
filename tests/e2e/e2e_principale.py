"""The built program on a real display, met as a screen reader meets it: the main window comes up,
every control can be named, "Gioca" draws plays, a fixed number in redme.qzl always takes the first
field, and closing the window ends the program.

Run through sessione.sh, which prepares the display, the buses and a private copy of the program.
"""

import os
import re

import accessibile as A
from accessibile import passo, verifica

PULSANTI = ["Stampa", "Impostazioni", "Gioca"]
VOCI_MENU = ["Utilità", "Aggiorna versione", "Segnala Bug", "?", "Aiuto", "About"]  # menu, then its entries
# The 12 bytes the settings window writes to fix 90.
FILE_NOVANTA = b"AO '90'$tg\r\n"
PRESSIONI_CON_NUMERO_FISSO = 8
DUE_CIFRE = re.compile(r"[0-9]{2}")


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
    attesi_primo = {fisso} if fisso is not None else set(range(1, 90))
    if valori[0] not in attesi_primo:
        return f"first field {numeri[0]}, expected {fisso if fisso is not None else '01-89'}"
    if any(v == 90 for v in valori[1:]):
        return "90 drawn in a field"
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
    voci = [a.name for a in A.discendenti(finestra) if a.getRoleName() == "menu item"]
    verifica(voci == VOCI_MENU, f"menu entries {voci}, expected {VOCI_MENU}")


def main():
    fisso = os.path.join(A.cartella_programma(), "redme.qzl")
    verifica(not os.path.exists(fisso), "a fixed-number file is already next to the program")
    with A.programma() as processo:
        pid = processo.pid
        finestra = A.finestra_principale(pid)
        controlla_nomi(finestra)

        stampa = A.trova(finestra, "push button", "Stampa")
        gioca = A.trova(finestra, "push button", "Gioca")
        campi = [A.trova(finestra, "text", nome) for nome in A.CAMPI]

        passo("before the first play the fields show ?? and printing is disabled")
        iniziali = tuple(A.testo(c) for c in campi)
        verifica(iniziali == ("??",) * 6, f"fields before the first play: {iniziali}")
        verifica(not A.abilitato(stampa), "Stampa is enabled before the first play")
        verifica(A.abilitato(gioca), "Gioca is disabled")

        passo("Gioca draws six distinct numbers and enables printing")
        prima = premi_e_attendi_giocata(pid, gioca, campi, stampa, iniziali)
        print(f"   play: {' '.join(prima)}")

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
