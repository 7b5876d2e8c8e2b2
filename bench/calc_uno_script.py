#!/usr/bin/python3
"""A table put into LibreOffice Calc the way a user writes it by hand over Python-UNO: the
yardstick of calc_transfer_bench.

Usage: calc_uno_script.py --records N --output FILE.xlsx [--soffice PATH]

It starts a headless soffice of its own (a private profile in a temporary folder), makes a
workbook, writes a title, bold headings and N records of nine columns (the benchmark's data: two
texts, five numbers, a Boolean, a text) with one setDataArray per block of rows, gives each
number column its format, fits the column widths, saves the workbook as .xlsx and ends soffice.
Prints the seconds of each step.
"""

import argparse
import math
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException
from com.sun.star.lang import Locale

BLOCK = 1000
HEADINGS = ["COD_ARTI", "DESC_ARTI", "VENTAS_ENE", "VENTAS_FEB", "VENTAS_MAR", "STOC_ACT", "PVP", "ACTIVO", "OTROS"]
FORMATS = {2: "#,##0.00", 3: "#,##0.00", 4: "#,##0.00", 5: "#,##0.00", 6: "#,##0.00 [$\u20ac-C0A]", 7: "BOOLEAN"}


def record(i):
    """The benchmark's record i (the same values as calc_transfer_bench's data set; setDataArray
    takes numbers and texts only, so the Boolean is a number with the Boolean format)."""
    x = math.fmod(i * 7919.37, 50000.0)
    return ("A" + str(100000 + i), "Articulo " + str(i), x, x / 2, x / 3, float(i % 500), round(x) / 100.0,
            1.0 if i % 3 != 0 else 0.0, "Lote " + str(i % 97))


def prop(name, value):
    return PropertyValue(name, 0, value, 0)


def connect(pipe, process, limit=90.0):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.monotonic() + limit
    while True:
        try:
            return resolver.resolve(f"uno:pipe,name={pipe};urp;StarOffice.ComponentContext")
        except NoConnectException:
            if process.poll() is not None and process.returncode != 81:  # 81: a fresh profile's restart
                raise RuntimeError(f"soffice ended with {process.returncode} during start-up")
            if time.monotonic() > deadline:
                raise RuntimeError("soffice accepted no connection")
            time.sleep(0.1)


def suite_pipes():
    prefix = f"OSL_PIPE_{os.getuid()}_"
    return {os.path.join("/tmp", name) for name in os.listdir("/tmp") if name.startswith(prefix)}


def remove_stale_pipes(before):
    """soffice leaves its pipes in /tmp; those that appeared during the run and that nothing
    listens on any more are its own."""
    for path in suite_pipes() - before:
        with socket.socket(socket.AF_UNIX) as probe:
            try:
                probe.connect(path)
            except ConnectionRefusedError:
                os.remove(path)
            except OSError:
                pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--records", type=int, required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("--soffice", default=os.environ.get("TABULIX_SOFFICE") or "soffice")
    args = parser.parse_args()
    steps = []
    started = time.monotonic()

    def step(name):
        nonlocal started
        now = time.monotonic()
        steps.append(f"{name} {now - started:.2f} s")
        started = now

    pipes_before = suite_pipes()
    folder = tempfile.mkdtemp(prefix="calc-uno-script-")
    pipe = "calc-uno-script-" + str(os.getpid())
    command = [args.soffice, "--headless", "--invisible", "--nologo", "--norestore", "--nodefault", "--nolockcheck",
               "-env:UserInstallation=" + uno.systemPathToFileUrl(os.path.join(folder, "profile")),
               f"--accept=pipe,name={pipe};urp;StarOffice.ComponentContext"]
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               env=dict(os.environ, TMPDIR=folder))
    try:
        context = connect(pipe, process)
        desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
        step("start")
        document = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))
        sheet = document.Sheets.getByIndex(0)
        sheet.Name = "Ejemplo"
        sheet.getCellByPosition(0, 0).String = "ARTICULOS EMPRESA"
        sheet.getCellByPosition(0, 0).CharWeight = 150.0
        headings = sheet.getCellRangeByPosition(0, 1, len(HEADINGS) - 1, 1)
        headings.setDataArray((tuple(HEADINGS),))
        headings.CharWeight = 150.0
        first = 2
        for start in range(0, args.records, BLOCK):
            rows = tuple(record(i) for i in range(start, min(start + BLOCK, args.records)))
            sheet.getCellRangeByPosition(0, first + start, len(HEADINGS) - 1, first + start + len(rows) - 1) \
                .setDataArray(rows)
        last = first + args.records - 1
        formats = document.NumberFormats
        locale = Locale()
        for column, code in FORMATS.items():
            key = formats.queryKey(code, locale, False)
            if key == -1:
                key = formats.addNew(code, locale)
            sheet.getCellRangeByPosition(column, first, column, last).NumberFormat = key
        columns = sheet.Columns
        for column in range(len(HEADINGS)):
            columns.getByIndex(column).OptimalWidth = True
        step("table")
        document.storeToURL(uno.systemPathToFileUrl(os.path.abspath(args.output)),
                            (prop("FilterName", "Calc MS Excel 2007 XML"),))
        step("save")
        document.close(True)
        try:
            desktop.terminate()
        except Exception:  # the bridge goes with soffice
            pass
    finally:
        try:
            process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        shutil.rmtree(folder, ignore_errors=True)
        remove_stale_pipes(pipes_before)
    step("end")
    print("script:", ", ".join(steps))
    return 0


if __name__ == "__main__":
    sys.exit(main())
