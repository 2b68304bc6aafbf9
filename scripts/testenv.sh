# What ./test and scripts/bench share, sourced by both from the repository's root:
# the test build folder, set up the same way, and a throwaway PostgreSQL server.

test_build=build/test

# Installs what is missing, configures build/test and builds the given targets
# (everything when none is given).
build_test_folder() {
  scripts/deps.sh
  cmake -S . -B "$test_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRACKWELL_WERROR=ON >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build "$test_build" --target "$@"
  else
    cmake --build "$test_build"
  fi
}

# Starts a PostgreSQL cluster listening only on a Unix socket in a temporary
# folder and exports the variables the tests and benchmarks find it by. It is
# stopped and removed when the calling script exits, also on failure.
start_test_postgres() {
  local me pguser
  me=$(basename "$0")
  test_pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  test_pgdir=$(mktemp -d /tmp/brackwell-pg.XXXXXX)
  test_pg_as=()
  pguser=$(id -un)
  if [ "$(id -u)" -eq 0 ]; then
    # initdb refuses to run as root; the cluster belongs to the postgres user.
    chown postgres: "$test_pgdir"
    test_pg_as=(runuser -u postgres --)
    pguser=postgres
  fi
  trap stop_test_postgres EXIT

  "${test_pg_as[@]}" "$test_pgbin/initdb" -D "$test_pgdir/data" -A trust -U "$pguser" -E UTF8 --locale=C.UTF-8 \
    >"$test_pgdir/initdb.log" 2>&1 ||
    { cat "$test_pgdir/initdb.log"; echo "$me: initdb failed"; exit 1; }
  "${test_pg_as[@]}" "$test_pgbin/pg_ctl" -D "$test_pgdir/data" -l "$test_pgdir/server.log" -w \
    -o "-k $test_pgdir -c listen_addresses='' -p 5432 -c fsync=off -c max_connections=200" start >/dev/null ||
    { cat "$test_pgdir/server.log"; echo "$me: PostgreSQL did not start"; exit 1; }

  export BRACKWELL_TEST_PGHOST="$test_pgdir"
  export BRACKWELL_TEST_PGPORT=5432
  export BRACKWELL_TEST_PGUSER="$pguser"
}

stop_test_postgres() {
  "${test_pg_as[@]}" "$test_pgbin/pg_ctl" -D "$test_pgdir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$test_pgdir"
}
