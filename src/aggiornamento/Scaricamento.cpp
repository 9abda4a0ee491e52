// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aggiornamento/Scaricamento.h"

#include "kit/Salvataggio.h"
#include "kit/Servizi.h"
#include "kit/Sostituzioni.h"
#include "regole/Errore.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QProgressDialog>
#include <QStandardPaths>

namespace
{

QString SceltaStandard(QWidget *genitore, const QString &proposta)
{
    return QFileDialog::getSaveFileName(genitore, QStringLiteral("Salva con nome"), proposta);
}

} // namespace

QString Scaricamento::ChiediDove(QWidget *genitore, const QString &nome)
{
    const QString proposta = QDir(Servizi::CartellaProposta(QStandardPaths::DownloadLocation)).filePath(nome);
    const Sostituzioni::RispostaFile scelta = Sostituzioni::Attuali().SceltaSalvataggio;
    return scelta ? scelta(genitore, proposta) : SceltaStandard(genitore, proposta);
}

Scaricamento::Scaricamento(const QString &nome) : m_nome(nome) {}

Scaricamento::~Scaricamento()
{
    if (m_avanzamento) {
        // Closing the dialog raises its cancel signal too, which must not reach the browser; and this may
        // run inside that very signal, so the dialog goes only once that is over.
        QObject::disconnect(m_annulla);
        m_avanzamento->close();
        m_avanzamento->deleteLater();
    }
}

template <typename F> void Scaricamento::salva(F &&passo)
{
    try {
        passo();
    } catch (const Errore &e) {
        throw Errore(QStringLiteral("Impossibile scrivere %1: %2")
                         .arg(QDir::toNativeSeparators(m_percorso), e.messaggio()));
    }
}

void Scaricamento::Apri(const QString &percorso, QWidget *genitore, std::function<void()> annullato)
{
    m_percorso = percorso;
    m_file = std::make_unique<Salvataggio>(percorso);
    salva([this] { m_file->Apri(); });

    m_avanzamento = new QProgressDialog(genitore);
    // The name comes from the server: shown as it is, never as markup.
    auto *etichetta = new QLabel;
    etichetta->setTextFormat(Qt::PlainText);
    m_avanzamento->setLabel(etichetta);
    m_avanzamento->setLabelText(QStringLiteral("Scaricamento di %1...").arg(m_nome));
    m_avanzamento->setCancelButtonText(QStringLiteral("Annulla"));
    m_avanzamento->setRange(0, 0);
    m_avanzamento->setWindowTitle(QStringLiteral("Scaricamento"));
    m_avanzamento->setAutoClose(false);
    m_avanzamento->setAutoReset(false);
    m_avanzamento->setMinimumDuration(0);
    m_annulla =
        QObject::connect(m_avanzamento, &QProgressDialog::canceled, m_avanzamento, std::move(annullato));
    m_avanzamento->show();
}

void Scaricamento::Scrivi(const QByteArray &dati, qint64 totale)
{
    salva([&] { m_file->Scrivi(dati); });
    // Kilobytes, so that files beyond 2 GB fit the dialog's range.
    if (m_avanzamento) {
        m_avanzamento->setMaximum(totale > 0 ? int(totale / 1024) : 0);
        m_avanzamento->setValue(int(m_file->Scritti() / 1024));
    }
}

void Scaricamento::Concludi(qint64 attesi)
{
    if (m_file->Scritti() != attesi)
        throw Errore(
            QStringLiteral("File incompleto: ricevuti %1 byte di %2").arg(m_file->Scritti()).arg(attesi));
    salva([this] { m_file->Concludi(); });
    m_file.reset();
}

qint64 Scaricamento::Scritti() const
{
    return m_file ? m_file->Scritti() : 0;
}
