#include "avvio/Avvio.h"

int main(int argc, char *argv[])
{
    if (const auto esito = Avvio::RispondiOpzioni(argc, argv))
        return *esito;
    return Avvio::Esegui(argc, argv);
}
