// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The version page scanner: the criterion walk in both modes, the reading of build numbers, the
// comparison and the 8-bit texts the pages are turned into.
#include "regole/RiferimentoScansione.h"
#include "regole/Scansione.h"

#include "regole/Errore.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Scansione;

namespace
{

// The version criterion the update check uses.
const Criterio Versione{false, "Versione", "-", "-", "<", {}, false, false, 0};

// The values the scanner appends to `risultati`.
QList<QByteArray> Estrai(const QList<QByteArray> &pagine, const Criterio &c, QList<QByteArray> risultati = {})
{
    EstraiURLConCriterio(pagine, risultati, c);
    return risultati;
}

// The same from the step-by-step walk.
QList<QByteArray> EstraiPassoPasso(const QList<QByteArray> &pagine, const Criterio &c,
                                   QList<QByteArray> risultati = {})
{
    Riferimento::Estrai(pagine, risultati, c);
    return risultati;
}

// The backwards criterion of the worked example: the value after the last "=" before "Fine".
Criterio AllIndietro()
{
    Criterio c;
    c.Invertito = true;
    c.Ancora = "Fine";
    c.Separatore = "=";
    c.Apertura = "=";
    c.Chiusura = ";";
    return c;
}

// Random pages and criteria over a small alphabet, so that markers often meet and overlap.
class Casuale
{
public:
    explicit Casuale(quint32 seme) : m_generatore(seme) {}
    QByteArray Testo(int massimo)
    {
        QByteArray t;
        for (int n = m_generatore.bounded(massimo + 1); n > 0; --n)
            t.append(Alfabeto.at(m_generatore.bounded(int(Alfabeto.size()))));
        return t;
    }
    Criterio UnCriterio()
    {
        return {m_generatore.bounded(2) == 1,
                Testo(2),
                Testo(2),
                Testo(2),
                Testo(2),
                Testo(2),
                m_generatore.bounded(2) == 1,
                m_generatore.bounded(2) == 1,
                qint16(m_generatore.bounded(-1, 3))};
    }
    int Fino(int limite) { return m_generatore.bounded(limite); }

private:
    static inline const QByteArray Alfabeto{"ab-<=;. "};
    QRandomGenerator m_generatore;
};

QString Descrizione(const QList<QByteArray> &pagine, const Criterio &c)
{
    return QStringLiteral("pages %1, anchor '%2' separator '%3' opening '%4' closing '%5' skips %6%7")
        .arg(QString::fromLatin1(pagine.join('|')), QString::fromLatin1(c.Ancora),
             QString::fromLatin1(c.Separatore), QString::fromLatin1(c.Apertura),
             QString::fromLatin1(c.Chiusura))
        .arg(c.Salti)
        .arg(c.Invertito ? QStringLiteral(" backwards") : QString());
}

} // namespace

Q_DECLARE_METATYPE(Scansione::Criterio)

class TestScansione : public QObject
{
    Q_OBJECT
private slots:
    void invertiTestoGiraICaratteri_data()
    {
        QTest::addColumn<QByteArray>("testo");
        QTest::addColumn<QByteArray>("invertito");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("one character") << QByteArray("a") << QByteArray("a");
        QTest::newRow("word") << QByteArray("Versione") << QByteArray("enoisreV");
        QTest::newRow("8-bit and null bytes") << QByteArray("pi\xF9\0-", 5) << QByteArray("-\0\xF9ip", 5);
    }
    void invertiTestoGiraICaratteri()
    {
        QFETCH(QByteArray, testo);
        QFETCH(QByteArray, invertito);
        QCOMPARE(invertiTesto(testo), invertito);
        QCOMPARE(invertiTesto(invertiTesto(testo)), testo);
    }

