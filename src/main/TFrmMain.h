#pragma once

#include "main/Estrazione.h"
#include "ui_TFrmMain.h"

#include <QMainWindow>

#include <array>

// The main window: six number fields, the play, print and settings buttons, the hidden play log and
// the menu. Closing it ends the program.
class TFrmMain : public QMainWindow, public Ui::TFrmMain
{
    Q_OBJECT
public:
    explicit TFrmMain(QWidget *genitore = nullptr);

    // The six number fields in field order.
    std::array<QLineEdit *, 6> CampiNumero() const;
    Estrazione::Combinazione Combinazione() const;

    void FormShow();
    void BTSgiocaClick();
    void BTSstampaClick();
    void BTSimpClick();
    void Help1Click();
    void About1Click();
    void SegnalBug1Click();
    void Controllaversione1Click();

protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;

private:
    void EstraiCombinazione();
    void AggiungiZeriIniziali();
    bool VerificaEMemorizza();
    void StampaTutteLeGiocate();
    void StampaGiocataCorrente();

    bool m_giaMostrata = false;
};
