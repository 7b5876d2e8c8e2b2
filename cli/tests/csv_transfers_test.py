#!/usr/bin/env python3
"""The command on CSV files as users have them: a Spanish export (Windows-1252, semicolons,
decimal commas, a quoted line break), a UTF-8 file with its byte-order mark, a declared code page
and delimiter, and a damaged file, which fails naming line and column and writes nothing. The
workbooks are read back with openpyxl: numbers are numbers, dates are dates, texts are whole.

Usage: csv_transfers_test.py TABULIX
Exits 0 when all holds, 1 naming what failed, 77 when openpyxl is not installed.
"""

import datetime
import os
import subprocess
import sys
import tempfile

try:
    import openpyxl
except ImportError:
    print("openpyxl is not installed (Debian: python3-openpyxl); skipping")
    sys.exit(77)

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def run(tabulix, *args):
    return subprocess.run([tabulix, *args], capture_output=True, text=True, errors="replace")


def rows(path):
    sheet = openpyxl.load_workbook(path).active
    return [list(r) for r in sheet.iter_rows(values_only=True)]


def main():
    tabulix = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        spanish = os.path.join(folder, "ventas.csv")
        with open(spanish, "wb") as f:
            f.write("Código;Descripción;Importe;Fecha;Activo\r\n"
                    "A1;\"Camión\r\ngrande\";1234,5;2024-03-01;true\r\n"
                    "A2;\"Piñ\"\"ata\";-7,25;2024-12-31;false\r\n"
                    "A3;;;;\r\n".encode("cp1252"))
        out = os.path.join(folder, "ventas.xlsx")
        result = run(tabulix, "--csv", spanish, "--trace", "-o", out)
        check(result.returncode == 0, f"the Spanish file: exit {result.returncode}: {result.stderr[-500:]}")
        check("code page 1252 (detected" in result.stderr and "delimiter ; (detected)" in result.stderr,
              "--trace names the detected code page and delimiter")
        if os.path.exists(out):
            got = rows(out)
            check(got[0] == ["Código", "Descripción", "Importe", "Fecha", "Activo"], f"headings {got[0]}")
            check(got[1] == ["A1", "Camión\ngrande", 1234.5, datetime.datetime(2024, 3, 1), True], f"row 1 {got[1]}")
            check(got[2] == ["A2", "Piñ\"ata", -7.25, datetime.datetime(2024, 12, 31), False], f"row 2 {got[2]}")
            check(got[3] == ["A3", None, None, None, None], f"row 3 (empty values) {got[3]}")

        marked = os.path.join(folder, "marked.csv")
        with open(marked, "wb") as f:
            f.write(b"\xef\xbb\xbfname|amount\nZo\xc3\xab|1.5\n")
        out = os.path.join(folder, "marked.xlsx")
        result = run(tabulix, "--csv", marked, "--delimiter", "|", "-o", out)
        check(result.returncode == 0, f"the UTF-8 file: {result.stderr[-500:]}")
        if os.path.exists(out):
            check(rows(out) == [["name", "amount"], ["Zoë", 1.5]], f"the UTF-8 file's rows {rows(out)}")

        dos = os.path.join(folder, "dos.csv")
        with open(dos, "wb") as f:
            f.write("nombre\tciudad\nPeña\tMálaga\n".encode("cp850"))
        out = os.path.join(folder, "dos.xlsx")
        result = run(tabulix, "--csv", dos, "--code-page", "850", "--delimiter", "tab", "-o", out)
        check(result.returncode == 0 and rows(out)[1] == ["Peña", "Málaga"], f"code page 850: {result.stderr[-500:]}")

        damaged = os.path.join(folder, "damaged.csv")
        with open(damaged, "w") as f:
            f.write("a,b\n1,2\n3,\"4\"x\n")
        out = os.path.join(folder, "damaged.xlsx")
        result = run(tabulix, "--csv", damaged, "-o", out)
        check(result.returncode == 1, f"a damaged file exits with 1, not {result.returncode}")
        check("line 3, column 2 (b)" in result.stderr, f"the damage is named by line and column: {result.stderr}")
        check(not os.path.exists(out), "nothing is written for a damaged file")

    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