    void estraeConIlCriterio_data()
    {
        QTest::addColumn<QList<QByteArray>>("pagine");
        QTest::addColumn<Criterio>("criterio");
        QTest::addColumn<QList<QByteArray>>("attesi");

        const QList<QByteArray> esempio{
            "<BODY><H1>Kelmo</H1>\r\n<P>Versione 06.2002-16</P>\r\n<P>fine</P></BODY>"};

        QTest::newRow("worked example") << esempio << Versione << QList<QByteArray>{"16"};
        QTest::newRow("no pages") << QList<QByteArray>{} << Versione << QList<QByteArray>{};
        QTest::newRow("no anchor") << QList<QByteArray>{"<P>Release 06.2002-16</P>"} << Versione
                                   << QList<QByteArray>{};
        QTest::newRow("anchor compared exactly")
            << QList<QByteArray>{"<P>VERSIONE 06.2002-16</P>"} << Versione << QList<QByteArray>{};
        QTest::newRow("text before the anchor ignored")
            << QList<QByteArray>{"<P>Data 01-05<P>Versione 06.2002-16<"} << Versione
            << QList<QByteArray>{"16"};
        QTest::newRow("value up to the first closing marker")
            << QList<QByteArray>{"Versione -16<B>-17<"} << Versione << QList<QByteArray>{"16"};

        Criterio c = Versione;
        c.Ancora.clear();
        QTest::newRow("empty anchor never found") << esempio << c << QList<QByteArray>{};
        c = Versione;
        c.Separatore.clear();
        QTest::newRow("empty separator never found") << esempio << c << QList<QByteArray>{};
        c = Versione;
        c.Apertura.clear();
        QTest::newRow("empty opening never found") << esempio << c << QList<QByteArray>{};
        c = Versione;
        c.Chiusura.clear();
        QTest::newRow("empty closing never found") << esempio << c << QList<QByteArray>{};

        QTest::newRow("no closing in the only page")
            << QList<QByteArray>{"<P>Versione 06.2002-16"} << Versione << QList<QByteArray>{};
        QTest::newRow("walk goes on into later pages read whole")
            << QList<QByteArray>{"<P>Versione 06.2002-16", "nothing here", "a-b", "c - 17 <"} << Versione
            << QList<QByteArray>{" 17 "};
        QTest::newRow("later page read whole, not from its anchor")
            << QList<QByteArray>{"Versione 06.2002-16", "a-x Versione 07.2002-17<"} << Versione
            << QList<QByteArray>{"x Versione 07.2002-17"};
        QTest::newRow("search resumes after the page that gave the value")
            << QList<QByteArray>{"Versione", "Versione -1<", "x -2<", "Versione -3<"} << Versione
            << QList<QByteArray>{"1", "3"};
        QTest::newRow("one value per page even when reached twice")
            << QList<QByteArray>{"Versione a-b", "no anchor", "Versione -9<"} << Versione
            << QList<QByteArray>{"9"};
        QTest::newRow("every stored page gives its value")
            << QList<QByteArray>{"<P>Versione 06.2002-16</P>", "<P>Versione 07.2002-17</P>"} << Versione
            << QList<QByteArray>{"16", "17"};
        QTest::newRow("multi-character markers")
            << QList<QByteArray>{"<td>Build</td><td>::42</td>"}
            << Criterio{false, "Build", "<td>", "::", "</td>", {}, false, false, 0}
            << QList<QByteArray>{"42"};
        QTest::newRow("opening marker searched from the separator on")
            << QList<QByteArray>{"Versione [x] -7 [8]"}
            << Criterio{false, "Versione", "-", "[", "]", {}, false, false, 0} << QList<QByteArray>{"8"};

        const QList<QByteArray> salti{"p Versione x", "q - 1 <", "r - 2 <"};
        c = Versione;
        c.Salti = 1;
        QTest::newRow("Salti 1 passes over the first hit") << salti << c << QList<QByteArray>{" 2 "};
        c.Salti = 0;
        QTest::newRow("Salti 0 takes the first hit") << salti << c << QList<QByteArray>{" 1 "};
        c.Salti = -5;
        QTest::newRow("negative Salti takes the first hit") << salti << c << QList<QByteArray>{" 1 "};
        c.Salti = 2;
        QTest::newRow("Salti beyond the hits finds nothing") << salti << c << QList<QByteArray>{};
        c.Salti = 1;
        QTest::newRow("Salti counts the anchor's own page")
            << QList<QByteArray>{"Versione -1<", "-2<"} << c << QList<QByteArray>{"2"};
        QTest::newRow("after Salti a hit without markers gives way to the next")
            << QList<QByteArray>{"Versione -1<", "-", "-3<"} << c << QList<QByteArray>{"3"};

        c = Versione;
        c.IncludiApertura = c.IncludiChiusura = true;
        QTest::newRow("both markers included")
            << QList<QByteArray>{"Versione 06.2002-16<"} << c << QList<QByteArray>{"-16<"};
        c.IncludiChiusura = false;
        QTest::newRow("opening included")
            << QList<QByteArray>{"Versione 06.2002-16<"} << c << QList<QByteArray>{"-16"};
        c.IncludiApertura = false;
        c.IncludiChiusura = true;
        QTest::newRow("closing included")
            << QList<QByteArray>{"Versione 06.2002-16<"} << c << QList<QByteArray>{"16<"};

        c = Versione;
        c.Scarti = " .";
        QTest::newRow("Scarti trims the end")
            << QList<QByteArray>{"Versione 06.2002-16. .<"} << c << QList<QByteArray>{"16"};
        QTest::newRow("Scarti leaves the front")
            << QList<QByteArray>{"Versione 06.2002- .16<"} << c << QList<QByteArray>{" .16"};
        QTest::newRow("Scarti may empty the value")
            << QList<QByteArray>{"Versione -. .<"} << c << QList<QByteArray>{""};
        c.IncludiChiusura = true;
        QTest::newRow("Scarti after the closing marker is kept")
            << QList<QByteArray>{"Versione -16.<"} << c << QList<QByteArray>{"16.<"};
        QTest::newRow("empty Scarti trims nothing")
            << QList<QByteArray>{"Versione 06.2002-16. .<"} << Versione << QList<QByteArray>{"16. ."};

        const Criterio indietro = AllIndietro();
        QTest::newRow("backwards worked example")
            << QList<QByteArray>{"x=1;y=2;Fine"} << indietro << QList<QByteArray>{"2"};
        QTest::newRow("backwards from the last anchor")
            << QList<QByteArray>{"a=1;Fine b=2;Fine c=3;"} << indietro << QList<QByteArray>{"2"};
        QTest::newRow("backwards ignores separators after the anchor")
            << QList<QByteArray>{"Fine x=1;"} << indietro << QList<QByteArray>{};
        QTest::newRow("backwards value cut at the anchor's end")
            << QList<QByteArray>{"x=1Fine;"} << indietro << QList<QByteArray>{};
        QTest::newRow("backwards walks into earlier pages read whole")
            << QList<QByteArray>{"a=1;b=2;", "Fine"} << indietro << QList<QByteArray>{"2"};
        QTest::newRow("backwards values from the last page first")
            << QList<QByteArray>{"a=1;Fine", "b=2;Fine"} << indietro << QList<QByteArray>{"2", "1"};
        QTest::newRow("backwards markers read in the page's direction")
            << QList<QByteArray>{"<td>::42</td> Build"}
            << Criterio{true, "Build", "<td>", "::", "</td>", {}, false, false, 0} << QList<QByteArray>{"42"};
        c = indietro;
        c.Salti = 1;
        QTest::newRow("backwards Salti")
            << QList<QByteArray>{"z=0;", "a=1;", "x=9; Fine"} << c << QList<QByteArray>{"1"};
        c = indietro;
        c.IncludiApertura = c.IncludiChiusura = true;
        c.Scarti = ";";
        QTest::newRow("backwards include flags and Scarti")
            << QList<QByteArray>{"x=1;y=2;Fine"} << c << QList<QByteArray>{"=2"};
        QTest::newRow("backwards with the version criterion finds nothing")
            << esempio << Criterio{true, "Versione", "-", "-", "<", {}, false, false, 0}
            << QList<QByteArray>{};
    }
    void estraeConIlCriterio()
    {
        QFETCH(QList<QByteArray>, pagine);
        QFETCH(Criterio, criterio);
        QFETCH(QList<QByteArray>, attesi);
        QCOMPARE(Estrai(pagine, criterio), attesi);
        QCOMPARE(EstraiPassoPasso(pagine, criterio), attesi);
    }

