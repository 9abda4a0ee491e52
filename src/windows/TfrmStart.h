#pragma once

#include "ui_TfrmStart.h"

#include <QDialog>

class QTimer;

// The splash window: the logo, the loading line and the site address, alone on the screen when the
// program starts. Created once at start-up, shown modally by the main window before it comes up, and
// closed only by its own timer.
class TfrmStart : public QDialog, public Ui::TfrmStart
{
    Q_OBJECT
public:
    static constexpr int IntervalloPredefinito = 10000;

    // `intervallo`: milliseconds from showing to closing (tests shorten it).
    explicit TfrmStart(int intervallo = IntervalloPredefinito, QWidget *genitore = nullptr);

    QTimer *TimerStart;

    void FormCreate();
    void FormShow();
    void TimerStartTimer();
    void ImageLogoClick();
    void LabelSitoClick();

public slots:
    // Escape and the window's close request come here; only the timer closes the splash.
    void reject() override;

protected:
    void showEvent(QShowEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;

private:
    void TraduciInterfaccia();

    bool m_chiusuraDalTimer = false;
};
