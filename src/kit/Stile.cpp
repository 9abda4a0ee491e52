// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Stile.h"

#include "kit/IconaDifferita.h"

#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyleOption>

#include <memory>

namespace
{
// The property that marks the speed buttons.
constexpr char Piatto[] = "kelmo_pulsante_piatto";
const QColor Bordo(0xd8, 0xd8, 0xd8);
const QColor Disabilitato(0x9c, 0x9c, 0x9c);

// A one-pixel edge around `rettangolo`, raised or sunken: the lit sides white, the others the edge colour.
void Bordo1(QPainter *pittore, const QRect &rettangolo, bool rialzato)
{
    const QColor luce = Bordo.lighter();
    const QColor &alto = rialzato ? luce : Bordo;
    const QColor &basso = rialzato ? Bordo : luce;
    pittore->fillRect(QRect(rettangolo.left(), rettangolo.top(), rettangolo.width(), 1), alto);
    pittore->fillRect(QRect(rettangolo.left(), rettangolo.top(), 1, rettangolo.height()), alto);
    pittore->fillRect(QRect(rettangolo.left(), rettangolo.bottom(), rettangolo.width(), 1), basso);
    pittore->fillRect(QRect(rettangolo.right(), rettangolo.top(), 1, rettangolo.height()), basso);
}
} // namespace

Stile::Stile(QStyle *base) : QProxyStyle(base) {}

void Stile::PulsantePiatto(QPushButton *pulsante)
{
    pulsante->setProperty(Piatto, true);
    pulsante->setFlat(true);
    pulsante->setAttribute(Qt::WA_Hover);
    QPalette tavolozza = pulsante->palette();
    tavolozza.setColor(QPalette::Active, QPalette::ButtonText, Qt::white);
    tavolozza.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::white);
    tavolozza.setColor(QPalette::Disabled, QPalette::ButtonText, Disabilitato);
    pulsante->setPalette(tavolozza);
}

void Stile::drawControl(ControlElement elemento, const QStyleOption *opzione, QPainter *pittore,
                        const QWidget *controllo) const
{
    const auto *pulsante = qstyleoption_cast<const QStyleOptionButton *>(opzione);
    if (elemento != CE_PushButton || !pulsante || !controllo || !controllo->property(Piatto).toBool()) {
        QProxyStyle::drawControl(elemento, opzione, pittore, controllo);
        return;
    }
    // The edge, then the icon and caption centred over the whole button, never shifted.
    const bool premuto = pulsante->state & (State_Sunken | State_On);
    if (premuto || (pulsante->state & State_Enabled && pulsante->state & State_MouseOver))
        Bordo1(pittore, pulsante->rect, !premuto);
    QStyleOptionButton etichetta = *pulsante;
    etichetta.state &= ~(State_Sunken | State_On);
    baseStyle()->drawControl(CE_PushButtonLabel, &etichetta, pittore, controllo);
}

QIcon Stile::standardIcon(StandardPixmap quale, const QStyleOption *opzione, const QWidget *controllo) const
{
    if (quale != SP_ToolBarHorizontalExtensionButton && quale != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(quale, opzione, controllo);
    // The option and the control are the caller's: what the icon is made from is copied now.
    std::shared_ptr<QStyleOption> copia;
    if (opzione)
        copia = std::make_shared<QStyleOption>(*opzione);
    QPointer<const QWidget> chi(controllo);
    QPointer<QStyle> base(baseStyle());
    return QIcon(new IconaDifferita([quale, copia, chi, base] {
        return base ? base->standardIcon(quale, copia.get(), chi.data()) : QIcon();
    }));
}
