#!/usr/bin/env python3
"""Checks that a workbook saved by `tabulix --sqlite DB --sql "SELECT * FROM TABLE"` holds every
row of the table.

Usage: check_sqlite_workbook.py DB.sqlite TABLE WORKBOOK.xlsx [--first-row N]

Reads the workbook with openpyxl (streaming, so a million rows fit in little memory) and the
table's rows with Python's sqlite3, and compares them cell by cell from --first-row (2: the
heading row first, no title): texts equal, numbers equal to the last bit, columns declared
BOOLEAN as Booleans, NULL as an empty cell. The heading row must name the columns. Exits 0 when
all is equal, 1 with the first differences otherwise, 77 when openpyxl is not installed.
"""

import argparse
import sqlite3
import sys

try:
    import openpyxl
except ImportError:
    print("openpyxl is not installed (Debian: python3-openpyxl); skipping the check")
    sys.exit(77)


def is_number(value):
    return isinstance(value, (int, float)) and not isinstance(value, bool)


def same(cell, want):
    # A file holds numbers without a kind: openpyxl reads 19865.0 back as 19865.
    if is_number(cell) and is_number(want):
        return float(cell) == float(want)
    return cell == want and type(cell) is type(want)


def expected_value(value, declared):
    if value is None:
        return None
    if "BOOL" in (declared or "").upper():
        return bool(value)
    return value


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("database")
    parser.add_argument("table")
    parser.add_argument("workbook")
    parser.add_argument("--first-row", type=int, default=2)
    args = parser.parse_args()

    connection = sqlite3.connect(f"file:{args.database}?mode=ro", uri=True)
    quoted = '"' + args.table.replace('"', '""') + '"'
    declared = [row[2] for row in connection.execute(f"PRAGMA table_info({quoted})")]
    cursor = connection.execute(f"SELECT * FROM {quoted}")
    names = [d[0] for d in cursor.description]

    sheet = openpyxl.load_workbook(args.workbook, read_only=True).active
    rows = sheet.iter_rows(min_row=args.first_row - 1, values_only=True)
    failures = []
    heading = next(rows)
    if list(heading[: len(names)]) != names:
        failures.append(f"heading row {list(heading)} does not name the columns {names}")
    count = 0
    for count, record in enumerate(cursor, start=1):
        cells = next(rows, None)
        if cells is None:
            failures.append(f"the workbook ends before record {count}")
            break
        for column, (value, cell) in enumerate(zip(record, cells)):
            want = expected_value(value, declared[column])
            if not same(cell, want):
                failures.append(f"record {count}, column {names[column]}: workbook {cell!r}, query {want!r}")
        if len(failures) >= 10:
            break
    extra = next(rows, None)
    if extra is not None and any(v is not None for v in extra) and len(failures) < 10:
        failures.append(f"the workbook holds more rows than the query's {count}")
    for failure in failures:
        print(failure)
    print(f"{count} records compared, {len(failures)} differences")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