    // Random pages and criteria over a small alphabet, so that markers often meet and overlap: the
    // scanner must give exactly what the step-by-step walk gives.
    void comeIlPercorsoPassoPasso()
    {
        Casuale casuale(20020615);
        for (int prova = 0; prova < 20000; ++prova) {
            QList<QByteArray> pagine;
            for (int n = casuale.Fino(5); n > 0; --n)
                pagine.append(casuale.Testo(24));
            const Criterio c = casuale.UnCriterio();
            if (Estrai(pagine, c, {"x"}) != EstraiPassoPasso(pagine, c, {"x"}))
                QFAIL(qPrintable(Descrizione(pagine, c)));
        }
    }

    // The update check's scans over its growing list of pages: at every check the step-by-step walk over
    // every page so far, appending to one result list, whose first value is the one read. The
    // progressive scanner must read the same first value after every check, holding no page forwards.
    void progressivaComeOgniPaginaRiletta()
    {
        Casuale casuale(20021506);
        for (int prova = 0; prova < 20000; ++prova) {
            const Criterio c = casuale.UnCriterio();
            ScansioneProgressiva progressiva(c);
            QList<QByteArray> pagine;
            QList<QByteArray> risultati;
            for (int n = casuale.Fino(6) + 1; n > 0; --n) {
                pagine.append(casuale.Testo(16));
                progressiva.Aggiungi(pagine.constLast());
                // Not every page is followed by a check: a download may meet a page instead of its file.
                if (casuale.Fino(3) == 0)
                    continue;
                Riferimento::Estrai(pagine, risultati, c);
                progressiva.Scansiona();
                const std::optional<QByteArray> atteso =
                    risultati.isEmpty() ? std::nullopt : std::optional(risultati.constFirst());
                if (progressiva.Primo() != atteso || (!c.Invertito && progressiva.PagineTrattenute() != 0))
                    QFAIL(qPrintable(QStringLiteral("%1: '%2' found, '%3' expected, %4 pages held")
                                         .arg(Descrizione(pagine, c),
                                              QString::fromLatin1(progressiva.Primo().value_or("(none)")),
                                              QString::fromLatin1(atteso.value_or("(none)")))
                                         .arg(progressiva.PagineTrattenute())));
            }
            QCOMPARE(progressiva.Pagine(), pagine.size());
        }
    }

