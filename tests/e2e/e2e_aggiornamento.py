# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The update check of the built program on a real display with a window manager, against a web site on
this machine: "Aggiorna versione" opens the window, the question is answered "Sì", the version page
published on the site (build 16) is found newer than the program's own (build 15), each build number
read out with its heading (labelled-by), and "Scarica"
saves the setup file whole where the save dialog proposes it, its name shown as the server gives it.
Then the site turns hostile (endless answers, huge pages, a page sent as a file while the save dialog
waits): the program's memory stays bounded and its window keeps answering. Last, a download into a
full folder is reported and leaves nothing behind.

Run through sessione.sh with kelmo-dravolo-loopback, the program built from the same code with its site
address taken from KELMO_SITO_PROVA; this script serves the site with Python's http.server on
127.0.0.1 and names it there.
"""

import functools
import http.server
import os
import threading
import time

import accessibile as A
from accessibile import passo, verifica

TITOLO_FINESTRA = "Controllo eventuali aggiornamenti disponibili"
DOMANDA = "Per eseguire il controllo di evetuali nuove versioni bisogna essere connessi ad internet, continuo?"
DISPONIBILE = "Disponibile una nuove versione!!"
PREMI_SCARICA = "Premi su scarica e chiudi il programma."
ESCI = "Esci senza salvare le modifiche"
PAGINA = b"<HTML><HEAD><TITLE>Kelmo</TITLE></HEAD>\r\n<BODY>\r\n<P>Versione 06.2002-16</P>\r\n</BODY></HTML>\r\n"
CONTROLLO = "/index.php?show=ctrlvers&prg=Kelmo_DraVolo"
SCARICAMENTO = "/prg/dravol.exe"
# The name the site gives the setup file: markup that must reach the user as plain text.
NOME_FILE = "<font color=red>dravol.exe"
IMPOSSIBILE = "Impossibile scaricare la nuova versione"
NON_DISPONIBILE = "Non disponibile"
# What a check may add to the program's memory, whatever the site sends.
CRESCITA_MASSIMA = 256 * 2**20
# Beyond this a window that does not answer is frozen, whatever the machine's load.
RISPOSTA_MASSIMA = 2.0


def rispondi(gestore, stato, intestazioni, corpo, senza_fine=False, dichiarata=None):
    """Sends an answer; an endless one repeats its body until the program hangs up, announced with no
    length or with the length `dichiarata`."""
    gestore.send_response(stato)
    for nome, valore in intestazioni:
        gestore.send_header(nome, valore)
    if not senza_fine or dichiarata is not None:
        gestore.send_header("Content-Length", str(len(corpo) if dichiarata is None else dichiarata))
    gestore.send_header("Connection", "close")
    gestore.end_headers()
    gestore.close_connection = True
    try:
        while True:
            gestore.wfile.write(corpo)
            Sito.inviati += len(corpo)
            if not senza_fine:
                return
    except (BrokenPipeError, ConnectionResetError):
        pass


HTML = [("Content-Type", "text/html")]
PAGINA_ORDINARIA = (b"<HTML><BODY>" + b"<P>Estrazione del lotto, <B>sei</B> numeri &amp; un jolly.</P>\r\n" * 17000
                    + b"<P>Versione 06.2002-16</P></BODY></HTML>")[-1000000:]
ATTRIBUTI = (b"<html><body><p" + b"".join(b" a%d" % i for i in range(130000)))[:1000000] + b">"
# The hostile version pages: what the site sends, and whether the program is to see a document in it.
OSTILI = [
    ("an error page that never ends", lambda g: rispondi(g, 500, HTML, b"<p>guasto</p>" * 4096, True), False),
    ("a 63 MB page of small tags", lambda g: rispondi(g, 200, HTML, b"<p>" * (21 * 2**20)), False),
    ("a page of small tags that never ends", lambda g: rispondi(g, 200, HTML, b"<p>" * 2**16, True), False),
    ("a page of small tags just under 1 MB", lambda g: rispondi(g, 200, HTML, b"<p>" * 333000), True),
    ("an ordinary 1 MB page", lambda g: rispondi(g, 200, HTML, PAGINA_ORDINARIA), True),
    # The parser checks each attribute against all the tag's others: minutes of work, which must cost
    # the window nothing; the check ends at its time limit.
    ("a 1 MB start tag of distinct attributes", lambda g: rispondi(g, 200, HTML, ATTRIBUTI), False),
]


class Sito(http.server.SimpleHTTPRequestHandler):
    """The maker's site in a folder: index.php is a page, the setup file a file to download. The
    version page may be replaced by a hostile answer."""

    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".php": "text/html; charset=windows-1252",
        ".exe": "application/octet-stream",
    }
    richieste = []
    # Answers the version page in place of index.php when set.
    ostile = None
    # Bytes of hostile answers sent so far.
    inviati = 0
    installazione = b""

    def do_GET(self):
        Sito.richieste.append(self.path)
        if self.path == CONTROLLO and Sito.ostile:
            Sito.ostile(self)
        elif self.path == SCARICAMENTO:
            # Slowly enough for the progress window to be read, under a name made of markup.
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Disposition", f'attachment; filename="{NOME_FILE}"')
            self.send_header("Content-Length", str(len(Sito.installazione)))
            self.end_headers()
            passo = len(Sito.installazione) // 20 + 1
            try:
                for inizio in range(0, len(Sito.installazione), passo):
                    self.wfile.write(Sito.installazione[inizio:inizio + passo])
                    time.sleep(0.1)
            except (BrokenPipeError, ConnectionResetError):
                pass  # the program gave the download up
        else:
            super().do_GET()

    def log_message(self, formato, *argomenti):
        print(f"   site: {formato % argomenti}", flush=True)


def avvia_sito(cartella):
    """The web server on 127.0.0.1, answering from a thread of this script: on a free port, or on
    KELMO_PORTA_SITO when the program under test was built with its site address fixed there."""
    porta = int(os.environ.get("KELMO_PORTA_SITO", "0"))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", porta),
                                             functools.partial(Sito, directory=cartella))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def memoria(pid, voce):
    """A memory figure of the process from /proc (VmRSS, VmHWM), in bytes."""
    with open(f"/proc/{pid}/status") as stato:
        for riga in stato:
            if riga.startswith(voce + ":"):
                return int(riga.split()[1]) * 1024
    raise AssertionError(f"no {voce} for PID {pid}")


def sorveglia(pid, finestra, fatto, descrizione, tempo=60):
    """Watches the program until fatto() is true: its memory must never grow by more than
    CRESCITA_MASSIMA over what it held at the start, and its window must keep answering (each
    accessibility call is answered by the window's thread). Returns (peak growth, longest answer)."""
    with open(f"/proc/{pid}/clear_refs", "w") as azzera:
        azzera.write("5")  # the peak so far becomes the present size
    base = memoria(pid, "VmRSS")
    lenta = 0.0
    limite = time.monotonic() + tempo
    while True:
        inizio = time.monotonic()
        try:
            A.estensione(finestra)
        except A.GLib.Error as errore:
            raise AssertionError(f"{descrizione}: the window did not answer ({errore})") from None
        lenta = max(lenta, time.monotonic() - inizio)
        crescita = memoria(pid, "VmHWM") - base
        verifica(crescita <= CRESCITA_MASSIMA,
                 f"{descrizione}: the program's memory grew by {crescita / 2**20:.0f} MB")
        verifica(lenta <= RISPOSTA_MASSIMA, f"{descrizione}: the window did not answer for {lenta:.1f} s")
        if fatto():
            return crescita, lenta
        verifica(time.monotonic() < limite, f"{descrizione}: still going after {tempo} s")
        time.sleep(0.05)


def main():
    temp = A.cartella_temporanea()
    cartella_sito = os.path.join(temp, "sito")
    os.makedirs(os.path.join(cartella_sito, "prg"))
    with open(os.path.join(cartella_sito, "index.php"), "wb") as file:
        file.write(PAGINA)
    installazione = os.urandom(300 * 1024)
    Sito.installazione = installazione
    # The program's home, where the save dialog proposes the downloads folder.
    casa = os.path.join(temp, "casa")
    scaricati = os.path.join(casa, "Downloads")
    os.makedirs(scaricati)

    server = avvia_sito(cartella_sito)
    sito = f"http://127.0.0.1:{server.server_address[1]}"
    print(f"   site at {sito}", flush=True)
    ambiente = {**os.environ, "KELMO_SITO_PROVA": sito, "HOME": casa}
    try:
        with A.programma(env=ambiente, preexec_fn=A.ignora_sigxfsz, restore_signals=False) as processo:
            pid = processo.pid
            principale = A.finestra_principale(pid)

            passo("\"Aggiorna versione\" opens the update-check window, which asks first")
            A.premi(A.trova(principale, "menu item", "Aggiorna versione"))
            A.attendi(lambda: DOMANDA in A.testi_box(pid), "the question about the internet connection")
            finestra = A.trova_finestra(pid, TITOLO_FINESTRA, "dialog")
            testi = A.etichette(finestra)
            verifica("15" in testi, f"the window shows {testi}, not the current build 15")
            verifica(Sito.richieste == [], f"the site was asked {Sito.richieste} before the answer")

            passo("\"Sì\": the version page is loaded and build 16 is found newer")

            def rispondi_si():
                # A click that lands before the window manager has placed the box misses it: again, for as
                # long as a loaded machine may take to place it.
                if DOMANDA not in A.testi_box(pid):
                    return True
                A.clic_su(A.trova(A.trova_finestra(pid, "Richiesta.", "alert"), "push button", "Sì"))
                return False

            A.attendi(rispondi_si, "the question to be answered", tempo=45, intervallo=1.0)
            try:
                A.trova(finestra, "label", DISPONIBILE, tempo=30)
            except A.Scaduto:
                print(f"   the window shows {A.etichette(finestra)}, boxes {A.testi_box(pid)}", flush=True)
                raise
            testi = A.etichette(finestra)
            for atteso in ("15", "16", PREMI_SCARICA):
                verifica(atteso in testi, f"the window shows {testi}, without {atteso!r}")
            verifica(Sito.richieste == [CONTROLLO], f"the site was asked {Sito.richieste}")
            for numero, intestazione in (("15", "Versione attuale"), ("16", "Versione disponibile su internet")):
                da = A.etichettato_da(A.trova(finestra, "label", numero))
                verifica(da == [intestazione], f"build {numero} is labelled by {da}, not by {intestazione!r}")
            senza_nome = A.controlli_senza_nome(finestra)
            verifica(not senza_nome, f"controls without an accessible name: {senza_nome}")
            scarica = A.trova(finestra, "push button", "Scarica")
            verifica(A.abilitato(scarica), "Scarica is disabled after a newer build was found")
            verifica(A.abilitato(A.trova(finestra, "push button", "Controlla")), "Controlla is disabled")
            A.sposta_puntatore(0, 0)
            print(f"   {A.schermata('e2e_aggiornamento.png', finestra)}", flush=True)

            passo("\"Scarica\" asks where to save the setup file and saves it whole")
            A.premi(scarica)
            salva = A.trova_finestra(pid, "Salva con nome", "dialog", tempo=15)
            A.attendi(lambda: not A.abilitato(scarica), "Scarica to be disabled")
            A.clic_su(A.trova(salva, "push button", "Salva"))
            avanzamento = A.trova_finestra(pid, "Scaricamento", "dialog")
            testi = A.etichette(avanzamento)
            verifica(f"Scaricamento di {NOME_FILE}..." in testi,
                     f"the progress window reads {testi}: the server's name was taken as markup")
            salvato = os.path.join(scaricati, NOME_FILE)

            def intero():
                if not os.path.isfile(salvato):
                    return False
                with open(salvato, "rb") as file:
                    return file.read() == installazione

            A.attendi(intero, f"{salvato} to hold the whole setup file", tempo=20)
            verifica(Sito.richieste == [CONTROLLO, SCARICAMENTO], f"the site was asked {Sito.richieste}")
            A.trova_finestra(pid, TITOLO_FINESTRA, "dialog")
            attese = (A.TITOLO_PRINCIPALE, TITOLO_FINESTRA)
            A.attendi(lambda: all(f.name in attese for f in A.finestre(A.applicazione(pid))),
                      "the save and progress dialogs to close")
            restanti = sorted(os.listdir(scaricati))
            verifica(restanti == [NOME_FILE], f"left in the downloads folder: {restanti}")

            controlla = A.trova(finestra, "push button", "Controlla")
            for descrizione, risposta, documento in OSTILI:
                passo(f"a check against {descrizione}: memory bounded, the window answering")
                Sito.ostile = risposta
                prima = len(Sito.richieste)
                A.premi(controlla)
                crescita, lenta = sorveglia(
                    pid, finestra, lambda: len(Sito.richieste) > prima and A.abilitato(controlla), descrizione)
                print(f"   memory +{crescita / 2**20:.0f} MB at its peak, slowest answer {lenta * 1000:.0f} ms",
                      flush=True)
                testi = A.etichette(finestra)
                atteso = DISPONIBILE if documento else NON_DISPONIBILE
                verifica(atteso in testi, f"after {descrizione} the window shows {testi}, without {atteso!r}")

            # A file is saved only against its declared length: this one declares a terabyte.
            passo("a version page sent as an endless file: held back while the save dialog waits")
            Sito.ostile = lambda g: rispondi(
                g, 200, HTML + [("Content-Disposition", 'attachment; filename="index.html"')],
                b"<p>Versione 06.2002-16</p>" * 4096, True, 2**40)
            prima = len(Sito.richieste)
            A.premi(controlla)
            salva = A.trova_finestra(pid, "Salva con nome", "dialog", tempo=15)
            inviati = []

            def ferma():
                # Still for a second: the program takes nothing more until the user has chosen.
                inviati.append(Sito.inviati)
                return len(inviati) > 20 and inviati[-1] == inviati[-21]

            crescita, lenta = sorveglia(pid, finestra, ferma, "a file waiting for the save dialog", tempo=30)
            print(f"   memory +{crescita / 2**20:.0f} MB, {Sito.inviati / 2**20:.1f} MB sent, "
                  f"slowest answer {lenta * 1000:.0f} ms", flush=True)
            A.clic_su(A.trova(salva, "push button", "Annulla"))
            A.attendi(lambda: len(Sito.richieste) > prima and A.abilitato(controlla), "the check to end")
            testi = A.etichette(finestra)
            verifica(NON_DISPONIBILE in testi, f"after the declined file the window shows {testi}")

            passo("a download into a full folder says it failed and leaves nothing there")
            Sito.ostile = None
            A.premi(controlla)
            A.attendi(lambda: A.abilitato(scarica), "Scarica to be enabled by a newer build", tempo=30)
            os.remove(salvato)
            with A.cartella_piena(scaricati, pid):
                A.premi(scarica)
                salva = A.trova_finestra(pid, "Salva con nome", "dialog", tempo=15)
                A.clic_su(A.trova(salva, "push button", "Salva"))
                A.trova(finestra, "label", IMPOSSIBILE, tempo=20)
                A.trova_finestra(pid, TITOLO_FINESTRA, "dialog")
                A.attendi(lambda: all(f.name in attese for f in A.finestre(A.applicazione(pid))),
                          "the save and progress dialogs to close")
                restanti = sorted(set(os.listdir(scaricati)) - {".riempimento"})
                verifica(restanti == [], f"left in the full downloads folder: {restanti}")

            passo("the exit button closes the window; the main window is alone again")
            A.premi(A.trova(finestra, "push button", ESCI))
            A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)

            A.chiudi_principale(processo, principale)
    finally:
        server.shutdown()
        server.server_close()


if __name__ == "__main__":
    A.esegui(main)
