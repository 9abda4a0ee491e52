// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/IconaDifferita.h"

#include <QIcon>

IconaDifferita::IconaDifferita(std::function<QIcon()> crea) : m_crea(std::move(crea)) {}

void IconaDifferita::paint(QPainter *pittore, const QRect &area, QIcon::Mode modo, QIcon::State stato)
{
    icona().paint(pittore, area, Qt::AlignCenter, modo, stato);
}

QPixmap IconaDifferita::pixmap(const QSize &misura, QIcon::Mode modo, QIcon::State stato)
{
    return icona().pixmap(misura, 1.0, modo, stato);
}

// MISURA is in the device's pixels, SCALA the device's density.
QPixmap IconaDifferita::scaledPixmap(const QSize &misura, QIcon::Mode modo, QIcon::State stato, qreal scala)
{
    return icona().pixmap(misura / scala, scala, modo, stato);
}

QSize IconaDifferita::actualSize(const QSize &misura, QIcon::Mode modo, QIcon::State stato)
{
    return icona().actualSize(misura, modo, stato);
}

QList<QSize> IconaDifferita::availableSizes(QIcon::Mode modo, QIcon::State stato)
{
    return icona().availableSizes(modo, stato);
}

bool IconaDifferita::isNull()
{
    return icona().isNull();
}

QIconEngine *IconaDifferita::clone() const
{
    return new IconaDifferita(*this);
}

const QIcon &IconaDifferita::icona()
{
    if (!m_icona)
        m_icona = m_crea();
    return *m_icona;
}
