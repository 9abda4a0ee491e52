// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/AperturaProva.h"

#include <QDesktopServices>

AperturaProva::AperturaProva(const QStringList &schemi) : m_schemi(schemi)
{
    for (const QString &schema : m_schemi)
        QDesktopServices::setUrlHandler(schema, this, "apri");
}

AperturaProva::~AperturaProva()
{
    for (const QString &schema : m_schemi)
        QDesktopServices::unsetUrlHandler(schema);
}
