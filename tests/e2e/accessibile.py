# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Helpers shared by the end-to-end scripts: they meet the program as a screen reader does, through
the accessibility bus of the session that sessione.sh prepared.

Everything waits by polling with a time limit; nothing sleeps for a fixed time to let the program
catch up.
"""

import contextlib
import os
import resource
import shutil
import signal
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402
import pyatspi  # noqa: E402

TEMPO_PREDEFINITO = 10.0

TITOLO_PRINCIPALE = "Kelmo_Dravolo"
# The main window comes after the ten-second splash window.
ATTESA_PRINCIPALE = 30.0
CAMPI = ["Primo numero", "Secondo numero", "Terzo numero", "Quarto numero", "Quinto numero", "Sesto numero"]

# sessione.sh stops a script with SIGTERM when it is itself stopped: leave through the normal exit
# path, so that "finally" blocks stop the program the script started.
signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))

# Roles of the things a user acts on or reads; each must have a name a screen reader can say.
RUOLI_CONTROLLI = {
    "push button",
    "toggle button",
    "check box",
    "radio button",
    "text",
    "password text",
    "combo box",
    "spin button",
    "slider",
    "list",
    "list item",
    "menu",
    "menu item",
    "check menu item",
    "radio menu item",
    "page tab",
    "link",
}


class Scaduto(AssertionError):
    """A condition did not come true within its time limit."""


def passo(testo):
    print(f"-- {testo}", flush=True)


def verifica(condizione, messaggio):
    if not condizione:
        raise AssertionError(messaggio)


def esegui(principale, *argomenti):
    """Runs a script's steps: a failed check ends it with "FAIL: ..." on standard error and status 1."""
    try:
        principale(*argomenti)
    except AssertionError as errore:
        print(f"FAIL: {errore}", file=sys.stderr, flush=True)
        sys.exit(1)
    passo("passed")


def attendi(condizione, descrizione, tempo=TEMPO_PREDEFINITO, intervallo=0.1):
    """Calls condizione() until it returns something true and returns that value.

    Accessibility calls may fail while a window is being built or torn down: such a failure counts
    as "not yet". Raises Scaduto, with the last failure if there was one, when time runs out.
    """
    limite = time.monotonic() + tempo
    ultimo_errore = None
    while True:
        try:
            valore = condizione()
            if valore:
                return valore
        except (GLib.Error, LookupError, NotImplementedError, RuntimeError) as errore:
            ultimo_errore = errore
        if time.monotonic() >= limite:
            dettaglio = f" (last error: {ultimo_errore})" if ultimo_errore else ""
            raise Scaduto(f"waited {tempo:g} s for {descrizione}{dettaglio}")
        time.sleep(intervallo)


# --- the program's process -------------------------------------------------------------------------


def avvia_programma(*argomenti, eseguibile=None, **opzioni):
    """Starts the copy of the program prepared by sessione.sh, or eseguibile; returns its Popen
    (opzioni go to it).

    Unless cwd says otherwise, the program runs in its own folder, as when started from there: it
    opens its tables by bare name from the working directory, and sessione.sh put copies of them
    next to it."""
    opzioni.setdefault("cwd", cartella_programma())
    return subprocess.Popen([eseguibile or os.environ["KELMO_BINARIO"], *argomenti], **opzioni)


@contextlib.contextmanager
def programma(*argomenti, **opzioni):
    """The program started for the block (as avvia_programma) and stopped by its PID when the block
    ends, however it ends."""
    processo = avvia_programma(*argomenti, **opzioni)
    try:
        yield processo
    finally:
        ferma_programma(processo)


def ferma_programma(processo, tempo=5.0):
    """Stops the program by its PID if it is still running (TERM, then KILL)."""
    if processo.poll() is not None:
        return
    processo.send_signal(signal.SIGTERM)
    try:
        processo.wait(tempo)
    except subprocess.TimeoutExpired:
        processo.kill()
        processo.wait(tempo)


def attendi_uscita(processo, tempo=5.0):
    """Waits for the program to end by itself; returns its exit code."""
    try:
        return processo.wait(tempo)
    except subprocess.TimeoutExpired:
        raise Scaduto(f"the program (PID {processo.pid}) was still running {tempo:g} s later") from None


def ignora_sigxfsz():
    """For preexec_fn: the program keeps SIGXFSZ ignored across exec, so that a file-size limit fails its
    writes instead of ending it."""
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)


