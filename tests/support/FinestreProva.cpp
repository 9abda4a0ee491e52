// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/FinestreProva.h"

#include "finestre/TFrmAbout.h"
#include "kit/ModuloSuRichiesta.h"
#include "modulo/Modulo.h"
#include "principale/TFrmMain.h"

void IncorporaModulo()
{
    ModuloSuRichiesta::Incorpora(&Modulo::Funzioni());
}

FinestreProva::FinestreProva(bool conPrincipale)
{
    IncorporaModulo();
    if (conPrincipale)
        m_principale = std::make_unique<TFrmMain>();
    m_about = std::make_unique<TFrmAbout>();
    if (m_principale)
        m_principale->ImpostaAbout(m_about.get());
}

FinestreProva::~FinestreProva() = default;
