// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a play wins against a draw, the check of a typed draw, and the reading of a file of plays.
#include "regole/Errore.h"
#include "regole/FileGiocate.h"
#include "regole/Vincite.h"

#include <QTest>

using namespace Vincite;

Q_DECLARE_METATYPE(Vincite::Numeri)
Q_DECLARE_METATYPE(Vincite::Categoria)

class TestVincite : public QObject
{
    Q_OBJECT
private slots:
    void categoria_data()
    {
        // Against the draw 05 12 33 47 68 90; a Jolly of 0 is no Jolly.
        QTest::addColumn<Numeri>("giocata");
        QTest::addColumn<int>("jolly");
        QTest::addColumn<Categoria>("categoria");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QList<int>>("indovinati");
        using C = Categoria;
        using N = Numeri;
        using L = QList<int>;
        QTest::newRow("0") << N{1, 2, 3, 4, 6, 7} << 0 << C::Nessuna << "nessuna" << L{};
        QTest::newRow("0, Jolly played") << N{1, 2, 3, 4, 6, 77} << 77 << C::Nessuna << "nessuna" << L{};
        QTest::newRow("1") << N{1, 2, 3, 4, 6, 12} << 0 << C::Nessuna << "nessuna" << L{12};
        QTest::newRow("1, Jolly played") << N{1, 2, 3, 77, 6, 12} << 77 << C::Nessuna << "nessuna" << L{12};
        QTest::newRow("2, play's order") << N{90, 1, 2, 5, 3, 4} << 0 << C::Due << "2" << L{90, 5};
        QTest::newRow("2, Jolly played") << N{90, 1, 2, 5, 3, 77} << 77 << C::Due << "2" << L{90, 5};
        QTest::newRow("3") << N{1, 47, 2, 33, 3, 5} << 0 << C::Tre << "3" << L{47, 33, 5};
        QTest::newRow("3, Jolly played") << N{1, 47, 77, 33, 3, 5} << 77 << C::Tre << "3" << L{47, 33, 5};
        QTest::newRow("4") << N{68, 2, 12, 1, 90, 5} << 0 << C::Quattro << "4" << L{68, 12, 90, 5};
        QTest::newRow("4, Jolly played")
            << N{68, 77, 12, 1, 90, 5} << 77 << C::Quattro << "4" << L{68, 12, 90, 5};
        QTest::newRow("5, no Jolly") << N{5, 12, 33, 47, 68, 77} << 0 << C::Cinque << "5"
                                     << L{5, 12, 33, 47, 68};
        QTest::newRow("5, sixth is Jolly")
            << N{5, 12, 33, 47, 68, 77} << 77 << C::CinquePiuUno << "5+1" << L{5, 12, 33, 47, 68};
        QTest::newRow("5, Jolly played first")
            << N{77, 90, 68, 47, 33, 12} << 77 << C::CinquePiuUno << "5+1" << L{90, 68, 47, 33, 12};
        QTest::newRow("5, sixth not Jolly")
            << N{5, 12, 33, 47, 68, 77} << 78 << C::Cinque << "5" << L{5, 12, 33, 47, 68};
        QTest::newRow("6, play's order")
            << N{90, 68, 47, 33, 12, 5} << 0 << C::Sei << "6" << L{90, 68, 47, 33, 12, 5};
        QTest::newRow("6, Jolly drawn")
            << N{5, 12, 33, 47, 68, 90} << 77 << C::Sei << "6" << L{5, 12, 33, 47, 68, 90};
    }
    void categoria()
    {
        QFETCH(Numeri, giocata);
        QFETCH(int, jolly);
        QFETCH(Categoria, categoria);
        QFETCH(QString, nome);
        QFETCH(QList<int>, indovinati);
        const Numeri estratti{5, 12, 33, 47, 68, 90};
        const std::optional<int> conJolly = jolly ? std::optional(jolly) : std::nullopt;
        QCOMPARE(Indovinati(giocata, estratti), indovinati);
        QCOMPARE(CategoriaDi(giocata, estratti, conJolly), categoria);
        QCOMPARE(NomeCategoria(categoria), nome);
    }

