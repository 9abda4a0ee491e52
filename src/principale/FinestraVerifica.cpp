// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "principale/FinestraVerifica.h"

#include "kit/RapportoErrori.h"
#include "principale/LetturaGiocate.h"
#include "principale/SalvataggioGiocate.h"
#include "regole/Errore.h"
#include "regole/Estrazione.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{

constexpr std::array<Vincite::Categoria, 7> Categorie{
    Vincite::Categoria::Sei,     Vincite::Categoria::CinquePiuUno, Vincite::Categoria::Cinque,
    Vincite::Categoria::Quattro, Vincite::Categoria::Tre,          Vincite::Categoria::Due,
    Vincite::Categoria::Nessuna};

const std::array<const char *, 6> NomiCampi{"Primo", "Secondo", "Terzo", "Quarto", "Quinto", "Sesto"};

QString DueCifre(int numero)
{
    return QStringLiteral("%1").arg(numero, 2, 10, QLatin1Char('0'));
}

Vincite::Numeri DallaRiga(const QString &riga)
{
    Vincite::Numeri numeri{};
    const Estrazione::Combinazione campi = Estrazione::DallaRiga(riga);
    for (std::size_t i = 0; i < numeri.size(); ++i)
        numeri[i] = campi[i].toInt();
    return numeri;
}

} // namespace

