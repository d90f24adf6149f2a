-- The case database varnel.db: one row per stored case in 案件, its payments in 交款 and its
-- claims in 债权, tied to the case by ajid. Keys are never reused after a delete and grow in
-- insertion order; every other column holds a grid cell's text, or NULL for an empty cell.
-- Case names compare without regard to the case of ASCII letters.
CREATE TABLE 案件 (
  ajid INTEGER PRIMARY KEY AUTOINCREMENT,
  名称 TEXT COLLATE NOCASE
);
CREATE TABLE 交款 (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  ajid INTEGER,
  交款人 TEXT,
  金额 TEXT,
  交款时间 TEXT,
  备注 TEXT
);
CREATE TABLE 债权 (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  ajid INTEGER,
  债权人 TEXT,
  债权金额 TEXT,
  债权性质 TEXT,
  其中抵押优先金额 TEXT,
  分配金额 TEXT,
  备注 TEXT
);
CREATE INDEX 交款_ajid ON 交款 (ajid);
CREATE INDEX 债权_ajid ON 债权 (ajid);
