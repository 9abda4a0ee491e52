// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings window offscreen, driven through its named controls: restoring from the fixed-number
// file, the key filter and Enter, saving, warning, removing, cancelling, and every failure of the file.
#include "impostazioni/NumeroFisso.h"
#include "impostazioni/TFrmImp.h"
#include "kit/Applicazione.h"
#include "kit/Servizi.h"
#include "support/CartellaChiusa.h"
#include "support/CartellaPiena.h"
#include "support/CartellaProva.h"
#include "support/Clic.h"
#include "support/Controllo.h"
#include "support/RispostaBox.h"
#include "support/SostituzioniProva.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace
{

const QString TestoAvviso = QStringLiteral("Il numero inserito deve avere un valore compreso tra 1 e 90!");
const QString TestoSalvate = QStringLiteral("Le impostazioni sono state salvate");
const QString TestoRimosse = QStringLiteral("Le impostazioni sono state rimosse.");

QByteArray ContenutoFile(const CartellaProva &cartella)
{
    QFile file(cartella.Percorso(FormatoNumeroFisso::NomeFile));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool FileEsiste(const CartellaProva &cartella)
{
    return QFile::exists(cartella.Percorso(FormatoNumeroFisso::NomeFile));
}

QStringList FileNellaCartella(const CartellaProva &cartella)
{
    return QDir(cartella.Percorso()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// The row of a save over another user's file, which needs root.
constexpr const char *RigaAltroUtente = "sticky folder, earlier file another user's";
} // namespace

class TestImpostazioni : public QObject
{
    Q_OBJECT

    std::unique_ptr<CartellaProva> m_cartella;
    std::unique_ptr<QTemporaryDir> m_configurazione;
    QByteArray m_casa;
    std::unique_ptr<RispostaBox> m_box;
    std::unique_ptr<TFrmImp> m_finestra;

    // The open window's controls.
    QCheckBox *Check1() const { return Controllo<QCheckBox>(*m_finestra, "Check1"); }
    QLineEdit *EDTnumFIS() const { return Controllo<QLineEdit>(*m_finestra, "EDTnumFIS"); }
    QPushButton *BTMsalva() const { return Controllo<QPushButton>(*m_finestra, "BTMsalva"); }
    QPushButton *BTMannulla() const { return Controllo<QPushButton>(*m_finestra, "BTMannulla"); }

    // Opens a new window as the main window does (modal) and waits until it has restored itself.
    TFrmImp &Apri()
    {
        m_finestra = std::make_unique<TFrmImp>();
        m_finestra->open();
        if (!QTest::qWaitForWindowExposed(m_finestra.get()))
            qFatal("the settings window did not come on screen");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        return *m_finestra;
    }

    // Ticks the box; whether the field then shows. Helpers return what they find and the test checks
    // it: a QVERIFY in a helper would end the helper, not the test.
    [[nodiscard]] bool Spunta()
    {
        Clic(Check1());
        return Check1()->isChecked() && EDTnumFIS()->isVisible();
    }

    void Scrivi(const QString &testo) { QTest::keyClicks(EDTnumFIS(), testo); }
    void Invio() { QTest::keyClick(EDTnumFIS(), Qt::Key_Return); }

    // The file as it is before the window opens; a null content: no file.
    void FilePrima(const QByteArray &contenuto)
    {
        if (!contenuto.isNull())
            m_cartella->Scrivi(FormatoNumeroFisso::NomeFile, contenuto);
    }

    // Confirms the field with Enter or with "Ok", the box that follows answered with Ok.
    void Conferma(bool conInvio)
    {
        m_box->Rispondi(QMessageBox::Ok);
        if (conInvio)
            Invio();
        else
            Clic(BTMsalva());
    }

    // How the outcome differs from a failed save, checked with QCOMPARE against the empty text: the one
    // box seen reports that the file could not be saved, for the reason given (any when empty), and the
    // window stays open.
    [[nodiscard]] QString SalvataggioFallito(const QString &file, const QString &motivo) const
    {
        if (!m_box->VistiIniziano(
                {QStringLiteral("Kelmo_Dravolo|Impossibile salvare il file del numero fisso ") + file +
                 QStringLiteral(": ") + motivo}))
            return QStringLiteral("boxes seen: ") + m_box->TitoliETesti().join('\n');
        return m_finestra->isVisible() ? QString() : QStringLiteral("the window closed");
    }

    // Opens the window and saves 7 in it with Enter, the box that follows answered with Ok; whether the
    // field could be reached.
    [[nodiscard]] bool Salva7()
    {
        Apri();
        if (!Check1()->isChecked() && !Spunta())
            return false;
        EDTnumFIS()->clear();
        Scrivi(QStringLiteral("7"));
        Conferma(true);
        return true;
    }

private slots:
    void initTestCase() { Applicazione::ImpostaSostituzioniCaratteri(); }

    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_box = std::make_unique<RispostaBox>();
        // The user's configuration folder, never the real one. Open to all: a test acting as an
        // unprivileged user (CartellaChiusa) saves there.
        m_configurazione = std::make_unique<QTemporaryDir>();
        ::chmod(QFile::encodeName(m_configurazione->path()).constData(), 0777);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configurazione->path()));
        m_casa = qgetenv("HOME");
    }

    void cleanup()
    {
        m_finestra.reset();
        const int inattesi = m_box->Inattesi();
        m_box.reset();
        m_cartella.reset();
        qunsetenv("XDG_CONFIG_HOME");
        qputenv("HOME", m_casa);
        m_configurazione.reset();
        // Every box a test meets is one it expects and answers.
        QCOMPARE(inattesi, 0);
    }

    void aspetto()
    {
        TFrmImp &f = Apri();
        QCOMPARE(f.size(), QSize(271, 56));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(EDTnumFIS()->maxLength(), 2);
        QVERIFY(EDTnumFIS()->font().bold());
        QVERIFY(BTMsalva()->font().bold());
        QVERIFY(!BTMsalva()->icon().isNull() && !BTMannulla()->icon().isNull());
        QVERIFY(!BTMsalva()->isDefault() && !BTMannulla()->isDefault());

        // Focus starts on "Ok"; Tab goes field (when shown), box, "Annulla" and back.
        QTRY_COMPARE(f.focusWidget(), BTMsalva());
        const auto avanti = [&] { QTest::keyClick(f.focusWidget(), Qt::Key_Tab); };
        avanti();
        QCOMPARE(f.focusWidget(), Check1());
        avanti();
        QCOMPARE(f.focusWidget(), BTMannulla());
        avanti();
        QCOMPARE(f.focusWidget(), BTMsalva());
        QVERIFY(Spunta());
        BTMsalva()->setFocus();
        avanti();
        QCOMPARE(f.focusWidget(), EDTnumFIS());
        avanti();
        QCOMPARE(f.focusWidget(), Check1());
    }

    void apertura_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<bool>("spuntato");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("errore");
        QTest::newRow("no file") << QByteArray() << false << QString() << QString();
        QTest::newRow("file for 7") << FormatoNumeroFisso::Contenuto(QStringLiteral("07")) << true << "07"
                                    << QString();
        QTest::newRow("file without a number")
            << QByteArray("AO 'xy'$tg\r\n") << true << QString() << "non contiene un numero da 01 a 90.";
    }
    void apertura()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(bool, spuntato);
        QFETCH(QString, campo);
        QFETCH(QString, errore);
        FilePrima(contenuto);
        if (!errore.isEmpty())
            m_box->Rispondi(QMessageBox::Ok);

        TFrmImp &f = Apri();
        QCOMPARE(Check1()->isChecked(), spuntato);
        QCOMPARE(EDTnumFIS()->isVisible(), spuntato);
        QCOMPARE(EDTnumFIS()->text(), campo);
        QCOMPARE(f.focusWidget(), BTMsalva());
        if (errore.isEmpty()) {
            QVERIFY2(m_box->Visti().isEmpty(), qPrintable(m_box->TitoliETesti().join('\n')));
        } else {
            QCOMPARE(m_box->Visti().size(), 1);
            QCOMPARE(m_box->Visti()[0].titolo, QStringLiteral("Kelmo_Dravolo"));
            QVERIFY2(m_box->Visti()[0].testo.endsWith(errore), qPrintable(m_box->Visti()[0].testo));
        }
        QVERIFY(f.isVisible());
        // Opening never changes the file.
        QCOMPARE(ContenutoFile(*m_cartella), contenuto);
    }

    void fileIlleggibile()
    {
        m_cartella->Scrivi(FormatoNumeroFisso::NomeFile, FormatoNumeroFisso::Contenuto(QStringLiteral("07")));
        m_box->Rispondi(QMessageBox::Ok);
        {
            CartellaChiusa limite(m_cartella->Percorso(), m_cartella->Percorso(FormatoNumeroFisso::NomeFile));
            Apri();
        }
        QVERIFY2(m_box->VistiIniziano(
                     {QStringLiteral("Kelmo_Dravolo|Impossibile leggere il file del numero fisso")}),
                 qPrintable(m_box->TitoliETesti().join('\n')));
        QCOMPARE(m_box->Visti()[0].icona, QMessageBox::Critical);
        QVERIFY(Check1()->isChecked());
        QVERIFY(EDTnumFIS()->isVisible());
        QCOMPARE(EDTnumFIS()->text(), QString());
    }

    void salvataggio_data()
    {
        QTest::addColumn<QByteArray>("prima");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<bool>("conInvio");
        QTest::addColumn<QByteArray>("dopo");
        const QByteArray nessuno;
        QTest::newRow("7 and Enter") << nessuno << "7" << true << QByteArray("AO '07'$tg\r\n");
        QTest::newRow("90 and Enter") << nessuno << "90" << true << QByteArray("AO '90'$tg\r\n");
        QTest::newRow("1 and Ok") << nessuno << "1" << false << QByteArray("AO '01'$tg\r\n");
        QTest::newRow("05 and Ok") << nessuno << "05" << false << QByteArray("AO '05'$tg\r\n");
        QTest::newRow("replaces 33") << FormatoNumeroFisso::Contenuto(QStringLiteral("33")) << "\b\b42"
                                     << true << QByteArray("AO '42'$tg\r\n");
        QTest::newRow("replaces a longer file")
            << QByteArray("AO '33'$tg\r\nmore lines\r\n") << "\b\b8" << false << QByteArray("AO '08'$tg\r\n");
    }
    void salvataggio()
    {
        QFETCH(QByteArray, prima);
        QFETCH(QString, digitato);
        QFETCH(bool, conInvio);
        QFETCH(QByteArray, dopo);
        FilePrima(prima);

        TFrmImp &f = Apri();
        if (prima.isNull())
            QVERIFY(Spunta());
        for (QChar c : digitato) {
            if (c == QLatin1Char('\b'))
                QTest::keyClick(EDTnumFIS(), Qt::Key_Backspace);
            else
                Scrivi(c);
        }
        Conferma(conInvio);

        QCOMPARE(m_box->TitoliETesti(), QStringList{QStringLiteral("Messaggio.|") + TestoSalvate});
        QCOMPARE(m_box->Visti()[0].icona, QMessageBox::Information);
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QCOMPARE(ContenutoFile(*m_cartella), dopo);
        // Nothing but the file is left in the folder.
        QCOMPARE(FileNellaCartella(*m_cartella), QStringList{FormatoNumeroFisso::NomeFile});
    }

    void fuoriIntervallo_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<bool>("conInvio");
        QTest::addColumn<QByteArray>("prima");
        QTest::newRow("0 and Enter") << "0" << true << QByteArray();
        QTest::newRow("00 and Ok") << "00" << false << QByteArray();
        QTest::newRow("91 and Enter") << "91" << true << QByteArray();
        QTest::newRow("99 and Ok, file for 33 kept")
            << "99" << false << FormatoNumeroFisso::Contenuto(QStringLiteral("33"));
    }
    void fuoriIntervallo()
    {
        QFETCH(QString, digitato);
        QFETCH(bool, conInvio);
        QFETCH(QByteArray, prima);
        FilePrima(prima);

        TFrmImp &f = Apri();
        if (prima.isNull()) {
            QVERIFY(Spunta());
        } else {
            EDTnumFIS()->selectAll();
            QTest::keyClick(EDTnumFIS(), Qt::Key_Backspace);
        }
        Scrivi(digitato);
        QCOMPARE(EDTnumFIS()->text(), digitato);
        Conferma(conInvio);

        QCOMPARE(m_box->TitoliETesti(), QStringList{QStringLiteral("Attenzione.|") + TestoAvviso});
        QCOMPARE(m_box->Visti()[0].icona, QMessageBox::Warning);
        QCOMPARE(EDTnumFIS()->text(), QString());
        QVERIFY(f.isVisible());
        QVERIFY(Check1()->isChecked());
        QCOMPARE(ContenutoFile(*m_cartella), prima);
        QCOMPARE(FileEsiste(*m_cartella), !prima.isNull());
    }

    void invioNelCampoVuoto()
    {
        TFrmImp &f = Apri();
        QVERIFY(Spunta());
        Invio();
        QTest::keyClick(EDTnumFIS(), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(m_box->Visti().isEmpty());
        QVERIFY(f.isVisible());
        QVERIFY(!FileEsiste(*m_cartella));
        QCOMPARE(EDTnumFIS()->text(), QString());
    }

    void testoNonNumerico_data()
    {
        QTest::addColumn<QString>("incollato");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("empty field") << QString() << "'' non è un valore intero valido.";
        QTest::newRow("letter pasted") << "7a"
                                       << "'7a' non è un valore intero valido.";
        QTest::newRow("sign pasted") << "+7"
                                     << "'+7' non è un valore intero valido.";
        QTest::newRow("blank pasted") << " 7"
                                      << "' 7' non è un valore intero valido.";
    }
    void testoNonNumerico()
    {
        QFETCH(QString, incollato);
        QFETCH(QString, messaggio);
        m_cartella->Scrivi(FormatoNumeroFisso::NomeFile, FormatoNumeroFisso::Contenuto(QStringLiteral("33")));
        TFrmImp &f = Apri();
        EDTnumFIS()->clear();
        if (!incollato.isEmpty()) {
            // Pasting bypasses the key filter.
            QGuiApplication::clipboard()->setText(incollato);
            EDTnumFIS()->paste();
            QCOMPARE(EDTnumFIS()->text(), incollato);
        }
        m_box->Rispondi(QMessageBox::Ok);
        Clic(BTMsalva());

        QCOMPARE(m_box->TitoliETesti(), QStringList{QStringLiteral("Kelmo_Dravolo|") + messaggio});
        QCOMPARE(m_box->Visti()[0].icona, QMessageBox::Critical);
        QVERIFY(f.isVisible());
        QCOMPARE(EDTnumFIS()->text(), incollato);
        QCOMPARE(ContenutoFile(*m_cartella), FormatoNumeroFisso::Contenuto(QStringLiteral("33")));
    }

    void soloCifreNelCampo()
    {
        TFrmImp &f = Apri();
        QVERIFY(Spunta());
        Scrivi(QStringLiteral("a -+.,x\t"));
        QCOMPARE(EDTnumFIS()->text(), QString());
        EDTnumFIS()->setFocus();
        // A letter outside ASCII, as a keyboard layout with accented keys types it.
        QKeyEvent accentata(QEvent::KeyPress, Qt::Key_Egrave, Qt::NoModifier, QStringLiteral("è"));
        QCoreApplication::sendEvent(EDTnumFIS(), &accentata);
        Scrivi(QStringLiteral("Z4%"));
        QCOMPARE(EDTnumFIS()->text(), QStringLiteral("4"));
        Scrivi(QStringLiteral("?2"));
        QCOMPARE(EDTnumFIS()->text(), QStringLiteral("42"));
        // Backspace and the keys that type nothing still edit the field.
        QTest::keyClick(EDTnumFIS(), Qt::Key_Left);
        QTest::keyClick(EDTnumFIS(), Qt::Key_Backspace);
        QCOMPARE(EDTnumFIS()->text(), QStringLiteral("2"));
        QTest::keyClick(EDTnumFIS(), Qt::Key_Delete);
        QCOMPARE(EDTnumFIS()->text(), QString());
        // Tab leaves the field as in any other.
        EDTnumFIS()->setFocus();
        QTest::keyClick(EDTnumFIS(), Qt::Key_Tab);
        QCOMPARE(f.focusWidget(), Check1());
        QVERIFY(m_box->Visti().isEmpty());
    }

    void rimozione()
    {
        m_cartella->Scrivi(FormatoNumeroFisso::NomeFile, FormatoNumeroFisso::Contenuto(QStringLiteral("07")));
        TFrmImp &f = Apri();
        QVERIFY(Check1()->isChecked());
        Clic(Check1());
        QVERIFY(!Check1()->isChecked());
        QVERIFY(!EDTnumFIS()->isVisible());
        // The hidden field keeps its text; removal does not look at it.
        QCOMPARE(EDTnumFIS()->text(), QStringLiteral("07"));
        m_box->Rispondi(QMessageBox::Ok);
        Clic(BTMsalva());

        QCOMPARE(m_box->TitoliETesti(), QStringList{QStringLiteral("Messaggio.|") + TestoRimosse});
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QVERIFY(!FileEsiste(*m_cartella));
    }

    void rimozioneSenzaFile_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::newRow("nothing typed") << QString();
        QTest::newRow("number typed, box unticked again") << "0";
    }
    void rimozioneSenzaFile()
    {
        QFETCH(QString, digitato);
        TFrmImp &f = Apri();
        if (!digitato.isEmpty()) {
            QVERIFY(Spunta());
            Scrivi(digitato);
            Clic(Check1());
        }
        Clic(BTMsalva());
        QVERIFY(m_box->Visti().isEmpty());
        QVERIFY(f.isVisible());
        QVERIFY(!FileEsiste(*m_cartella));
        QVERIFY(FileNellaCartella(*m_cartella).isEmpty());
    }

    void annulla_data()
    {
        QTest::addColumn<QByteArray>("prima");
        QTest::addColumn<bool>("conChiusura");
        QTest::newRow("ticked and typed, Annulla") << QByteArray() << false;
        QTest::newRow("unticked with a file, Annulla")
            << FormatoNumeroFisso::Contenuto(QStringLiteral("07")) << false;
        QTest::newRow("ticked and typed, close box") << QByteArray() << true;
    }
    void annulla()
    {
        QFETCH(QByteArray, prima);
        QFETCH(bool, conChiusura);
        FilePrima(prima);
        TFrmImp &f = Apri();
        if (prima.isNull()) {
            QVERIFY(Spunta());
            Scrivi(QStringLiteral("7"));
        } else {
            Clic(Check1());
        }
        if (conChiusura)
            f.close();
        else
            Clic(BTMannulla());
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QVERIFY(m_box->Visti().isEmpty());
        QCOMPARE(ContenutoFile(*m_cartella), prima);
    }

    void tastiDellaFinestra()
    {
        m_cartella->Scrivi(FormatoNumeroFisso::NomeFile, FormatoNumeroFisso::Contenuto(QStringLiteral("07")));
        TFrmImp &f = Apri();
        QTRY_COMPARE(f.focusWidget(), BTMsalva());
        // No cancel button: Escape leaves the window open, in the field too.
        QTest::keyClick(BTMsalva(), Qt::Key_Escape);
        QTest::keyClick(EDTnumFIS(), Qt::Key_Escape);
        QVERIFY(f.isVisible());
        // No default button: Enter on the box presses nothing.
        Check1()->setFocus();
        QTest::keyClick(Check1(), Qt::Key_Return);
        QVERIFY(f.isVisible());
        QVERIFY(m_box->Visti().isEmpty());
        // The space bar toggles the box; Enter on the focused "Ok" presses it.
        QTest::keyClick(Check1(), Qt::Key_Space);
        QVERIFY(!Check1()->isChecked());
        BTMsalva()->setFocus();
        m_box->Rispondi(QMessageBox::Ok);
        QTest::keyClick(BTMsalva(), Qt::Key_Return);
        QCOMPARE(m_box->TitoliETesti(), QStringList{QStringLiteral("Messaggio.|") + TestoRimosse});
        QVERIFY(!f.isVisible());
        QVERIFY(!FileEsiste(*m_cartella));
    }

    void cartellaInScrivibile_data()
    {
        QTest::addColumn<QByteArray>("prima");
        QTest::newRow("no earlier file, no configuration folder can be made") << QByteArray();
        QTest::newRow("earlier file for 33 next to the program")
            << FormatoNumeroFisso::Contenuto(QStringLiteral("33"));
    }
    void cartellaInScrivibile()
    {
        QFETCH(QByteArray, prima);
        FilePrima(prima);
        // Without a file of its own, a program folder the user cannot write sends the number to the
        // configuration folder; here a file stands where that folder should be made.
        const QString configurazione = m_configurazione->filePath(QStringLiteral("kelmo-dravolo"));
        QFile(configurazione).open(QIODevice::WriteOnly);
        Apri();
        if (prima.isNull())
            QVERIFY(Spunta());
        EDTnumFIS()->clear();
        Scrivi(QStringLiteral("7"));
        m_box->Rispondi(QMessageBox::Ok);
        {
            CartellaChiusa limite(m_cartella->Percorso());
            Invio();
        }
        const QString usato = prima.isNull() ? configurazione + QStringLiteral("/redme.qzl")
                                             : m_cartella->Percorso(FormatoNumeroFisso::NomeFile);
        QCOMPARE(SalvataggioFallito(usato, {}), QString());
        QCOMPARE(ContenutoFile(*m_cartella), prima);
        QCOMPARE(FileNellaCartella(*m_cartella).size(), prima.isNull() ? 0 : 1);
    }

    void discoPieno_data()
    {
        QTest::addColumn<QByteArray>("prima");
        QTest::newRow("earlier file for 33") << FormatoNumeroFisso::Contenuto(QStringLiteral("33"));
        QTest::newRow("no earlier file") << QByteArray();
    }
    void discoPieno()
    {
        // No room for the new file: the failure is reported and the earlier file stays whole.
        QFETCH(QByteArray, prima);
        CartellaPiena piena;
        if (!piena.Motivo().isEmpty())
            QSKIP(qPrintable(QStringLiteral("no full file system can be made here: ") + piena.Motivo()));
        SostituzioniProva sostituzioni;
        sostituzioni.CartellaEseguibile(piena.Percorso());
        const QString file = piena.Percorso(FormatoNumeroFisso::NomeFile);
        if (!prima.isNull()) {
            QFile scritto(file);
            QVERIFY(scritto.open(QIODevice::WriteOnly) && scritto.write(prima) == prima.size());
        }
        QVERIFY2(piena.Riempi(), qPrintable(piena.Motivo()));
        QVERIFY(Salva7());

        // A file-size limit, where no tmpfs can be mounted, fails the write with a reason of its own.
        const QString motivo = piena.Montata() ? QStringLiteral("spazio su disco esaurito") : QString();
        QCOMPARE(SalvataggioFallito(file, motivo), QString());
        QCOMPARE(piena.File(), prima.isNull() ? QStringList() : QStringList{FormatoNumeroFisso::NomeFile});
        QFile letto(file);
        QCOMPARE(letto.open(QIODevice::ReadOnly) ? letto.readAll() : QByteArray(), prima);
    }

    void salvataggioImpedito_data()
    {
        QTest::addColumn<QString>("ostacolo");
        QTest::newRow("link to a file elsewhere") << "collegamento";
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("folder") << "cartella";
    }
    void salvataggioImpedito()
    {
        // Only a regular file is replaced: what stands in its place is left exactly as it was, and the
        // failure is reported.
        QFETCH(QString, ostacolo);
        const QString file = m_cartella->Percorso(FormatoNumeroFisso::NomeFile);
        const QString altrove = m_cartella->Percorso(QStringLiteral("altro.qzl"));
        const QByteArray percorso = QFile::encodeName(file);
        if (ostacolo == QLatin1String("collegamento")) {
            m_cartella->Scrivi(QStringLiteral("altro.qzl"),
                               FormatoNumeroFisso::Contenuto(QStringLiteral("33")));
            QVERIFY(QFile::link(altrove, file));
        } else if (ostacolo == QLatin1String("fifo")) {
            QVERIFY(::mkfifo(percorso.constData(), 0600) == 0);
        } else {
            QVERIFY(::mkdir(percorso.constData(), 0700) == 0);
        }
        const QStringList presenti = FileNellaCartella(*m_cartella);

        QVERIFY(Salva7());

        QCOMPARE(SalvataggioFallito(file, QStringLiteral("non è un file regolare")), QString());
        QCOMPARE(FileNellaCartella(*m_cartella), presenti);
        if (ostacolo == QLatin1String("collegamento")) {
            QVERIFY(QFileInfo(file).isSymLink());
            QFile bersaglio(altrove);
            QVERIFY(bersaglio.open(QIODevice::ReadOnly));
            QCOMPARE(bersaglio.readAll(), FormatoNumeroFisso::Contenuto(QStringLiteral("33")));
        }
    }

    void salvataggioNonPermesso_data()
    {
        // The earlier file is in a folder where the save may not put a new one in its place, or is one
        // the user may not write: the save fails rather than write the file in place, half-way if
        // anything goes wrong, or replace what the user may not change.
        QTest::addColumn<int>("permessiCartella");
        QTest::addColumn<int>("permessiFile");
        QTest::addColumn<QString>("motivo");
        // Only root can leave a file of another user's behind: without it, this row is not here, and
        // the ctest entry tst_impostazioni_altro_utente, which runs it alone, reports it skipped.
        if (::geteuid() == 0)
            QTest::newRow(RigaAltroUtente)
                << 01777 << 0666
                << "non si può conservare il proprietario del file esistente: operazione non permessa";
        QTest::newRow("folder the user cannot write") << 0555 << 0666 << "permesso negato";
        QTest::newRow("earlier file write-protected") << 0777 << 0444 << "il file è protetto da scrittura";
    }
    void salvataggioNonPermesso()
    {
        QFETCH(int, permessiCartella);
        QFETCH(int, permessiFile);
        QFETCH(QString, motivo);
        const QByteArray prima = FormatoNumeroFisso::Contenuto(QStringLiteral("33"));
        FilePrima(prima);
        const QString file = m_cartella->Percorso(FormatoNumeroFisso::NomeFile);
        ::chmod(QFile::encodeName(file).constData(), mode_t(permessiFile));
        Apri();
        EDTnumFIS()->clear();
        Scrivi(QStringLiteral("7"));
        m_box->Rispondi(QMessageBox::Ok);
        {
            CartellaChiusa limite(m_cartella->Percorso(), {}, mode_t(permessiCartella));
            Invio();
        }
        QCOMPARE(SalvataggioFallito(file, motivo), QString());
        QCOMPARE(ContenutoFile(*m_cartella), prima);
        QCOMPARE(FileNellaCartella(*m_cartella), QStringList{FormatoNumeroFisso::NomeFile});
    }

    void cartellaNonScrivibileNumeroNellaConfigurazione_data()
    {
        // XDG_CONFIG_HOME and HOME ("%1": the test's folder; null: unset), a folder made in the test's
        // folder first, and where the file goes within it: names in bytes, as the system has them.
        QTest::addColumn<QByteArray>("xdg");
        QTest::addColumn<QByteArray>("casa");
        QTest::addColumn<QByteArray>("crea");
        QTest::addColumn<QByteArray>("sotto");
        QTest::newRow("XDG_CONFIG_HOME")
            << QByteArray("%1") << QByteArray("%1") << QByteArray() << QByteArray("kelmo-dravolo/redme.qzl");
        QTest::newRow("a relative XDG_CONFIG_HOME is ignored for $HOME/.config")
            << QByteArray("relativa") << QByteArray("%1") << QByteArray()
            << QByteArray(".config/kelmo-dravolo/redme.qzl");
        QTest::newRow("a home whose name is not UTF-8")
            << QByteArray() << QByteArray("%1/caf\xe9") << QByteArray("caf\xe9")
            << QByteArray("caf\xe9/.config/kelmo-dravolo/redme.qzl");
        QTest::newRow("an XDG_CONFIG_HOME whose name is not UTF-8")
            << QByteArray("%1/caf\xe9") << QByteArray("%1") << QByteArray("caf\xe9")
            << QByteArray("caf\xe9/kelmo-dravolo/redme.qzl");
    }
    void cartellaNonScrivibileNumeroNellaConfigurazione()
    {
        // An installed program: its folder is not the user's to write, so the number is saved in the
        // user's configuration folder (made on the first save), restored and removed from there; that
        // folder is the one the environment names, byte for byte.
        QFETCH(QByteArray, xdg);
        QFETCH(QByteArray, casa);
        QFETCH(QByteArray, crea);
        QFETCH(QByteArray, sotto);
        const QByteArray base = QFile::encodeName(m_configurazione->path());
        for (const auto &[variabile, valore] : {std::pair{"XDG_CONFIG_HOME", xdg}, std::pair{"HOME", casa}}) {
            if (valore.isNull())
                qunsetenv(variabile);
            else
                qputenv(variabile, QByteArray(valore).replace("%1", base));
        }
        if (!crea.isEmpty()) // open to the unprivileged user the test saves as
            QVERIFY(::mkdir((base + '/' + crea).constData(), 0700) == 0 &&
                    ::chmod((base + '/' + crea).constData(), 0777) == 0);
        const QByteArray usato = base + '/' + sotto;
        const auto contenuto = [&usato] {
            QByteArray letto(64, '\0');
            const int file = ::open(usato.constData(), O_RDONLY);
            letto.resize(file < 0 ? 0 : qMax<ssize_t>(0, ::read(file, letto.data(), size_t(letto.size()))));
            if (file >= 0)
                ::close(file);
            return letto;
        };
        CartellaChiusa limite(m_cartella->Percorso());
        TFrmImp &f = Apri();
        QVERIFY(Spunta());
        Scrivi(QStringLiteral("7"));
        Conferma(true);
        QCOMPARE(m_box->TitoliETesti(), QStringList{QStringLiteral("Messaggio.|") + TestoSalvate});
        QCOMPARE(contenuto(), FormatoNumeroFisso::Contenuto(QStringLiteral("07")));
        // Nothing beside it, under a name read otherwise (Qt lists no name that is not UTF-8).
        QStringList voci;
        if (DIR *cartella = ::opendir(base.constData())) {
            while (const dirent *voce = ::readdir(cartella))
                if (qstrcmp(voce->d_name, ".") != 0 && qstrcmp(voce->d_name, "..") != 0)
                    voci << QString::fromLatin1(voce->d_name);
            ::closedir(cartella);
        }
        QCOMPARE(voci.size(), 1);
        QVERIFY(!f.isVisible());

        TFrmImp &g = Apri();
        QVERIFY(Controllo<QCheckBox>(g, "Check1")->isChecked());
        QCOMPARE(Controllo<QLineEdit>(g, "EDTnumFIS")->text(), QStringLiteral("07"));
        Clic(Controllo<QCheckBox>(g, "Check1"));
        Conferma(false);
        QCOMPARE(m_box->TitoliETesti().last(), QStringLiteral("Messaggio.|") + TestoRimosse);
        QVERIFY(::access(usato.constData(), F_OK) != 0);
        QVERIFY(FileNellaCartella(*m_cartella).isEmpty());
    }

    void senzaCartellaDiConfigurazione_data()
    {
        QTest::addColumn<QByteArray>("casa"); // HOME; null: unset
        QTest::addColumn<QString>("motivo");
        QTest::newRow("HOME unset") << QByteArray() << "la variabile HOME non è impostata";
        QTest::newRow("HOME relative")
            << QByteArray("casa") << "la variabile HOME non è un percorso assoluto";
    }
    void senzaCartellaDiConfigurazione()
    {
        // Neither the program's folder nor a configuration folder to save in: the failure names the
        // cause, and nothing is written anywhere else.
        QFETCH(QByteArray, casa);
        QFETCH(QString, motivo);
        qunsetenv("XDG_CONFIG_HOME");
        if (casa.isNull())
            qunsetenv("HOME");
        else
            qputenv("HOME", casa);
        Apri();
        QVERIFY(Spunta());
        Scrivi(QStringLiteral("7"));
        m_box->Rispondi(QMessageBox::Ok);
        {
            CartellaChiusa limite(m_cartella->Percorso());
            Invio();
        }
        QCOMPARE(SalvataggioFallito(FormatoNumeroFisso::NomeFile,
                                    QStringLiteral("nessuna cartella di configurazione, ") + motivo),
                 QString());
        QVERIFY(FileNellaCartella(*m_cartella).isEmpty());
        QVERIFY(!QFileInfo::exists(QStringLiteral("/.config/kelmo-dravolo")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("casa")));
    }

    void fileNonRimovibile()
    {
        m_cartella->Scrivi(FormatoNumeroFisso::NomeFile, FormatoNumeroFisso::Contenuto(QStringLiteral("07")));
        TFrmImp &f = Apri();
        Clic(Check1());
        m_box->Rispondi(QMessageBox::Ok);
        {
            CartellaChiusa limite(m_cartella->Percorso());
            Clic(BTMsalva());
        }
        QVERIFY2(m_box->VistiIniziano(
                     {QStringLiteral("Kelmo_Dravolo|Impossibile rimuovere il file del numero fisso ")}),
                 qPrintable(m_box->TitoliETesti().join('\n')));
        QVERIFY(f.isVisible());
        QCOMPARE(ContenutoFile(*m_cartella), FormatoNumeroFisso::Contenuto(QStringLiteral("07")));
    }

    void ripristinoUnaVoltaPerApertura()
    {
        // The restore runs once per showing: shown again after being hidden, the window restores
        // again; further show events of the same showing (a message box closing over it) do not.
        m_cartella->Scrivi(FormatoNumeroFisso::NomeFile, FormatoNumeroFisso::Contenuto(QStringLiteral("07")));
        TFrmImp &f = Apri();
        QCOMPARE(EDTnumFIS()->text(), QStringLiteral("07"));
        EDTnumFIS()->clear();
        QShowEvent ancora;
        QCoreApplication::sendEvent(&f, &ancora);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        QCOMPARE(EDTnumFIS()->text(), QString());

        f.hide();
        f.show();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        QCOMPARE(EDTnumFIS()->text(), QStringLiteral("07"));
    }
};

QTEST_MAIN(TestImpostazioni)
#include "tst_impostazioni.moc"
