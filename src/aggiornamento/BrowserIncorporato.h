// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QWidget;
class Scaricamento;

// The web browser the update check embeds, out of the user's sight: it loads one address at a time and
// says when the page is there; an answer that is a file rather than a page is saved where the user
// chooses (Scaricamento). It stands for the three things the window asks of a browser control: Navigate
// (Naviga), the DocumentComplete event (DocumentoCompletato) and the body's outer markup of the current
// document (CorpoHtml). It is no widget: nothing of it is ever on screen but the dialogs of a download,
// shown over the window set with ImpostaFinestra.
//
// A page is parsed on a thread of its own, so that no page, however built, stops the window answering.
//
// Every navigation ends with exactly one signal, always raised from the event loop, never from inside
// Naviga: DocumentoCompletato for a page with a body, ScaricamentoTerminato for a file, or
// NavigazioneFallita. A navigation cut short by Annulla, by a new Naviga or by the browser's destruction
// raises nothing.
class BrowserIncorporato : public QObject
{
    Q_OBJECT
public:
    enum class Fallimento {
        Rete,             // refused, name not found, TLS failure, connection lost, unsupported address
        StatoHttp,        // the server answered with an error status
        Reindirizzamenti, // too many redirections, or one to a less safe address
        TempoScaduto,     // no page within the time limit, or a download silent for as long
        SenzaCorpo,       // the answer holds no body element: no document
        TroppoGrande,     // a page beyond MassimaPagina, or one the parser had no memory for
        Scrittura,        // the downloaded file could not be written
        Intestazioni,     // headers beyond MassimeIntestazioni, or none that could be read
        Incompleto,       // a body that cannot be known whole: encoded though no encoding was asked
                          // for, or a file whose length is not declared or not the one received
    };
    Q_ENUM(Fallimento)

    static constexpr int MassimoReindirizzamenti = 10;
    // A version page is a few kilobytes: this leaves it room two hundred times over and bounds what a
    // hostile page can make the parser build.
    static constexpr qint64 MassimaPagina = 1024 * 1024;
    // What an answer may hold unread in memory; beyond it TCP holds the rest back at the server. It
    // bounds a download waiting for the user's choice of where to save it.
    static constexpr qint64 BufferRisposta = 256 * 1024;
    static constexpr std::chrono::milliseconds LimiteTempoPredefinito{20000};
    // What the headers of an answer may hold, reckoned as "Name: value" lines. Qt reads headers of any
    // size (for as long as the time limit lets it), and past the bounds of its own parser (100 fields,
    // 8 kB a field) drops them all and goes on with the answer as if it had none: then a file reads as
    // a page. So an answer with no header at all fails as well.
    static constexpr qint64 MassimeIntestazioni = 64 * 1024;

    explicit BrowserIncorporato(QObject *genitore = nullptr);
    ~BrowserIncorporato() override;

    // Starts loading an address (http or https) and returns at once. A navigation still running is
    // abandoned without a signal.
    void Naviga(const QString &indirizzo);
    // Abandons the running navigation, if any, without a signal; the current document stays.
    void Annulla();
    bool InCorso() const;
    // The window that a download's save dialog and progress dialog stand over; none by default.
    void ImpostaFinestra(QWidget *finestra);

    // The outer markup of the current document's body, from its opening tag to its closing one, or
    // nothing when no page has been completed. A page that failed leaves no document.
    std::optional<QString> CorpoHtml() const { return m_corpo; }
    // The address the current document came from, after redirections.
    QUrl IndirizzoDocumento() const { return m_indirizzoDocumento; }

    // How long a page may take, and how long a download may stay silent: the default unless replaced
    // (Sostituzioni: tests shorten it). Applies to navigations started afterwards.
    static std::chrono::milliseconds LimiteTempo();
    // Page parses still running, those of abandoned or failed navigations included: a parse is never
    // stopped, only its result ignored. Counted down once its result has been dealt with.
    static int AnalisiInCorso();

signals:
    void DocumentoCompletato();
    void NavigazioneFallita(BrowserIncorporato::Fallimento motivo, const QString &dettaglio);
    // The file was saved whole at `percorso`, or, with an empty path, the user chose not to save it.
    void ScaricamentoTerminato(const QString &percorso);

private:
    enum class Stato { Fermo, Pagina, Analisi, AttesaScelta, Scaricamento };

    void datiArrivati();
    void rispostaFinita();
    // Takes what has arrived of a page into m_pagina, failing the navigation beyond MassimaPagina.
    void leggiPagina();
    void tempoScaduto();
    // Decides, once the final answer's headers are known, whether it is a page or a file.
    void decidi();
    void chiediDove(quint64 navigazione);
    // Hands what has arrived of a file to the download.
    void scrivi();
    void concludiPagina();
    // Takes what the parse of the page has made of it, if the page's navigation is still the current one.
    void analisiFinita(quint64 navigazione, const std::optional<QByteArray> &corpo, bool memoriaEsaurita);
    void concludiScaricamento();
    void annullaScaricamento();
    // Lets go of the running answer and of the download, with its file and progress dialog.
    void chiudi();
    void fallisci(Fallimento motivo, const QString &dettaglio);

    QNetworkAccessManager *m_rete;
    QPointer<QWidget> m_finestra;
    QPointer<QNetworkReply> m_risposta;
    QTimer m_limite;
    Stato m_stato = Stato::Fermo;
    // Counts navigations, so that a delayed step of an abandoned one knows it is stale.
    quint64 m_navigazione = 0;
    bool m_rispostaFinita = false;

    // The page's bytes as they arrive, never more than MassimaPagina.
    QByteArray m_pagina;
    std::optional<QString> m_corpo;
    QUrl m_indirizzoDocumento;

    // The name proposed for a file, its declared length, and its download once the user has chosen
    // where to save it.
    QString m_nomeFile;
    qint64 m_lunghezzaFile = 0;
    std::unique_ptr<Scaricamento> m_scaricamento;
};
