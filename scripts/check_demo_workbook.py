#!/usr/bin/env python3
"""Checks the workbook that `tabulix demo/DemoTabulix.form` saves, as a spreadsheet program reads it.

Usage: check_demo_workbook.py [--title TITLE] WORKBOOK.xlsx

--title names the title the workbook must hold instead of the form's "ARTICULOS EMPRESA" (the
demonstration window transfers with its own title, "DATOS VENTAS").

Checks the merged title, fonts, fills, borders, number formats (the fields' display formats in
the file's notation, the price as a currency format), that every fitted column is at least as
wide as its contents, and that the summary formulas are stored with cached results equal to the
values computed from the data cells. Exits 0 when every check passes, 1 otherwise (listing each
failure), 77 when openpyxl is not installed (the test is then skipped).
"""

import argparse
import math
import re
import statistics
import subprocess
import sys
import zipfile

try:
    import openpyxl
except ImportError:
    print("openpyxl is not installed (Debian: python3-openpyxl); skipping the check")
    sys.exit(77)

FIRST_ROW, LAST_ROW = 3, 20
COLUMNS = "ABCDEFGHI"
MAX_DIGIT_WIDTH_PX = 7  # Calibri 11, the workbook's default font
CELL_PADDING_PX = 5

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def rgb(colour):
    """The colour's RRGGBB, or None when the file holds no explicit colour."""
    if colour is None or colour.type != "rgb" or not isinstance(colour.rgb, str):
        return None
    return colour.rgb[-6:].upper()


def check_font(cell, where, size, bold=False, italic=False, colour=None):
    font = cell.font
    check(font.name == "Tahoma", f"{where}: font {font.name!r}, expected Tahoma")
    check(font.sz is not None and math.isclose(font.sz, size), f"{where}: font size {font.sz}, expected {size}")
    check(bool(font.b) == bold, f"{where}: bold is {bool(font.b)}, expected {bold}")
    check(bool(font.i) == italic, f"{where}: italic is {bool(font.i)}, expected {italic}")
    if colour:
        check(rgb(font.color) == colour, f"{where}: font colour {rgb(font.color)}, expected {colour}")


def check_fill(cell, where, colour):
    fill = cell.fill
    check(fill.fill_type == "solid", f"{where}: fill {fill.fill_type!r}, expected solid")
    check(rgb(fill.fgColor) == colour, f"{where}: fill colour {rgb(fill.fgColor)}, expected {colour}")


def check_side(cell, where, side, style, colour=None):
    line = getattr(cell.border, side)
    check(line.style == style, f"{where}: {side} border {line.style!r}, expected {style!r}")
    if colour:
        check(rgb(line.color) == colour, f"{where}: {side} border colour {rgb(line.color)}, expected {colour}")


# --- Text widths, for the column check -------------------------------------------------------

_fonts = {}


