// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "finestre/EtichettaCliccabile.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>

namespace
{

// The label as assistive tools see it: a link named by its text (or by its accessible name, for the
// logo), with the one action a link has.
class EtichettaAccessibile : public QAccessibleWidget
{
public:
    explicit EtichettaAccessibile(EtichettaCliccabile *etichetta)
        : QAccessibleWidget(etichetta, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text tipo) const override
    {
        QString testo = QAccessibleWidget::text(tipo);
        if (tipo == QAccessible::Name && testo.isEmpty())
            testo = Etichetta()->text();
        return testo;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &azione) override
    {
        if (azione == pressAction() && Etichetta()->isEnabled())
            Etichetta()->Premi();
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    EtichettaCliccabile *Etichetta() const { return static_cast<EtichettaCliccabile *>(widget()); }
};

QAccessibleInterface *Fabbrica(const QString &classe, QObject *oggetto)
{
    if (classe == QLatin1String("EtichettaCliccabile") && oggetto && oggetto->isWidgetType())
        return new EtichettaAccessibile(static_cast<EtichettaCliccabile *>(oggetto));
    return nullptr;
}

} // namespace

EtichettaCliccabile::EtichettaCliccabile(QWidget *genitore) : QLabel(genitore)
{
    static const bool fabbricaInstallata = (QAccessible::installFactory(&Fabbrica), true);
    Q_UNUSED(fabbricaInstallata);
}

bool EtichettaCliccabile::event(QEvent *evento)
{
    // Tab, never a click: a click opens the link at once, and the focus stays where it was. The policy
    // comes once the label is on screen, its text set: a label that takes the focus while its text is
    // set draws that text through a rich-text document of its own, built there and then, which a
    // window's start pays for and which draws otherwise than the label. A picture takes no focus.
    if (evento->type() == QEvent::Show && focusPolicy() == Qt::NoFocus && !text().isEmpty())
        setFocusPolicy(Qt::TabFocus);
    return QLabel::event(evento);
}

void EtichettaCliccabile::focusInEvent(QFocusEvent *evento)
{
    // Not the label's own handling, which would build that document now.
    QWidget::focusInEvent(evento);
    if (evento->reason() == Qt::TabFocusReason || evento->reason() == Qt::BacktabFocusReason)
        return;
    // Given by the window itself, shown or activated with no other control to take the focus: the link
    // waits for Tab, and the window looks and answers its keys as it always has.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            clearFocus();
    });
}

void EtichettaCliccabile::keyPressEvent(QKeyEvent *evento)
{
    if (!evento->isAutoRepeat() && evento->modifiers() == Qt::NoModifier &&
        (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter ||
         evento->key() == Qt::Key_Space)) {
        evento->accept();
        emit Cliccata();
        return;
    }
    QLabel::keyPressEvent(evento);
}

void EtichettaCliccabile::paintEvent(QPaintEvent *evento)
{
    QLabel::paintEvent(evento);
    if (!hasFocus())
        return;
    QStylePainter pittore(this);
    QStyleOptionFocusRect opzione;
    opzione.initFrom(this);
    opzione.backgroundColor = palette().color(backgroundRole());
    pittore.drawPrimitive(QStyle::PE_FrameFocusRect, opzione);
}

void EtichettaCliccabile::Premi()
{
    emit Cliccata();
}

void EtichettaCliccabile::mousePressEvent(QMouseEvent *evento)
{
    if (evento->button() == Qt::LeftButton) {
        m_premuta = true;
        evento->accept();
        return;
    }
    QLabel::mousePressEvent(evento);
}

void EtichettaCliccabile::mouseReleaseEvent(QMouseEvent *evento)
{
    if (evento->button() == Qt::LeftButton && m_premuta) {
        m_premuta = false;
        evento->accept();
        if (rect().contains(evento->position().toPoint()))
            emit Cliccata();
        return;
    }
    QLabel::mouseReleaseEvent(evento);
}
