#!/usr/bin/python3
"""Makes the same reports through the embedded spreadsheet and through LibreOffice Calc, and
compares each pair with compare_workbooks.py.

Usage: calc_compare_reports.py --tabulix BIN --chart-report BIN --demo DIR [--keep DIR]

The reports:
  demo      the demonstration's form (Demo.DBF)
  kinds     an SQLite table of the nine kinds of field the command reads (text, integer, real,
            currency, Boolean, date, time, date and time, bytes), with NULLs, empty texts,
            extreme numbers and dates, texts that begin with "=", and a text wider than a
            column can be
  formulas  the demonstration's form with formula records of every function (sum, average,
            maximum, minimum, own formula), every caption position and alignment, framed cells
            that share edges, number formats in the English notation, and an unmerged title
            wider than its column
  charts    a chart sheet of each of the thirteen kinds, and charts with two lines of category
            labels and of series names (calc_chart_report)
--keep DIR keeps the workbooks there. Exits 0 when every difference is explained, 1 otherwise,
77 when soffice or openpyxl is missing.
"""

import argparse
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
try:
    import compare_workbooks
except SystemExit as skipped:  # openpyxl is missing
    sys.exit(skipped.code)

SKIP = 77

KINDS_TABLE = """
CREATE TABLE kinds (texto TEXT, entero INTEGER, real REAL, importe MONEY, activo BOOLEAN,
                    fecha DATE, hora TIME, momento DATETIME, datos BLOB);
INSERT INTO kinds VALUES ('Art\u00edculo \u00f1', 1, 1.5, 10.25, 1, '2024-02-29', '08:30:00', '2024-02-29 08:30:00', x'00ff10');
INSERT INTO kinds VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
INSERT INTO kinds VALUES ('', 0, 0.0, 0, 0, '1900-01-01', '00:00:00', '1900-01-01 00:00:00', x'');
INSERT INTO kinds VALUES ('=SUM(A1:A2)', 9223372036854775807, 1.7976931348623157e308, 922337203685477.5807, 1,
                          '1800-01-01', '23:59:59', '1800-01-01 23:59:59', x'41');
INSERT INTO kinds VALUES ('-', -9223372036854775808, -2.2250738585072014e-308, -922337203685477.5808, 0,
                          '9999-12-31', '12:00:00', '9999-12-31 12:00:00', NULL);
INSERT INTO kinds VALUES ('0.1 + 0.2', 2147483648, 0.30000000000000004, 0.01, 1, '2000-01-01', '00:00:01',
                          '2000-01-01 00:00:01', x'e282ac');
"""

# One record of each function, each caption position and each caption alignment; the first
# two right under the data block, whose lower edge their cells share.
FORMULA_RECORDS = [
    "VENTAS_ENE;0;C;1;Total enero:;0;2;",
    "STOC_ACT;2;F;1;;0;0;",
    "VENTAS_ENE;0;C;2;Suma a la izquierda:;0;0;",
    "VENTAS_FEB;1;D;2;Promedio a la derecha;1;1;",
    "VENTAS_MAR;2;E;4;Maximo arriba;2;2;",
    "STOC_ACT;3;F;4;Minimo abajo;3;0;",
    "PVP;4;G;7;Propia:;0;1;=#T_PVP#*2",
    "PVP;4;H;7;Sobre otras:;2;2;=(#F01#+#F02#)/#F05#",
    "VENTAS_ENE;4;C;9;Desviacion:;0;2;=STDEV(#T_VENTAS_ENE#)",
]


def run(command, env, what):
    result = subprocess.run(command, env=env, cwd=os.path.dirname(command[-1]), capture_output=True, text=True,
                            timeout=600)
    if "soffice was not found" in result.stderr:
        print("soffice is not installed; skipping:", result.stderr.strip())
        sys.exit(SKIP)
    if result.returncode != 0:
        raise RuntimeError(f"{what}: {' '.join(command)} exited with {result.returncode}: {result.stderr.strip()}")