    void controllaEstrazione_data()
    {
        // The six fields and the Jolly's parted by "|"; each reason as "field: reason; ", the fields
        // counted from 1, the Jolly's as "J".
        QTest::addColumn<QString>("campi");
        QTest::addColumn<QString>("motivi");
        const QString no = QStringLiteral("non è un numero da 1 a 90");
        const QString tra = QStringLiteral("il Jolly non può essere uno dei sei numeri");
        const auto ripete = [](int campo) {
            return QStringLiteral("ripete il numero del campo %1").arg(campo);
        };
        const auto m = [](int campo, const QString &motivo) {
            return QStringLiteral("%1: %2; ").arg(campo).arg(motivo);
        };
        const auto j = [](const QString &motivo) { return QStringLiteral("J: %1; ").arg(motivo); };
        QTest::newRow("good") << "5|12|33|47|68|90|7" << QString();
        QTest::newRow("zeros, blanks") << "05| 12|33 |\t47| 08 |90| 07 " << QString();
        QTest::newRow("blank Jolly") << "5|12|33|47|68|90|  " << QString();
        QTest::newRow("empty") << "5||33|47|68|90|" << m(2, no);
        QTest::newRow("letters") << "ab|12|33|47|68|90|" << m(1, no);
        QTest::newRow("blank inside") << "5|12|33|4 7|68|90|" << m(4, no);
        QTest::newRow("0") << "0|12|33|47|68|90|" << m(1, no);
        QTest::newRow("91") << "5|12|33|47|68|91|" << m(6, no);
        QTest::newRow("two zeros in front") << "5|12|33|47|68|007|" << m(6, no);
        QTest::newRow("repeated") << "5|12|5|47|68|90|" << m(3, ripete(1));
        QTest::newRow("repeated, other zeros") << "5|12|33|47|68|05|" << m(6, ripete(1));
        QTest::newRow("thrice") << "5|5|33|5|68|90|" << m(2, ripete(1)) + m(4, ripete(1));
        QTest::newRow("later field") << "5|12|33|47|33|90|" << m(5, ripete(3));
        QTest::newRow("Jolly among six") << "5|12|33|47|68|90|90" << j(tra);
        QTest::newRow("Jolly among six, zero") << "5|12|33|47|68|90|05" << j(tra);
        QTest::newRow("Jolly 91") << "5|12|33|47|68|90|91" << j(no);
        QTest::newRow("Jolly letter") << "5|12|33|47|68|90|x" << j(no);
    }
    void controllaEstrazione()
    {
        QFETCH(QString, campi);
        QFETCH(QString, motivi);
        const QStringList parti = campi.split(QLatin1Char('|'));
        std::array<QString, 6> numeri;
        std::copy(parti.begin(), parti.begin() + 6, numeri.begin());
        const ErroriEstrazione errori = ControllaEstrazione(numeri, parti[6]);
        QString trovati;
        for (std::size_t i = 0; i < numeri.size(); ++i)
            if (!errori.numeri[i].isEmpty())
                trovati += QStringLiteral("%1: %2; ").arg(i + 1).arg(errori.numeri[i]);
        if (!errori.jolly.isEmpty())
            trovati += QStringLiteral("J: %1; ").arg(errori.jolly);
        QCOMPARE(trovati, motivi);
        QCOMPARE(errori.Valida(), motivi.isEmpty());
    }

    void numeriEstratti()
    {
        const std::array<QString, 6> campi{"05", " 12", "33 ", "\t47", " 8 ", "90"};
        QCOMPARE(NumeriEstratti(campi), (Numeri{5, 12, 33, 47, 8, 90}));
        QCOMPARE(Jolly(QStringLiteral(" 07 ")), std::optional(7));
        QCOMPARE(Jolly(QStringLiteral("  ")), std::nullopt);
    }

