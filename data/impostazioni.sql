-- SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
-- SPDX-License-Identifier: GPL-3.0-or-later

-- Settings table of the sample installation: the language of the translatable windows.
-- "Italiano" keeps the texts as designed; any other value names a column of the table lingua.
CREATE TABLE impostazioni (
  LINGUA TEXT
);
INSERT INTO impostazioni (LINGUA) VALUES ('Italiano');
