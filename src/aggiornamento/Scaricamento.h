// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;
class Salvataggio;

// The file side of a download that the embedded browser has found to be a file: where the user saves
// it, the file written as the answer's bytes arrive, and the progress dialog. The answer itself, its
// failures and its time limit stay with the browser, which hands its bytes over.
//
// The file is written as a save of the program's own (Salvataggio): put in place only by Concludi, so
// that a download abandoned, failed or destroyed before leaves nothing behind; never written through a
// symbolic link at the chosen path, which is refused.
class Scaricamento
{
public:
    // Where the user wants a file named `nome` saved, proposed in the download folder: the path chosen,
    // or an empty text when the user declines. The standard save dialog, unless replaced
    // (Sostituzioni::Valori::SceltaSalvataggio); it runs its own event loop: the caller may be told to
    // stop, or be destroyed, meanwhile.
    static QString ChiediDove(QWidget *genitore, const QString &nome);

    // The download of a file named `nome` (shown in the progress dialog).
    explicit Scaricamento(const QString &nome);
    ~Scaricamento();
    Scaricamento(const Scaricamento &) = delete;
    Scaricamento &operator=(const Scaricamento &) = delete;

    // Opens the chosen path for writing and shows the progress dialog over `genitore`; its Annulla
    // button calls `annullato`, which may destroy this download. Each step throws Errore, its message
    // naming the file and the reason, when it cannot be done.
    void Apri(const QString &percorso, QWidget *genitore, std::function<void()> annullato);
    // Appends what has arrived and shows the progress against `totale`, the announced size (0 when
    // unknown).
    void Scrivi(const QByteArray &dati, qint64 totale);
    // Puts the file in place once it holds `attesi` bytes, the whole file: another number of bytes
    // fails too.
    void Concludi(qint64 attesi);

    QString Percorso() const { return m_percorso; }
    qint64 Scritti() const;

private:
    // Runs one step of the file's save, its failure thrown as one to write this download's file.
    template <typename F> void salva(F &&passo);

    QString m_nome;
    QString m_percorso;
    std::unique_ptr<Salvataggio> m_file;
    QPointer<QProgressDialog> m_avanzamento;
    QMetaObject::Connection m_annulla;
};
