// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>

class TFrmAbout;
class TFrmMain;

// The main window's printing and update check run this process's own copy of the module's code, which
// the tests' seams reach, rather than the module file. FinestreProva does this; a test that makes the
// main window itself calls it first.
void IncorporaModulo();

// The windows that start-up keeps for the whole run, made as start-up makes them: the About window
// and, when asked for, the main window before it, which shows that About window.
class FinestreProva
{
public:
    explicit FinestreProva(bool conPrincipale = false);
    ~FinestreProva();
    FinestreProva(const FinestreProva &) = delete;
    FinestreProva &operator=(const FinestreProva &) = delete;

    TFrmAbout &About() const { return *m_about; }
    TFrmMain &Principale() const { return *m_principale; }

private:
    std::unique_ptr<TFrmMain> m_principale;
    std::unique_ptr<TFrmAbout> m_about;
};
