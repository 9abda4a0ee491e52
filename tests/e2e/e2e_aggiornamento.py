"""The update check of the built program on a real display with a window manager, against a web site on
this machine: "Aggiorna versione" opens the window, the question is answered "Sì", the version page
published on the site (build 16) is found newer than the program's own (build 15), each build number
read out with its heading (labelled-by), and "Scarica"
saves the setup file whole where the save dialog proposes it.

Run through sessione.sh with kelmo-dravolo-loopback, the program built from the same code with its site
address taken from KELMO_SITO_PROVA; this script serves the site with Python's http.server on
127.0.0.1 and names it there.
"""

import functools
import http.server
import os
import threading

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
class Sito(http.server.SimpleHTTPRequestHandler):
    """The maker's site in a folder: index.php is a page, the setup file a file to download."""

    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".php": "text/html; charset=windows-1252",
        ".exe": "application/octet-stream",
    }
    richieste = []

    def do_GET(self):
        Sito.richieste.append(self.path)
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


def main():
    temp = A.cartella_temporanea()
    cartella_sito = os.path.join(temp, "sito")
    os.makedirs(os.path.join(cartella_sito, "prg"))
    with open(os.path.join(cartella_sito, "index.php"), "wb") as file:
        file.write(PAGINA)
    installazione = os.urandom(300 * 1024)
    with open(os.path.join(cartella_sito, "prg", "dravol.exe"), "wb") as file:
        file.write(installazione)
    # The program's home, where the save dialog proposes the downloads folder.
    casa = os.path.join(temp, "casa")
    scaricati = os.path.join(casa, "Downloads")
    os.makedirs(scaricati)

    server = avvia_sito(cartella_sito)
    sito = f"http://127.0.0.1:{server.server_address[1]}"
    print(f"   site at {sito}", flush=True)
    ambiente = {**os.environ, "KELMO_SITO_PROVA": sito, "HOME": casa}
    try:
        with A.programma(env=ambiente) as processo:
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
            domanda = A.trova_finestra(pid, "Richiesta.", "alert")
            A.clic_su(A.trova(domanda, "push button", "Sì"))
            A.trova(finestra, "label", DISPONIBILE, tempo=30)
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
            salvato = os.path.join(scaricati, "dravol.exe")

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
            verifica(restanti == ["dravol.exe"], f"left in the downloads folder: {restanti}")

            passo("the exit button closes the window; the main window is alone again")
            A.premi(A.trova(finestra, "push button", ESCI))
            A.trova_finestra(pid, A.TITOLO_PRINCIPALE, "frame", sola=True)

            A.chiudi_principale(processo, principale)
    finally:
        server.shutdown()
        server.server_close()


if __name__ == "__main__":
    A.esegui(main)
