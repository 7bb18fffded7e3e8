-- A new, empty Tarvelo log book. SELECT * results are read by column position:
-- keep the columns in this order.
-- "Tvlo" in the file's header tells file managers that this is a Tarvelo log book.
PRAGMA application_id = 1417047151;
CREATE TABLE accus (
  accuId INTEGER PRIMARY KEY AUTOINCREMENT,
  accuBrand TEXT NOT NULL DEFAULT '',
  accuCapacity INTEGER NOT NULL DEFAULT 0,
  numCells INTEGER NOT NULL DEFAULT 0,
  accuStrength INTEGER NOT NULL DEFAULT 0,
  accuTyp INTEGER NOT NULL DEFAULT 0,
  accuDescr TEXT NOT NULL DEFAULT ''
);
CREATE TABLE modelList (
  modelName TEXT NOT NULL DEFAULT '',
  modelTyp INTEGER NOT NULL DEFAULT 0,
  modelId INTEGER PRIMARY KEY AUTOINCREMENT
);
CREATE TABLE logList (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  date TEXT NOT NULL,
  time TEXT NOT NULL,
  accuId INTEGER NOT NULL DEFAULT 0,
  modelId INTEGER NOT NULL DEFAULT 0,
  charged INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX logList_date ON logList(date);
CREATE INDEX logList_model ON logList(modelId);
CREATE INDEX logList_accu ON logList(accuId);
