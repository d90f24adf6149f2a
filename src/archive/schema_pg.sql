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
-- Payment and claim rows belong to a stored case. The keys are checked when a transaction
-- commits, so that the order of a save's or a delete's statements does not matter, and a delete
-- that raced a save can never leave rows without a case. An archive made before the keys may
-- hold such rows: they are reported, then removed, before the key is added.
DO $$
DECLARE
  t text;
  orphans bigint;
BEGIN
  FOREACH t IN ARRAY ARRAY['交款', '债权'] LOOP
    IF NOT EXISTS (SELECT FROM pg_constraint WHERE conname = t || '_案件') THEN
      EXECUTE format('DELETE FROM %I r WHERE NOT EXISTS (SELECT FROM 案件 c WHERE c.ajid = r.ajid)', t);
      GET DIAGNOSTICS orphans = ROW_COUNT;
      IF orphans > 0 THEN
        RAISE WARNING '% 表中有 % 行不属于任何案件，已删除', t, orphans;
      END IF;
      EXECUTE format('ALTER TABLE %I ADD CONSTRAINT %I FOREIGN KEY (ajid) REFERENCES 案件 (ajid) '
                     'DEFERRABLE INITIALLY DEFERRED', t, t || '_案件');
    END IF;
  END LOOP;
END $$;
