-- Settings table of the sample installation: the language of the translatable windows.
-- "Italiano" keeps the texts as designed; any other value names a column of the table lingua.
CREATE TABLE impostazioni (
  LINGUA TEXT
);
INSERT INTO impostazioni (LINGUA) VALUES ('Italiano');
