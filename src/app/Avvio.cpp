#include "app/Avvio.h"

#include "app/Applicazione.h"
#include "app/Finestre.h"
#include "main/TFrmMain.h"

namespace Avvio {

int Esegui(int &argc, char **argv)
{
    Applicazione applicazione(argc, argv);

    TFrmMain finestraPrincipale;
    Finestre::FrmMain = &finestraPrincipale;

    finestraPrincipale.show();
    const int esito = applicazione.exec();
    Finestre::FrmMain = nullptr;
    return esito;
}

} // namespace Avvio