    void leggeGliInteri_data()
    {
        QTest::addColumn<QByteArray>("testo");
        QTest::addColumn<bool>("leggibile");
        QTest::addColumn<int>("valore");
        QTest::newRow("plain") << QByteArray("16") << true << 16;
        QTest::newRow("leading blank") << QByteArray(" 16") << true << 16;
        QTest::newRow("leading blanks and zeros") << QByteArray("   016") << true << 16;
        QTest::newRow("trailing blank") << QByteArray("16 ") << false << 0;
        QTest::newRow("trailing line break") << QByteArray("16\n") << false << 0;
        QTest::newRow("leading tab") << QByteArray("\t16") << false << 0;
        QTest::newRow("trailing null") << QByteArray("16\0", 3) << false << 0;
        QTest::newRow("blank inside") << QByteArray("1 6") << false << 0;
        QTest::newRow("blank after sign") << QByteArray("- 3") << false << 0;
        QTest::newRow("letter after digits") << QByteArray("16a") << false << 0;
        QTest::newRow("dollar hex") << QByteArray("$10") << true << 16;
        QTest::newRow("x hex") << QByteArray("x1f") << true << 31;
        QTest::newRow("X hex") << QByteArray("X1F") << true << 31;
        QTest::newRow("0x hex") << QByteArray("0x10") << true << 16;
        QTest::newRow("0X hex") << QByteArray("0XaB") << true << 171;
        QTest::newRow("signed hex") << QByteArray("-$10") << true << -16;
        QTest::newRow("hex digit without prefix") << QByteArray("1F") << false << 0;
        QTest::newRow("bad hex digit") << QByteArray("0x1G") << false << 0;
        QTest::newRow("prefix alone") << QByteArray("0x") << false << 0;
        QTest::newRow("dollar alone") << QByteArray("$") << false << 0;
        QTest::newRow("double prefix") << QByteArray("$0x1") << false << 0;
        QTest::newRow("sign after prefix") << QByteArray("$-1") << false << 0;
        QTest::newRow("negative") << QByteArray("-3") << true << -3;
        QTest::newRow("plus") << QByteArray("+7") << true << 7;
        QTest::newRow("two signs") << QByteArray("+-7") << false << 0;
        QTest::newRow("sign alone") << QByteArray("-") << false << 0;
        QTest::newRow("zero") << QByteArray("0") << true << 0;
        QTest::newRow("minus zero") << QByteArray("-0") << true << 0;
        QTest::newRow("empty") << QByteArray() << false << 0;
        QTest::newRow("blanks only") << QByteArray("   ") << false << 0;
        QTest::newRow("largest") << QByteArray("2147483647") << true << 2147483647;
        QTest::newRow("above largest") << QByteArray("2147483648") << false << 0;
        QTest::newRow("smallest") << QByteArray("-2147483648") << true << int(-2147483647 - 1);
        QTest::newRow("below smallest") << QByteArray("-2147483649") << false << 0;
        QTest::newRow("largest hex") << QByteArray("$7FFFFFFF") << true << 2147483647;
        QTest::newRow("above largest hex") << QByteArray("$80000000") << false << 0;
        QTest::newRow("smallest hex") << QByteArray("-0x80000000") << true << int(-2147483647 - 1);
        QTest::newRow("many digits") << QByteArray("184467440737095516160") << false << 0;
        QTest::newRow("many leading zeros") << QByteArray("000000000000000000015") << true << 15;
    }
    void leggeGliInteri()
    {
        QFETCH(QByteArray, testo);
        QFETCH(bool, leggibile);
        QFETCH(int, valore);
        const std::optional<qint32> letto = LeggiIntero(testo);
        QCOMPARE(letto.has_value(), leggibile);
        if (leggibile)
            QCOMPARE(*letto, valore);
    }

