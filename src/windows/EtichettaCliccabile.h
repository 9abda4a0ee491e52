#pragma once

#include <QLabel>

// A label or picture that answers a click: the site and mail links and the splash logo. The click
// counts when the left button is released over the label, as with a button.
class EtichettaCliccabile : public QLabel
{
    Q_OBJECT
public:
    explicit EtichettaCliccabile(QWidget *genitore = nullptr);

signals:
    void Cliccata();

protected:
    void mousePressEvent(QMouseEvent *evento) override;
    void mouseReleaseEvent(QMouseEvent *evento) override;

private:
    bool m_premuta = false;
};
