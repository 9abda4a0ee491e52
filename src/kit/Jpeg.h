// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

// JPEG pictures of the window designs, decoded with libjpeg. A damaged picture never ends the
// process: it decodes to a null image.
namespace Jpeg
{

// Pictures larger than this many pixels are refused rather than allocated.
inline constexpr qint64 PixelMassimi = 40'000'000;

QImage Decodifica(const QByteArray &dati);

// Decodes a picture from a file or a resource path; a null pixmap when it cannot be read.
QPixmap Carica(const QString &percorso);

} // namespace Jpeg