    void versionePubblicataDalPrimoValore_data()
    {
        QTest::addColumn<QList<QByteArray>>("risultati");
        QTest::addColumn<int>("pubblicata");
        QTest::newRow("none found") << QList<QByteArray>{} << 0;
        QTest::newRow("plain") << QList<QByteArray>{"16"} << 16;
        QTest::newRow("shown without blanks and zeros") << QList<QByteArray>{" 016"} << 16;
        QTest::newRow("zero") << QList<QByteArray>{"0"} << 0;
        QTest::newRow("negative") << QList<QByteArray>{"-3"} << 0;
        QTest::newRow("unreadable") << QList<QByteArray>{"16 "} << 0;
        QTest::newRow("first entry only") << QList<QByteArray>{"16", "17"} << 16;
        QTest::newRow("unreadable first entry") << QList<QByteArray>{"abc", "17"} << 0;
    }
    void versionePubblicataDalPrimoValore()
    {
        QFETCH(QList<QByteArray>, risultati);
        QFETCH(int, pubblicata);
        QCOMPARE(VersionePubblicata(risultati), pubblicata);
    }

    void versioneAttualeDallEtichetta()
    {
        QCOMPARE(TestoVersione(QStringLiteral("05.2002-15")), QByteArray("15"));
        QCOMPARE(VersioneAttuale(QStringLiteral("05.2002-15")), 15);
        QCOMPARE(VersioneAttuale(QStringLiteral("05.2002- 7")), 7);
        // Characters, not bytes of some other encoding, are dropped.
        QCOMPARE(VersioneAttuale(QStringLiteral("è5.2002-15")), 15);
        QVERIFY_THROWS_EXCEPTION(Errore, VersioneAttuale(QStringLiteral("05.2002-")));
        QVERIFY_THROWS_EXCEPTION(Errore, VersioneAttuale(QStringLiteral("05.2002-1b")));
        QVERIFY_THROWS_EXCEPTION(Errore, VersioneAttuale(QStringLiteral("15")));
    }

