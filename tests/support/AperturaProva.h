// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

// Stands in for the desktop's opener: while it lives, every address handed to the desktop with one of
// its schemes is recorded instead of opened (the offscreen platform could open nothing anyway).
class AperturaProva : public QObject
{
    Q_OBJECT
public:
    explicit AperturaProva(const QStringList &schemi = {QStringLiteral("mailto"), QStringLiteral("http"),
                                                        QStringLiteral("https"), QStringLiteral("file")});
    ~AperturaProva() override;

    QList<QUrl> Aperti;

public slots:
    void apri(const QUrl &url) { Aperti.append(url); }

private:
    QStringList m_schemi;
};
