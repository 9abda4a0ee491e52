// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>

namespace Ui
{
class TfrmStart;
}

class QTimer;

// The splash window: the logo, the loading line and the site address, alone on the screen when the
// program starts. Created once at start-up, shown modally before the main window comes up, and closed
// only by its own timer, which then shows the main window.
class TfrmStart : public QDialog
{
    Q_OBJECT
public:
    static constexpr int IntervalloPredefinito = 10000;

    // `intervallo`: milliseconds from showing to closing (tests shorten it).
    explicit TfrmStart(int intervallo = IntervalloPredefinito, QWidget *genitore = nullptr);
    ~TfrmStart() override;

    // Shows the splash at start-up, modal and alone; `principale`, the main window, comes up once the
    // splash has gone. `preparaPrincipale` runs on the first turn of the event loop after the splash's
    // first frame, so that what it builds does not hold the splash back.
    void MostraAllAvvio(QWidget *principale, std::function<void()> preparaPrincipale);

public slots:
    // Escape and the window's close request come here; only the timer closes the splash.
    void reject() override;

protected:
    void showEvent(QShowEvent *evento) override;
    void paintEvent(QPaintEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;

private:
    QTimer *const TimerStart;

    void FormCreate();
    void FormShow();
    void TimerStartTimer();
    void ImageLogoClick();
    void LabelSitoClick();

    void TraduciInterfaccia();

    bool m_chiusuraDalTimer = false;
    QPointer<QWidget> m_principale;
    std::function<void()> m_preparaPrincipale;

    const std::unique_ptr<Ui::TfrmStart> m_ui;
};
