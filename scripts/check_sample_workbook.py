#!/usr/bin/python3
"""Opens the sample report workbook with openpyxl and checks what the sample program put in it:
values, formulas, fonts, fills, borders, merges, number formats (in the file's notation),
column widths, sheet order and the active sheet. Usage: check_sample_workbook.py FILE.xlsx"""

import datetime
import sys

import openpyxl


def file_width(width, digit=7, padding=5):
    """The width the file stores for a column width, with the default font's 7-pixel digits."""
    pixels = int(width * digit + 0.5) + padding
    return int(pixels / digit * 256) / 256


def main(path):
    failures = []

    def check(what, actual, expected):
        if actual != expected:
            failures.append(f"{what}: expected {expected!r}, got {actual!r}")

    wb = openpyxl.load_workbook(path)
    check("sheet order", wb.sheetnames, ["Gráfico de ventas", "Notas", "Ventas"])
    chart_sheet = wb["Gráfico de ventas"]
    check("chart sheet kind", type(chart_sheet).__name__, "Chartsheet")
    check("active sheet", wb.active.title, "Ventas")
    ws = wb["Ventas"]

    check("title", ws["A1"].value, "Informe de ventas")
    check("title merge", [str(r) for r in ws.merged_cells.ranges], ["A1:F1"])
    check("title bold", ws["A1"].font.b, True)
    check("title size", ws["A1"].font.sz, 14.0)
    check("title centred", ws["A1"].alignment.horizontal, "center")

    check("headings", [c.value for c in ws[3]][:6], ["Código", "Artículo", "Enero", "Febrero", "Fecha", "Activo"])
    for cell in ("A3", "F3"):
        check(f"{cell} bold", ws[cell].font.b, True)
        check(f"{cell} fill", (ws[cell].fill.fill_type, ws[cell].fill.fgColor.rgb), ("solid", "FFC0C0C0"))
    check("data cell not bold", ws["B4"].font.b, False)

    check("row 4", [c.value for c in ws[4]][:6],
          ["A-001", "Tornillos de acero inoxidable", 1234.5, 987.25, datetime.datetime(2024, 1, 15), True])
    check("row 8", [c.value for c in ws[8]][:6],
          ["C-100", "Brocas para hormigón", 76543.21, 65432.1, datetime.datetime(2024, 1, 21), False])
    check("Boolean type", ws["F5"].data_type, "b")
    check("formula C9", ws["C9"].value, "=SUM(C4:C8)")
    check("formula D9", ws["D9"].value, "=SUM(D4:D8)")
    check("caption", ws["B9"].value, "Total")

    for cell in ("C4", "D8", "C9"):
        check(f"{cell} number format", ws[cell].number_format, "#,##0.00")
    check("date format", ws["E4"].number_format, "dd/mm/yyyy")
    check("text format", ws["B4"].number_format, "General")
    check("codes aligned left", ws["A4"].alignment.horizontal, "left")

    # Thick outline around A3:F8, thin lines between its rows, nothing inside the columns.
    check("A3 top", ws["A3"].border.top.style, "thick")
    check("A3 left", ws["A3"].border.left.style, "thick")
    check("A3 bottom", ws["A3"].border.bottom.style, "thin")
    check("C5 top", ws["C5"].border.top.style, "thin")
    check("C5 left", ws["C5"].border.left.style, None)
    check("F6 right", ws["F6"].border.right.style, "thick")
    check("D8 bottom", ws["D8"].border.bottom.style, "thick")
    check("border colour", ws["D8"].border.bottom.color.rgb, "FF000000")
    check("no border outside", ws["C9"].border.top.style, None)

    widths = {col: ws.column_dimensions[col].width for col in "ABCDEFG"}
    check("fixed width G", widths["G"], file_width(15))
    if not widths["B"] > widths["A"] + 10:
        failures.append(f"column B (long names) should be much wider than A (codes): {widths}")
    for col in "ABCDEF":
        if not 4 < widths[col] < 40:
            failures.append(f"column {col} was not fitted: width {widths[col]}")
    # The title is merged, so it does not widen column A.
    if not widths["A"] < 10:
        failures.append(f"the merged title widened column A: {widths['A']}")

    notes = wb["Notas"]
    check("text with equals sign stays text", (notes["A1"].value, notes["A1"].data_type), ("=no es una fórmula", "s"))
    check("merges over several rows", sorted(str(r) for r in notes.merged_cells.ranges), ["A10:C12", "A3:B5"])
    check("merged values", (notes["A3"].value, notes["A10"].value), ("bloque", "otro bloque"))
    check("cells beside and after the merges", (notes["C4"].value, notes["D20"].value), (7, "fin"))

    if failures:
        print("\n".join(failures))
        return 1
    print(f"{path}: sample workbook as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
