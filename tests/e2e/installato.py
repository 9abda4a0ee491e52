# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The program installed from its Debian package, met by a user who cannot write the install tree:
with English set for the user alone by the README's command and typed in a terminal in the home
folder, the installed command comes up without an error box, in English, and plays the user's fixed
number; started as its menu entry starts it (the entry's Exec, in its Path) it comes up without an
error box too; its main window carries the class the entry names; a number fixed in the settings
window is kept in the user's configuration folder and taken by the next play, and removing it works;
F1 hands the installed help page to the desktop opener; the update check's window comes from the
module beside the program; a copy of the program in a folder anyone can write refuses to load its
module there, says why, and plays on.

Run through sessione.sh --sul-posto by pacchetto.sh, as an unprivileged user, with the unpacked
package's root as its argument; the opener is a script of ours first in PATH that notes what it is
given. Before that, run by root with --root: a number root fixes is kept in root's own configuration
folder, never in the install tree, so that it is not every user's.
"""

import configparser
import os
import shutil
import stat
import subprocess
import sys

import accessibile as A
from accessibile import passo, verifica
import e2e_impostazioni as I

TITOLO_SPLASH = "Caricamento Kelmo_DraVolo"
CARICAMENTO_INGLESE = "Loading, please wait.."
RIMOSSE = "Le impostazioni sono state rimosse."
TASTO_F1 = 0xFFBE
TITOLO_AGGIORNAMENTO = "Controllo eventuali aggiornamenti disponibili"


def voce_menu(radice):
    """The installed desktop entry's keys."""
    cartella = os.path.join(radice, "usr/share/applications")
    voci = os.listdir(cartella)
    verifica(len(voci) == 1, f"desktop entries installed: {voci}")
    lettore = configparser.ConfigParser(interpolation=None, strict=False)
    lettore.optionxform = str
    lettore.read(os.path.join(cartella, voci[0]), encoding="utf-8")
    return lettore["Desktop Entry"]


def apritore_finto(temp):
    """A desktop opener that only notes its arguments, one launch a line; returns the notes' path."""
    cartella = os.path.join(temp, "apritore")
    os.makedirs(cartella)
    note = os.path.join(temp, "aperture.txt")
    script = os.path.join(cartella, "xdg-open")
    with open(script, "w", encoding="utf-8") as file:
        file.write(f'#!/bin/sh\nprintf "%s\\n" "$*" >> "{note}"\n')
    os.chmod(script, stat.S_IRWXU)
    return cartella, note


def classe_finestra(titolo):
    """The class part of the X window's WM_CLASS, as the desktop matches it to an entry."""
    uscita = subprocess.run(["xprop", "-name", titolo, "WM_CLASS"], capture_output=True, text=True,
                            timeout=10).stdout
    # WM_CLASS(STRING) = "kelmo-dravolo", "Kelmo_Dravolo"
    return uscita.split("=", 1)[1].split(",")[-1].strip().strip('"') if "=" in uscita else None


def imposta(pid, principale, azione):
    """Opens the settings window, lets azione act on it and waits for the information box that closes
    it; returns the box's texts."""
    A.premi(A.trova(principale, "push button", "Impostazioni"))
    finestra = A.trova_finestra(pid, I.TITOLO_IMPOSTAZIONI, "dialog")
    I.attiva(finestra, "the settings window")
    azione(finestra)
    informazione, testi = I.box(pid, "Messaggio.")
    # Clicked only once it is placed and active: a click on a box still being mapped goes astray.
    I.attiva(informazione, "the information box")
    I.chiudi_box(pid, informazione)
    A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)
    return testi


def fissa(numero):
    """What the settings window is told: tick the box, type the number, Enter."""
    def azione(finestra):
        A.clic_su(A.trova(finestra, "check box", "Si"))
        campo = A.trova(finestra, "text", "Numero fisso")
        A.attendi(lambda: "showing" in A.stati(campo), "the field to show")
        A.clic_su(campo)
        A.attendi(lambda: "focused" in A.stati(campo), "the field to take the focus")
        for cifra in numero:
            I.digita(cifra)
        A.attendi(lambda: A.testo(campo) == numero, f"{numero} in the field")
        I.digita(I.TASTO_INVIO)
    return azione


