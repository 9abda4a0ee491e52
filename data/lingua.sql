-- SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
-- SPDX-License-Identifier: GPL-3.0-or-later

-- Translation table of the sample installation. ITALIANO holds each translatable text as the program
-- looks it up: without a leading "&" and without apostrophes. One column per language; the value of
-- LINGUA in impostazioni.db picks the column (Inglese, Francese, Tedesco, Spagnolo).
CREATE TABLE lingua (
  ITALIANO TEXT,
  Inglese  TEXT,
  Francese TEXT,
  Tedesco  TEXT,
  Spagnolo TEXT
);

-- Splash window
INSERT INTO lingua VALUES ('Caricamento in corso, attendere..',
  'Loading, please wait..', 'Chargement en cours, patientez..', 'Wird geladen, bitte warten..',
  'Cargando, espere..');

-- Bug-report window
INSERT INTO lingua VALUES ('Segnalazione bug al team Kelmo',
  'Bug report to the Kelmo team', 'Signaler un bug à l''équipe Kelmo', 'Fehlermeldung an das Kelmo-Team',
  'Informe de error al equipo Kelmo');
INSERT INTO lingua VALUES ('Il tuo supporto aiuta a migliorare i software Kelmo',
  'Your support helps to improve Kelmo software', 'Votre aide améliore les logiciels Kelmo',
  'Ihre Hilfe verbessert die Kelmo-Software', 'Tu apoyo ayuda a mejorar el software Kelmo');
INSERT INTO lingua VALUES ('Premi su segnala per inoltrarci la segnalazione dellerrore:',
  'Press ''Report'' to send us the error report:', 'Cliquez sur ''Signaler'' pour nous envoyer l''erreur :',
  'Drücken Sie ''Melden'', um den Fehler zu senden:', 'Pulsa ''Informar'' para enviarnos el error:');
INSERT INTO lingua VALUES ('Le risposte ai bug già segnalati sono visibli sulla sezione',
  'Answers to bugs already reported are in the', 'Les réponses aux bugs signalés sont dans la section',
  'Antworten auf gemeldete Fehler stehen im', 'Las respuestas a errores ya informados están en el');
INSERT INTO lingua VALUES ('forum del nostro sito internet',
  'forum section of our web site', 'forum de notre site internet', 'Forum unserer Website',
  'foro de nuestro sitio web');
INSERT INTO lingua VALUES ('Segnala', 'Report', 'Signaler', 'Melden', 'Informar');
INSERT INTO lingua VALUES ('Esci', 'Exit', 'Quitter', 'Beenden', 'Salir');

-- Update-check window
INSERT INTO lingua VALUES ('Controllo eventuali aggiornamenti disponibili',
  'Check for available updates', 'Recherche de mises à jour disponibles', 'Suche nach verfügbaren Updates',
  'Buscar actualizaciones disponibles');
INSERT INTO lingua VALUES ('Versione attuale', 'Current version', 'Version actuelle', 'Aktuelle Version',
  'Versión actual');
INSERT INTO lingua VALUES ('Versione disponibile su internet', 'Version available online',
  'Version disponible sur internet', 'Version im Internet', 'Versión disponible en internet');
INSERT INTO lingua VALUES ('Scarica', 'Download', 'Obtenir', 'Laden', 'Descargar');
INSERT INTO lingua VALUES ('Controlla', 'Check', 'Vérifier', 'Prüfen', 'Verificar');
