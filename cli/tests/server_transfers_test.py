#!/usr/bin/env python3
"""The command on a PostgreSQL server (run through data/tests/with_postgres.sh, which gives it in
TABULIX_PG_*): the workbook of a query equals, cell by cell and format by format, the workbook of
the same rows through SQLite, and so do the workbooks of the same queries through ODBC (psqlODBC
on the server, the SQLite ODBC driver on the SQLite file; each skipped where its driver is
missing); the password (in the connection string, in PGPASSWORD or in the password file) appears
in no output, trace or workbook; a wrong password and a server stopped in the middle of a
transfer fail with a message naming host and database, and write nothing.

Usage: server_transfers_test.py TABULIX
Exits 0 when all holds, 1 naming what failed, 77 when openpyxl or the server is missing.
"""

import glob
import os
import sqlite3
import subprocess
import sys
import tempfile
import time
import zipfile

try:
    import openpyxl
except ImportError:
    print("openpyxl is not installed (Debian: python3-openpyxl); skipping")
    sys.exit(77)

if not os.environ.get("TABULIX_PG_PORT"):
    print("no test server (run through data/tests/with_postgres.sh); skipping")
    sys.exit(77)

HOST, PORT, USER = os.environ["TABULIX_PG_HOST"], os.environ["TABULIX_PG_PORT"], os.environ["TABULIX_PG_USER"]
PASSWORD = os.environ["TABULIX_PG_PASSWORD"]
SERVER = f"host={HOST} port={PORT} user={USER}"
ROWS = ("SELECT g AS id, 'Artículo ' || g AS nombre, (g % 1000) * 0.25 AS importe, g % 3 = 0 AS activo,"
        " CASE WHEN g % 7 = 0 THEN NULL ELSE 'lote ' || (g % 97) END AS lote")
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def psql(sql, database="postgres"):
    subprocess.run(["psql", "-q", "-v", "ON_ERROR_STOP=1", "-d", f"{SERVER} dbname={database}", "-c", sql],
                   check=True, capture_output=True, env={**os.environ, "PGPASSWORD": PASSWORD})


def run(tabulix, *args, env=None):
    return subprocess.run([tabulix, *args], capture_output=True, text=True, errors="replace",
                          env={**os.environ, **(env or {})})


def driver(name):
    found = sorted(glob.glob(f"/usr/lib/*/odbc/{name}") + glob.glob(f"/usr/lib/odbc/{name}"))
    return found[0] if found else None


def cells(path):
    sheet = openpyxl.load_workbook(path).active
    return [[(c.value, c.number_format) for c in row] for row in sheet.iter_rows()]


def workbook_bytes(path):
    with zipfile.ZipFile(path) as z:
        return b"".join(z.read(name) for name in z.namelist())


