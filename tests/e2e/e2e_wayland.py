# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The built program on Wayland, under weston's headless compositor, with no X display to fall back to:
the splash comes up first and alone and is gone before the main window is made; "Gioca" draws a play;
the settings, About, bug-report and update-check windows open and close (the update check's question
answered "No", so that no site is asked). Every window carries the desktop id as its Wayland app id,
by which the desktop matches it to the menu entry and its icon; a window opened from another is made
its child, so that the compositor keeps it above its owner and with it.

What the compositor is asked for is read from the program's own protocol trace (WAYLAND_DEBUG): the
accessibility tree tells what Qt means to show, not what the compositor has been given.

Run through sessione.sh --wayland. With no X server nothing can be typed or clicked: everything is
done through the accessibility actions.
"""

import os
import re
import time

import accessibile as A
from accessibile import passo, verifica
import e2e_principale as P

TITOLO_SPLASH = "Caricamento Kelmo_DraVolo"
DURATA_SPLASH = 10.0
TITOLO_IMPOSTAZIONI = "Impostazioni"
TITOLO_BUG = "Segnalazione bug al team Kelmo"
TITOLO_AGGIORNAMENTO = "Controllo eventuali aggiornamenti disponibili"
DOMANDA = "Per eseguire il controllo di evetuali nuove versioni bisogna essere connessi ad internet, continuo?"
ESCI_AGGIORNAMENTO = "Esci senza salvare le modifiche"
# The id the build gives the desktop entry (the build passes it in).
ID_DESKTOP = os.environ["KELMO_ID_DESKTOP"]

# A request of the program to the compositor, as WAYLAND_DEBUG prints it:
#   [2349162.541]  -> xdg_toplevel@31.set_parent(xdg_toplevel@22)
RICHIESTA = re.compile(r"\[\s*[0-9.]+\]\s+->\s+(\w+)@(\d+)\.(\w+)\((.*)\)\s*")


class Toplevel:
    """A top-level window as the compositor was told of it: made at line `creata` of the trace,
    destroyed at line `distrutta` (None while it lives)."""

    def __init__(self, creata):
        self.creata = creata
        self.distrutta = None
        self.titolo = None
        self.app_id = None
        self.genitore = None

    def __repr__(self):
        genitore = f"'{self.genitore.titolo}'" if self.genitore else "none"
        return f"toplevel '{self.titolo}' (app id {self.app_id!r}, parent {genitore})"


class Traccia:
    """The program's protocol trace (its standard error under WAYLAND_DEBUG=1), read afresh at each
    question. The object numbers of destroyed toplevels are given again to new ones, so the trace is
    followed in order."""

    def __init__(self, percorso):
        self.percorso = percorso

    def toplevel(self):
        vivi = {}
        tutti = []
        with open(self.percorso, encoding="utf-8", errors="replace") as file:
            for numero_riga, riga in enumerate(file):
                trovata = RICHIESTA.fullmatch(riga.rstrip("\n"))
                if not trovata:
                    continue
                interfaccia, oggetto, richiesta, argomenti = trovata.groups()
                if interfaccia == "xdg_surface" and richiesta == "get_toplevel":
                    nuovo = Toplevel(numero_riga)
                    vivi[re.search(r"xdg_toplevel@(\d+)", argomenti).group(1)] = nuovo
                    tutti.append(nuovo)
                elif interfaccia == "xdg_toplevel" and oggetto in vivi:
                    questo = vivi[oggetto]
                    if richiesta == "set_title":
                        questo.titolo = argomenti.strip('"')
                    elif richiesta == "set_app_id":
                        questo.app_id = argomenti.strip('"')
                    elif richiesta == "set_parent":
                        genitore = re.fullmatch(r"xdg_toplevel@(\d+)", argomenti)
                        questo.genitore = vivi.get(genitore.group(1)) if genitore else None
                    elif richiesta == "destroy":
                        questo.distrutta = numero_riga
                        del vivi[oggetto]
        return tutti

    def vivi(self):
        return [t for t in self.toplevel() if t.distrutta is None]

    def vivo(self, titolo):
        """The living toplevel with this title, once the trace has it."""
        return A.attendi(lambda: next((t for t in self.vivi() if t.titolo == titolo), None),
                         f"a toplevel '{titolo}' in the protocol trace")

    def soli(self, *titoli):
        """Waits until the living toplevels are exactly these: the others have been destroyed, not
        just hidden from the accessibility tree."""
        ultimi = {}

        def confronta():
            ultimi["vivi"] = self.vivi()
            return sorted(t.titolo or "" for t in ultimi["vivi"]) == sorted(titoli)

        try:
            A.attendi(confronta, f"only {list(titoli)} living in the protocol trace")
        except A.Scaduto as errore:
            raise AssertionError(f"{errore}; living: {ultimi.get('vivi')}") from None


def figlia_di(traccia, titolo, titolo_genitore):
    """Checks that the window with this title was made the child of the living window it was opened
    from."""
    figlia = traccia.vivo(titolo)
    genitore = figlia.genitore
    verifica(genitore is not None and genitore.titolo == titolo_genitore and genitore.distrutta is None,
             f"{figlia}: expected the child of '{titolo_genitore}'")
    print(f"   '{titolo}' is a child of '{titolo_genitore}'", flush=True)


def apri_e_chiudi(pid, traccia, principale, comando, titolo, chiudi):
    """Opens a window from the main window (a menu entry or a button), checks that it is its child,
    closes it with its button and waits for it to be destroyed."""
    ruolo, nome = comando
    A.premi(A.trova(principale, ruolo, nome))
    finestra = A.trova_finestra(pid, titolo, "dialog")
    figlia_di(traccia, titolo, A.TITOLO_PRINCIPALE)
    A.premi(A.trova(finestra, "push button", chiudi))
    A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)
    traccia.soli(A.TITOLO_PRINCIPALE)


def splash_poi_principale(pid, traccia):
    passo("the splash comes up first and alone; the main window is made only once it is gone")
    inizio = time.monotonic()
    splash = A.trova_finestra(pid, TITOLO_SPLASH, "dialog", tempo=DURATA_SPLASH)
    testi = A.etichette(splash)
    verifica("Inizializzazione" in testi, f"splash labels: {testi}")
    principale = A.finestra_principale(pid)
    print(f"   the main window came {time.monotonic() - inizio:.1f} s after the start", flush=True)
    traccia.vivo(A.TITOLO_PRINCIPALE)
    # Told from the order of the requests, not from a look at a moment: however slow the machine.
    tutti = traccia.toplevel()
    verifica([t.titolo for t in tutti[:2]] == [TITOLO_SPLASH, A.TITOLO_PRINCIPALE],
             f"the compositor was given {tutti[:2]} first, not the splash and then the main window")
    primo, secondo = tutti[:2]
    verifica(primo.distrutta is not None and primo.distrutta < secondo.creata,
             "the main window was made while the splash was still up")
    return principale


def gioca(pid, principale):
    passo("\"Gioca\" draws six distinct numbers and enables printing")
    stampa = A.trova(principale, "push button", "Stampa")
    campi = [A.trova(principale, "text", nome) for nome in A.CAMPI]
    iniziali = tuple(A.testo(c) for c in campi)
    verifica(iniziali == ("??",) * 6, f"fields before the first play: {iniziali}")
    giocata = P.premi_e_attendi_giocata(pid, A.trova(principale, "push button", "Gioca"), campi, stampa, iniziali)
    print(f"   play: {' '.join(giocata)}", flush=True)


def controllo_aggiornamenti(pid, traccia, principale):
    passo("the update-check window asks first, in a box that is its child; \"No\" asks no site")
    A.premi(A.trova(principale, "menu item", "Aggiorna versione"))
    finestra = A.trova_finestra(pid, TITOLO_AGGIORNAMENTO, "dialog")
    figlia_di(traccia, TITOLO_AGGIORNAMENTO, A.TITOLO_PRINCIPALE)
    A.attendi(lambda: DOMANDA in A.testi_box(pid), "the question about the internet connection")
    figlia_di(traccia, "Richiesta.", TITOLO_AGGIORNAMENTO)
    A.premi(A.trova(A.trova_finestra(pid, "Richiesta.", "alert"), "push button", "No"))
    A.attendi(lambda: DOMANDA not in A.testi_box(pid), "the question to close")
    traccia.soli(A.TITOLO_PRINCIPALE, TITOLO_AGGIORNAMENTO)
    testi = A.etichette(finestra)
    verifica("15" in testi, f"the window shows {testi}, not the current build 15")
    verifica(not A.abilitato(A.trova(finestra, "push button", "Scarica")), "Scarica is enabled with no check done")
    A.premi(A.trova(finestra, "push button", ESCI_AGGIORNAMENTO))
    A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)
    traccia.soli(A.TITOLO_PRINCIPALE)


def main():
    traccia = Traccia(os.path.join(A.cartella_temporanea(), "wayland.log"))
    ambiente = {**os.environ, "WAYLAND_DEBUG": "1"}
    verifica("DISPLAY" not in ambiente, "an X display is set: the program could fall back to it")
    with open(traccia.percorso, "wb") as errori, A.programma(env=ambiente, stderr=errori) as processo:
        pid = processo.pid
        principale = splash_poi_principale(pid, traccia)
        gioca(pid, principale)

        passo("the settings window opens as a child of the main window and closes")
        apri_e_chiudi(pid, traccia, principale, ("push button", "Impostazioni"), TITOLO_IMPOSTAZIONI, "Annulla")
        passo("the bug-report window opens as a child of the main window and closes")
        apri_e_chiudi(pid, traccia, principale, ("menu item", "Segnala Bug"), TITOLO_BUG, "Esci")
        controllo_aggiornamenti(pid, traccia, principale)

        passo("the About window, made at start-up, opens as a child of the main window and closes")
        apri_e_chiudi(pid, traccia, principale, ("menu item", "About"), "About", "Esci")

        passo("every window carried the desktop id as its app id")
        tutti = traccia.toplevel()
        titoli = {t.titolo for t in tutti}
        attesi = {TITOLO_SPLASH, A.TITOLO_PRINCIPALE, TITOLO_IMPOSTAZIONI, TITOLO_BUG, TITOLO_AGGIORNAMENTO,
                  "Richiesta.", "About"}
        verifica(titoli == attesi, f"the compositor was given {sorted(titoli, key=str)}, expected {sorted(attesi)}")
        altri = [t for t in tutti if t.app_id != ID_DESKTOP]
        verifica(not altri, f"not named {ID_DESKTOP}: {altri}")


if __name__ == "__main__":
    A.esegui(main)
