// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Stile.h"

#include "kit/IconaDifferita.h"

#include <QPointer>
#include <QStyleOption>

#include <memory>

Stile::Stile(QStyle *base) : QProxyStyle(base) {}

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
