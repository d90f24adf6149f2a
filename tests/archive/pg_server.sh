#!/usr/bin/env bash
# The tests' own PostgreSQL 15 server, in a temporary folder, stopped again at the end.
#   pg_server.sh start STATE   makes a cluster, starts it, writes its socket folder and port to
#                              STATE (two lines: host, port), superuser varnel_admin, no password
#   pg_server.sh restart STATE restarts it (fast: open connections are ended)
#   pg_server.sh stop STATE    stops the server named in STATE and removes its folder
# PostgreSQL refuses to run as root; run by root, the server runs as the user `nobody`.
set -euo pipefail
cmd=$1
state=$2
bindir=""
for d in "$(pg_config --bindir 2>/dev/null || true)" /usr/lib/postgresql/15/bin; do
  if [ -x "$d/initdb" ] && [ -x "$d/pg_ctl" ]; then bindir=$d; break; fi
done
as_server() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"
  else
    "$@"
  fi
}

case $cmd in
start)
  if [ -z "$bindir" ]; then
    echo "initdb and pg_ctl of PostgreSQL 15 not found (package postgresql-15)" >&2
    exit 1
  fi
  [ -f "$state" ] && "$0" stop "$state" || true
  dir=$(mktemp -d /tmp/varnel-pg.XXXXXX)
  chmod 755 "$dir"
  [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$dir"
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  as_server "$bindir/initdb" -D "$dir/data" -U varnel_admin -A trust -E UTF8 --locale=C.UTF-8 \
    >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
  # TLS: a self-signed certificate, so that the tests can refuse a server without it as well.
  as_server openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost \
    -keyout "$dir/data/server.key" -out "$dir/data/server.crt" >/dev/null 2>&1
  # Everyone in without a password, except the role the tests use for a missing ~/.pgpass line
  # and the one the server's access rules turn away.
  { echo "host all needs_pw 127.0.0.1/32 scram-sha-256"; echo "host all hba_refused 127.0.0.1/32 reject"
    cat "$dir/data/pg_hba.conf"; } >"$dir/hba"
  as_server cp "$dir/hba" "$dir/data/pg_hba.conf"
  cat >>"$dir/data/postgresql.conf" <<CONF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$dir'
fsync = off
max_connections = 60
ssl = on
CONF
  as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start >/dev/null ||
    { cat "$dir/server.log" >&2; exit 1; }
  printf '%s\n%s\n' "$dir" "$port" >"$state"
  ;;
restart)
  dir=$(sed -n 1p "$state")
  as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -m fast -w -t 60 restart >/dev/null
  ;;
stop)
  [ -f "$state" ] || exit 0
  dir=$(sed -n 1p "$state")
  if [ -d "$dir/data" ]; then
    as_server "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir" "$state"
  ;;
*)
  echo "usage: $0 start|stop STATE" >&2
  exit 2
  ;;
esac
