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

-- The record of versions: every case's rows as they were before a save replaced them or a delete
-- removed them, with the server's time, the clerk (session_user) and what was done. The record
-- is written by the server itself: statement triggers on the three case tables run functions of
-- the archive's owner, so that clerks, who may only read the record, cannot change it. A version
-- is one transaction's change of one case: a save's two deletes, or a delete's three.
CREATE TABLE IF NOT EXISTS 案件版本 (
  版本 bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  ajid integer NOT NULL,
  名称 text,
  时间 timestamptz NOT NULL DEFAULT clock_timestamp(),
  办案人员 text NOT NULL DEFAULT session_user,
  操作 text NOT NULL CHECK (操作 IN ('保存', '删除')),
  事务 xid8 NOT NULL DEFAULT pg_current_xact_id(),
  CONSTRAINT 案件版本_事务 UNIQUE (事务, ajid)
);
-- The time a version was made, not the start of its transaction: a transaction held open cannot
-- date its entries back. (An archive made before this gets the new default here.)
ALTER TABLE 案件版本 ALTER COLUMN 时间 SET DEFAULT clock_timestamp();
CREATE INDEX IF NOT EXISTS 案件版本_ajid ON 案件版本 (ajid);
CREATE TABLE IF NOT EXISTS 交款版本 (
  版本 bigint NOT NULL REFERENCES 案件版本 ON DELETE CASCADE,
  id integer,
  交款人 text,
  金额 text,
  交款时间 text,
  备注 text
);
CREATE INDEX IF NOT EXISTS 交款版本_版本 ON 交款版本 (版本);
CREATE TABLE IF NOT EXISTS 债权版本 (
  版本 bigint NOT NULL REFERENCES 案件版本 ON DELETE CASCADE,
  id integer,
  债权人 text,
  债权金额 text,
  债权性质 text,
  其中抵押优先金额 text,
  分配金额 text,
  备注 text
);
CREATE INDEX IF NOT EXISTS 债权版本_版本 ON 债权版本 (版本);

CREATE OR REPLACE FUNCTION 记下删除的案件() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
BEGIN
  INSERT INTO 案件版本 (ajid, 名称, 操作)
    SELECT ajid, 名称, '删除' FROM 旧
  ON CONFLICT (事务, ajid) DO UPDATE SET 操作 = '删除', 名称 = EXCLUDED.名称;
  RETURN NULL;
END $$;

-- The version of each stored case whose rows a statement removed, made by the first statement of
-- the transaction that touches the case. Rows of an ajid that has no case row and no version in
-- this transaction (rows added for a case that does not exist, and removed again before the keys
-- are checked at commit) are no change of a case: nothing is recorded for them, so that no
-- deleted case that never was can be planted in the record, nor in the history of the case that
-- later gets that number. Once the case row is deleted, its version is there already: the
-- delete's own trigger made it.
CREATE OR REPLACE FUNCTION 版本开始(ajids integer[]) RETURNS void
LANGUAGE sql SECURITY DEFINER SET search_path = public, pg_temp AS $$
  INSERT INTO 案件版本 (ajid, 名称, 操作)
    SELECT c.ajid, c.名称, '保存'
    FROM unnest(ajids) AS a (ajid) JOIN 案件 c ON c.ajid = a.ajid
  ON CONFLICT (事务, ajid) DO NOTHING;
$$;

CREATE OR REPLACE FUNCTION 记下交款() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
BEGIN
  PERFORM 版本开始(ARRAY(SELECT DISTINCT ajid FROM 旧 WHERE ajid IS NOT NULL));
  INSERT INTO 交款版本 (版本, id, 交款人, 金额, 交款时间, 备注)
    SELECT v.版本, o.id, o.交款人, o.金额, o.交款时间, o.备注
    FROM 旧 o JOIN 案件版本 v ON v.ajid = o.ajid AND v.事务 = pg_current_xact_id();
  RETURN NULL;
END $$;

CREATE OR REPLACE FUNCTION 记下债权() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
BEGIN
  PERFORM 版本开始(ARRAY(SELECT DISTINCT ajid FROM 旧 WHERE ajid IS NOT NULL));
  INSERT INTO 债权版本 (版本, id, 债权人, 债权金额, 债权性质, 其中抵押优先金额, 分配金额, 备注)
    SELECT v.版本, o.id, o.债权人, o.债权金额, o.债权性质, o.其中抵押优先金额, o.分配金额, o.备注
    FROM 旧 o JOIN 案件版本 v ON v.ajid = o.ajid AND v.事务 = pg_current_xact_id();
  RETURN NULL;
END $$;

CREATE OR REPLACE TRIGGER 记下删除的案件 AFTER DELETE ON 案件
  REFERENCING OLD TABLE AS 旧 FOR EACH STATEMENT EXECUTE FUNCTION 记下删除的案件();
CREATE OR REPLACE TRIGGER 记下交款 AFTER DELETE ON 交款
  REFERENCING OLD TABLE AS 旧 FOR EACH STATEMENT EXECUTE FUNCTION 记下交款();
CREATE OR REPLACE TRIGGER 记下债权 AFTER DELETE ON 债权
  REFERENCING OLD TABLE AS 旧 FOR EACH STATEMENT EXECUTE FUNCTION 记下债权();
REVOKE ALL ON FUNCTION 记下删除的案件(), 版本开始(integer[]), 记下交款(), 记下债权() FROM PUBLIC;
