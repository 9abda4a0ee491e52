// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The draw's rules on values: padding, pair order, the log line, the generator's range and run, and the
// seeds of attempts made while the clock reads the same.
#include "regole/Errore.h"
#include "regole/Estrazione.h"
#include "regole/Numeri.h"

#include <QSet>
#include <QTest>

using namespace Estrazione;

class TestEstrazione : public QObject
{
    Q_OBJECT
private slots:
    void regoleSuiTesti_data()
    {
        QTest::addColumn<QString>("estratto");
        QTest::addColumn<QString>("mostrato");
        QTest::newRow("single digit padded") << "7"
                                             << "07";
        QTest::newRow("two digits unchanged") << "89"
                                              << "89";
        QTest::newRow("already padded zero stays") << "00"
                                                   << "00";
        QTest::newRow("empty stays empty") << ""
                                           << "";
    }
    void regoleSuiTesti()
    {
        QFETCH(QString, estratto);
        QFETCH(QString, mostrato);
        QCOMPARE(Numeri::DueCifre(estratto), mostrato);
    }

    void ogniCoppiaNellOrdineFisso()
    {
        // Each of the fifteen pairs is compared, in the order 1-2, 1-3, ..., 5-6: with only fields a
        // and b equal, the pair found is the next one in that order.
        int indice = 0;
        for (int a = 0; a < 6; ++a)
            for (int b = a + 1; b < 6; ++b, ++indice) {
                Combinazione c{"05", "12", "33", "47", "68", "90"};
                c[b] = c[a];
                QCOMPARE(PrimaCoppiaUguale(c), indice);
            }
    }

    void primaCoppiaUguale_data()
    {
        QTest::addColumn<QStringList>("campi");
        QTest::addColumn<int>("coppia");
        QTest::newRow("all different") << QStringList{"05", "12", "33", "47", "68", "90"} << -1;
        QTest::newRow("earliest pair wins") << QStringList{"05", "12", "12", "47", "05", "90"} << 3;
        QTest::newRow("texts compared exactly") << QStringList{"5", "05", "33", "47", "68", "90"} << -1;
    }
    void primaCoppiaUguale()
    {
        QFETCH(QStringList, campi);
        QFETCH(int, coppia);
        Combinazione c;
        std::copy(campi.begin(), campi.end(), c.begin());
        QCOMPARE(PrimaCoppiaUguale(c), coppia);
    }

    void numeriEstrattiDaUnoANovanta()
    {
        // Every seed gives a number from 1 to 90, and nearby seeds (as consecutive clock readings are)
        // still cover the whole range.
        std::array<int, Numeri::Massimo + 1> conteggi{};
        for (std::uint32_t seme = 0; seme < 90000; ++seme) {
            Generatore generatore(seme);
            const QString testo = NumeroEstratto(generatore);
            const int valore = testo.toInt();
            QVERIFY2(valore >= Numeri::Minimo && valore <= Numeri::Massimo &&
                         testo == QString::number(valore),
                     qPrintable(testo));
            ++conteggi[static_cast<std::size_t>(valore)];
        }
        for (int v = Numeri::Minimo; v <= Numeri::Massimo; ++v)
            QVERIFY2(conteggi[v] > 800 && conteggi[v] < 1200, qPrintable(QString::number(conteggi[v])));
    }

    void unGeneratoreNonSiRipete()
    {
        // The draws of one play come from one generator: it moves on at every draw, through the whole
        // range, instead of giving the same few numbers again (the play would be redrawn for ever).
        Generatore generatore(12345);
        QSet<int> visti;
        for (int i = 0; i < 2000; ++i)
            visti.insert(NumeroEstratto(generatore).toInt());
        QCOMPARE(visti.size(), Numeri::Massimo - Numeri::Minimo + 1);
    }

    void tentativiAllaStessaOra_data()
    {
        QTest::addColumn<std::uint32_t>("orologio");
        QTest::newRow("zero") << std::uint32_t{0};
        QTest::newRow("all ones") << std::uint32_t{0xFFFFFFFF};
    }
    void tentativiAllaStessaOra()
    {
        // A clock that stands still gives every attempt the same reading: the attempts still draw
        // differently, over the whole range, rather than repeating one play.
        QFETCH(std::uint32_t, orologio);
        QSet<int> primi;
        for (int i = 0; i < 2000; ++i) {
            Generatore generatore(SemeDelTentativo(orologio));
            primi.insert(NumeroEstratto(generatore).toInt());
        }
        QCOMPARE(primi.size(), Numeri::Massimo - Numeri::Minimo + 1);
    }

