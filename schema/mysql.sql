-- The Tarvelo tables on a MySQL or MariaDB server. SELECT * results are read by column
-- position: keep the columns in this order.
CREATE TABLE accus (
  accuId INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  accuBrand TEXT NOT NULL,
  accuCapacity INT NOT NULL DEFAULT 0,
  numCells INT NOT NULL DEFAULT 0,
  accuStrength INT NOT NULL DEFAULT 0,
  accuTyp INT NOT NULL DEFAULT 0,
  accuDescr TEXT NOT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_bin;
CREATE TABLE modelList (
  modelName TEXT NOT NULL,
  modelTyp INT NOT NULL DEFAULT 0,
  modelId INT NOT NULL AUTO_INCREMENT PRIMARY KEY
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_bin;
CREATE TABLE logList (
  id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  date DATE NOT NULL,
  time TIME NOT NULL,
  accuId INT NOT NULL DEFAULT 0,
  modelId INT NOT NULL DEFAULT 0,
  charged INT NOT NULL DEFAULT 0,
  INDEX logList_date (date),
  INDEX logList_model (modelId),
  INDEX logList_accu (accuId)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_bin;