def formulas_form(demo_form, folder):
    with open(demo_form, encoding="latin-1") as f:
        form = f.read()
    records = "\n".join(f"      '{record}'" for record in FORMULA_RECORDS)
    form, count = re.subn(r"Formulas\.Strings = \(.*?\)\n", f"Formulas.Strings = (\n{records})\n", form, flags=re.S)
    form, merged = re.subn(r"TituloCombinarCentrar = True", "TituloCombinarCentrar = False", form)
    form = form.replace("Titulo = 'ARTICULOS EMPRESA'", "Titulo = 'ARTICULOS DE LA EMPRESA, SIN COMBINAR'")
    # Number formats sent in the English notation.
    form = form.replace("    Datos = Taula\n", "    Datos = Taula\n    ComaEsDecimal = False\n")
    # Results and captions framed in red: their edges meet the data block's and each other's.
    for part in ("FormulasFormatoResultado", "FormulasFormatoLiteral"):
        form = form.replace(f"{part}.LiniasContorno = []",
                            f"{part}.LiniasContorno = [lcIzquierda, lcDerecha, lcSuperior, lcInferior]\n"
                            f"    {part}.LiniasContornoGrosor = glMedia\n    {part}.LiniasContornoColor = clRed")
        form = form.replace(f"    {part}.LiniasContornoColor = clBlack\n", "")
    if count != 1 or merged != 1:
        raise RuntimeError("the demonstration's form has changed: its formula list or title setting was not found")
    path = os.path.join(folder, "Formulas.form")
    with open(path, "w", encoding="latin-1") as f:
        f.write(form)
    return path


def make_reports(args, folder):
    """(name, embedded workbook, Calc workbook) for each report."""
    for name in ("DemoTabulix.form", "Demo.DBF"):
        shutil.copy(os.path.join(args.demo, name), folder)
    database = os.path.join(folder, "kinds.sqlite")
    if os.path.exists(database):
        os.remove(database)
    with sqlite3.connect(database) as connection:
        connection.executescript(KINDS_TABLE)
        wide = "una columna no puede ser tan ancha " * 12
        connection.execute("INSERT INTO kinds (texto, entero) VALUES (?, 7)", (wide,))
    sources = {
        "demo": [os.path.join(folder, "DemoTabulix.form")],
        "kinds": ["--sqlite", database, "--sql", "SELECT * FROM kinds", "--title", "TIPOS DE CAMPO"],
        "formulas": [formulas_form(os.path.join(folder, "DemoTabulix.form"), folder)],
    }
    pairs = []
    for name, source in sources.items():
        outputs = []
        for application in ("embedded", "calc"):
            output = os.path.join(folder, f"{name}-{application}.xlsx")
            env = dict(os.environ, TABULIX_APPLICATION=application)
            run([args.tabulix, *source, "-o", output], env, name)
            outputs.append(output)
        pairs.append((name, *outputs))
    outputs = []
    for application in ("embedded", "calc"):
        output = os.path.join(folder, f"charts-{application}.xlsx")
        run([args.chart_report, application, output], dict(os.environ), "charts")
        outputs.append(output)
    pairs.append(("charts", *outputs))
    return pairs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tabulix", required=True)
    parser.add_argument("--chart-report", required=True)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--keep")
    args = parser.parse_args()
    args.tabulix, args.chart_report = os.path.abspath(args.tabulix), os.path.abspath(args.chart_report)
    folder = os.path.abspath(args.keep) if args.keep else tempfile.mkdtemp(prefix="calc-compare-")
    os.makedirs(folder, exist_ok=True)
    try:
        unexplained = 0
        for name, embedded, calc in make_reports(args, folder):
            print(f"== {name}")
            unexplained += compare_workbooks.report(compare_workbooks.compare(embedded, calc))
        print(f"== {unexplained} unexplained difference(s) in all")
        return 1 if unexplained else 0
    finally:
        if not args.keep:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
