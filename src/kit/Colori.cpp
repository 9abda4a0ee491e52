// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Colori.h"

#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QSet>
#include <QWidget>

namespace Colori
{

namespace
{

enum class Ruolo { Nessuno, SfondoFisso, SfondoDiSistema, TestoFisso };

constexpr const char *ProprietaRuolo = "kelmoRuoloColore";
constexpr const char *ProprietaColore = "kelmoColore";

void Applica(QWidget *controllo);

// Gives a control its colours again whenever its palette changes: the desktop's palette, or the
// background of the panel it stands on. A control's own change, made here, does not start it again;
// its children's changes do, since they stand on it.
class Sorvegliante : public QObject
{
public:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        if (evento->type() == QEvent::PaletteChange || evento->type() == QEvent::ParentChange)
            Riapplica(static_cast<QWidget *>(oggetto));
        return false;
    }

    void Riapplica(QWidget *controllo)
    {
        if (m_inApplicazione.contains(controllo))
            return;
        m_inApplicazione.insert(controllo);
        Applica(controllo);
        m_inApplicazione.remove(controllo);
    }

private:
    QSet<QWidget *> m_inApplicazione;
};

Sorvegliante &IlSorvegliante()
{
    static Sorvegliante sorvegliante;
    return sorvegliante;
}

// The colour painted behind a control: that of the nearest panel or window that paints its own.
QColor Dietro(const QWidget *controllo)
{
    const QWidget *pannello = controllo->parentWidget();
    while (pannello && !pannello->autoFillBackground() && !pannello->isWindow())
        pannello = pannello->parentWidget();
    if (!pannello)
        pannello = controllo;
    return pannello->palette().color(pannello->backgroundRole());
}

void ColoraSfondo(QWidget *controllo, const QColor &colore)
{
    QPalette tavolozza = controllo->palette();
    tavolozza.setColor(QPalette::Window, colore);
    controllo->setPalette(tavolozza);
    controllo->setAutoFillBackground(true);
}

void Applica(QWidget *controllo)
{
    const auto ruolo = static_cast<Ruolo>(controllo->property(ProprietaRuolo).toInt());
    const QColor colore = controllo->property(ProprietaColore).value<QColor>();
    switch (ruolo) {
    case Ruolo::Nessuno:
        return;
    case Ruolo::SfondoFisso:
        ColoraSfondo(controllo, colore);
        return;
    case Ruolo::SfondoDiSistema:
        ColoraSfondo(controllo, controllo->window()->palette().color(QPalette::Window));
        return;
    case Ruolo::TestoFisso: {
        const QColor dietro = Dietro(controllo);
        // A label with nothing to read (About's empty one) needs no background of its own.
        const auto *etichetta = qobject_cast<const QLabel *>(controllo);
        const bool basta = Contrasto::Rapporto(colore, dietro) >= Contrasto::Minimo ||
                           (etichetta && etichetta->text().isEmpty());
        const QColor sfondo = basta ? dietro : Contrasto::SfondoChiaro;
        QPalette tavolozza = controllo->palette();
        tavolozza.setColor(QPalette::WindowText, Contrasto::Leggibile(colore, sfondo));
        tavolozza.setColor(QPalette::Window, sfondo);
        controllo->setPalette(tavolozza);
        controllo->setAutoFillBackground(!basta);
        return;
    }
    }
}

void Assegna(QWidget *controllo, Ruolo ruolo, const QColor &colore)
{
    controllo->setProperty(ProprietaRuolo, static_cast<int>(ruolo));
    controllo->setProperty(ProprietaColore, colore);
    controllo->removeEventFilter(&IlSorvegliante());
    controllo->installEventFilter(&IlSorvegliante());
    IlSorvegliante().Riapplica(controllo);
}

} // namespace

void SfondoFisso(QWidget *pannello, const QColor &colore)
{
    Assegna(pannello, Ruolo::SfondoFisso, colore);
}

void SfondoDiSistema(QWidget *pannello)
{
    Assegna(pannello, Ruolo::SfondoDiSistema, QColor());
}

void TestoFisso(QWidget *controllo, const QColor &colore)
{
    Assegna(controllo, Ruolo::TestoFisso, colore);
}

void TestoDiSistema(QWidget *controllo)
{
    controllo->removeEventFilter(&IlSorvegliante());
    controllo->setProperty(ProprietaRuolo, QVariant());
    controllo->setProperty(ProprietaColore, QVariant());
    controllo->setPalette(QPalette());
    controllo->setAutoFillBackground(false);
}

} // namespace Colori
