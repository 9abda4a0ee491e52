// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stampa/StampaGiocate.h"

#include "Configurazione.h"
#include "kit/Applicazione.h"
#include "kit/Sostituzioni.h"
#include "stampa/DispositivoTesto.h"

#include <QPrintDialog>
#include <QPrinter>

namespace StampaGiocate
{

namespace
{
// Screen fonts given in pixels are measured at the 96 pixels per inch the windows are drawn for.
constexpr double PixelPerPollice = 96.0;
constexpr double PuntiPerPollice = 72.0;
} // namespace

QString Intestazione()
{
    return TestiStampa::Intestazione(QString::fromUtf8(Configurazione::IndirizzoSito),
                                     QString::fromUtf8(Configurazione::IndirizzoMail));
}

QFont CarattereStampa(const QFont &carattereCampo)
{
    QFont carattere = carattereCampo;
    if (carattere.pointSizeF() > 0)
        carattere.setPointSize(qMax(1, qRound(carattere.pointSizeF())));
    else if (carattere.pixelSize() > 0)
        carattere.setPointSize(qMax(1, qRound(carattere.pixelSize() * PuntiPerPollice / PixelPerPollice)));
    return carattere;
}

int StampaRiepilogo(QPrinter &stampante, const QFont &carattere, const std::function<qsizetype()> &righe,
                    const std::function<QString(qsizetype)> &riga)
{
    stampante.setDocName(Applicazione::Titolo);
    DispositivoTesto dispositivo(stampante);
    dispositivo.Apri();
    dispositivo.ImpostaCarattere(carattere);
    dispositivo.ScriviRiga(TestiStampa::RigaVuota);
    dispositivo.ScriviRiga(Intestazione());
    dispositivo.ScriviRiga(TestiStampa::RigaVuota);
    const qsizetype quante = righe();
    for (qsizetype i = 0; i < quante; ++i)
        dispositivo.ScriviRiga(TestiStampa::RigaGiocata(riga(i)));
    dispositivo.Chiudi();
    return dispositivo.Pagine();
}

bool ScegliStampante(QPrinter &stampante, QWidget *genitore)
{
    if (const Sostituzioni::RispostaStampante scelta = Sostituzioni::Attuali().SceltaStampante)
        return scelta(stampante, genitore);
    QPrintDialog PrintDialog1(&stampante, genitore);
    // No selection and no current page. Under CUPS the dialog offers a range of pages whatever the
    // options say, and without this option it leaves the range to the print server, which a PDF file
    // never reaches; with it the range comes to the printer, and the text device prints only those pages.
    PrintDialog1.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                            QAbstractPrintDialog::PrintShowPageSize |
                            QAbstractPrintDialog::PrintCollateCopies);
    return PrintDialog1.exec() == QDialog::Accepted;
}

} // namespace StampaGiocate
