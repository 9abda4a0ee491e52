# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The settings window of the built program on a real display with a window manager, as a user and a
screen reader meet it: "Impostazioni" opens it restored from redme.qzl; a warning box closing over it
gives it back the focus without restoring it again (what the user typed stays); a saved number is
written whole and taken by the very next play, which "Stampa" then prints through the real printer
dialog to a PDF file. On a full disk a save is reported as failed and the earlier file stays whole.

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

TITOLO_IMPOSTAZIONI = "Impostazioni"
AVVISO = "Il numero inserito deve avere un valore compreso tra 1 e 90!"
SALVATE = "Le impostazioni sono state salvate"

TASTO_FINE = 0xFF57
TASTO_CANCELLA_INDIETRO = 0xFF08
TASTO_INVIO = 0xFF0D


def digita(*tasti):
    """Real key presses (XTest), delivered to the active window's focused control."""
    for tasto in tasti:
        if isinstance(tasto, str):
            tasto = ord(tasto)
        Atspi.generate_keyboard_event(tasto, None, Atspi.KeySynthType.SYM)


def spuntata(casella):
    return "checked" in A.stati(casella)


def attiva(finestra, descrizione):
    A.attendi(lambda: "active" in A.stati(finestra), f"{descrizione} to become active")


def box(pid, titolo):
    """The message box (alert) with this caption, and the texts of its labels."""
    trovato = A.trova_finestra(pid, titolo, "alert")
    return trovato, A.etichette(trovato)


def chiudi_box(pid, trovato):
    """Dismisses the box as the user does: a real click on its only button."""
    pulsanti = [a for a in A.discendenti(trovato) if a.getRoleName() == "push button"]
    verifica(len(pulsanti) == 1, f"the box offers {[p.name for p in pulsanti]}")
    A.clic_su(pulsanti[0])
    A.attendi(lambda: all(f.getRoleName() != "alert" for f in A.finestre(A.applicazione(pid))),
              "the message box to close under a click on its button")


def rispondi(pid, domanda, pulsante):
    """Waits for the question box asking this, and answers with a real click on one of its buttons."""
    A.attendi(lambda: domanda in A.testi_box(pid), f"the question '{domanda}'")
    box_domanda = A.trova_finestra(pid, "Richiesta.", "alert")
    A.clic_su(A.trova(box_domanda, "push button", pulsante))
    A.attendi(lambda: domanda not in A.testi_box(pid), f"the question '{domanda}' to close")


def stampa_giocata_corrente(pid, principale, giocata):
    passo("\"Stampa\", No, Yes: the current play is printed through the printer dialog to a PDF file")
    A.premi(A.trova(principale, "push button", "Stampa"))
    rispondi(pid, "Stampare tutte le giocate effettuate fino adesso?", "No")
    rispondi(pid, "Stampare solamente questa giocata?", "Sì")
    dialogo = A.trova_finestra(pid, "Stampa", "dialog")
    verifica(A.trova(dialogo, "combo box", "Stampa su file (PDF)"), "no PDF printer offered")
    pdf = os.path.join(A.cartella_temporanea(), "giocata.pdf")
    A.trova(dialogo, "text", "File di output:").queryEditableText().setTextContents(pdf)
    A.clic_su(A.trova(dialogo, "push button", "Stampa"))
    A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)
    verifica(os.path.isfile(pdf), "no PDF file was printed")
    uscita = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True, check=True,
                            timeout=30).stdout
    righe = [r.strip() for r in uscita.splitlines() if r.strip()]
    # The site's host and the mailbox the program was built with (the build passes them in).
    sito = urllib.parse.urlsplit(os.environ["KELMO_SITO"]).hostname
    intestazione = f"Riepilogo Stampa giocate effettuate tramite Kelmo_Dravolo - {sito} - {os.environ['KELMO_POSTA']}"
    verifica(righe == [intestazione, giocata], f"the printed page reads {righe}")


