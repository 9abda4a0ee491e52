// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aggiornamento/BrowserIncorporato.h"

#include "kit/RapportoErrori.h"

#include "aggiornamento/CorpoDocumento.h"
#include "aggiornamento/NomeScaricamento.h"
#include "aggiornamento/PoliticaRisposta.h"
#include "aggiornamento/Scaricamento.h"
#include "kit/Sostituzioni.h"
#include "regole/Errore.h"

#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QWidget>

#include <new>

namespace
{

// Touched on the user-interface thread only.
int g_analisiInCorso = 0;

// The system's proxy settings, except where the policy says no proxy.
class ProxyDiSistema : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &richiesta) override
    {
        if (PoliticaRisposta::SenzaProxy(richiesta.peerHostName()))
            return {QNetworkProxy(QNetworkProxy::NoProxy)};
        return systemProxyForQuery(richiesta);
    }
};

// The failure an answer that ended in error stands for.
std::pair<BrowserIncorporato::Fallimento, QString> Motivo(const QNetworkReply &risposta)
{
    using F = BrowserIncorporato::Fallimento;
    const int stato = risposta.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    switch (risposta.error()) {
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
        return {F::Reindirizzamenti, risposta.errorString()};
    default:
        break;
    }
    if (stato >= 400)
        return {F::StatoHttp,
                QStringLiteral("Errore HTTP %1 %2")
                    .arg(stato)
                    .arg(risposta.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
                    .trimmed()};
    return {F::Rete, risposta.errorString()};
}

} // namespace

BrowserIncorporato::BrowserIncorporato(QObject *genitore)
    : QObject(genitore), m_rete(new QNetworkAccessManager(this))
{
    m_rete->setProxyFactory(new ProxyDiSistema);
    m_limite.setSingleShot(true);
    connect(&m_limite, &QTimer::timeout, this, &BrowserIncorporato::tempoScaduto);
}

BrowserIncorporato::~BrowserIncorporato()
{
    chiudi();
}

void BrowserIncorporato::ImpostaFinestra(QWidget *finestra)
{
    m_finestra = finestra;
}

std::chrono::milliseconds BrowserIncorporato::LimiteTempo()
{
    const std::chrono::milliseconds sostituto = Sostituzioni::Attuali().LimiteTempo;
    return sostituto.count() > 0 ? sostituto : LimiteTempoPredefinito;
}

int BrowserIncorporato::AnalisiInCorso()
{
    return g_analisiInCorso;
}

bool BrowserIncorporato::InCorso() const
{
    return m_stato != Stato::Fermo;
}

void BrowserIncorporato::Naviga(const QString &indirizzo)
{
    chiudi();
    const quint64 navigazione = ++m_navigazione;
    m_stato = Stato::Pagina;
    m_rispostaFinita = false;

    const QUrl url = QUrl::fromUserInput(indirizzo);
    const QString schema = url.scheme().toLower();
    if (!url.isValid() || (schema != QLatin1String("http") && schema != QLatin1String("https"))) {
        // Reported from the event loop, as every other outcome.
        QTimer::singleShot(0, this, [this, navigazione, indirizzo] {
            if (navigazione == m_navigazione && m_stato == Stato::Pagina)
                fallisci(Fallimento::Rete, QStringLiteral("Indirizzo non valido: %1").arg(indirizzo));
        });
        return;
    }

    QNetworkRequest richiesta(url);
    richiesta.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                           QNetworkRequest::NoLessSafeRedirectPolicy);
    richiesta.setMaximumRedirectsAllowed(MassimoReindirizzamenti);
    // The body as it is stored, never compressed on the way: a compressed stream cut short would read
    // as a shorter file or page, with nothing to tell, and the declared length is then the length of
    // what arrives.
    richiesta.setRawHeader("Accept-Encoding", "identity");
    m_risposta = m_rete->get(richiesta);
    m_risposta->setReadBufferSize(BufferRisposta);
    // A failure in these (memory for a large page) is reported and goes no further than here.
    RapportoErrori::Collega(m_risposta.data(), &QNetworkReply::readyRead, this,
                            &BrowserIncorporato::datiArrivati);
    RapportoErrori::Collega(m_risposta.data(), &QNetworkReply::finished, this,
                            &BrowserIncorporato::rispostaFinita);
    m_limite.start(LimiteTempo());
}

void BrowserIncorporato::Annulla()
{
    ++m_navigazione;
    chiudi();
}

void BrowserIncorporato::chiudi()
{
    m_limite.stop();
    if (m_risposta) {
        m_risposta->disconnect(this);
        m_risposta->abort();
        m_risposta->deleteLater();
        m_risposta = nullptr;
    }
    m_scaricamento.reset();
    m_pagina = QByteArray();
    m_stato = Stato::Fermo;
}

