#!/usr/bin/env python3
"""Installs the build into a temporary prefix and uses it as a developer would.

Usage: check_installed_package.py SOURCE_DIR BUILD_DIR WORK_DIR

1. `cmake --install BUILD_DIR --prefix WORK_DIR/prefix`, and checks what went where: the
   libraries, the CMake package, tabulix.pc, the tabulix command, the demonstration's files;
   every installed header compiles on its own with only the prefix on the include path (so no
   installed header needs one that stays behind).
2. Configures the two programs of examples/ as separate projects with only
   -DCMAKE_PREFIX_PATH=prefix, builds and runs them, and checks their workbooks with openpyxl.
3. Builds one example again from the command line through `pkg-config --cflags --libs tabulix`.

Exits 0 when everything passes, 1 otherwise, 77 when openpyxl is missing.
"""

import os
import shutil
import sqlite3
import subprocess
import sys
import zipfile
from pathlib import Path

try:
    import openpyxl
except ImportError:
    print("openpyxl is not installed (Debian: python3-openpyxl); skipping the check")
    sys.exit(77)

SOURCE, BUILD, WORK = (Path(a).resolve() for a in sys.argv[1:4])
PREFIX = WORK / "prefix"
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(command, cwd=None, env=None):
    """Runs a command; returns its output, or raises with the output when it fails."""
    result = subprocess.run(command, cwd=cwd, env=env, capture_output=True, text=True)
    if result.returncode != 0:
        raise RuntimeError(f"{' '.join(map(str, command))} exited with {result.returncode}:\n"
                           f"{result.stdout}\n{result.stderr}")
    return result.stdout


def compiler_launcher():
    return ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []


def check_tree():
    libdir = next(PREFIX.glob("lib*/cmake/Tabulix")).parent.parent
    for name in ("TabulixConfig.cmake", "TabulixConfigVersion.cmake", "TabulixTargets.cmake"):
        check((libdir / "cmake/Tabulix" / name).is_file(), f"lib/cmake/Tabulix/{name} is not installed")
    check((libdir / "pkgconfig/tabulix.pc").is_file(), "tabulix.pc is not installed")
    for layer in ("framework", "automation", "spreadsheet", "data", "component"):
        check(list(libdir.glob(f"libtabulix_{layer}.*")), f"the {layer} library is not installed")
    check(os.access(PREFIX / "bin/tabulix", os.X_OK), "bin/tabulix is not installed")
    for name in ("Demo.DBF", "DemoTabulix.form"):
        check((PREFIX / "share/tabulix/demo" / name).is_file(), f"share/tabulix/demo/{name} is not installed")

    headers = sorted((PREFIX / "include").rglob("*.h"))
    check(all(h.is_relative_to(PREFIX / "include/tabulix") for h in headers), "headers outside include/tabulix")
    for internal in ("spreadsheet/workbook.h", "spreadsheet/formula/formula.h", "data/dbf_reader.h",
                     "component/cell_names.h", "framework/form_notation.h"):
        check(not (PREFIX / "include/tabulix" / internal).exists(), f"the internal header {internal} is installed")
    # Each header alone in a translation unit, all in one compiler run.
    probe = WORK / "headers"
    probe.mkdir()
    sources = []
    for i, header in enumerate(headers):
        source = probe / f"h{i}.cpp"
        source.write_text(f"#include <{header.relative_to(PREFIX / 'include').as_posix()}>\n")
        sources.append(str(source))
    try:
        run(["g++", "-std=c++20", "-fsyntax-only", "-Wall", "-Wextra", f"-I{PREFIX / 'include'}", *sources])
    except RuntimeError as e:
        failures.append(f"an installed header does not compile on its own: {e}")
    return libdir


def build_example(name):
    source, build = SOURCE / "examples" / name, WORK / name
    run(["cmake", "-S", source, "-B", build, "-G", "Ninja", f"-DCMAKE_PREFIX_PATH={PREFIX}",
         "-DCMAKE_BUILD_TYPE=Release", *compiler_launcher()])
    run(["cmake", "--build", build, "-j", "2"])
    return build / name