    void leggi_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QList<Numeri>>("giocate");
        const QByteArray a = "       05 12 33 47 68 90";
        const QByteArray b = "       01 02 03 04 06 07";
        const Numeri A{5, 12, 33, 47, 68, 90};
        const QList<Numeri> AB{A, {1, 2, 3, 4, 6, 7}};
        // Lines of 64 bytes, LF included: as many as make a file of exactly the largest size.
        const QByteArray lunga = QByteArray(46, ' ') + "05 12 33 47 68 90\n";
        const qsizetype lunghe = FileGiocate::MassimaDimensione / lunga.size();
        const int righe = FileGiocate::MassimeRighe;
        QTest::newRow("as saved") << a + "\n" + b + "\n" << AB;
        QTest::newRow("last line without end") << a + "\n" + b << AB;
        QTest::newRow("CR LF") << a + "\r\n" + b + "\r\n" << AB;
        QTest::newRow("tabs, no indent") << QByteArray("5\t12 \t33  47 68 90\t\r\n1 2 3 4 6 7 ") << AB;
        QTest::newRow("as many lines as allowed")
            << QByteArray(a + "\n").repeated(righe) << QList<Numeri>(righe, A);
        QTest::newRow("as big as allowed") << lunga.repeated(lunghe) << QList<Numeri>(lunghe, A);
    }
    void leggi()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QList<Numeri>, giocate);
        try {
            QCOMPARE(FileGiocate::Leggi(contenuto), giocate);
        } catch (const Errore &e) {
            QFAIL(e.what());
        }
    }

    void rifiuta_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("errore");
        const QByteArray a = "       05 12 33 47 68 90\n";
        const QByteArray ab = a + "       01 02 03 04 06 07\r\n";
        const auto riga = [](int numero, const QString &motivo) {
            return QStringLiteral("riga %1: %2").arg(numero).arg(motivo);
        };
        const QString sei = QStringLiteral("non contiene sei numeri");
        const QString no = QStringLiteral(" non è un numero da 1 a 90");
        const QString estraneo = QStringLiteral("contiene un carattere non ammesso");
        const QString vuota = QStringLiteral("è vuota");
        const QByteArray lunga = QByteArray(46, ' ') + "05 12 33 47 68 90\n";
        const qsizetype lunghe = FileGiocate::MassimaDimensione / lunga.size();
        QTest::newRow("five numbers") << ab + "1 2 3 4 5\n" << riga(3, sei);
        QTest::newRow("seven numbers") << a + "1 2 3 4 5 6 7\r\n" << riga(2, sei);
        QTest::newRow("letter") << ab + a + "05 12 x3 47 68 90" << riga(4, "x3" + no);
        QTest::newRow("long word cut")
            << QByteArray("1 2 3 4 5 1234567890123") << riga(1, "1234567890…" + no);
        QTest::newRow("0") << a + "0 2 3 4 5 6" << riga(2, "0" + no);
        QTest::newRow("91") << ab + a + "1 2 91 4 5 6\n" << riga(4, "91" + no);
        QTest::newRow("repeated") << ab + ab + "05 12 33 12 68 90\n" << riga(5, "il numero 12 è ripetuto");
        QTest::newRow("repeated, other zeros")
            << QByteArray("5 12 33 47 68 05") << riga(1, "il numero 05 è ripetuto");
        QTest::newRow("empty line") << a + "\n" + ab << riga(2, vuota);
        QTest::newRow("two ends at the end") << ab + "\r\n" << riga(3, vuota);
        QTest::newRow("NUL") << a + QByteArray("1 2 3 4 5 6\0", 12) + "\n" << riga(2, estraneo);
        QTest::newRow("non-ASCII") << ab + "\xc2\xa0" + a << riga(3, estraneo);
        QTest::newRow("lone CR") << "1 2 3 4 5 6\r" + ab << riga(1, estraneo);
        QTest::newRow("too big") << " " + lunga.repeated(lunghe) << QStringLiteral("il file supera 1 MB");
        QTest::newRow("too many lines")
            << a.repeated(FileGiocate::MassimeRighe + 1) << QStringLiteral("il file supera le 20000 righe");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("il file non contiene giocate");
        QTest::newRow("one line end") << QByteArray("\r\n") << QStringLiteral("il file non contiene giocate");
    }
    void rifiuta()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, errore);
        try {
            FileGiocate::Leggi(contenuto);
            QFAIL("read, not refused");
        } catch (const Errore &e) {
            QCOMPARE(e.messaggio(), errore);
        }
    }
};

QTEST_APPLESS_MAIN(TestVincite)
#include "tst_vincite.moc"