def come_root(radice):
    """Root fixes 44: kept in root's configuration folder, played by root's next play."""
    voce = voce_menu(radice)
    fisso = os.path.join(os.environ["XDG_CONFIG_HOME"], "kelmo-dravolo", "redme.qzl")
    with A.programma(eseguibile=radice + voce["Exec"], cwd=radice + voce["Path"]) as processo:
        pid = processo.pid
        passo("root fixes 44: in root's own configuration folder")
        A.trova_finestra(pid, TITOLO_SPLASH, "dialog", tempo=15)
        principale = A.finestra_principale(pid)
        testi = imposta(pid, principale, fissa("44"))
        verifica(I.SALVATE in testi, f"the information box says {testi}")
        with open(fisso, "rb") as file:
            contenuto = file.read()
        verifica(contenuto == b"AO '44'$tg\r\n", f"{fisso} holds {contenuto!r}")
        campi = [A.trova(principale, "text", nome) for nome in A.CAMPI]
        A.premi(A.trova(principale, "push button", "Gioca"))
        A.attendi(lambda: A.testo(campi[0]) == "44" and A.testo(campi[5]) != "??", "a play with 44 first")
        A.chiudi_principale(processo, principale)


def da_terminale(comando, fisso):
    """The installed command typed in a terminal in the home folder: it starts the program in its own
    folder, which comes up clean, speaks the user's own language and plays the user's fixed number."""
    passo("the user sets English for themselves with the README's command, without root")
    subprocess.run(["bash", "-euc", os.environ["KELMO_COMANDO_LINGUA"]], check=True, timeout=30)
    propria = os.path.join(os.path.dirname(fisso), "impostazioni.db")
    verifica(os.path.isfile(propria), f"the command made no {propria}")
    passo("typed in a terminal in the home folder: no error box, English, and the user's fixed number 33")
    os.makedirs(os.path.dirname(fisso), exist_ok=True)
    with open(fisso, "wb") as file:
        file.write(b"AO '33'$tg\r\n")
    with A.programma(eseguibile=comando, cwd=os.environ["HOME"]) as processo:
        pid = processo.pid
        splash = A.trova_finestra(pid, TITOLO_SPLASH, "dialog", tempo=15)
        A.attendi(lambda: CARICAMENTO_INGLESE in A.etichette(splash), "the English loading line")
        principale = A.finestra_principale(pid)
        aperte = [A.descrivi_finestra(f) for f in A.finestre(A.applicazione(pid))]
        verifica(len(aperte) == 1, f"on screen: {aperte}")
        campi = [A.trova(principale, "text", nome) for nome in A.CAMPI]
        A.premi(A.trova(principale, "push button", "Gioca"))
        A.attendi(lambda: A.testo(campi[0]) == "33" and A.testo(campi[5]) != "??", "a play with 33 first")
        A.chiudi_principale(processo, principale)
    os.remove(fisso)
    os.remove(propria)


def aggiornamento_dal_modulo(pid, principale):
    """The update check's window, which the module beside the installed program holds; "No" to its
    question asks no site."""
    passo("the update check's window, from the installed module")
    A.premi(A.trova(principale, "menu item", "Aggiorna versione"))
    finestra = A.trova_finestra(pid, TITOLO_AGGIORNAMENTO, "dialog")
    A.premi(A.trova(A.trova_finestra(pid, "Richiesta.", "alert"), "push button", "No"))
    A.attendi(lambda: not A.testi_box(pid), "the question to close")
    A.premi(A.trova(finestra, "push button", "Esci senza salvare le modifiche"))
    A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)


def da_cartella_altrui(radice):
    """The program copied with its module into a folder anyone can write: printing says the module
    there is refused, and why; the program goes on playing."""
    passo("a copy in a folder anyone can write: its module is refused, the program plays on")
    installata = os.path.join(radice, "usr/lib/kelmo-dravolo")
    altrui = os.path.join(A.cartella_temporanea(), "aperta")
    os.mkdir(altrui)
    os.chmod(altrui, 0o1777)
    for nome in ("kelmo-dravolo", "kelmo-dravolo-modulo.so", "help.html", "lingua.db", "impostazioni.db"):
        shutil.copy(os.path.join(installata, nome), altrui)
    with A.programma(eseguibile=os.path.join(altrui, "kelmo-dravolo"), cwd=altrui) as processo:
        pid = processo.pid
        principale = A.finestra_principale(pid)
        campi = [A.trova(principale, "text", nome) for nome in A.CAMPI]
        A.premi(A.trova(principale, "push button", "Gioca"))
        A.attendi(lambda: A.testo(campi[5]) != "??", "a play")
        A.premi(A.trova(principale, "push button", "Stampa"))
        A.premi(A.trova(A.trova_finestra(pid, "Richiesta.", "alert"), "push button", "Sì"))
        atteso = (f"La stampa non è disponibile. Impossibile caricare il modulo {altrui}/kelmo-dravolo-modulo.so: "
                  "la cartella è scrivibile da altri utenti.")
        A.attendi(lambda: A.testi_box(pid) == [atteso], f"the box saying {atteso!r}")
        I.chiudi_box(pid, A.trova_finestra(pid, "Kelmo_Dravolo", "alert"))
        prima = tuple(A.testo(c) for c in campi)
        A.premi(A.trova(principale, "push button", "Gioca"))
        A.attendi(lambda: tuple(A.testo(c) for c in campi) != prima, "another play")
        A.chiudi_principale(processo, principale)