def check_sqlite_report(program):
    database = WORK / "ventas.sqlite"
    with sqlite3.connect(database) as connection:
        connection.executescript((SOURCE / "examples/sqlite_report/ventas.sql").read_text())
    output = WORK / "ventas.xlsx"
    printed = run([program, database, output])
    check("rows 3 to 6" in printed, f"sqlite_report printed {printed!r}")

    book = openpyxl.load_workbook(output)
    sheet = book["Ventas"]
    check(sheet["A1"].value == "VENTAS POR REGIÓN", f"title {sheet['A1'].value!r}")
    check(sheet["A1"].font.b and sheet["A1"].font.sz == 16, "the title is not bold 16 points")
    check([c.value for c in sheet[2]][:3] == ["REGION", "ENERO", "FEBRERO"] or
          [str(c.value).upper() for c in sheet[2]][:3] == ["REGION", "ENERO", "FEBRERO"],
          f"headings {[c.value for c in sheet[2]][:3]}")
    check(sheet["A2"].fill.fill_type == "solid" and sheet["A2"].fill.fgColor.rgb[-6:] == "C0C0C0",
          "the headings have no silver background")
    check([sheet[f"A{r}"].value for r in range(3, 7)] == ["Este", "Norte", "Oeste", "Sur"],
          f"regions {[sheet[f'A{r}'].value for r in range(3, 7)]}")
    check(sheet["A3"].border.left.style is not None and sheet["C6"].border.bottom.style is not None,
          "the data block has no outline")
    check(sheet["C7"].value == "=SUM(B3:B6)+SUM(C3:C6)", f"C7 holds {sheet['C7'].value!r}")
    check(sheet["C8"].value == "=C7*1.21", f"C8 holds {sheet['C8'].value!r}")
    check(sheet["B7"].value == "TOTAL:" and sheet["B8"].value == "CON IVA:",
          f"captions {sheet['B7'].value!r}, {sheet['B8'].value!r}")
    values = openpyxl.load_workbook(output, data_only=True)["Ventas"]
    total = 1250.50 + 980.25 + 1432.00 + 760.80 + 1310.00 + 1022.75 + 1398.40 + 845.10
    check(values["C7"].value is not None and abs(values["C7"].value - total) < 1e-6,
          f"C7's result {values['C7'].value}, expected {total}")
    check(values["C8"].value is not None and abs(values["C8"].value - total * 1.21) < 1e-6,
          f"C8's result {values['C8'].value}, expected {total * 1.21}")
    check("Grafico" in book.sheetnames, f"no chart sheet: {book.sheetnames}")
    with zipfile.ZipFile(output) as package:
        charts = [n for n in package.namelist() if n.startswith("xl/charts/chart")]
        check(len(charts) == 1, f"chart parts {charts}")
        if charts:
            xml = package.read(charts[0]).decode()
            check("<c:barChart>" in xml and xml.count("<c:ser>") == 2, "the chart is not two column series")


def check_form_report(program):
    output = WORK / "DemoTabulix.xlsx"
    printed = run([program, PREFIX / "share/tabulix/demo/DemoTabulix.form", "de", output])
    check("rows 3 to 20, 6 formula records" in printed, f"form_report printed {printed!r}")
    result = subprocess.run([sys.executable, SOURCE / "scripts/check_demo_workbook.py", output],
                            capture_output=True, text=True)
    check(result.returncode == 0, f"form_report's workbook: {result.stdout}{result.stderr}")


def check_pkg_config(libdir):
    env = dict(os.environ, PKG_CONFIG_PATH=str(libdir / "pkgconfig"))
    flags = run(["pkg-config", "--cflags", "--libs", "tabulix"], env=env).split()
    program = WORK / "form_report_pc"
    run(["g++", "-std=c++20", "-o", program, SOURCE / "examples/form_report/form_report.cpp", *flags])
    output = WORK / "pc.xlsx"
    run([program, PREFIX / "share/tabulix/demo/DemoTabulix.form", "de", output])
    check(output.is_file(), "the program built through pkg-config saved nothing")


def main():
    if WORK.exists():
        shutil.rmtree(WORK)
    WORK.mkdir(parents=True)
    run(["cmake", "--install", BUILD, "--prefix", PREFIX])
    libdir = check_tree()
    check_sqlite_report(build_example("sqlite_report"))
    check_form_report(build_example("form_report"))
    check_pkg_config(libdir)

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failure(s)" if failures else "the installed package works")
    return 1 if failures else 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except RuntimeError as e:
        print("FAIL:", e)
        sys.exit(1)
