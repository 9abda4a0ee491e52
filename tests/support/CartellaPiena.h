// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/resource.h>

// A folder whose file system has no room left, for the tests of what a failed write leaves behind.
// Where this process may mount (root), a small tmpfs is mounted on it, and Riempi fills it to the last
// byte. Otherwise it is an ordinary folder, and Riempi lowers this process's file-size limit to zero
// (RLIMIT_FSIZE, with SIGXFSZ ignored) until the object goes: every write into a file then fails as on a
// full disk, in that folder and anywhere else. When neither can be done, Motivo says why, and the test
// should skip.
class CartellaPiena
{
public:
    CartellaPiena();
    ~CartellaPiena();
    CartellaPiena(const CartellaPiena &) = delete;
    CartellaPiena &operator=(const CartellaPiena &) = delete;

    // Empty when the folder can be filled; otherwise why it cannot.
    QString Motivo() const { return m_motivo; }
    QString Percorso(const QString &nome = {}) const;
    // A real full file system (a tmpfs), rather than a file-size limit standing in for one.
    bool Montata() const { return m_montata; }
    // Leaves no room for one more byte. Files written before stay as they are. False (and Motivo
    // set) when it cannot be done.
    bool Riempi();
    // The files in the folder, but for what Riempi put there.
    QStringList File() const;

private:
    QTemporaryDir m_temporanea;
    QString m_cartella;
    QString m_motivo;
    bool m_montata = false;
    bool m_limitata = false;
    rlimit m_limitePrecedente{};
    void (*m_gestorePrecedente)(int) = nullptr;
};
