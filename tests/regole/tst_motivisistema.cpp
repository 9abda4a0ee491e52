// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reasons for a refused read or write: Italian, whatever the system's own language says.
#include "regole/MotiviSistema.h"

#include <QTest>

#include <clocale>
#include <cstring>

class TestMotiviSistema : public QObject
{
    Q_OBJECT
private slots:
    void nessunMotivoInInglese()
    {
        // The C library's own texts, in the C locale: none of them may reach the user.
        std::setlocale(LC_ALL, "C");
        for (int errore = 1; errore < 134; ++errore) {
            const QString motivo = MotiviSistema::Motivo(errore);
            QVERIFY2(!motivo.isEmpty() && motivo != QString::fromLocal8Bit(std::strerror(errore)) &&
                         motivo.at(0).isLower(),
                     qPrintable(QStringLiteral("%1: %2").arg(errore).arg(motivo)));
        }
        QCOMPARE(MotiviSistema::Motivo(9999), QStringLiteral("errore di sistema 9999"));
    }
};

QTEST_APPLESS_MAIN(TestMotiviSistema)
#include "tst_motivisistema.moc"