def main(radice):
    voce = voce_menu(radice)
    eseguibile = radice + voce["Exec"]
    cartella = radice + voce["Path"]
    verifica(eseguibile == os.path.join(radice, "usr/bin/kelmo-dravolo"),
             f"Exec {voce['Exec']} is not the installed command")
    configurazione = os.environ["XDG_CONFIG_HOME"]
    fisso = os.path.join(configurazione, "kelmo-dravolo", "redme.qzl")
    apritore, aperture = apritore_finto(A.cartella_temporanea())
    ambiente = {**os.environ, "PATH": apritore + os.pathsep + os.environ["PATH"]}

    da_terminale(eseguibile, fisso)

    with A.programma(eseguibile=eseguibile, cwd=cartella, env=ambiente) as processo:
        pid = processo.pid
        passo("started as the menu entry starts it: the splash, then the main window, no error box")
        A.trova_finestra(pid, TITOLO_SPLASH, "dialog", tempo=15)
        principale = A.finestra_principale(pid)
        aperte = [A.descrivi_finestra(f) for f in A.finestre(A.applicazione(pid))]
        verifica(len(aperte) == 1, f"on screen: {aperte}")
        classe = classe_finestra(A.TITOLO_PRINCIPALE)
        verifica(classe == voce["StartupWMClass"],
                 f"the main window's class is {classe!r}, the entry names {voce['StartupWMClass']!r}")

        passo("the settings window saves 07 in the user's configuration folder")

        testi = imposta(pid, principale, fissa("7"))
        verifica(I.SALVATE in testi, f"the information box says {testi}")
        with open(fisso, "rb") as file:
            contenuto = file.read()
        verifica(contenuto == b"AO '07'$tg\r\n", f"{fisso} holds {contenuto!r}")

        passo("the next play has 07 first")
        campi = [A.trova(principale, "text", nome) for nome in A.CAMPI]
        A.premi(A.trova(principale, "push button", "Gioca"))
        A.attendi(lambda: A.testo(campi[0]) == "07" and A.testo(campi[5]) != "??", "a play with 07 first")

        passo("the settings window, restored from that file, removes it")

        def togli(finestra):
            casella = A.trova(finestra, "check box", "Si")
            A.attendi(lambda: I.spuntata(casella), "the box ticked from the saved file")
            A.clic_su(casella)
            A.attendi(lambda: not I.spuntata(casella), "the box unticked")
            A.clic_su(A.trova(finestra, "push button", "Ok"))

        testi = imposta(pid, principale, togli)
        verifica(RIMOSSE in testi, f"the information box says {testi}")
        verifica(not os.path.exists(fisso), f"{fisso} is still there")

        passo("F1 hands the installed help page to the desktop opener")
        if "active" not in A.stati(principale):
            A.clic_su([a for a in A.discendenti(principale) if a.getRoleName() == "image"][-1])
            A.attendi(lambda: "active" in A.stati(principale), "the main window to become active")
        A.Atspi.generate_keyboard_event(TASTO_F1, None, A.Atspi.KeySynthType.SYM)
        pagina = "file://" + os.path.join(os.path.realpath(cartella), "help.html")

        def aperta():
            if not os.path.exists(aperture):
                return None
            with open(aperture, encoding="utf-8") as file:
                return file.read().splitlines()

        lanci = A.attendi(aperta, "a launch of the desktop opener")
        verifica(lanci == [pagina], f"the opener was given {lanci}, expected {pagina}")
        aperte = [A.descrivi_finestra(f) for f in A.finestre(A.applicazione(pid))]
        verifica(len(aperte) == 1, f"on screen after F1: {aperte}")

        aggiornamento_dal_modulo(pid, principale)
        A.chiudi_principale(processo, principale)

    da_cartella_altrui(radice)


if __name__ == "__main__":
    if sys.argv[1] == "--root":
        A.esegui(come_root, sys.argv[2])
    else:
        A.esegui(main, sys.argv[1])