def salvataggio_su_disco_pieno(pid):
    passo("on a full disk, saving 09 is reported as failed and redme.qzl keeps 05 whole")
    cartella = A.cartella_programma()
    fisso = os.path.join(cartella, "redme.qzl")
    # A full tmpfs over the program's folder (the running program keeps its own files open), holding
    # the earlier file; or a file-size limit on the program.
    with A.cartella_piena(cartella, pid, {"redme.qzl": b"AO '05'$tg\r\n"}):
        principale = A.finestra_principale(pid)
        A.premi(A.trova(principale, "push button", "Impostazioni"))
        finestra = A.trova_finestra(pid, TITOLO_IMPOSTAZIONI, "dialog")
        campo = A.trova(finestra, "text", "Numero fisso")
        A.attendi(lambda: A.testo(campo) == "05", "05 in the field")
        attiva(finestra, "the settings window")
        A.clic_su(campo)
        A.attendi(lambda: "focused" in A.stati(campo), "the field to take the focus")
        digita(TASTO_FINE, TASTO_CANCELLA_INDIETRO, TASTO_CANCELLA_INDIETRO, "9")
        A.attendi(lambda: A.testo(campo) == "9", "9 in the field")
        digita(TASTO_INVIO)
        errore, testi = box(pid, A.TITOLO_PRINCIPALE)
        # The folder by its real name; its bytes that are not UTF-8 read as replacement characters.
        mostrato = os.fsencode(fisso).decode("utf-8", "replace")
        atteso = f"Impossibile salvare il file del numero fisso {mostrato}: "
        verifica(any(t.startswith(atteso) for t in testi), f"the error box says {testi}")
        chiudi_box(pid, errore)
        verifica(SALVATE not in A.testi_box(pid), "the save was also reported as done")
        A.premi(A.trova(finestra, "push button", "Annulla"))
        A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)
        with open(fisso, "rb") as file:
            contenuto = file.read()
        verifica(contenuto == b"AO '05'$tg\r\n", f"redme.qzl holds {contenuto!r}")
        restanti = sorted(os.listdir(cartella))
        verifica(not [n for n in restanti if n.startswith("redme.qzl.")], f"left in the folder: {restanti}")


def main():
    fisso = os.path.join(A.cartella_programma(), "redme.qzl")
    with open(fisso, "wb") as file:
        file.write(b"AO '07'$tg\r\n")
    with A.programma(preexec_fn=A.ignora_sigxfsz, restore_signals=False) as processo:
        pid = processo.pid
        principale = A.finestra_principale(pid)

        passo("\"Impostazioni\" opens the settings window, restored from the file for 07")
        A.premi(A.trova(principale, "push button", "Impostazioni"))
        finestra = A.trova_finestra(pid, TITOLO_IMPOSTAZIONI, "dialog")
        senza_nome = A.controlli_senza_nome(finestra)
        verifica(not senza_nome, f"controls without an accessible name: {senza_nome}")
        casella = A.trova(finestra, "check box", "Si")
        campo = A.trova(finestra, "text", "Numero fisso")
        A.attendi(lambda: spuntata(casella) and A.testo(campo) == "07", "the box ticked and 07 in the field")
        attiva(finestra, "the settings window")

        passo("91 and Enter: the warning box comes over the window")
        A.clic_su(campo)
        A.attendi(lambda: "focused" in A.stati(campo), "the field to take the focus")
        digita(TASTO_FINE, TASTO_CANCELLA_INDIETRO, TASTO_CANCELLA_INDIETRO, "9", "1")
        A.attendi(lambda: A.testo(campo) == "91", "91 in the field")
        digita(TASTO_INVIO)
        avviso, testi = box(pid, "Attenzione.")
        verifica(AVVISO in testi, f"the warning box says {testi}")
        # The box takes the focus from the settings window, which stays usable under it.
        attiva(avviso, "the warning box")
        verifica("active" not in A.stati(finestra), "the settings window is still active under the box")

        passo("the warning closes, the field is emptied and the window manager gives the window back the focus")
        chiudi_box(pid, avviso)
        A.attendi(lambda: A.testo(campo) == "",
                  "the field to be emptied after the warning (a restore on re-activation puts 07 back)")
        attiva(finestra, "the settings window, once the warning has closed")

        passo("being active again does not restore it from the file: the field stays empty")
        verifica(A.testo(campo) == "" and spuntata(casella), f"after the warning: field {A.testo(campo)!r}")
        # A key typed now is handled after anything the activation set off; a restore would have put
        # 07 back and left no room for it.
        digita("5")
        A.attendi(lambda: A.testo(campo) in ("5", "07", "075"), "the typed 5 to be handled")
        verifica(A.testo(campo) == "5", f"the field reads {A.testo(campo)!r}: the window was restored again")

        passo("Enter saves 05 whole and closes the window")
        digita(TASTO_INVIO)
        informazione, testi = box(pid, "Messaggio.")
        verifica(SALVATE in testi, f"the information box says {testi}")
        chiudi_box(pid, informazione)
        A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)
        with open(fisso, "rb") as file:
            contenuto = file.read()
        verifica(contenuto == b"AO '05'$tg\r\n", f"redme.qzl holds {contenuto!r}")
        restanti = sorted(os.listdir(A.cartella_programma()))
        verifica(not [n for n in restanti if n.startswith("redme.qzl.")], f"left in the folder: {restanti}")

        passo("the next play puts 05 in the first field")
        campi = [A.trova(principale, "text", nome) for nome in A.CAMPI]
        A.premi(A.trova(principale, "push button", "Gioca"))
        A.attendi(lambda: A.testo(campi[0]) == "05" and A.testo(campi[5]) != "??", "a play with 05 first")
        giocata = " ".join(A.testo(c) for c in campi)
        print(f"   play: {giocata}")

        stampa_giocata_corrente(pid, principale, giocata)
        salvataggio_su_disco_pieno(pid)

        A.chiudi_principale(processo, principale)


if __name__ == "__main__":
    A.esegui(main)
