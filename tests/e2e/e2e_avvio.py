# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Start-up of the built program on a real display with a window manager: the splash window is on
screen first and alone, with its title and loading line; its site address and logo are links that a
screen reader can press, and pressing them opens the site and leaves the splash there; Escape and the window manager's close
request leave it there; it goes by itself after its ten seconds and the main window comes up. A second
start with the language set to English shows the splash's loading line translated. A start where the
settings table is a named pipe reports the table as unreadable at once, instead of waiting for a writer.
Asked for --version or --help, the program answers without a display and ends.

The program is started from its own folder, where the settings and translation tables stand.
Run through sessione.sh, which prepares the display, the buses and a private copy of the program.
"""

import html
import os
import re
import sqlite3
import subprocess
import time

import accessibile as A
from accessibile import passo, verifica

TITOLO_SPLASH = "Caricamento Kelmo_DraVolo"
CARICAMENTO = "Caricamento in corso, attendere.."
CARICAMENTO_INGLESE = "Loading, please wait.."
DURATA_SPLASH = 10.0
# The site address the program was built with (the build passes it in).
SITO = os.environ["KELMO_SITO"]


def xwininfo(*argomenti):
    """The fields that xwininfo prints for a window, by name ("Map State", "Width", ...)."""
    risultato = subprocess.run(["xwininfo", *argomenti], capture_output=True, text=True, timeout=10)
    campi = {}
    for riga in risultato.stdout.splitlines():
        nome, due_punti, valore = riga.strip().partition(":")
        if due_punti:
            campi[nome] = valore.strip()
    return campi


def mappata(titolo):
    """The X map state of the program's window with this title ("IsViewable" when on screen).

    The accessibility tree cannot tell: a window counts as showing there from the moment its showing
    starts, before it is on the screen."""
    return xwininfo("-name", titolo).get("Map State")


def posto_del_principale():
    """Checks that the main window is on screen with its designed size and place: a client area of 213
    pixels across and 168 under its menu bar, and the window centred on the desktop (Qt puts the
    frame's corner where a window of the client area's size would be centred)."""
    cliente = xwininfo("-name", A.TITOLO_PRINCIPALE)
    schermo = xwininfo("-root")
    larghezza, altezza = int(cliente["Width"]), int(cliente["Height"])
    # The window manager's frame holds the client window: its corner is the client's, less the client's
    # place within it.
    posto = tuple(int(cliente[f"Absolute upper-left {asse}"]) - int(cliente[f"Relative upper-left {asse}"])
                  for asse in "XY")
    print(f"   main window: client {larghezza}x{altezza}, frame at {posto} on a "
          f"{schermo['Width']}x{schermo['Height']} screen")
    verifica(larghezza == 213 and 168 + 15 <= altezza <= 168 + 40,
             f"the main window's client area is {larghezza}x{altezza}, not 213 across and 168 under a menu bar")
    atteso = ((int(schermo["Width"]) - larghezza) // 2, (int(schermo["Height"]) - altezza) // 2)
    # Within the frame's border: a window laid out without its controls is a hundred pixels off.
    verifica(all(abs(p - a) <= 2 for p, a in zip(posto, atteso)),
             f"the main window's frame is at {posto}, not centred at {atteso}")


def solo_lo_splash(pid):
    """Fails when the main window is on screen or the splash is not, saying what."""
    aperte = [(f.getRoleName(), f.name) for f in A.finestre(A.applicazione(pid))]
    verifica(("dialog", TITOLO_SPLASH) in aperte, f"the splash is not among {aperte}")
    verifica(mappata(TITOLO_SPLASH) == "IsViewable", "the splash is not mapped")
    stato = mappata(A.TITOLO_PRINCIPALE)
    verifica(stato in (None, "IsUnMapped"), f"the main window is on screen with the splash ({stato})")


def prima_esecuzione():
    with A.programma(env=A.ambiente_con_apertura()) as processo:
        # The splash's ten seconds start when it is shown, after this: the main window cannot come
        # sooner than they from here, however long a loaded machine takes to show the splash.
        avviato = time.monotonic()
        pid = processo.pid
        passo("the splash comes up first, alone, with its title and texts")
        splash = A.trova_finestra(pid, TITOLO_SPLASH, "dialog", tempo=DURATA_SPLASH)
        solo_lo_splash(pid)
        testi = A.etichette(splash)
        verifica(CARICAMENTO in testi and "Inizializzazione" in testi, f"splash labels: {testi}")

        passo("the site address and the logo are links; pressed, they open the site")
        collegamenti = A.collegamenti(splash, [SITO, "Logo"])
        for nome in (SITO, "Logo"):
            A.premi_collegamento(collegamenti[nome], SITO)
        solo_lo_splash(pid)

        passo("Escape and the close request leave the splash on screen")
        if "active" not in A.stati(splash):
            # A click on the status line activates the splash and opens nothing.
            A.clic_su(A.trova(splash, "label", "Inizializzazione"))
            A.attendi(lambda: "active" in A.stati(splash), "the splash to become active")
        A.Atspi.generate_keyboard_event(0xFF1B, None, A.Atspi.KeySynthType.SYM)  # XK_Escape
        A.chiudi_finestra_attiva()

        passo("the main window comes up once the splash has gone by itself")
        principale = A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", tempo=DURATA_SPLASH + 15, sola=True)
        trascorso = time.monotonic() - avviato
        print(f"   the main window came {trascorso:.1f} s after the start")
        # Had Escape or the close request closed the splash, the main window would have followed
        # within a second of them, not after the splash's ten seconds.
        verifica(trascorso >= DURATA_SPLASH, f"the splash went after only {trascorso:.1f} s")
        verifica(mappata(A.TITOLO_PRINCIPALE) == "IsViewable", "the main window is not mapped")
        verifica(mappata(TITOLO_SPLASH) != "IsViewable", "the splash is still on screen")
        posto_del_principale()

        A.chiudi_principale(processo, principale)


def seconda_esecuzione_in_inglese():
    passo("with LINGUA set to Inglese the splash's loading line is English, the rest unchanged")
    tabella = os.path.join(A.cartella_programma(), "impostazioni.db")
    verifica(os.path.exists(tabella), f"no {tabella}: the build should have made it")
    with sqlite3.connect(tabella) as db:
        db.execute("update impostazioni set LINGUA = 'Inglese'")
    db.close()
    with A.programma() as processo:
        pid = processo.pid
        splash = A.trova_finestra(pid, TITOLO_SPLASH, "dialog", tempo=DURATA_SPLASH)
        solo_lo_splash(pid)
        testi = A.attendi(lambda: A.etichette(splash) if CARICAMENTO_INGLESE in A.etichette(splash) else None,
                          "the English loading line")
        verifica(CARICAMENTO not in testi and "Inizializzazione" in testi, f"splash labels: {testi}")


def esecuzione_con_tabella_fifo():
    passo("impostazioni.db a named pipe: the settings read fails at once and the splash still comes up")
    cartella = os.path.join(A.cartella_temporanea(), "fifo")
    os.mkdir(cartella)
    os.mkfifo(os.path.join(cartella, "impostazioni.db"))
    with A.programma(cwd=cartella) as processo:
        pid = processo.pid
        errore = A.trova_finestra(pid, "Errore", "alert")
        testi = A.etichette(errore)
        verifica("Errore di lettura in parametri di impostazione, campo: LINGUA" in testi, f"the box says {testi}")
        pulsanti = [a for a in A.discendenti(errore) if a.getRoleName() == "push button"]
        A.clic_su(pulsanti[0])
        splash = A.trova_finestra(pid, TITOLO_SPLASH, "dialog", tempo=DURATA_SPLASH)
        verifica(CARICAMENTO in A.etichette(splash), f"splash labels: {A.etichette(splash)}")


def opzioni_senza_display():
    passo("--version and --help answer without a display, and the program ends with status 0")
    # No display to open: an attempt at a window would end the program with an error.
    ambiente = {n: v for n, v in os.environ.items() if n not in ("DISPLAY", "WAYLAND_DISPLAY")}
    ambiente["QT_QPA_PLATFORM"] = "xcb"
    # The licence notice after the name and version, as the help page beside the program shows it.
    pagina = os.path.join(os.path.dirname(os.environ["KELMO_BINARIO"]), "help.html")
    with open(pagina, encoding="utf-8") as testo:
        guida = " ".join(html.unescape(re.sub(r"<[^>]+>", " ", testo.read())).split())
    for opzione, verifica_uscita in (
            ("--version", lambda uscita: uscita[0] == "Kelmo_Dravolo 05.2002-15" and len(uscita) == 5
             and "GPLv3+" in uscita[2] and "GARANZIA" in uscita[4]
             and all(" ".join(riga.split()) in guida for riga in uscita[1:])),
            ("--help", lambda uscita: uscita[:1] == ["Uso: kelmo-dravolo [--help | --version]"])):
        esito = subprocess.run([os.environ["KELMO_BINARIO"], opzione], env=ambiente, cwd="/",
                               capture_output=True, text=True, timeout=10)
        uscita = esito.stdout.splitlines()
        verifica(esito.returncode == 0 and verifica_uscita(uscita),
                 f"{opzione} ended with status {esito.returncode}, printing {uscita} "
                 f"and on standard error {esito.stderr!r}")


def main():
    opzioni_senza_display()
    prima_esecuzione()
    seconda_esecuzione_in_inglese()
    esecuzione_con_tabella_fifo()


if __name__ == "__main__":
    A.esegui(main)
