#include "update/Scaricamento.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QProgressDialog>
#include <QSaveFile>
#include <QStandardPaths>

namespace
{

Scaricamento::SceltaFile g_sceltaFile;

QString SceltaStandard(QWidget *genitore, const QString &proposta)
{
    return QFileDialog::getSaveFileName(genitore, QStringLiteral("Salva con nome"), proposta);
}

} // namespace

void Scaricamento::ImpostaSceltaFile(SceltaFile scelta)
{
    g_sceltaFile = std::move(scelta);
}

QString Scaricamento::ChiediDove(QWidget *genitore, const QString &nome)
{
    const QString cartella = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    const QString proposta = QDir(cartella.isEmpty() ? QDir::homePath() : cartella).filePath(nome);
    return g_sceltaFile ? g_sceltaFile(genitore, proposta) : SceltaStandard(genitore, proposta);
}

Scaricamento::Scaricamento(const QString &nome) : m_nome(nome) {}

Scaricamento::~Scaricamento()
{
    if (m_file)
        m_file->cancelWriting();
    if (m_avanzamento) {
        // Closing the dialog raises its cancel signal too, which must not reach the browser; and this may
        // run inside that very signal, so the dialog goes only once that is over.
        QObject::disconnect(m_annulla);
        m_avanzamento->close();
        m_avanzamento->deleteLater();
    }
}

bool Scaricamento::Apri(const QString &percorso, QWidget *genitore, std::function<void()> annullato)
{
    m_percorso = percorso;
    // No file system takes a NUL: the name would be cut there, and another file written.
    if (percorso.contains(QChar(u'\0'))) {
        m_errore = QStringLiteral("Il nome scelto contiene un carattere nullo");
        return false;
    }
    m_file = std::make_unique<QSaveFile>(percorso);
    // Unbuffered, so that every write that fails says so at once: a buffered one may fail only inside
    // commit(), which then still puts the short file in place.
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        nonScritto();
        return false;
    }

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
    return true;
}

bool Scaricamento::Scrivi(const QByteArray &dati, qint64 totale)
{
    if (!dati.isEmpty() && m_file->write(dati) != dati.size()) {
        nonScritto();
        return false;
    }
    // Kilobytes, so that files beyond 2 GB fit the dialog's range.
    if (m_avanzamento) {
        m_avanzamento->setMaximum(totale > 0 ? int(totale / 1024) : 0);
        m_avanzamento->setValue(int(m_file->size() / 1024));
    }
    return true;
}

bool Scaricamento::Concludi()
{
    if (m_file->error() != QFileDevice::NoError || !m_file->flush() || !m_file->commit()) {
        nonScritto();
        return false;
    }
    m_file.reset();
    return true;
}

void Scaricamento::nonScritto()
{
    m_errore = QStringLiteral("Impossibile scrivere %1: %2")
                   .arg(QDir::toNativeSeparators(m_percorso), m_file->errorString());
}