def _font_file(bold):
    query = "Tahoma:bold" if bold else "Tahoma"
    try:
        return subprocess.run(["fc-match", "-f", "%{file}", query], capture_output=True, text=True,
                              check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return None


def text_pixels(text, points, bold):
    """Width of text at 96 dpi with the font the system uses for Tahoma; a low estimate when
    the font cannot be measured (half an em per character), so the check never fails wrongly."""
    pixels = points * 96 / 72
    key = (points, bold)
    if key not in _fonts:
        _fonts[key] = None
        try:
            from PIL import ImageFont
            path = _font_file(bold)
            if path:
                _fonts[key] = ImageFont.truetype(path, size=round(pixels))
        except (ImportError, OSError):
            pass
    font = _fonts[key]
    if font is None:
        return 0.45 * pixels * len(text)
    return font.getlength(text)


def shown_text(value, number_format):
    """A text the cell shows at least as long as (for the width check): numbers with two
    decimals and grouping, the currency with its symbol, Booleans as TRUE/FALSE."""
    if isinstance(value, bool):
        return "TRUE" if value else "FALSE"
    if isinstance(value, (int, float)):
        text = f"{value:,.2f}" if "0.00" in number_format else f"{value}"
        if "\u20ac" in number_format:
            text += " \u20ac"
        return text
    return "" if value is None else str(value)


def stored_width(ws, index):
    """The width the file stores for a column; a <col> element may cover several columns."""
    for dimension in list(ws.column_dimensions.values()):
        low, high = dimension.min or 0, dimension.max or 0
        if low <= index <= high and dimension.customWidth and dimension.width:
            return dimension.width
    return None


def column_pixels(width):
    return round(width * MAX_DIGIT_WIDTH_PX)


# --- The checks --------------------------------------------------------------------------------

def main(path, title="ARTICULOS EMPRESA"):
    formulas = openpyxl.load_workbook(path)
    cached = openpyxl.load_workbook(path, data_only=True)
    check(formulas.sheetnames[0] == "Ejemplo", f"first sheet {formulas.sheetnames[0]!r}, expected 'Ejemplo'")
    ws = formulas["Ejemplo"] if "Ejemplo" in formulas.sheetnames else formulas.worksheets[0]
    values = cached[ws.title]

    # Title, merged and centred across the data columns.
    check("A1:I1" in [str(r) for r in ws.merged_cells.ranges], f"merged ranges {ws.merged_cells.ranges}, expected A1:I1")
    check(ws["A1"].value == title, f"A1 is {ws['A1'].value!r}, expected {title!r}")
    check(ws["A1"].alignment.horizontal in ("center", "centerContinuous"),
          f"A1 alignment {ws['A1'].alignment.horizontal!r}, expected center")
    check_font(ws["A1"], "title A1", 20, bold=True, colour="008080")
    check_fill(ws["A1"], "title A1", "000000")
    check_side(ws["A1"], "title A1", "left", "thick", "800080")
    check_side(ws["I1"], "title I1", "right", "thick", "800080")
    for name in ("A1", "E1", "I1"):
        check_side(ws[name], f"title {name}", "top", "thick", "800080")
        check_side(ws[name], f"title {name}", "bottom", "thick", "800080")

    # Rows grow to their largest font: the 20-point title and the 12-point headings are not cut
    # by the standard 15-point row (LibreOffice Calc gives the headings 15), and no fitted height
    # is marked as set by hand.
    title_height = ws.row_dimensions[1].height
    heading_height = ws.row_dimensions[2].height
    check(title_height is not None and 24 <= title_height <= 27, f"title row height {title_height}, expected about 25")
    check(heading_height is not None and 15 <= heading_height <= 16.5,
          f"heading row height {heading_height}, expected about 15.75")
    with zipfile.ZipFile(path) as z:
        title_row = re.search(r'<row r="1"[^>]*>', z.read("xl/worksheets/sheet1.xml").decode())
    check(title_row is not None and not re.search(r'customHeight="(1|true)"', title_row.group(0)),
          f"the title row's fitted height is marked as set by hand: {title_row and title_row.group(0)}")

    # Headings.
    labels = ["C\u00f3digo Articulo", "Descripci\u00f3n", "Ventas Enero", "VENTAS_FEB", "VENTAS_MAR",
              "Estoc Actual", "Preu Venta", "Activo??", "Comentarios Varios"]
    for column, label in zip(COLUMNS, labels):
        cell = ws[f"{column}2"]
        check(cell.value == label, f"{column}2 is {cell.value!r}, expected {label!r}")
        check_font(cell, f"heading {column}2", 12, bold=True, italic=True, colour="FFFFFF")
        check_fill(cell, f"heading {column}2", "C0C0C0")

    # Data block: eighteen records, the outline thick, horizontal lines inside thin.
    check(ws[f"A{LAST_ROW}"].value not in (None, ""), f"A{LAST_ROW} is empty: fewer than 18 records")
    check(ws[f"A{LAST_ROW + 1}"].value in (None, ""), f"A{LAST_ROW + 1} holds {ws[f'A{LAST_ROW + 1}'].value!r}")
    for column in COLUMNS:
        check_font(ws[f"{column}{FIRST_ROW}"], f"data {column}{FIRST_ROW}", 10)
        check_side(ws[f"{column}{FIRST_ROW}"], f"data {column}{FIRST_ROW}", "top", "thick")
        check_side(ws[f"{column}{LAST_ROW}"], f"data {column}{LAST_ROW}", "bottom", "thick")
        inner = ws[f"{column}10"].border.top.style or ws[f"{column}9"].border.bottom.style
        check(inner == "thin", f"data {column}9/{column}10: inside line {inner!r}, expected thin")
    for row in (FIRST_ROW, 10, LAST_ROW):
        check_side(ws[f"A{row}"], f"data A{row}", "left", "thick")
        check_side(ws[f"I{row}"], f"data I{row}", "right", "thick")

    # Number formats in the file's notation, alignments from the fields.
    for column, expected in (("C", "###,###,##0.00"), ("D", "###,###,##0.00"), ("E", "###,###,##0.00"),
                             ("F", "###,##0.00")):
        for row in (FIRST_ROW, LAST_ROW):
            fmt = ws[f"{column}{row}"].number_format
            check(fmt == expected, f"{column}{row}: number format {fmt!r}, expected {expected!r}")
    price = ws[f"G{FIRST_ROW}"].number_format
    check("#,##0" in price and ('"' in price or "[$" in price),
          f"G{FIRST_ROW}: number format {price!r} is not a currency format with the symbol")
    check(ws[f"A{FIRST_ROW}"].alignment.horizontal == "right", "A3: the right-justified code is not right-aligned")
    check(ws[f"B{FIRST_ROW}"].alignment.horizontal == "left", "B3: the description is not left-aligned")
    check(ws[f"C{FIRST_ROW}"].alignment.horizontal == "right", "C3: the number is not right-aligned")

    # Summary formulas, their cached results, formats and captions.
    january = [values[f"C{r}"].value for r in range(FIRST_ROW, LAST_ROW + 1)]
    sums = {c: sum(values[f"{c}{r}"].value or 0 for r in range(FIRST_ROW, LAST_ROW + 1)) for c in "CDE"}
    total = sums["C"] + sums["D"] + sums["E"]
    expected = {
        "C21": ("=SUM(C3:C20)", sums["C"]),
        "D21": ("=SUM(D3:D20)", sums["D"]),
        "E21": ("=SUM(E3:E20)", sums["E"]),
        "E23": ("=(C21+D21+E21)", total),
        "E24": ("=E23*1.16", total * 1.16),
        "E25": ("=STDEV(C3:C20)", statistics.stdev(january)),
    }
    for name, (formula, result) in expected.items():
        check(ws[name].value == formula, f"{name}: formula {ws[name].value!r}, expected {formula!r}")
        got = values[name].value
        # A formula saved without a calculated result reads back as nothing or as 0.
        if got is None or (got == 0 and result != 0):
            failures.append(f"{name}: no calculated result stored with the formula ({got!r} where {result!r} "
                            f"is expected)")
        else:
            check(isinstance(got, (int, float)) and math.isclose(got, result, rel_tol=1e-9, abs_tol=1e-6),
                  f"{name}: cached result {got!r}, expected {result!r}")
        check_font(ws[name], f"result {name}", 12, bold=True, colour="FFFFFF")
        check_fill(ws[name], f"result {name}", "000000")
        check(ws[name].number_format == "###,###,##0.00",
              f"{name}: number format {ws[name].number_format!r}, expected the field's")
    captions = {"B21": "TOTAL VENTAS MENSUALES:", "D23": "TOTAL VENTAS:", "D24": "TOTAL VENTAS CON IVA:",
                "D25": "Desviaci\u00f3n Estandard Ventas Enero:"}
    for name, text in captions.items():
        check(ws[name].value == text, f"{name}: caption {ws[name].value!r}, expected {text!r}")
        check(ws[name].alignment.horizontal == "right", f"{name}: caption alignment {ws[name].alignment.horizontal!r}")
        check_font(ws[name], f"caption {name}", 12)

    # Fitted columns hold their headings, data and (widen-only) results.
    for index, column in enumerate(COLUMNS, start=1):
        width = stored_width(ws, index)
        if width is None:
            failures.append(f"column {column}: no fitted width stored")
            continue
        needed = text_pixels(str(ws[f"{column}2"].value), 12, True)
        widest = f"{column}2"
        cells = [(f"{column}{r}", 10, False) for r in range(FIRST_ROW, LAST_ROW + 1)]
        if column in "CDE":
            cells += [(f"{column}21", 12, True)]
        if column == "E":
            cells += [("E23", 12, True), ("E24", 12, True), ("E25", 12, True)]
        for name, points, bold in cells:
            text = shown_text(values[name].value, ws[name].number_format)
            pixels = text_pixels(text, points, bold)
            if pixels > needed:
                needed, widest = pixels, name
        have = column_pixels(width) - CELL_PADDING_PX
        # Measuring tools differ a little (hinting, kerning): allow 2 px or 2 %.
        slack = max(2.0, 0.02 * needed)
        check(have + slack >= needed, f"column {column}: width {width} ({have} px for text) is narrower than "
                                      f"{widest} needs ({needed:.0f} px)")

    if failures:
        print(f"{path}: {len(failures)} check(s) failed:")
        for failure in failures:
            print("  " + failure)
        return 1
    print(f"{path}: the demonstration workbook is as expected")
    return 0


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--title", default="ARTICULOS EMPRESA", help="the title expected in A1")
    parser.add_argument("workbook")
    arguments = parser.parse_args()
    sys.exit(main(arguments.workbook, arguments.title))
