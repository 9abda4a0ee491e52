#pragma once

// What the embedded browser's tests share: a browser that records the signals it raises, and the user's
// answer to the save dialog.
#include "update/BrowserIncorporato.h"
#include "update/Scaricamento.h"

#include <QList>
#include <QSignalSpy>
#include <QString>

#include <memory>

using Fallimento = BrowserIncorporato::Fallimento;

// A browser with a record of every signal it raises.
struct Prova {
    BrowserIncorporato browser;
    QSignalSpy completati{&browser, &BrowserIncorporato::DocumentoCompletato};
    QSignalSpy falliti{&browser, &BrowserIncorporato::NavigazioneFallita};
    QSignalSpy scaricati{&browser, &BrowserIncorporato::ScaricamentoTerminato};

    int Segnali() const { return completati.count() + falliti.count() + scaricati.count(); }
    Fallimento Motivo() const { return falliti.constLast().at(0).value<Fallimento>(); }
};

// The path the save dialog would have proposed, and the answer given in the user's place.
struct SceltaRegistrata {
    QList<QString> proposte;
    QString risposta;
};

// Answers the save dialog with `percorso` from now on, and records the paths it would have proposed.
inline std::shared_ptr<SceltaRegistrata> RispondiAlSalvataggio(const QString &percorso)
{
    auto scelta = std::make_shared<SceltaRegistrata>();
    scelta->risposta = percorso;
    Scaricamento::ImpostaSceltaFile([scelta](QWidget *, const QString &proposta) {
        scelta->proposte.append(proposta);
        return scelta->risposta;
    });
    return scelta;
}
