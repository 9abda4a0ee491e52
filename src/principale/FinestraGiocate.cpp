// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "principale/FinestraGiocate.h"

#include "kit/RapportoErrori.h"
#include "principale/RegistroGiocate.h"
#include "principale/SalvataggioGiocate.h"
#include "regole/Errore.h"
#include "regole/Estrazione.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace
{

QString InOrdine(const QString &giocata)
{
    return Estrazione::RigaGiocata(Estrazione::InOrdine(Estrazione::DallaRiga(giocata)));
}

} // namespace

FinestraGiocate::FinestraGiocate(RegistroGiocate *registro, std::function<QStringList()> giocate,
                                 std::function<QString()> testo, QWidget *genitore)
    : QDialog(genitore), m_giocate(std::move(giocate)), m_testo(std::move(testo)),
      m_elenco(new QListWidget(this)), m_conteggio(new QLabel(this)),
      m_copia(new QPushButton(QStringLiteral("&Copia"), this)),
      m_salva(new QPushButton(QStringLiteral("&Salva..."), this))
{
    setObjectName(QStringLiteral("FinestraGiocate"));
    setWindowTitle(QStringLiteral("Giocate della sessione"));
    // Beside the main window, which stays usable.
    setModal(false);

    // The headings over the columns, in the list's font so that they stand over them.
    auto *intestazione = new QLabel(QStringLiteral("  N.  Come estratte       In ordine"), this);
    intestazione->setBuddy(m_elenco);
    // Columns of numbers line up in a font whose characters are all as wide.
    const QFont fisso = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_elenco->setFont(fisso);
    intestazione->setFont(fisso);
    intestazione->setContentsMargins(m_elenco->frameWidth() + 2, 0, 0, 0);
    m_elenco->setObjectName(QStringLiteral("Elenco"));
    m_elenco->setAccessibleName(QStringLiteral("Giocate"));
    m_elenco->setUniformItemSizes(true);
    m_elenco->setMinimumSize(
        QFontMetrics(fisso).horizontalAdvance(Riga(100, QStringLiteral("00 00 00 00 00 00"))) +
            m_elenco->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 24,
        240);
    m_conteggio->setObjectName(QStringLiteral("Conteggio"));
    m_conteggio->setTextFormat(Qt::PlainText);
    m_copia->setObjectName(QStringLiteral("Copia"));
    m_salva->setObjectName(QStringLiteral("Salva"));

    auto *pulsanti = new QDialogButtonBox(this);
    pulsanti->addButton(m_copia, QDialogButtonBox::ActionRole);
    pulsanti->addButton(m_salva, QDialogButtonBox::ActionRole);
    pulsanti->addButton(QStringLiteral("C&hiudi"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("Chiudi"));
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The buttons act on the list; none is pressed by Enter in the list.
    for (QAbstractButton *pulsante : pulsanti->buttons())
        if (auto *premibile = qobject_cast<QPushButton *>(pulsante))
            premibile->setAutoDefault(false);

    using RapportoErrori::Collega;
    connect(m_copia, &QPushButton::clicked, this, [this] {
        RapportoErrori::Protetto([this] { QGuiApplication::clipboard()->setText(m_testo()); });
    });
    Collega(m_salva, &QPushButton::clicked, this, &FinestraGiocate::salva);
    Collega(registro, &RegistroGiocate::Cambiato, this, &FinestraGiocate::aggiorna);

    auto *impaginazione = new QVBoxLayout(this);
    impaginazione->addWidget(intestazione);
    impaginazione->addWidget(m_elenco);
    impaginazione->addWidget(m_conteggio);
    impaginazione->addWidget(pulsanti);
    aggiorna();
}

QString FinestraGiocate::Riga(qsizetype numero, const QString &giocata)
{
    return QStringLiteral("%1.  %2   %3").arg(numero, 3).arg(giocata, InOrdine(giocata));
}

QString FinestraGiocate::RigaAccessibile(qsizetype numero, const QString &giocata)
{
    return QStringLiteral("Giocata %1: %2").arg(numero).arg(InOrdine(giocata));
}

void FinestraGiocate::aggiorna()
{
    const QStringList giocate = m_giocate();
    // The log only grows, but for its first play, which replaces the placeholder: the plays already
    // listed stay, the new ones are added.
    if (giocate.size() < m_elenco->count())
        m_elenco->clear();
    for (qsizetype i = m_elenco->count(); i < giocate.size(); ++i) {
        auto *voce = new QListWidgetItem(Riga(i + 1, giocate.at(i)));
        voce->setData(Qt::AccessibleTextRole, RigaAccessibile(i + 1, giocate.at(i)));
        m_elenco->addItem(voce);
    }
    if (m_elenco->count() > 0 && !m_elenco->currentItem())
        m_elenco->setCurrentRow(0);
    m_elenco->scrollToBottom();
    m_conteggio->setText(giocate.isEmpty() ? QStringLiteral("Nessuna giocata nella sessione")
                         : giocate.size() == 1
                             ? QStringLiteral("1 giocata nella sessione")
                             : QStringLiteral("%1 giocate nella sessione").arg(giocate.size()));
    m_copia->setEnabled(!giocate.isEmpty());
    m_salva->setEnabled(!giocate.isEmpty());
}

void FinestraGiocate::salva()
{
    SalvataggioGiocate::ChiediESalva(this, m_testo());
}
