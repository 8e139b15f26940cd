# Sourced by run.sh: a PostgreSQL cluster that lives only for one test run.
# Exports RECEBIMENTO_TEST_PG (a libpq connection string) when the server is up; the
# data-module tests that need it are skipped with a message otherwise.

start_throwaway_postgres() {
  local pgbin port
  pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
  if [ -z "$pgbin" ]; then echo "throwaway postgres: no server installed" >&2; return 0; fi
  PG_TMP=$(mktemp -d /tmp/rec-pg.XXXXXX)
  chmod 755 "$PG_TMP"
  port=$(( 20000 + RANDOM % 20000 ))
  local run=()
  if [ "$(id -u)" = 0 ]; then chown postgres:postgres "$PG_TMP"; run=(runuser -u postgres --); fi
  if ! "${run[@]}" "$pgbin/initdb" -D "$PG_TMP/data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 --no-sync >"$PG_TMP/initdb.log" 2>&1; then
    echo "throwaway postgres: initdb failed (see $PG_TMP/initdb.log)" >&2; return 0
  fi
  if ! "${run[@]}" "$pgbin/pg_ctl" -D "$PG_TMP/data" -l "$PG_TMP/log" -w -s \
       -o "-p $port -k $PG_TMP -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=100" start; then
    echo "throwaway postgres: start failed (see $PG_TMP/log)" >&2; return 0
  fi
  PG_BIN=$pgbin
  export RECEBIMENTO_TEST_PG="host=127.0.0.1 port=$port user=postgres dbname=postgres"
  echo "throwaway postgres on port $port"
}

stop_throwaway_postgres() {
  [ -n "${PG_TMP:-}" ] || return 0
  if [ -n "${PG_BIN:-}" ]; then
    if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$PG_BIN/pg_ctl" -D "$PG_TMP/data" -m immediate -s stop || true
    else "$PG_BIN/pg_ctl" -D "$PG_TMP/data" -m immediate -s stop || true; fi
  fi
  rm -rf "$PG_TMP"
}