FinestraVerifica::FinestraVerifica(std::function<QStringList()> giocate, QWidget *genitore)
    : QDialog(genitore), m_giocate(std::move(giocate)), m_jolly(new QLineEdit(this)),
      m_sessione(new QRadioButton(QStringLiteral("Le giocate della &sessione"), this)),
      m_daFile(new QRadioButton(QStringLiteral("Le giocate di un &file"), this)),
      m_apri(new QPushButton(QStringLiteral("&Apri giocate..."), this)), m_file(new QLabel(this)),
      m_verifica(new QPushButton(QStringLiteral("&Verifica"), this)), m_risultati(new QListWidget(this)),
      m_riepilogo(new QLabel(this)), m_copia(new QPushButton(QStringLiteral("&Copia"), this)),
      m_salva(new QPushButton(QStringLiteral("Sal&va..."), this))
{
    setObjectName(QStringLiteral("FinestraVerifica"));
    setWindowTitle(QStringLiteral("Verifica vincite"));

    // The draw: six fields and the Jolly, each with its reason beneath it when refused.
    auto *estrazione = new QGroupBox(QStringLiteral("Combinazione estratta"), this);
    auto *griglia = new QGridLayout(estrazione);
    auto *etichettaNumeri = new QLabel(QStringLiteral("&Numeri:"), estrazione);
    griglia->addWidget(etichettaNumeri, 0, 0);
    for (std::size_t i = 0; i <= m_numeri.size(); ++i) {
        const bool jolly = i == m_numeri.size();
        QLineEdit *campo = jolly ? m_jolly : new QLineEdit(estrazione);
        if (!jolly)
            m_numeri[i] = campo;
        campo->setParent(estrazione);
        campo->setObjectName(jolly ? QStringLiteral("Jolly") : QStringLiteral("Numero%1").arg(i + 1));
        campo->setAccessibleName(jolly
                                     ? QStringLiteral("Jolly (facoltativo)")
                                     : QStringLiteral("%1 numero estratto").arg(QLatin1String(NomiCampi[i])));
        campo->setMaxLength(3);
        campo->setFixedWidth(campo->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16);
        auto *motivo = new QLabel(estrazione);
        motivo->setObjectName(QStringLiteral("Motivo%1").arg(i + 1));
        motivo->setTextFormat(Qt::PlainText);
        motivo->setWordWrap(true);
        motivo->hide();
        m_motivi[i] = motivo;
        const int colonna = int(i) + 1 + (jolly ? 1 : 0);
        griglia->addWidget(campo, 0, colonna);
        griglia->addWidget(motivo, 1, colonna);
    }
    etichettaNumeri->setBuddy(m_numeri[0]);
    auto *etichettaJolly = new QLabel(QStringLiteral("&Jolly:"), estrazione);
    etichettaJolly->setBuddy(m_jolly);
    griglia->addWidget(etichettaJolly, 0, int(m_numeri.size()) + 1);

    // Which plays.
    auto *quali = new QGroupBox(QStringLiteral("Giocate da verificare"), this);
    auto *righeQuali = new QVBoxLayout(quali);
    m_sessione->setChecked(true);
    auto *rigaFile = new QHBoxLayout;
    rigaFile->addWidget(m_daFile);
    rigaFile->addWidget(m_apri);
    rigaFile->addWidget(m_file, 1);
    m_file->setTextFormat(Qt::PlainText);
    m_file->setObjectName(QStringLiteral("File"));
    righeQuali->addWidget(m_sessione);
    righeQuali->addLayout(rigaFile);

    m_verifica->setObjectName(QStringLiteral("Verifica"));
    m_verifica->setDefault(true);
    // Columns of numbers line up in a font whose characters are all as wide.
    m_risultati->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_risultati->setObjectName(QStringLiteral("Risultati"));
    m_risultati->setAccessibleName(QStringLiteral("Risultati"));
    m_risultati->setMinimumSize(420, 200);
    m_riepilogo->setObjectName(QStringLiteral("Riepilogo"));
    m_riepilogo->setTextFormat(Qt::PlainText);
    m_copia->setObjectName(QStringLiteral("Copia"));
    m_salva->setObjectName(QStringLiteral("Salva"));
    m_copia->setEnabled(false);
    m_salva->setEnabled(false);
    auto *pulsanti = new QDialogButtonBox(this);
    pulsanti->addButton(m_copia, QDialogButtonBox::ActionRole);
    pulsanti->addButton(m_salva, QDialogButtonBox::ActionRole);
    pulsanti->addButton(QStringLiteral("C&hiudi"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("Chiudi"));
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QPushButton *pulsante : {m_apri, m_copia, m_salva})
        pulsante->setAutoDefault(false);

    using RapportoErrori::Collega;
    Collega(m_apri, &QPushButton::clicked, this, &FinestraVerifica::apriGiocate);
    Collega(m_verifica, &QPushButton::clicked, this, &FinestraVerifica::verifica);
    Collega(m_salva, &QPushButton::clicked, this, &FinestraVerifica::salva);
    connect(m_copia, &QPushButton::clicked, this, [this] {
        RapportoErrori::Protetto([this] { QGuiApplication::clipboard()->setText(testoRisultato()); });
    });

    auto *impaginazione = new QVBoxLayout(this);
    impaginazione->addWidget(estrazione);
    impaginazione->addWidget(quali);
    impaginazione->addWidget(m_verifica, 0, Qt::AlignRight);
    impaginazione->addWidget(m_risultati, 1);
    impaginazione->addWidget(m_riepilogo);
    impaginazione->addWidget(pulsanti);
}

QString FinestraVerifica::Riga(qsizetype numero, const Vincite::Numeri &giocata,
                               const Vincite::Numeri &estratti, std::optional<int> jolly)
{
    Vincite::Numeri ordinata = giocata;
    std::sort(ordinata.begin(), ordinata.end());
    const QList<int> indovinati = Vincite::Indovinati(giocata, estratti);
    QStringList testi;
    for (int numero : ordinata)
        testi << (indovinati.contains(numero) ? QLatin1Char('[') + DueCifre(numero) + QLatin1Char(']')
                                              : DueCifre(numero));
    return QStringLiteral("Giocata %1: %2 - %3")
        .arg(numero)
        .arg(testi.join(QLatin1Char(' ')),
             Vincite::NomeCategoria(Vincite::CategoriaDi(giocata, estratti, jolly)));
}