void BrowserIncorporato::fallisci(Fallimento motivo, const QString &dettaglio)
{
    // The current document goes with a failed page, as a browser shows its error page instead.
    if (m_stato == Stato::Pagina || m_stato == Stato::Analisi) {
        m_corpo.reset();
        m_indirizzoDocumento.clear();
    }
    chiudi();
    emit NavigazioneFallita(motivo, dettaglio);
}

void BrowserIncorporato::tempoScaduto()
{
    fallisci(
        Fallimento::TempoScaduto,
        m_stato == Stato::Scaricamento
            ? QStringLiteral("Nessun dato ricevuto per %1 secondi").arg(LimiteTempo().count() / 1000.0)
            : QStringLiteral("Pagina non caricata entro %1 secondi").arg(LimiteTempo().count() / 1000.0));
}

void BrowserIncorporato::decidi()
{
    if (m_stato != Stato::Pagina || !m_risposta)
        return;
    // Only a final 200 is the page or the file asked for: a part of it (206), a "not modified" with
    // nothing (304), a list of choices (300) or any other answer is not, however it looks.
    if (const int stato = m_risposta->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        stato != 200) {
        fallisci(Fallimento::StatoHttp,
                 QStringLiteral("Risposta HTTP %1 %2 invece del documento richiesto")
                     .arg(stato)
                     .arg(m_risposta->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
                     .simplified());
        return;
    }
    if (!PoliticaRisposta::IntestazioniAccettabili(m_risposta->rawHeaderPairs(), MassimeIntestazioni)) {
        fallisci(Fallimento::Intestazioni,
                 QStringLiteral("Intestazioni della risposta assenti o oltre i %1 kB")
                     .arg(MassimeIntestazioni / 1024));
        return;
    }
    if (const QByteArray codifica = m_risposta->rawHeader("Content-Encoding");
        !PoliticaRisposta::CodificaAccettata(codifica)) {
        fallisci(Fallimento::Incompleto, QStringLiteral("Codifica del contenuto non richiesta: %1")
                                             .arg(QString::fromLatin1(codifica.trimmed().toLower())));
        return;
    }
    if (!PoliticaRisposta::EFile(m_risposta->rawHeader("Content-Disposition"),
                                 m_risposta->rawHeader("Content-Type")))
        return;
    // A file is saved only when it is known whole, and that is known only against the length its
    // server declares: an answer that ends its chunks or its connection early, or whose chunk sizes do
    // not read as numbers, still looks complete to the network layer.
    const QVariant lunghezza = m_risposta->header(QNetworkRequest::ContentLengthHeader);
    if (!lunghezza.isValid() || lunghezza.toLongLong() < 0) {
        fallisci(Fallimento::Incompleto,
                 QStringLiteral(
                     "Il server non dichiara la lunghezza del file: non si può sapere se arriva intero"));
        return;
    }
    m_lunghezzaFile = lunghezza.toLongLong();
    // A download waits for the user's choice, with the time limit suspended; what arrives meanwhile
    // stays in the answer's buffer.
    m_limite.stop();
    m_stato = Stato::AttesaScelta;
    m_nomeFile = NomeScaricamento::Proposto(m_risposta->rawHeader("Content-Disposition"), m_risposta->url());
    const quint64 navigazione = m_navigazione;
    QTimer::singleShot(0, this, [this, navigazione] { chiediDove(navigazione); });
}

void BrowserIncorporato::datiArrivati()
{
    if (m_risposta->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() >= 400) {
        // An error page is never shown: nothing of it is kept, however long it goes on.
        const auto [motivo, dettaglio] = Motivo(*m_risposta);
        fallisci(motivo, dettaglio);
        return;
    }
    decidi();
    switch (m_stato) {
    case Stato::Pagina:
        leggiPagina();
        break;
    case Stato::Scaricamento:
        scrivi();
        break;
    case Stato::Analisi:
    case Stato::AttesaScelta:
    case Stato::Fermo:
        break;
    }
}

void BrowserIncorporato::leggiPagina()
{
    m_pagina += m_risposta->read(MassimaPagina + 1 - m_pagina.size());
    if (m_pagina.size() > MassimaPagina)
        fallisci(Fallimento::TroppoGrande,
                 QStringLiteral("La pagina supera i %1 kB").arg(MassimaPagina / 1024));
}

void BrowserIncorporato::rispostaFinita()
{
    m_rispostaFinita = true;
    if (m_risposta->error() == QNetworkReply::NoError)
        decidi();
    switch (m_stato) {
    case Stato::Pagina:
        concludiPagina();
        break;
    case Stato::Scaricamento:
        concludiScaricamento();
        break;
    case Stato::AttesaScelta: // the choice, when made, finds the answer complete
    case Stato::Analisi:
    case Stato::Fermo:
        break;
    }
}

void BrowserIncorporato::concludiPagina()
{
    if (m_risposta->error() != QNetworkReply::NoError) {
        const auto [motivo, dettaglio] = Motivo(*m_risposta);
        fallisci(motivo, dettaglio);
        return;
    }
    leggiPagina();
    if (m_stato != Stato::Pagina)
        return;

    // However a page is built, its parse costs the window nothing; the time limit still runs, and a
    // parse that outlives it, or an abandoned navigation, is let finish and its result ignored.
    struct Esito {
        std::optional<QByteArray> corpo;
        bool memoriaEsaurita = false;
    };
    auto esito = std::make_shared<Esito>();
    QThread *analisi = QThread::create(
        [pagina = std::exchange(m_pagina, {}),
         codifica = PoliticaRisposta::Codifica(m_risposta->rawHeader("Content-Type")), esito] {
            try {
                esito->corpo = CorpoDocumento::Corpo(pagina, codifica);
            } catch (const std::bad_alloc &) {
                esito->memoriaEsaurita = true;
            }
        });
    m_stato = Stato::Analisi;
    const quint64 navigazione = m_navigazione;
    connect(analisi, &QThread::finished, this, [this, navigazione, esito] {
        RapportoErrori::Protetto([&] { analisiFinita(navigazione, esito->corpo, esito->memoriaEsaurita); });
    });
    // Connected after the browser's own handler, so queued after it: the count falls once the result
    // has been taken or dropped, whether or not the browser still exists.
    connect(analisi, &QThread::finished, analisi, [analisi] {
        --g_analisiInCorso;
        analisi->deleteLater();
    });
    ++g_analisiInCorso;
    analisi->start();
}

void BrowserIncorporato::analisiFinita(quint64 navigazione, const std::optional<QByteArray> &corpo,
                                       bool memoriaEsaurita)
{
    if (navigazione != m_navigazione || m_stato != Stato::Analisi)
        return;
    if (memoriaEsaurita) {
        fallisci(Fallimento::TroppoGrande, QStringLiteral("Memoria insufficiente per leggere la pagina"));
        return;
    }
    if (!corpo) {
        fallisci(Fallimento::SenzaCorpo, QStringLiteral("La pagina non contiene un documento"));
        return;
    }
    m_corpo = QString::fromUtf8(*corpo);
    m_indirizzoDocumento = m_risposta->url();
    chiudi();
    emit DocumentoCompletato();
}

void BrowserIncorporato::chiediDove(quint64 navigazione)
{
    if (navigazione != m_navigazione || m_stato != Stato::AttesaScelta)
        return;
    // The dialog runs its own event loop: this browser may be told to stop, or be destroyed, meanwhile.
    const QPointer<BrowserIncorporato> vivo(this);
    const QString percorso = Scaricamento::ChiediDove(m_finestra, m_nomeFile);
    if (!vivo || navigazione != m_navigazione || m_stato != Stato::AttesaScelta)
        return;

    if (percorso.isEmpty()) {
        chiudi();
        emit ScaricamentoTerminato(QString());
        return;
    }
    m_scaricamento = std::make_unique<Scaricamento>(m_nomeFile);
    try {
        m_scaricamento->Apri(percorso, m_finestra, [this] { annullaScaricamento(); });
    } catch (const Errore &e) {
        fallisci(Fallimento::Scrittura, e.messaggio());
        return;
    }
    m_stato = Stato::Scaricamento;

    scrivi();
    if (m_stato != Stato::Scaricamento)
        return;
    if (m_rispostaFinita)
        concludiScaricamento();
}

void BrowserIncorporato::scrivi()
{
    try {
        m_scaricamento->Scrivi(m_risposta->readAll(),
                               m_risposta->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    } catch (const Errore &e) {
        fallisci(Fallimento::Scrittura, e.messaggio());
        return;
    }
    // From the choice on, the limit is on silence, not on the whole transfer.
    if (!m_rispostaFinita)
        m_limite.start(LimiteTempo());
}

void BrowserIncorporato::concludiScaricamento()
{
    if (m_risposta->error() != QNetworkReply::NoError) {
        const auto [motivo, dettaglio] = Motivo(*m_risposta);
        fallisci(motivo, dettaglio);
        return;
    }
    scrivi();
    if (m_stato != Stato::Scaricamento)
        return;
    try {
        m_scaricamento->Concludi(m_lunghezzaFile);
    } catch (const Errore &e) {
        fallisci(m_scaricamento->Scritti() == m_lunghezzaFile ? Fallimento::Scrittura
                                                              : Fallimento::Incompleto,
                 e.messaggio());
        return;
    }
    const QString percorso = m_scaricamento->Percorso();
    chiudi();
    emit ScaricamentoTerminato(percorso);
}

void BrowserIncorporato::annullaScaricamento()
{
    if (m_stato != Stato::Scaricamento)
        return;
    ++m_navigazione;
    chiudi();
    emit ScaricamentoTerminato(QString());
}
