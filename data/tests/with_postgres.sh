#!/usr/bin/env bash
# Runs a command against a PostgreSQL server of its own: a cluster made with initdb in a
# temporary folder (as the postgres user, or nobody, when run as root: the server refuses to run
# as root), listening on a free port of 127.0.0.1 only, with password (SCRAM) authentication;
# stopped and removed when the command ends. The command finds the server in
#   TABULIX_PG_HOST, TABULIX_PG_PORT, TABULIX_PG_USER, TABULIX_PG_PASSWORD
# and TABULIX_PG_STOP, a shell command that stops the server at once (to test a server that dies).
# Exits 77 (skipped) when the PostgreSQL server is not installed (Debian: postgresql).
#   with_postgres.sh COMMAND [ARGUMENTS...]
set -euo pipefail
bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)"
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
  echo "with_postgres.sh: the PostgreSQL server is not installed (Debian: postgresql); skipping"
  exit 77
fi
folder="$(mktemp -d /tmp/tabulix-pg.XXXXXX)"
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
  owner=postgres
  id "$owner" >/dev/null 2>&1 || owner=nobody
  chown "$owner" "$folder"
  as_owner=(runuser -u "$owner" --)
fi
password="tabulix-$(od -An -N8 -tx8 /dev/urandom | tr -d ' ')"
stop() {
  "${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$folder"
}
trap stop EXIT
printf '%s\n' "$password" >"$folder/password"
[ "${#as_owner[@]}" -eq 0 ] || chown "$owner" "$folder/password"
"${as_owner[@]}" "$bin/initdb" -D "$folder/data" -U tabulix --auth=scram-sha-256 --pwfile="$folder/password" \
  -E UTF8 --no-locale >"$folder/initdb.log" 2>&1 || { cat "$folder/initdb.log"; exit 1; }
rm -f "$folder/password"
port="$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
"${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
  -o "-p $port -k $folder -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off" start >/dev/null ||
  { cat "$folder/server.log"; exit 1; }
export TABULIX_PG_HOST=127.0.0.1 TABULIX_PG_PORT="$port" TABULIX_PG_USER=tabulix TABULIX_PG_PASSWORD="$password"
export TABULIX_PG_STOP="${as_owner[*]} $bin/pg_ctl -D $folder/data -m immediate stop"
"$@"
