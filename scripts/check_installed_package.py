#!/usr/bin/env python3
"""Runs the guide's walk-through on a fresh installation and checks what it installed and wrote.

Usage: check_installed_package.py SOURCE_DIR BUILD_DIR WORK_DIR

1. Runs the shell blocks of docs/guide.md as they stand (check_guide.py --run) with WORK_DIR as
   the working folder and HOME: they install the build into $HOME/tabulix, run the installed
   command, make the examples' database, configure the two programs of examples/ as separate
   projects with only -DCMAKE_PREFIX_PATH, build and run them, and build one again through
   pkg-config.
2. Checks what went where: the library, the CMake package, tabulix.pc, the programs, the
   demonstration's files; every installed header, the umbrella header among them, compiles with
   only the prefix on the include path (so no installed header needs one that stays behind).
3. Checks the workbooks the walk-through saved with openpyxl.

Exits 0 when everything passes, 1 otherwise, 77 when openpyxl is missing.
"""

import os
import shutil
import subprocess
import sys
import zipfile
from pathlib import Path

try:
    import openpyxl
except ImportError:
    print("openpyxl is not installed (Debian: python3-openpyxl); skipping the check")
    sys.exit(77)

sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_guide  # noqa: E402

SOURCE, BUILD, WORK = (Path(a).resolve() for a in sys.argv[1:4])
PREFIX = WORK / "tabulix"  # where the guide installs: $HOME/tabulix
BUILT_PROGRAMS = {
    "demo/PDemoTabulix": "bin/PDemoTabulix",
    "ui/tabulix-view": "bin/tabulix-view",
    "design/tabulix-designer": "bin/tabulix-designer",
    "design/libPackTabulix.so": "LIBDIR/tabulix/libPackTabulix.so",
}
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


def check_tree():
    packages = list((PREFIX / "lib").rglob("cmake/Tabulix"))
    if not check(len(packages) == 1, f"the CMake package is not installed once: {packages}"):
        return
    libdir = packages[0].parent.parent
    for name in ("TabulixConfig.cmake", "TabulixConfigVersion.cmake", "TabulixTargets.cmake"):
        check((libdir / "cmake/Tabulix" / name).is_file(), f"lib/cmake/Tabulix/{name} is not installed")
    check((libdir / "pkgconfig/tabulix.pc").is_file(), "tabulix.pc is not installed")
    check((libdir / "libtabulix.so.1").is_file(), "lib/libtabulix.so.1 is not installed")
    check(not list(libdir.glob("libtabulix_*")), f"the layers' own libraries are installed: {list(libdir.glob('libtabulix_*'))}")
    check(os.access(PREFIX / "bin/tabulix", os.X_OK), "bin/tabulix is not installed")
    for built, installed in BUILT_PROGRAMS.items():  # the Qt programs, when this build has them
        installed = installed.replace("LIBDIR", str(libdir.relative_to(PREFIX)))
        if (BUILD / built).is_file():
            check((PREFIX / installed).is_file(), f"{installed} is not installed")
    for name in ("Demo.DBF", "DemoTabulix.form"):
        check((PREFIX / "share/tabulix/demo" / name).is_file(), f"share/tabulix/demo/{name} is not installed")

    headers = sorted((PREFIX / "include").rglob("*.h"))
    check(PREFIX / "include/tabulix/tabulix.h" in headers, "the umbrella header tabulix/tabulix.h is not installed")
    check(all(h.is_relative_to(PREFIX / "include/tabulix") for h in headers), "headers outside include/tabulix")
    for internal in ("spreadsheet/model/workbook.h", "spreadsheet/formula/formula.h", "data/dbf_reader.h",
                     "component/cell_names.h", "framework/form_notation.h"):
        check(not (PREFIX / "include/tabulix" / internal).exists(), f"the internal header {internal} is installed")
    # Every installed header in one translation unit, with only the prefix on the include path:
    # a header that needs one that stays behind does not compile.
    probe = WORK / "all_headers.cpp"
    probe.write_text("".join(f"#include <{h.relative_to(PREFIX / 'include').as_posix()}>\n" for h in headers))
    try:
        run(["g++", "-std=c++20", "-fsyntax-only", "-Wall", "-Wextra", f"-I{PREFIX / 'include'}", probe])
    except RuntimeError as e:
        failures.append(f"the installed headers do not compile with only the prefix: {e}")


def check_designer_finds_its_package():
    """The installed designer loads the installed PackTabulix (LIBDIR/tabulix/) on its own."""
    designer = PREFIX / "bin/tabulix-designer"
    if not designer.exists():
        return
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    try:
        palette = run([designer, "--list-palette"], env=env)
        check("Tabulix: TTabulix" in palette, f"the installed designer's palette: {palette!r}")
    except RuntimeError as e:
        failures.append(f"the installed designer: {e}")


def check_sqlite_report():
    output = WORK / "ventas.xlsx"
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


def check_demo_workbook(output):
    result = subprocess.run([sys.executable, SOURCE / "scripts/check_demo_workbook.py", output],
                            capture_output=True, text=True)
    check(result.returncode == 0, f"{output.name}: {result.stdout}{result.stderr}")


def main():
    if WORK.exists():
        shutil.rmtree(WORK)
    WORK.mkdir(parents=True)
    failures.extend(check_guide.run_blocks(SOURCE / "docs/guide.md", BUILD, WORK))
    if failures:  # the installation and the workbooks below are the walk-through's
        return report()
    check_tree()
    check_designer_finds_its_package()
    check_sqlite_report()
    check_demo_workbook(WORK / "DemoTabulix.xlsx")  # the installed command
    check_demo_workbook(WORK / "DemoForm.xlsx")     # form_report, built with CMake
    check_demo_workbook(WORK / "demo.xlsx")         # form_report, built with pkg-config
    return report()


def report():
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
