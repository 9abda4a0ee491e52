// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIconEngine>

#include <functional>
#include <optional>

// An icon made only when it is first drawn or asked about, then answering as that icon does: a window
// made at start-up but shown later reads its pictures only then.
class IconaDifferita : public QIconEngine
{
public:
    explicit IconaDifferita(std::function<QIcon()> crea);

    void paint(QPainter *pittore, const QRect &area, QIcon::Mode modo, QIcon::State stato) override;
    QPixmap pixmap(const QSize &misura, QIcon::Mode modo, QIcon::State stato) override;
    QPixmap scaledPixmap(const QSize &misura, QIcon::Mode modo, QIcon::State stato, qreal scala) override;
    QSize actualSize(const QSize &misura, QIcon::Mode modo, QIcon::State stato) override;
    QList<QSize> availableSizes(QIcon::Mode modo, QIcon::State stato) override;
    bool isNull() override;
    QIconEngine *clone() const override;

private:
    const QIcon &icona();

    std::function<QIcon()> m_crea;
    std::optional<QIcon> m_icona;
};
