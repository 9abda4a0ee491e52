#include "app/Avvio.h"

#include "app/Applicazione.h"
#include "app/Finestre.h"
#include "main/TFrmMain.h"
#include "windows/TFrmAbout.h"
#include "windows/TfrmStart.h"

namespace Avvio {

int Esegui(int &argc, char **argv)
{
    Applicazione applicazione(argc, argv);

    TFrmMain finestraPrincipale;
    Finestre::FrmMain = &finestraPrincipale;
    TFrmAbout finestraAbout;
    Finestre::FrmAbout = &finestraAbout;
    // Its creation (title and translation pass) runs now, before any window is on screen.
    TfrmStart finestraStart;
    Finestre::frmStart = &finestraStart;

    // The main window's show handler shows the splash first.
    finestraPrincipale.show();
    const int esito = applicazione.exec();
    Finestre::frmStart = nullptr;
    Finestre::FrmAbout = nullptr;
    Finestre::FrmMain = nullptr;
    return esito;
}

} // namespace Avvio
