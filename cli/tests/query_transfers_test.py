#!/usr/bin/env python3
"""The command on SQLite queries whose rows differ from run to run, and on a database that
another connection writes to during a 100,000-row transfer (WAL and rollback journal): every run
exits with 0, says how many records it wrote, and saves a workbook holding exactly that many data
rows, each one a row of the table as it stood when the query opened.

Usage: query_transfers_test.py TABULIX
Exits 0 when all holds, 1 naming what failed, 77 when openpyxl is not installed.
"""

import os
import re
import sqlite3
import subprocess
import sys
import tempfile
import threading

try:
    import openpyxl
except ImportError:
    print("openpyxl is not installed (Debian: python3-openpyxl); skipping")
    sys.exit(77)

VARYING = [
    "SELECT n, word FROM numbers ORDER BY random()",
    "SELECT n, word, random() AS r FROM numbers",
    "SELECT n, word FROM numbers WHERE abs(random()) % 2 = 0",
    "SELECT n, word, randomblob(8) AS b FROM numbers",
    "SELECT n, word, julianday('now') AS j FROM numbers",
    "SELECT n, word, strftime('%f', 'now') AS s FROM numbers",
    "SELECT n, word FROM numbers ORDER BY random() LIMIT abs(random()) % 500 + 1",
]

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def make_numbers(path, rows, journal_mode):
    db = sqlite3.connect(path, isolation_level=None)
    db.execute(f"PRAGMA journal_mode = {journal_mode}")
    db.execute("CREATE TABLE numbers (n INTEGER, word TEXT, amount INTEGER)")
    db.execute(
        "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < ?) "
        "INSERT INTO numbers SELECT i, 'n' || i, 0 FROM c",
        (rows,),
    )
    db.close()


def transfer(tabulix, database, sql, output, *options):
    """Runs the command; returns the records it says it wrote and the workbook's data rows."""
    run = subprocess.run(
        [tabulix, "--sqlite", database, "--sql", sql, "-o", output, *options],
        capture_output=True,
        text=True,
    )
    if not check(run.returncode == 0, f"{sql}: exit {run.returncode}: {run.stderr.strip()}"):
        return None, []
    said = re.match(r"Transferred (\d+) records? to ", run.stdout)
    if not check(said is not None, f"{sql}: no record count in {run.stdout!r}"):
        return None, []
    sheet = openpyxl.load_workbook(output, read_only=True).active
    rows = list(sheet.iter_rows(min_row=2, values_only=True))
    return int(said.group(1)), rows


def check_rows(sql, said, rows, table_rows):
    """Every data row is a row of the table, none twice, and there are as many as were said."""
    check(said == len(rows), f"{sql}: said {said} records, the sheet holds {len(rows)}")
    numbers = [row[0] for row in rows]
    check(len(set(numbers)) == len(numbers), f"{sql}: a row appears twice (rows of two runs)")
    for row in rows:
        n, word = row[0], row[1]
        if not check(isinstance(n, (int, float)) and 1 <= n <= table_rows and word == f"n{int(n)}",
                     f"{sql}: row {row} is not a row of the table"):
            break


def writer(database, stop, commits):
    """Moves one unit of `amount` from the last row to the first and renames the first row,
    over and over, until told to stop: every committed state sums to 0."""
    db = sqlite3.connect(database, isolation_level=None, timeout=0)
    k = 0
    while not stop.is_set():
        k += 1
        try:
            db.execute("BEGIN IMMEDIATE")
            db.execute("UPDATE numbers SET amount = amount + 1, word = ? WHERE n = 1", (f"w{k}",))
            db.execute("UPDATE numbers SET amount = amount - 1 WHERE n = (SELECT max(n) FROM numbers)")
            db.execute("COMMIT")
            commits[0] += 1
        except sqlite3.OperationalError:
            if db.in_transaction:
                db.execute("ROLLBACK")
    db.close()


def main():
    tabulix = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory(prefix="tabulix-queries-") as folder:
        database = os.path.join(folder, "numbers.sqlite")
        make_numbers(database, 1000, "DELETE")
        output = os.path.join(folder, "out.xlsx")
        for sql in VARYING:
            said, rows = transfer(tabulix, database, sql, output)
            if said is not None:
                check_rows(sql, said, rows, 1000)
        said, rows = transfer(tabulix, database, VARYING[0], output, "--keep-rows-in-memory")
        if said is not None:
            check_rows("--keep-rows-in-memory", said, rows, 1000)

        for mode in ("WAL", "DELETE"):
            database = os.path.join(folder, f"busy-{mode}.sqlite")
            make_numbers(database, 100000, mode)
            stop, commits = threading.Event(), [0]
            thread = threading.Thread(target=writer, args=(database, stop, commits))
            thread.start()
            try:
                sql = "SELECT n, word, amount FROM numbers ORDER BY n"
                said, rows = transfer(tabulix, database, sql, output)
            finally:
                stop.set()
                thread.join()
            print(f"{mode}: {commits[0]} commits by the other connection")
            if said is None:
                continue
            check(said == 100000 and len(rows) == 100000,
                  f"{mode}: said {said} records, the sheet holds {len(rows)}, the table 100000")
            check([row[0] for row in rows] == list(range(1, 100001)), f"{mode}: the rows are not 1 to 100000")
            check(sum(row[2] for row in rows) == 0,
                  f"{mode}: the amounts sum to {sum(row[2] for row in rows)}: rows of two states")
            check(rows[0][1] == "n1" or re.fullmatch(r"w\d+", rows[0][1] or "") is not None,
                  f"{mode}: the first row reads {rows[0]}")

    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print(f"{len(VARYING) + 1} varying queries and 2 written-to databases transferred consistently")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