def main():
    tabulix = sys.argv[1]
    psql("DROP DATABASE IF EXISTS tabulix_cli")
    psql("CREATE DATABASE tabulix_cli")
    psql(f"CREATE TABLE filas AS {ROWS} FROM generate_series(1, 2000) g", "tabulix_cli")
    with tempfile.TemporaryDirectory() as folder:
        lite = os.path.join(folder, "filas.sqlite")
        db = sqlite3.connect(lite)
        db.execute("CREATE TABLE filas (id INTEGER, nombre TEXT, importe REAL, activo BOOLEAN, lote TEXT)")
        db.execute(f"INSERT INTO filas WITH RECURSIVE s(g) AS (SELECT 1 UNION ALL SELECT g + 1 FROM s WHERE g < 2000)"
                   f" {ROWS.replace('g % 3 = 0', '(g % 3 = 0)')} FROM s")
        db.commit()
        db.close()

        # The same rows: the same workbook.
        native = os.path.join(folder, "sqlite.xlsx")
        result = run(tabulix, "--sqlite", lite, "--sql", "SELECT * FROM filas ORDER BY id", "-o", native)
        check(result.returncode == 0, f"the SQLite run: {result.stderr[-400:]}")
        served = os.path.join(folder, "pg.xlsx")
        result = run(tabulix, "--pg", f"{SERVER} dbname=tabulix_cli password={PASSWORD}", "--sql",
                     "SELECT id, nombre, importe::float8 AS importe, activo, lote FROM filas ORDER BY id", "--trace",
                     "-o", served)
        check(result.returncode == 0, f"the PostgreSQL run: {result.stderr[-400:]}")
        check("PostgreSQL query" in result.stderr and f"port {PORT}" in result.stderr,
              "--trace names the server and database")
        outputs = result.stdout + result.stderr
        if os.path.exists(served) and os.path.exists(native):
            check(cells(served) == cells(native), "the PostgreSQL workbook equals the SQLite one cell by cell")
            check(PASSWORD.encode() not in workbook_bytes(served), "the password is not in the workbook")
        check(PASSWORD not in outputs, "the password is not in the output or the trace")

        # The same queries through ODBC: the same workbooks.
        psqlodbc = driver("psqlodbcw.so")
        if psqlodbc:
            through = os.path.join(folder, "odbc-pg.xlsx")
            result = run(tabulix, "--odbc", f"DRIVER={psqlodbc};Server={HOST};Port={PORT};UID={USER};"
                         f"Database=tabulix_cli;PWD={PASSWORD}", "--sql",
                         "SELECT id, nombre, importe::float8 AS importe, activo, lote FROM filas ORDER BY id",
                         "--trace", "-o", through)
            if check(result.returncode == 0, f"the psqlODBC run: {result.stderr[-400:]}"):
                check(cells(through) == cells(native), "the psqlODBC workbook equals the SQLite one cell by cell")
                check(PASSWORD.encode() not in workbook_bytes(through), "the password is not in the ODBC workbook")
            check(PASSWORD not in result.stdout + result.stderr, "the password is not in the ODBC output or trace")
            os.remove(through)
        else:
            print("psqlODBC is not installed (Debian: odbc-postgresql); its run is skipped")
        sqliteodbc = driver("libsqlite3odbc.so")
        if sqliteodbc:
            through = os.path.join(folder, "odbc-sqlite.xlsx")
            result = run(tabulix, "--odbc", f"DRIVER={sqliteodbc};Database={lite}", "--sql",
                         "SELECT * FROM filas ORDER BY id", "-o", through)
            if check(result.returncode == 0, f"the SQLite ODBC run: {result.stderr[-400:]}"):
                check(cells(through) == cells(native), "the SQLite ODBC workbook equals the native one cell by cell")
            os.remove(through)
        else:
            print("the SQLite ODBC driver is not installed (Debian: libsqliteodbc); its run is skipped")

        # From the environment and the password file, the same.
        result = run(tabulix, "--pg", f"{SERVER} dbname=tabulix_cli", "--sql", "SELECT 1 AS uno", "--trace", "-o",
                     os.path.join(folder, "env.xlsx"), env={"PGPASSWORD": PASSWORD})
        check(result.returncode == 0 and PASSWORD not in result.stdout + result.stderr, "PGPASSWORD: no echo")
        passfile = os.path.join(folder, "pgpass")
        with open(passfile, "w") as f:
            f.write(f"{HOST}:{PORT}:*:{USER}:{PASSWORD}\n")
        os.chmod(passfile, 0o600)
        result = run(tabulix, "--pg", f"{SERVER} dbname=tabulix_cli", "--sql", "SELECT nonsense", "-o",
                     os.path.join(folder, "file.xlsx"), env={"PGPASSFILE": passfile})
        check(result.returncode == 1 and "line 1, column 8 of the SQL" in result.stderr
              and PASSWORD not in result.stderr, f"a query error through the password file: {result.stderr}")

        # A wrong password: a clear message, nothing written.
        wrong = os.path.join(folder, "wrong.xlsx")
        result = run(tabulix, "--pg", f"{SERVER} dbname=tabulix_cli password=x{PASSWORD}", "--sql", "SELECT 1",
                     "-o", wrong)
        check(result.returncode == 1 and "password authentication failed" in result.stderr
              and "database tabulix_cli" in result.stderr and PASSWORD not in result.stderr,
              f"a wrong password: {result.stderr}")
        check(not os.path.exists(wrong), "nothing is written after a wrong password")

        # The server stopped in the middle of a transfer: a clear message, nothing written.
        stopped = os.path.join(folder, "stopped.xlsx")
        transfer = subprocess.Popen(
            [tabulix, "--pg", f"{SERVER} dbname=tabulix_cli password={PASSWORD}", "--sql",
             "SELECT g, pg_sleep(0.002) IS NULL AS s FROM generate_series(1, 20000) g", "-o", stopped],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, errors="replace")
        time.sleep(3)
        subprocess.run(os.environ["TABULIX_PG_STOP"], shell=True, capture_output=True)
        out, err = transfer.communicate(timeout=120)
        check(transfer.returncode == 1 and f"host {HOST}, port {PORT}, database tabulix_cli" in err
              and PASSWORD not in out + err, f"a stopped server: exit {transfer.returncode}: {err}")
        check(not os.path.exists(stopped), "nothing is written when the server stops")
        check(sorted(os.listdir(folder)) == sorted(["filas.sqlite", "sqlite.xlsx", "pg.xlsx", "env.xlsx", "pgpass"]),
              f"no file is left behind: {sorted(os.listdir(folder))}")

    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