@contextlib.contextmanager
def cartella_piena(cartella, pid, file=None):
    """The folder made full for the block: a small tmpfs over it, holding the given files (name:
    content) and filled to the last byte, where this script may mount one; else a file-size limit of
    zero on the program (started with ignora_sigxfsz), the files written in the folder as it is."""
    montata = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k,mode=0755", "tmpfs", cartella],
                             capture_output=True, timeout=10).returncode == 0
    precedente = None
    try:
        for nome, contenuto in (file or {}).items():
            with open(os.path.join(cartella, nome), "wb") as scritto:
                scritto.write(contenuto)
        if montata:
            try:
                with open(os.path.join(cartella, ".riempimento"), "wb", buffering=0) as riempimento:
                    for blocco in (4096, 1):
                        while riempimento.write(b"\0" * blocco):
                            pass
            except OSError:
                pass
            print(f"   {cartella} is a full tmpfs", flush=True)
        else:
            precedente = resource.prlimit(pid, resource.RLIMIT_FSIZE)
            resource.prlimit(pid, resource.RLIMIT_FSIZE, (0, precedente[1]))
            print("   no tmpfs: the program may write no file beyond 0 bytes", flush=True)
        yield
    finally:
        if montata:
            subprocess.run(["umount", "--lazy", cartella], check=True, timeout=10)
        elif precedente is not None:
            resource.prlimit(pid, resource.RLIMIT_FSIZE, precedente)


def cartella_programma():
    """The folder of the program's copy: what the program sees as the folder of its executable."""
    return os.environ["KELMO_CARTELLA"]


def cartella_temporanea():
    return os.environ["KELMO_TEMP"]


# --- the accessible tree ---------------------------------------------------------------------------


def applicazione(pid, tempo=TEMPO_PREDEFINITO):
    """The accessible application of the process with this PID, once it has registered."""

    def cerca():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                return app
        return None

    return attendi(cerca, f"the application of PID {pid} on the accessibility bus", tempo)


def stati(accessibile):
    """The accessible's current states by name ("enabled", "showing", ...), never from a cache."""
    accessibile.clear_cache()
    return {pyatspi.stateToString(s) for s in accessibile.getState().getStates()}


def finestre(app):
    """The application's top-level windows that are on screen."""
    app.clear_cache()
    return [f for f in app if f is not None and "showing" in stati(f)]


def descrivi_finestra(finestra):
    """Role, title and label texts of a window, for messages."""
    testi = etichette(finestra)
    return f"{finestra.getRoleName()} '{finestra.name}'" + (f" saying {testi}" if testi else "")


def trova_finestra(pid, titolo, ruolo="frame", tempo=TEMPO_PREDEFINITO, sola=False):
    """The top-level window with this title and role. With sola=True it is returned only once no
    other top-level window of the program is on screen (a splash or a modal dialog has closed)."""
    visto = {}

    def cerca():
        aperte = finestre(applicazione(pid, tempo))
        visto["aperte"] = aperte
        trovate = [f for f in aperte if f.name == titolo and f.getRoleName() == ruolo]
        if not trovate or (sola and len(aperte) > 1):
            return None
        return trovate[0]

    cosa = f"{ruolo} '{titolo}'" + (" alone on screen" if sola else "")
    try:
        return attendi(cerca, cosa, tempo)
    except Scaduto as errore:
        try:
            aperte = [descrivi_finestra(f) for f in visto.get("aperte", [])]
        except GLib.Error:
            aperte = ["?"]
        raise Scaduto(f"{errore}; on screen: {aperte or 'nothing'}") from None


def finestra_principale(pid):
    """The main window, once it is on screen alone (the splash has gone)."""
    passo("the main window comes up")
    return trova_finestra(pid, TITOLO_PRINCIPALE, "frame", tempo=ATTESA_PRINCIPALE, sola=True)


def chiudi_principale(processo, principale):
    """Closes the main window as the user does (Alt+F4 on it) and checks that the program ends well."""
    passo("closing the main window ends the program")
    if "active" not in stati(principale):
        # Keys reach only the active window; a click on the logo activates it and does nothing else.
        clic_su([a for a in discendenti(principale) if a.getRoleName() == "image"][-1])
        attendi(lambda: "active" in stati(principale), "the main window to become active")
    chiudi_finestra_attiva()
    codice = attendi_uscita(processo, tempo=5)
    verifica(codice == 0, f"the program exited with code {codice}")


