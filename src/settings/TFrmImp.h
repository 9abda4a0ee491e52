#pragma once

#include "ui_TFrmImp.h"

#include <QChar>
#include <QDialog>
#include <QString>

// The settings window: one number, from 1 to 90, played fixed in the first field, kept in the
// fixed-number file next to the executable. Ticking the box and confirming writes the file; unticking
// and confirming deletes it. Created anew at each use and shown modally by the main window.
class TFrmImp : public QDialog, public Ui::TFrmImp
{
    Q_OBJECT
public:
    explicit TFrmImp(QWidget *genitore = nullptr);

    void FormActivate();
    void Check1Click();
    void EDTnumFISKeyPress(QChar &Key);
    void BTMsalvaClick();
    void BTMannullaClick();

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;
};

// The rules of the window on values, apart from the window itself.
namespace Impostazioni
{

inline constexpr int NumeroMinimo = 1;
inline constexpr int NumeroMassimo = 90;

// The whole number written in the field. Only decimal digits make a number: an empty text, blanks,
// signs or any other character (the key filter lets none through, but pasting can) throw Errore with
// the conversion's message.
int NumeroDalTesto(const QString &testo);

} // namespace Impostazioni
