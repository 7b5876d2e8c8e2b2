#!/usr/bin/env python3
"""Prints a 30-column report to PDF with LibreOffice and checks each page with pdftotext: with the
finish on, the report prints one page wide (every page holds the first and the last column) with
the title and heading rows and the footer's page numbers on every page; without it, the same
report needs pages side by side.

Usage: check_printed_report.py TABULIX SCRATCH_FOLDER [--application embedded|calc]

Exits 0 when every check passes, 1 otherwise, 77 when soffice or pdftotext is missing.
"""

import argparse
import os
import shutil
import sqlite3
import subprocess
import sys

COLUMNS = 30
ROWS = 150
TITLE = "INFORME ANCHO"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def make_database(path):
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    names = [f"COL{c:02d}" for c in range(1, COLUMNS + 1)]
    db.execute("CREATE TABLE ancho (" + ", ".join(f"{n} REAL" for n in names) + ")")
    db.executemany("INSERT INTO ancho VALUES (" + ", ".join("?" * COLUMNS) + ")",
                   [[row * 1000.0 + c for c in range(1, COLUMNS + 1)] for row in range(1, ROWS + 1)])
    db.commit()
    db.close()


def make_workbook(tabulix, folder, database, name, extra, application):
    workbook = os.path.join(folder, name + ".xlsx")
    command = [tabulix, "--sqlite", database, "--sql", "SELECT * FROM ancho", "--title", TITLE, "-o", workbook,
               "--application", application] + extra
    run = subprocess.run(command, capture_output=True, text=True, timeout=600)
    if run.returncode != 0:
        failures.append(f"{' '.join(command)} failed: {run.stderr.strip()}")
        return None
    return workbook


def print_to_pdf(folder, workbooks):
    """Every workbook printed by one LibreOffice run (its start-up is most of the time)."""
    profile = os.path.join(folder, "lo-profile")
    subprocess.run(["soffice", f"-env:UserInstallation=file://{profile}", "--headless", "--convert-to", "pdf",
                    "--outdir", folder] + workbooks, capture_output=True, text=True, timeout=600)


def pdf_pages(workbook):
    pdf = os.path.splitext(workbook)[0] + ".pdf"
    if not os.path.exists(pdf):
        failures.append(f"LibreOffice made no PDF of {workbook}")
        return []
    text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True, check=True).stdout
    pages = text.split("\f")
    if pages and not pages[-1].strip():
        pages.pop()
    return pages


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tabulix")
    parser.add_argument("folder")
    parser.add_argument("--application", default="embedded")
    args = parser.parse_args()
    if not shutil.which("soffice") or not shutil.which("pdftotext"):
        print("soffice or pdftotext is missing; skipping the check")
        return 77
    os.makedirs(args.folder, exist_ok=True)
    database = os.path.join(args.folder, "ancho.sqlite")
    make_database(database)

    workbooks = [make_workbook(args.tabulix, args.folder, database, name + "-" + args.application, extra,
                               args.application)
                 for name, extra in (("finished", ["--finished"]), ("plain", []))]
    if failures:
        return report()
    for workbook in workbooks:
        pdf = os.path.splitext(workbook)[0] + ".pdf"
        if os.path.exists(pdf):
            os.remove(pdf)
    print_to_pdf(args.folder, workbooks)
    finished, plain = (pdf_pages(workbook) for workbook in workbooks)
    if failures:
        return report()

    print(f"finished: {len(finished)} pages; without the finish: {len(plain)} pages")
    check(len(finished) >= 2, f"the finished report printed on {len(finished)} page(s); expected several pages down")
    for number, page in enumerate(finished, start=1):
        check("COL01" in page and "COL30" in page,
              f"page {number} does not hold the whole width (COL01 and COL30 headings): one page per width")
        check(TITLE in page, f"page {number} lacks the title row")
        check(f"P\u00e1gina {number} de {len(finished)}" in page, f"page {number} lacks 'P\u00e1gina {number} de {len(finished)}'")
    check(f"{ROWS * 1000 + COLUMNS:.2f}".replace(".", ",") in finished[-1] or str(ROWS * 1000 + COLUMNS) in finished[-1],
          "the last record's last value is not on the last page")
    check(any("COL30" not in page for page in plain),
          "without the finish every page already held the whole width: the check proves nothing")
    return report()


def report():
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("printed report: all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
