// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

// The play log: a hidden text box whose lines are the plays made since start-up, oldest first.
// The lines are kept back to back in one buffer with the end of each line in a table, so appending a
// line costs the same however long the log is and a million plays take some 42 MB.
class RegistroGiocate : public QWidget
{
    Q_OBJECT
public:
    explicit RegistroGiocate(QWidget *genitore = nullptr);

    qsizetype Conteggio() const { return static_cast<qsizetype>(m_fini.size()); }
    QString Riga(qsizetype indice) const;

    // Appends one line; when memory runs out it throws std::bad_alloc and the log stays as it was.
    void Aggiungi(const QString &riga);
    void Svuota();

signals:
    // A line was appended, or the log emptied: what shows the plays follows it.
    void Cambiato();

private:
    std::string m_testo;
    std::vector<std::size_t> m_fini;
};
