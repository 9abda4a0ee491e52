#include "windows/EtichettaCliccabile.h"

#include <QMouseEvent>

EtichettaCliccabile::EtichettaCliccabile(QWidget *genitore) : QLabel(genitore) {}

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
