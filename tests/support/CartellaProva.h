// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "support/SostituzioniProva.h"

#include <QString>
#include <QTemporaryDir>

// A temporary folder that stands in for the executable's folder while it lives, so that no test
// writes next to the test programs (ctest runs them in parallel).
class CartellaProva
{
public:
    CartellaProva();
    ~CartellaProva();

    QString Percorso(const QString &nome = {}) const;
    // Writes a file in the folder.
    void Scrivi(const QString &nome, const QByteArray &contenuto) const;
    // The executable's folder moved to a new folder `nome` (its name in bytes, which need not be UTF-8)
    // within this one, returned as bytes; with no name, this folder itself.
    QByteArray Sottocartella(const QByteArray &nome);

private:
    QTemporaryDir m_cartella;
    SostituzioniProva m_sostituzioni;
};
