// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "aggiornamento/BrowserIncorporato.h"
#include "regole/Scansione.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

// The update check, apart from any window: asks the maker's site for the latest published build of this
// program, compares it with the program's own and, when asked, downloads the setup file. It owns the
// browser that loads the pages, the version criterion and the versions, and makes no widget; the
// update-check window shows what it signals.
//
// A check ends with exactly one signal, from the event loop: ControlloConcluso once the version page is
// there, ControlloFallito when it is not (refused, error status, time limit...). A download started
// while a check waits takes the browser from it: the check then fails once the download ends, however
// it ends. A download outside a check that fails, or that meets a page where the file was expected,
// ends with ScaricamentoFallito; a saved or declined one says nothing. Annulla, and the object's
// destruction, end whatever runs without a signal.
class ControlloVersione : public QObject
{
    Q_OBJECT
public:
    // The program's short code: its setup file on the site is named after it.
    static inline const QString CodiceBreve = QStringLiteral("DRAVOL");

    // The site the check and the download address point at: the build's site address unless replaced
    // (Sostituzioni: tests and the loopback build point it at a server on this machine). Checks created
    // afterwards use it.
    static QString IndirizzoSito();

    explicit ControlloVersione(QObject *genitore = nullptr);
    ~ControlloVersione() override;

    // The address of the version page, and of the setup file, from the site, the program key and the
    // short code.
    const QString &IndirizzoControllo() const { return m_indirizzoControllo; }
    const QString &IndirizzoScaricamento() const { return m_indirizzoScaricamento; }
    // This program's build number, from its version label.
    qint32 VersioneAttuale() const { return m_versioneAttuale; }

    // Sends the browser to the version page; a navigation still running (a download too) is abandoned.
    void Controlla();
    // Sends the browser to the setup file, which is saved where the user chooses.
    void Scarica();
    // Stops whatever runs, without a signal.
    void Annulla();
    bool InControllo() const { return m_controllo; }

    // How many documents were completed, whoever started their loading.
    qsizetype PagineCaricate() const { return m_scansione.Pagine(); }
    // The address the published version is read from: the first that any check found, in
    // Windows-1252. Once it is found, no page is kept and no check scans again: nothing could change it.
    QList<QByteArray> IndirizziTrovati() const;
    BrowserIncorporato &Browser() { return *WebBrowser1; }

signals:
    // The version page was there. `pubblicata` is the first build ever found by this check object (0 when
    // none), `nuova` whether it is newer than this program's own.
    void ControlloConcluso(qint32 pubblicata, bool nuova);
    void ControlloFallito();
    void ScaricamentoFallito();

private:
    // The browser's three events, named as the design names its window's handlers.
    void WebBrowser1DocumentComplete();
    void WebBrowser1NavigazioneFallita();
    void WebBrowser1ScaricamentoTerminato();
    // The check ends, with its page or without.
    void concludi();
    void fallisci();

    BrowserIncorporato *WebBrowser1;
    QString m_indirizzoControllo;
    QString m_indirizzoScaricamento;
    // The pages scanned with the version criterion, from the criterion table: an empty criterion when
    // no row matches the program key, and then no check ever finds a published version.
    Scansione::ScansioneProgressiva m_scansione;
    qint32 m_versioneAttuale = 0;
    // A check waits for its page.
    bool m_controllo = false;
    // The browser's navigation is the download's: whatever answers it, a page included, ends it.
    bool m_scaricamento = false;
};
