// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/RispostaBox.h"

#include <QAbstractButton>
#include <QApplication>

RispostaBox::RispostaBox()
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &RispostaBox::controlla);
    m_timer.start();
}

RispostaBox::~RispostaBox() = default;

RispostaBox &RispostaBox::Rispondi(QMessageBox::StandardButton pulsante)
{
    m_risposte.append(pulsante);
    return *this;
}

QStringList RispostaBox::TitoliETesti() const
{
    QStringList visti;
    for (const BoxVisto &visto : m_visti)
        visti << visto.titolo + QLatin1Char('|') + visto.testo;
    return visti;
}

QStringList RispostaBox::Testi() const
{
    QStringList testi;
    for (const BoxVisto &visto : m_visti)
        testi << visto.testo;
    return testi;
}

bool RispostaBox::VistiIniziano(const QStringList &inizi) const
{
    const QStringList visti = TitoliETesti();
    if (visti.size() != inizi.size())
        return false;
    for (qsizetype i = 0; i < visti.size(); ++i)
        if (!visti[i].startsWith(inizi[i]))
            return false;
    return true;
}

QMessageBox *RispostaBox::BoxAperto()
{
    for (QWidget *finestra : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(finestra); box && box->isVisible())
            return box;
    return nullptr;
}

void RispostaBox::controlla()
{
    QMessageBox *box = BoxAperto();
    if (!box || m_gestiti.contains(box))
        return;
    m_visti.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
    QAbstractButton *pulsante = nullptr;
    if (!m_risposte.isEmpty()) {
        pulsante = box->button(m_risposte.takeFirst());
    } else {
        ++m_inattesi;
        const QList<QAbstractButton *> pulsanti = box->buttons();
        pulsante = pulsanti.isEmpty() ? nullptr : pulsanti.first();
    }
    if (!pulsante)
        return;
    m_gestiti.append(box);
    // The box is deleted by its caller once answered; remember it only until then.
    connect(box, &QObject::destroyed, this, [this, box] { m_gestiti.removeAll(box); });
    pulsante->click();
}