QString FinestraVerifica::RigaRiepilogo(const std::array<qsizetype, 7> &perCategoria)
{
    QStringList parti;
    for (std::size_t i = 0; i < Categorie.size(); ++i)
        parti << QStringLiteral("%1: %2").arg(Vincite::NomeCategoria(Categorie[i])).arg(perCategoria[i]);
    return QStringLiteral("Riepilogo - ") + parti.join(QStringLiteral(", "));
}

void FinestraVerifica::apriGiocate()
{
    const QString percorso = LetturaGiocate::ChiediQuale(this);
    if (percorso.isEmpty())
        return;
    m_percorsoFile = percorso;
    m_file->setText(QFileInfo(percorso).fileName());
    m_daFile->setChecked(true);
}

void FinestraVerifica::verifica()
{
    m_risultati->clear();
    m_riepilogo->clear();
    m_copia->setEnabled(false);
    m_salva->setEnabled(false);

    // The draw first: nothing is computed on a refused field.
    std::array<QString, 6> testi;
    for (std::size_t i = 0; i < testi.size(); ++i)
        testi[i] = m_numeri[i]->text();
    const Vincite::ErroriEstrazione errori = Vincite::ControllaEstrazione(testi, m_jolly->text());
    QLineEdit *primoRifiutato = nullptr;
    for (std::size_t i = 0; i < m_motivi.size(); ++i) {
        const QString &motivo = i < errori.numeri.size() ? errori.numeri[i] : errori.jolly;
        QLineEdit *campo = i < m_numeri.size() ? m_numeri[i] : m_jolly;
        m_motivi[i]->setText(motivo);
        m_motivi[i]->setVisible(!motivo.isEmpty());
        // Read out with the field.
        campo->setAccessibleDescription(motivo);
        if (!motivo.isEmpty() && !primoRifiutato)
            primoRifiutato = campo;
    }
    if (primoRifiutato) {
        primoRifiutato->setFocus(Qt::OtherFocusReason);
        primoRifiutato->selectAll();
        return;
    }
    const Vincite::Numeri estratti = Vincite::NumeriEstratti(testi);
    const std::optional<int> jolly = Vincite::Jolly(m_jolly->text());

    QList<Vincite::Numeri> giocate;
    if (m_daFile->isChecked()) {
        if (m_percorsoFile.isEmpty()) {
            m_riepilogo->setText(QStringLiteral("Scegliere il file con \"Apri giocate...\"."));
            return;
        }
        try {
            giocate = LetturaGiocate::Leggi(m_percorsoFile);
        } catch (const Errore &errore) {
            // Nothing shown half: the whole file is refused, and why.
            m_riepilogo->setText(errore.messaggio());
            return;
        }
    } else {
        for (const QString &riga : m_giocate())
            giocate << DallaRiga(riga);
        if (giocate.isEmpty()) {
            m_riepilogo->setText(QStringLiteral("Nessuna giocata nella sessione."));
            return;
        }
    }

    std::array<qsizetype, 7> perCategoria{};
    for (qsizetype i = 0; i < giocate.size(); ++i) {
        const Vincite::Categoria categoria = Vincite::CategoriaDi(giocate.at(i), estratti, jolly);
        ++perCategoria[std::size_t(std::find(Categorie.cbegin(), Categorie.cend(), categoria) -
                                   Categorie.cbegin())];
        auto *voce = new QListWidgetItem(Riga(i + 1, giocate.at(i), estratti, jolly));
        m_risultati->addItem(voce);
    }
    m_risultati->setCurrentRow(0);
    m_riepilogo->setText(RigaRiepilogo(perCategoria));
    m_copia->setEnabled(true);
    m_salva->setEnabled(true);
}

QString FinestraVerifica::testoRisultato() const
{
    QString testo;
    for (int i = 0; i < m_risultati->count(); ++i)
        testo += m_risultati->item(i)->text() + QLatin1Char('\n');
    return testo + m_riepilogo->text() + QLatin1Char('\n');
}

void FinestraVerifica::salva()
{
    SalvataggioGiocate::ChiediESalva(this, testoRisultato(), QStringLiteral("vincite.txt"));
}
