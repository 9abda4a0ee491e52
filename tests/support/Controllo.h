// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAction>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

// Whether `oggetto` is one of the window's own, not of another window it owns; its menus' pop-ups
// are its own.
inline bool DellaFinestra(const QObject *oggetto, const QObject &finestra)
{
    for (; oggetto && oggetto != &finestra; oggetto = oggetto->parent()) {
        const auto *widget = qobject_cast<const QWidget *>(oggetto);
        if (widget && widget->isWindow() && widget->windowType() != Qt::Popup)
            return false;
    }
    return oggetto != nullptr;
}

// A window's control found by the name its form gives it, as a user finds it by its place: the
// windows keep their forms to themselves. A name the window lacks, or a control of another kind, ends
// the test at once.
template <class T> T *Controllo(const QObject &finestra, const char *nome)
{
    for (T *trovato : finestra.findChildren<T *>(QString::fromLatin1(nome)))
        if (DellaFinestra(trovato, finestra))
            return trovato;
    std::fprintf(stderr, "FAIL: %s has no %s named %s\n", finestra.metaObject()->className(),
                 T::staticMetaObject.className(), nome);
    std::abort();
}
