// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <exception>

// A failure the program raises itself; its message is Italian and is shown to the user as it stands
// by the general error report.
class Errore : public std::exception
{
public:
    explicit Errore(QString messaggio) : m_messaggio(std::move(messaggio)), m_utf8(m_messaggio.toUtf8()) {}
    const QString &messaggio() const noexcept { return m_messaggio; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_messaggio;
    QByteArray m_utf8;
};
