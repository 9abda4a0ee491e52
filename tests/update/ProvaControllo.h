#pragma once

// What the update window's tests share: the texts the window shows, its opening with the question
// answered, and the site on 127.0.0.1 that its check and its download go to.
#include "support/FinestreProva.h"
#include "support/RispostaBox.h"
#include "support/ServerProva.h"
#include "update/BrowserIncorporato.h"
#include "update/Scaricamento.h"
#include "update/TFrmControllaVersione.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <memory>

inline const QString Domanda = QStringLiteral(
    "Per eseguire il controllo di evetuali nuove versioni bisogna essere connessi ad internet, continuo?");
inline const QByteArray PercorsoControllo = "/index.php?show=ctrlvers&prg=Kelmo_DraVolo";
inline const QString InCorso = QStringLiteral("Controllo versione in corso...");
inline const QString Disponibile = QStringLiteral("Disponibile una nuove versione!!");
inline const QString Nessuna = QStringLiteral("Nessuna nuova versione disponibile.");
inline const QString PremiScarica = QStringLiteral("Premi su scarica e chiudi il programma.");
inline const QString Impossibile = QStringLiteral("Impossibile scaricare la nuova versione.");
inline const QString ImpossibileSenzaPunto = QStringLiteral("Impossibile scaricare la nuova versione");
inline const QString NonDisponibile = QStringLiteral("Non disponibile");

inline QByteArray Pagina(const QByteArray &testo)
{
    return "<HTML><HEAD><TITLE>Kelmo</TITLE></HEAD>\r\n<BODY>\r\n<P>" + testo + "</P>\r\n</BODY></HTML>";
}

// Shows the window, answers the question and returns once the activation is over, together with the
// check that a Yes starts (the check runs inside the activation).
[[nodiscard]] inline bool Apri(TFrmControllaVersione &finestra, RispostaBox &box,
                               QMessageBox::StandardButton risposta)
{
    const qsizetype prima = box.Visti().size();
    box.Rispondi(risposta);
    finestra.show();
    return QTest::qWaitFor([&] { return box.Visti().size() > prima && !finestra.InAttesa(); }, 60000);
}

// The site of one test function: a web server on 127.0.0.1 that the window's addresses point at, and the
// windows that start-up keeps. Prepara makes it afresh, Riordina lets it go.
class SitoControllo
{
protected:
    std::unique_ptr<FinestreProva> m_finestre;
    ServerProva *m_server = nullptr;

    QString Sito() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server->Porta()); }

    void ImpostaControllo(const QByteArray &pagina) { m_server->ImpostaPagina("/index.php", pagina); }

    // The version page publishes build 16, the setup file is served as given, as a file, and the user
    // saves it as `nome` in `cartella`. Returns the path it is saved to; the proposed paths go to
    // `proposte`.
    QString ImpostaSitoConInstallazione(ServerProva::Risposta file, const QTemporaryDir &cartella,
                                        const QString &nome = QStringLiteral("dravol.exe"),
                                        QStringList *proposte = nullptr)
    {
        ImpostaControllo(Pagina("Versione 06.2002-16"));
        file.tipo = "application/octet-stream";
        m_server->Imposta("/prg/dravol.exe", file);
        const QString destinazione = cartella.filePath(nome);
        Scaricamento::ImpostaSceltaFile([destinazione, proposte](QWidget *, const QString &proposta) {
            if (proposte)
                *proposte << proposta;
            return destinazione;
        });
        return destinazione;
    }

    // The version page is asked for and never answered.
    void ControlloMuto() { m_server->ImpostaMuto("/index.php"); }

    void Prepara()
    {
        m_finestre = std::make_unique<FinestreProva>();
        m_server = new ServerProva;
        TFrmControllaVersione::ImpostaIndirizzoSito(Sito());
    }
    void Riordina()
    {
        TFrmControllaVersione::ImpostaIndirizzoSito({});
        BrowserIncorporato::ImpostaLimiteTempo(std::chrono::milliseconds(0));
        Scaricamento::ImpostaSceltaFile({});
        delete m_server;
        m_finestre.reset();
    }
};
