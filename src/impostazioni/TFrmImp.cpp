// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "impostazioni/TFrmImp.h"
#include "ui_TFrmImp.h"

#include "impostazioni/NumeroFisso.h"
#include "kit/AttivazionePerMostra.h"
#include "kit/Glifi.h"
#include "kit/Messaggi.h"
#include "kit/RapportoErrori.h"
#include "regole/Errore.h"
#include "regole/Numeri.h"
#include "regole/TastoNumerico.h"

#include <QKeyEvent>
#include <QMetaObject>

using RapportoErrori::Collega;

TFrmImp::TFrmImp(QWidget *genitore) : QDialog(genitore), m_ui(std::make_unique<Ui::TFrmImp>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(271, 56);
    // Modal to the main window only: the message boxes this window shows have no owner and must stay
    // usable (an application-modal run would block them, and their button could not be pressed).
    setWindowModality(Qt::WindowModal);

    m_ui->BTMsalva->setIcon(Glifi::Icona(QStringLiteral("ok")));
    m_ui->BTMannulla->setIcon(Glifi::Icona(QStringLiteral("annulla")));
    m_ui->EDTnumFIS->installEventFilter(this);

    Collega(m_ui->Check1, &QCheckBox::toggled, this, &TFrmImp::Check1Click);
    Collega(m_ui->BTMsalva, &QPushButton::clicked, this, &TFrmImp::BTMsalvaClick);
    Collega(m_ui->BTMannulla, &QPushButton::clicked, this, &TFrmImp::BTMannullaClick);

    new AttivazionePerMostra(this, [this] { FormActivate(); });

    m_ui->BTMsalva->setFocus();
    Messaggi::CentraSulDesktop(this);
}

TFrmImp::~TFrmImp() = default;

bool TFrmImp::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto != m_ui->EDTnumFIS || evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(oggetto, evento);

    const auto *tasto = static_cast<QKeyEvent *>(evento);
    // Tab moves the focus and Delete edits the field; neither is a typed character (X11 gives Delete
    // the text DEL, which the filter would cancel).
    if (tasto->key() == Qt::Key_Tab || tasto->key() == Qt::Key_Backtab || tasto->key() == Qt::Key_Delete)
        return false;
    QString caratteri = tasto->text();
    if (tasto->key() == Qt::Key_Return || tasto->key() == Qt::Key_Enter)
        caratteri = QString(QChar(13));
    // Keys that type nothing (arrows, Delete, Home...) are not characters and always reach the field.
    if (caratteri.isEmpty())
        return false;

    bool passano = false;
    RapportoErrori::Protetto([&] {
        bool tutti = true;
        for (QChar carattere : caratteri) {
            QChar Key = carattere;
            EDTnumFISKeyPress(Key);
            tutti = tutti && Key == carattere;
        }
        passano = tutti;
    });
    return !passano;
}

void TFrmImp::keyPressEvent(QKeyEvent *evento)
{
    // The window has no default and no cancel button: Escape does nothing, Enter presses only the
    // button that has the focus.
    switch (evento->key()) {
    case Qt::Key_Escape:
        evento->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *pulsante = qobject_cast<QPushButton *>(focusWidget()))
            pulsante->click();
        evento->accept();
        return;
    default:
        QDialog::keyPressEvent(evento);
    }
}

void TFrmImp::FormActivate()
{
    if (!NumeroFisso::Esiste())
        return;
    m_ui->Check1->setChecked(true);
    m_ui->EDTnumFIS->setText(NumeroFisso::Leggi());
}

void TFrmImp::Check1Click()
{
    m_ui->EDTnumFIS->setVisible(m_ui->Check1->isChecked());
}

void TFrmImp::EDTnumFISKeyPress(QChar &Key)
{
    TastoNumerico::Filtra(Key);
    if (Key == QChar(13)) {
        Key = QChar(0);
        if (!m_ui->EDTnumFIS->text().isEmpty())
            BTMsalvaClick();
    }
}

void TFrmImp::BTMsalvaClick()
{
    if (m_ui->Check1->isChecked()) {
        const int numero = Numeri::DalTesto(m_ui->EDTnumFIS->text());
        if (numero < Numeri::Minimo || numero > Numeri::Massimo) {
            Messaggi::MessaggioAttenzione(
                QStringLiteral("Il numero inserito deve avere un valore compreso tra 1 e 90!"));
            m_ui->EDTnumFIS->clear();
        }
    }

    m_ui->EDTnumFIS->setText(Numeri::DueCifre(m_ui->EDTnumFIS->text()));

    if (m_ui->Check1->isChecked() && !m_ui->EDTnumFIS->text().isEmpty()) {
        NumeroFisso::Scrivi(m_ui->EDTnumFIS->text());
        Messaggi::MessaggioInfo(QStringLiteral("Le impostazioni sono state salvate"));
        accept();
        return;
    }

    if (!m_ui->Check1->isChecked() && NumeroFisso::Esiste()) {
        NumeroFisso::Rimuovi();
        Messaggi::MessaggioInfo(QStringLiteral("Le impostazioni sono state rimosse."));
        accept();
    }
}

void TFrmImp::BTMannullaClick()
{
    reject();
}