def discendenti(radice):
    """Every accessible below radice, depth first."""
    for figlio in radice:
        if figlio is None:
            continue
        yield figlio
        yield from discendenti(figlio)


def trova(radice, ruolo, nome, tempo=TEMPO_PREDEFINITO):
    """The first descendant with this role and accessible name."""

    def cerca():
        for a in discendenti(radice):
            if a.getRoleName() == ruolo and a.name == nome:
                return a
        return None

    return attendi(cerca, f"{ruolo} '{nome}' in '{radice.name}'", tempo)


def etichette(finestra):
    """The texts of the labels below a window (a label exposes its text only as its name)."""
    return [a.name for a in discendenti(finestra) if a.getRoleName() == "label" and a.name]


def testi_box(pid):
    """The label texts of every message box of the program on screen."""
    alert = [f for f in finestre(applicazione(pid)) if f.getRoleName() == "alert"]
    return [testo for f in alert for testo in etichette(f)]


def controlli_senza_nome(radice):
    """The controls below radice that a screen reader could only call by their role."""
    return [
        f"{a.getRoleName()} at {percorso(a)}"
        for a in discendenti(radice)
        if a.getRoleName() in RUOLI_CONTROLLI and not (a.name or "").strip()
    ]


def percorso(accessibile):
    """A readable path of roles and names, for messages."""
    parti = []
    a = accessibile
    while a is not None and a.getRoleName() != "application":
        parti.append(f"{a.getRoleName()} '{a.name}'")
        a = a.parent
    return " / ".join(reversed(parti))


def etichettato_da(accessibile):
    """The names of the accessibles that label this one (its labelled-by relations)."""
    accessibile.clear_cache()
    return [
        relazione.getTarget(i).name
        for relazione in accessibile.getRelationSet()
        if relazione.getRelationType() == pyatspi.RELATION_LABELLED_BY
        for i in range(relazione.getNTargets())
    ]


def abilitato(accessibile):
    return {"enabled", "sensitive"} <= stati(accessibile)


def testo(accessibile):
    """The whole text of a field, through the Text interface."""
    return accessibile.queryText().getText(0, -1)


def estensione(accessibile):
    """(x, y, width, height) on the screen."""
    e = accessibile.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def collegamenti(radice, attesi):
    """The links below radice, checked as a screen reader and a keyboard user need them: exactly the
    names expected, each with a "Press" action; the addresses reached by Tab, the logo, a picture that
    does what the address beside it does, not. Returns them by name."""
    trovati = {a.name: a for a in discendenti(radice) if a.getRoleName() == "link"}
    verifica(sorted(trovati) == sorted(attesi), f"links in '{radice.name}': {sorted(trovati)}, expected {sorted(attesi)}")
    for nome, collegamento in trovati.items():
        azioni = collegamento.queryAction()
        nomi = [azioni.getName(i) for i in range(azioni.nActions)]
        verifica("Press" in nomi, f"link '{nome}' offers {nomi}, no Press")
        verifica(("focusable" in stati(collegamento)) == (nome != "Logo"),
                 f"link '{nome}' {'can' if 'focusable' in stati(collegamento) else 'cannot'} take the keyboard focus")
    return trovati


# --- the desktop's "open" --------------------------------------------------------------------------


def ambiente_con_apertura():
    """The environment for the program in which the desktop's "open" is a recorder of ours, first in
    PATH under the name xdg-open that Qt launches: every address is noted, byte for byte, instead of
    opened. See aperture()."""
    cartella = os.path.join(cartella_temporanea(), "apritore")
    registratore = os.path.join(cartella, "xdg-open")
    if not os.path.exists(registratore):
        os.makedirs(cartella, exist_ok=True)
        with open(registratore, "w") as file:
            file.write('#!/bin/sh\nprintf \'%s\\n\' "$1" >> "$(dirname "$0")/../aperture.txt"\n')
        os.chmod(registratore, 0o755)
    return {**os.environ, "PATH": cartella + os.pathsep + os.environ["PATH"]}


def aperture():
    """The addresses handed to the desktop's "open" so far, in order; bytes that are not UTF-8 stay
    as they were given (os.fsencode gives them back)."""
    try:
        with open(os.path.join(cartella_temporanea(), "aperture.txt"), "rb") as file:
            return [os.fsdecode(riga) for riga in file.read().splitlines()]
    except FileNotFoundError:
        return []


