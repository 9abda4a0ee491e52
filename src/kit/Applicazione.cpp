// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Applicazione.h"

#include "Configurazione.h"
#include "kit/Glifi.h"
#include "kit/RapportoErrori.h"
#include "kit/Stile.h"

#include <QEvent>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QWidget>
#include <algorithm>
#include <array>

Applicazione::Applicazione(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(Titolo);
    // The desktop (Wayland above all) matches the windows to the menu entry, and its icon, by this.
    setDesktopFileName(QString::fromLatin1(Configurazione::IdDesktop));
    setStyle(new Stile(style()));
    setQuitOnLastWindowClosed(false);
    ImpostaSostituzioniCaratteri();
    caricaTraduzioniQt();
    installEventFilter(this);
}

void Applicazione::ImpostaIcona()
{
    setWindowIcon(Glifi::Icona(QStringLiteral("icona")));
}

namespace
{
// Regular text in the face that stands in for "MS Sans Serif" runs about 6 % wider than the windows'
// labels were measured for; narrowed this much, every text fits the place laid out for it. Bold text
// of that face is already narrower than the original and stays as it is.
constexpr int LarghezzaSansSerif = 94;

// The design's families and the installed faces that stand in for them, metric for metric. A family
// that is not installed costs a search through every font for a fallback the first time each style of
// it is drawn: the controls are given the installed face by its own name before they are laid out.
const std::array<std::pair<QLatin1String, QLatin1String>, 3> Sostituti{{
    {QLatin1String("MS Sans Serif"), QLatin1String("Liberation Sans")},
    {QLatin1String("Tahoma"), QLatin1String("Liberation Sans")},
    {QLatin1String("Comic Sans MS"), QLatin1String("Comic Neue")},
}};

// The property that keeps, on a control given an installed face, the design's family it stood for.
constexpr char FamigliaDelProgetto[] = "kelmo_famiglia_del_progetto";

void Adatta(QWidget *controllo, bool restringi)
{
    QFont carattere = controllo->font();
    const auto sostituto = std::find_if(Sostituti.cbegin(), Sostituti.cend(), [&](const auto &coppia) {
        return carattere.family() == coppia.first;
    });
    if (sostituto != Sostituti.cend()) {
        controllo->setProperty(FamigliaDelProgetto, QString(sostituto->first));
        carattere.setFamily(sostituto->second);
    }
    const bool sansSerif =
        controllo->property(FamigliaDelProgetto).toString() == QLatin1String("MS Sans Serif") &&
        carattere.family() == QLatin1String("Liberation Sans");
    if (restringi && sansSerif && carattere.weight() < QFont::DemiBold &&
        (carattere.stretch() == QFont::AnyStretch || carattere.stretch() == QFont::Unstretched))
        carattere.setStretch(LarghezzaSansSerif);
    if (carattere != controllo->font())
        controllo->setFont(carattere);
}
} // namespace

bool Applicazione::eventFilter(QObject *oggetto, QEvent *evento)
{
    // A window is given the installed face (and narrowed) as soon as it is given the design's, before
    // its controls are made: they take it from the window, and no text is ever laid out in a face that
    // must first be looked for. A control given a face of its own is handled as that face is set.
    const QEvent::Type tipo = evento->type();
    if ((tipo == QEvent::Polish || tipo == QEvent::FontChange) && oggetto->isWidgetType()) {
        auto *controllo = static_cast<QWidget *>(oggetto);
        Adatta(controllo, tipo == QEvent::Polish || controllo->isWindow());
    }
    return QApplication::eventFilter(oggetto, evento);
}

void Applicazione::ImpostaSostituzioniCaratteri()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
}

void Applicazione::caricaTraduzioniQt()
{
    // The program speaks Italian whatever the desktop's language: the standard buttons read "Sì" and
    // "No" and Qt's own dialogs (the printer dialog among them) are Italian too.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    if (m_traduzioneQt.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_traduzioneQt);
}

bool Applicazione::notify(QObject *destinatario, QEvent *evento)
{
    // Handlers guard themselves; this is the net for anything that still gets through.
    try {
        return QApplication::notify(destinatario, evento);
    } catch (...) {
        RapportoErrori::Mostra(std::current_exception());
        return false;
    }
}
