#!/usr/bin/env bash
# Makes the office archive on a PostgreSQL server: the database, its three tables and the record
# of their versions, the group role varnel_clerk and one login role in it for each user named.
# Run as a superuser of the server, reached through libpq's usual variables, for example
#   PGHOST=db.court.local PGUSER=postgres bash scripts/setup-office-archive.sh varnel clerk01 clerk02
# Run again, it changes nothing that is there and adds the users that are new. The login roles
# get no password here: the server's administrator sets one (ALTER ROLE … PASSWORD) or lets them
# in another way (peer, certificates).
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 DATABASE [USER...]" >&2
  exit 2
fi
db=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
schema=""
for f in "$here/../src/archive/schema_pg.sql" /usr/share/varnel/schema_pg.sql; do
  if [ -f "$f" ]; then schema=$f; break; fi
done
if [ -z "$schema" ]; then
  echo "$0: schema_pg.sql not found" >&2
  exit 1
fi
# Only warnings and errors: the NOTICEs of a second run ("already exists, skipping") are noise.
export PGOPTIONS="${PGOPTIONS:-} -c client_min_messages=warning"
psql_() { psql -X -q -v ON_ERROR_STOP=1 "$@"; }

# The database, unless it is there.
if [ -z "$(psql_ -d postgres -tA -v db="$db" <<<"SELECT 1 FROM pg_database WHERE datname = :'db'")" ]; then
  psql_ -d postgres -v db="$db" <<<'CREATE DATABASE :"db"'
fi

psql_ -d "$db" -f "$schema"

# The clerks' group: read, add and delete cases, and nothing else. Row locks would need UPDATE,
# which clerks do not have; a save locks its case with a transaction-scoped advisory lock instead.
# Clerks insert only the columns a save writes: the server numbers cases and rows itself, and no
# clerk chooses an ajid of 案件 or an id (OVERRIDING SYSTEM VALUE needs the right on the column).
# The REVOKE takes the column rights of an earlier run as well, so a second run sets them anew.
#
# A PC that dies in the middle of a save must not hold its case for hours: a session idle inside
# a transaction for a minute is ended, and the server probes a silent clerk's link as the client
# does (30 s idle, every 10 s, 3 tries) instead of after the system's two hours. Both take effect
# for sessions that start after the script ran.
psql_ -d "$db" -v db="$db" <<'SQL'
DO $$
BEGIN
  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'varnel_clerk') THEN
    CREATE ROLE varnel_clerk NOLOGIN;
  END IF;
END $$;
REVOKE ALL ON DATABASE :"db" FROM PUBLIC;
GRANT CONNECT ON DATABASE :"db" TO varnel_clerk;
REVOKE CREATE ON SCHEMA public FROM PUBLIC;
GRANT USAGE ON SCHEMA public TO varnel_clerk;
REVOKE ALL ON 案件, 交款, 债权 FROM varnel_clerk;
GRANT SELECT, DELETE ON 案件, 交款, 债权 TO varnel_clerk;
GRANT INSERT (名称) ON 案件 TO varnel_clerk;
GRANT INSERT (ajid, 交款人, 金额, 交款时间, 备注) ON 交款 TO varnel_clerk;
GRANT INSERT (ajid, 债权人, 债权金额, 债权性质, 其中抵押优先金额, 分配金额, 备注) ON 债权 TO varnel_clerk;
-- The record of versions is the server's own: clerks read it, and nothing more.
REVOKE ALL ON 案件版本, 交款版本, 债权版本 FROM PUBLIC, varnel_clerk;
GRANT SELECT ON 案件版本, 交款版本, 债权版本 TO varnel_clerk;
ALTER DATABASE :"db" SET idle_in_transaction_session_timeout = '1min';
ALTER DATABASE :"db" SET tcp_keepalives_idle = 30;
ALTER DATABASE :"db" SET tcp_keepalives_interval = 10;
ALTER DATABASE :"db" SET tcp_keepalives_count = 3;
SQL

for user in "$@"; do
  psql_ -d "$db" -v who="$user" <<'SQL'
SELECT NOT EXISTS (SELECT FROM pg_roles WHERE rolname = :'who') AS new_role \gset
\if :new_role
CREATE ROLE :"who" LOGIN;
\endif
GRANT varnel_clerk TO :"who";
SQL
done
echo "office archive ready: database $db${*:+, users $*}"