    // The whole decision, from the page markup to "newer or not", against build 15.
    void decisioneDallaPagina_data()
    {
        QTest::addColumn<QList<QByteArray>>("pagine");
        QTest::addColumn<int>("pubblicata");
        QTest::addColumn<bool>("nuova");
        QTest::newRow("newer") << QList<QByteArray>{"<P>Versione 06.2002-16</P>"} << 16 << true;
        QTest::newRow("equal") << QList<QByteArray>{"<P>Versione 05.2002-15</P>"} << 15 << false;
        QTest::newRow("older") << QList<QByteArray>{"<P>Versione 01.2002-9</P>"} << 9 << false;
        QTest::newRow("hex build") << QList<QByteArray>{"<P>Versione 06.2002-$10</P>"} << 16 << true;
        QTest::newRow("no version") << QList<QByteArray>{"<P>Pagina non trovata</P>"} << 0 << false;
        QTest::newRow("line break before the tag")
            << QList<QByteArray>{"<P>Versione 06.2002-16\r\n</P>"} << 0 << false;
        QTest::newRow("older page first")
            << QList<QByteArray>{"<P>Versione 05.2002-15</P>", "<P>Versione 06.2002-16</P>"} << 15 << false;
        QTest::newRow("month and year play no part")
            << QList<QByteArray>{"<P>Versione 01.1999-16</P>"} << 16 << true;
    }
    void decisioneDallaPagina()
    {
        QFETCH(QList<QByteArray>, pagine);
        QFETCH(int, pubblicata);
        QFETCH(bool, nuova);
        const qint32 trovata = VersionePubblicata(Estrai(pagine, Versione));
        QCOMPARE(trovata, pubblicata);
        QCOMPARE(NuovaVersioneDisponibile(VersioneAttuale(QStringLiteral("05.2002-15")), trovata), nuova);
    }

    void testiWindows1252_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QByteArray>("byte");
        QTest::newRow("ascii") << QStringLiteral("Versione 06.2002-16") << QByteArray("Versione 06.2002-16");
        QTest::newRow("accented letters") << QStringLiteral("più già è") << QByteArray("pi\xF9 gi\xE0 \xE8");
        QTest::newRow("euro and dashes") << QStringLiteral("€ – —") << QByteArray("\x80 \x96 \x97");
        QTest::newRow("quotes") << QStringLiteral("“a” ‘b’")
                                << QByteArray("\x93"
                                              "a\x94 \x91"
                                              "b\x92");
        QTest::newRow("missing character") << QStringLiteral("a中b") << QByteArray("a?b");
        QTest::newRow("character outside the plane") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("latin-1 control in the euro's place") << QString(QChar(0x80)) << QByteArray("?");
    }
    void testiWindows1252()
    {
        QFETCH(QString, testo);
        QFETCH(QByteArray, byte);
        QCOMPARE(InWindows1252(testo), byte);
        if (!byte.contains('?'))
            QCOMPARE(DaWindows1252(byte), testo);
    }

    void ogniByteSopravviveAlGiro()
    {
        QByteArray tutti;
        for (int b = 0; b < 256; ++b)
            tutti.append(char(b));
        QCOMPARE(InWindows1252(DaWindows1252(tutti)), tutti);
    }
};

QTEST_APPLESS_MAIN(TestScansione)
#include "tst_scansione.moc"
