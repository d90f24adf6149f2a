-- The office archive on a PostgreSQL server: the same three tables and columns as varnel.db.
-- ajid and id are identity columns (a sequence: never reused, growing in insertion order);
-- every other column holds a grid cell's text, or NULL for an empty cell. Case names compare
-- without regard to letter case (ICU, secondary strength) and are unique, so that two clerks
-- saving a new case under one name at the same moment store it once. Run again, it changes
-- nothing that is there.
CREATE COLLATION IF NOT EXISTS 名称次序 (provider = icu, locale = 'und-u-ks-level2',
                                       deterministic = false);
CREATE TABLE IF NOT EXISTS 案件 (
  ajid integer GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  名称 text COLLATE 名称次序,
  CONSTRAINT 案件_名称_唯一 UNIQUE (名称)
);
CREATE TABLE IF NOT EXISTS 交款 (
  id integer GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  ajid integer,
  交款人 text,
  金额 text,
  交款时间 text,
  备注 text
);
CREATE TABLE IF NOT EXISTS 债权 (
  id integer GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  ajid integer,
  债权人 text,
  债权金额 text,
  债权性质 text,
  其中抵押优先金额 text,
  分配金额 text,
  备注 text
);
CREATE INDEX IF NOT EXISTS 交款_ajid ON 交款 (ajid);
CREATE INDEX IF NOT EXISTS 债权_ajid ON 债权 (ajid);