def premi_collegamento(collegamento, indirizzo):
    """Runs a link's Press action and waits until the address has been handed to the desktop (a web
    address may come with its host in lower case)."""
    prima = len(aperture())
    premi(collegamento)
    return attendi(lambda: [a for a in aperture()[prima:] if a.lower().startswith(indirizzo.lower())],
                   f"link '{collegamento.name}' to open {indirizzo}")


# --- acting --------------------------------------------------------------------------------------

_bus_a11y = None


def _connessione_a11y():
    """A connection of our own to the accessibility bus, for messages we do not wait on."""
    global _bus_a11y
    if _bus_a11y is None:
        sessione = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        risposta = sessione.call_sync(
            "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
            GLib.VariantType.new("(s)"), Gio.DBusCallFlags.NONE, 5000, None)
        indirizzo = risposta.unpack()[0]
        _bus_a11y = Gio.DBusConnection.new_for_address_sync(
            indirizzo,
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)
    return _bus_a11y


def premi(accessibile, azione="Press"):
    """Runs one of the accessible's actions without waiting for the reply.

    The program runs a button's or menu entry's handler inside the action call; a handler that opens
    a modal window or a message box would keep a waiting client blocked until that window closed.
    So the call goes out marked "no reply expected" and the caller polls for its visible effect.
    """
    accessibile.clear_cache()
    azioni = accessibile.queryAction()
    nomi = [azioni.getName(i) for i in range(azioni.nActions)]
    if azione not in nomi:
        raise AssertionError(f"{percorso(accessibile)} offers no '{azione}' action (it offers {nomi})")
    messaggio = Gio.DBusMessage.new_method_call(
        accessibile.app.bus_name, accessibile.path, "org.a11y.atspi.Action", "DoAction")
    messaggio.set_body(GLib.Variant("(i)", (nomi.index(azione),)))
    messaggio.set_flags(Gio.DBusMessageFlags.NO_REPLY_EXPECTED)
    bus = _connessione_a11y()
    bus.send_message(messaggio, Gio.DBusSendMessageFlags.NONE)
    bus.flush_sync(None)


def clic(x, y):
    """A real pointer click (XTest through the accessibility registry) at screen position x, y."""
    Atspi.generate_mouse_event(x, y, "b1c")


def sposta_puntatore(x, y):
    """Moves the pointer to screen position x, y (away from a button, before a screenshot)."""
    Atspi.generate_mouse_event(x, y, "abs")


def clic_su(accessibile):
    """A real pointer click in the middle of the accessible."""
    x, y, larghezza, altezza = estensione(accessibile)
    clic(x + larghezza // 2, y + altezza // 2)


def chiudi_finestra_attiva():
    """Alt+F4: the window manager asks the active window to close, as the close box does."""
    alt = 1 << 3  # Mod1Mask: the registry locks and unlocks X modifier masks
    Atspi.generate_keyboard_event(alt, None, Atspi.KeySynthType.LOCKMODIFIERS)
    try:
        Atspi.generate_keyboard_event(0xFFC1, None, Atspi.KeySynthType.SYM)  # XK_F4
    finally:
        Atspi.generate_keyboard_event(alt, None, Atspi.KeySynthType.UNLOCKMODIFIERS)


# --- pictures ------------------------------------------------------------------------------------


def schermata(nome, finestra=None):
    """A screenshot of the whole display (import -window root) saved in the session's temporary
    folder; with finestra, cropped to that accessible's extents. When KELMO_SCREENSHOT is set, a
    copy goes there too (a folder, or a file name with its extension). Returns the picture's path."""
    destinazione = os.path.join(cartella_temporanea(), nome)
    comando = ["import", "-window", "root"]
    if finestra is not None:
        x, y, larghezza, altezza = estensione(finestra)
        comando += ["-crop", f"{larghezza}x{altezza}+{x}+{y}", "+repage"]
    subprocess.run(comando + [destinazione], check=True, timeout=30)
    copia = os.environ.get("KELMO_SCREENSHOT")
    if copia:
        # A folder (existing, or named without an extension) receives the picture under its name.
        if os.path.isdir(copia) or not os.path.splitext(copia)[1]:
            os.makedirs(copia, exist_ok=True)
        else:
            os.makedirs(os.path.dirname(os.path.abspath(copia)), exist_ok=True)
        shutil.copy(destinazione, copia)
    return destinazione
