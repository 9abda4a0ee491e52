// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMessageBox>

// A message box that, when asked to, can be left only through one of its buttons: Escape and the
// window's close request are ignored.
class BoxMessaggio : public QMessageBox
{
    Q_OBJECT
public:
    BoxMessaggio(Icon icona, const QString &titolo, const QString &testo, StandardButtons pulsanti,
                 bool soloPulsanti);

    StandardButton risposta() const { return m_risposta; }

protected:
    void keyPressEvent(QKeyEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;

private:
    bool m_soloPulsanti;
    StandardButton m_risposta = NoButton;
};
