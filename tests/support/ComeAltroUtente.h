// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <sys/fsuid.h>
#include <sys/types.h>
#include <unistd.h>

// Permission bits alone do not stop the superuser: as root, while the object lives, this thread acts on
// files as the unprivileged user Utente() (the file-system user and group ids are per thread, and the
// tests touch files from this thread only; the kernel drops the file capabilities with them). As
// anyone else it acts as itself, and Utente() is its own id.
class ComeAltroUtente
{
public:
    static constexpr uid_t Nessuno = 65534;

    ComeAltroUtente()
    {
        if (m_root) {
            ::setfsgid(Nessuno);
            ::setfsuid(Nessuno);
        }
    }
    ~ComeAltroUtente()
    {
        if (m_root) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    ComeAltroUtente(const ComeAltroUtente &) = delete;
    ComeAltroUtente &operator=(const ComeAltroUtente &) = delete;

    // The user the files are acted on as, and so the owner a test gives the files that user may change.
    static uid_t Utente() { return ::geteuid() == 0 ? Nessuno : ::geteuid(); }
    static gid_t Gruppo() { return ::geteuid() == 0 ? Nessuno : ::getegid(); }

private:
    const bool m_root = ::geteuid() == 0;
};