    void orologioFermoNonGiraPerSempre()
    {
        // At a reading whose first attempt draws a number twice, the attempts that follow at the same
        // reading come to a play of six different numbers.
        const auto giocata = [](std::uint64_t seme) {
            Generatore generatore(seme);
            Combinazione campi;
            for (QString &campo : campi)
                campo = NumeroEstratto(generatore);
            return campi;
        };
        std::uint32_t orologio = 0;
        while (PrimaCoppiaUguale(giocata(Seme(orologio, 0))) < 0)
            ++orologio;
        // One attempt in six or seven draws a number twice: a hundred in a row never do.
        std::uint64_t tentativo = 1;
        while (PrimaCoppiaUguale(giocata(Seme(orologio, tentativo))) >= 0) {
            ++tentativo;
            QVERIFY2(tentativo < 100, qPrintable(QStringLiteral("still drawing at clock %1").arg(orologio)));
        }
    }

    void estrazioneComeValore_data()
    {
        QTest::addColumn<QString>("fisso");   // the fixed number's text; null: none; "guasto": unreadable
        QTest::addColumn<bool>("giaGiocata"); // the play the seeds give first is one of the batch
        QTest::newRow("no fixed number") << QString() << false;
        QTest::newRow("fixed 05: first, and never drawn again") << "05" << false;
        QTest::newRow("fixed single digit, padded") << "7" << false;
        QTest::newRow("fixed number unreadable: the draw stops") << "guasto" << false;
        QTest::newRow("a play of the batch is not drawn again") << QString() << true;
    }
    void estrazioneComeValore()
    {
        QFETCH(QString, fisso);
        QFETCH(bool, giaGiocata);
        // Seeds from one whose attempt draws a number twice: the draw must go on to further attempts.
        std::uint64_t primo = 0;
        for (;; ++primo) {
            Generatore generatore(primo);
            Combinazione campi;
            for (QString &campo : campi)
                campo = NumeroEstratto(generatore);
            if (PrimaCoppiaUguale(campi) >= 0)
                break;
        }
        std::uint64_t seme = primo;
        int generatori = 0;
        int letture = 0;
        const Fonti fonti{[&] {
                              ++generatori;
                              return Generatore(seme++);
                          },
                          [&]() -> std::optional<QString> {
                              ++letture;
                              if (fisso == QLatin1String("guasto"))
                                  throw Errore(QStringLiteral("file guasto"));
                              return fisso.isNull() ? std::nullopt : std::optional(fisso);
                          }};
        QList<Combinazione> diverseDa;
        if (giaGiocata) {
            diverseDa << Estrai(fonti);
            // The batch's play, in another order: the same play all the same.
            std::reverse(diverseDa.first().begin(), diverseDa.first().end());
            seme = primo;
        }
        if (fisso == QLatin1String("guasto")) {
            Generatore generatore(primo);
            std::array<QString, 5> attesi;
            for (QString &campo : attesi)
                campo = NumeroEstratto(generatore);
            try {
                Estrai(fonti);
                QFAIL("an unreadable fixed number drew a play");
            } catch (const EstrazioneInterrotta &interrotta) {
                QCOMPARE(interrotta.messaggio(), QStringLiteral("file guasto"));
                QCOMPARE(interrotta.Successivi(), attesi);
            }
            QCOMPARE(generatori, 1);
            return;
        }
        generatori = letture = 0;
        const Combinazione giocata = Estrai(fonti, diverseDa);
        QVERIFY(generatori > 1);
        QCOMPARE(letture, generatori); // the fixed number read again at every attempt
        QCOMPARE(PrimaCoppiaUguale(giocata), -1);
        for (const QString &campo : giocata)
            QCOMPARE(campo.size(), 2);
        if (!fisso.isNull())
            QCOMPARE(giocata[0], Numeri::DueCifre(fisso));
        for (const Combinazione &altra : diverseDa)
            QVERIFY(!StessaGiocata(giocata, altra));
    }
};

QTEST_APPLESS_MAIN(TestEstrazione)
#include "tst_estrazione.moc"
