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

Applicazione::Applicazione(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(Titolo);
    // The desktop (Wayland above all) matches the windows to the menu entry, and its icon, by this.
    setDesktopFileName(QString::fromLatin1(Configurazione::IdDesktop));
    setStyle(new Stile(style()));
    setWindowIcon(Glifi::Icona(QStringLiteral("icona")));
    setQuitOnLastWindowClosed(false);
    ImpostaSostituzioniCaratteri();
    caricaTraduzioniQt();
    installEventFilter(this);
}

namespace
{
// Regular text in the face that stands in for "MS Sans Serif" runs about 6 % wider than the windows'
// labels were measured for; narrowed this much, every text fits the place laid out for it. Bold text
// of that face is already narrower than the original and stays as it is.
constexpr int LarghezzaSansSerif = 94;

void Restringi(QWidget *controllo)
{
    QFont carattere = controllo->font();
    if (carattere.family() == QLatin1String("MS Sans Serif") && carattere.weight() < QFont::DemiBold &&
        (carattere.stretch() == QFont::AnyStretch || carattere.stretch() == QFont::Unstretched)) {
        carattere.setStretch(LarghezzaSansSerif);
        controllo->setFont(carattere);
    }
}
} // namespace

bool Applicazione::eventFilter(QObject *oggetto, QEvent *evento)
{
    // A window is narrowed as soon as it is given its face, before its controls are made: they take the
    // narrowed face from it, and no text is ever laid out in the face at its full width. Any other
    // control is narrowed when it is polished.
    const QEvent::Type tipo = evento->type();
    if ((tipo == QEvent::Polish || tipo == QEvent::FontChange) && oggetto->isWidgetType()) {
        auto *controllo = static_cast<QWidget *>(oggetto);
        if (tipo == QEvent::Polish || controllo->isWindow())
            Restringi(controllo);
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
