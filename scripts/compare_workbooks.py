#!/usr/bin/env python3
"""Compares two saved workbooks of the same transfer cell by cell, as a spreadsheet program reads them.

Usage: compare_workbooks.py REFERENCE.xlsx OTHER.xlsx

Written for the demonstration's workbook made twice: by the embedded spreadsheet (REFERENCE) and
by LibreOffice Calc (OTHER). For every sheet and every cell used in either file it compares the
value, the formula, the cached result, the number format, the font, the fill and the borders, and
the merged ranges and column widths of each sheet. Each difference is listed; the ones that come
from how the two spreadsheets work, not from a fault, carry their reason. Exits 0 when every
difference has a reason, 1 otherwise, 77 when openpyxl or OTHER is missing (the test is skipped).
"""

import math
import os
import sys

try:
    import openpyxl
except ImportError:
    print("openpyxl is not installed (Debian: python3-openpyxl); skipping the comparison")
    sys.exit(77)

# Fitted column widths: each spreadsheet measures text with its own font metrics.
WIDTH_TOLERANCE = 0.12

def rgb(colour):
    if colour is None or colour.type != "rgb" or not isinstance(colour.rgb, str):
        return None
    return colour.rgb[-6:].upper()


def line_colour(colour):
    """Border and font colours: no colour written means automatic, which is black."""
    value = rgb(colour)
    return "000000" if value is None else value


def font_of(cell):
    f = cell.font
    return (f.name, f.sz, bool(f.b), bool(f.i), f.u or None, line_colour(f.color))


def fill_of(cell):
    f = cell.fill
    if f.fill_type != "solid":
        return None
    return rgb(f.fgColor)


def borders_of(cell):
    b = cell.border
    sides = []
    for name in ("left", "right", "top", "bottom", "diagonal"):
        side = getattr(b, name)
        sides.append((name, side.style, line_colour(side.color) if side.style else None))
    return tuple(sides)


def reason_for(kind, ref_value, other_value, ref_cell):
    """Why the two spreadsheets may differ here, or None for a difference that needs a look."""
    if kind == "number format" and isinstance(ref_cell.value, bool) and ref_value == "General":
        return "Calc keeps Boolean cells with its Boolean format (\"TRUE\";\"TRUE\";\"FALSE\")"
    if kind == "content" and ref_value == "" and other_value is None:
        return "an empty text leaves the cell empty in Calc, as in the application"
    if kind == "number format" and ref_value.replace('"', "") == other_value.replace('"', ""):
        return "the same literal text, quoted differently (Calc quotes the blank with the symbol)"
    if kind == "cached result" and isinstance(ref_value, float) and isinstance(other_value, float):
        if math.isclose(ref_value, other_value, rel_tol=1e-12):
            return "the last digits of a floating-point result"
    return None


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    reference_path, other_path = sys.argv[1], sys.argv[2]
    if not os.path.exists(other_path):
        print(f"{other_path} does not exist (no LibreOffice here); skipping the comparison")
        return 77
    ref_formulas = openpyxl.load_workbook(reference_path)
    other_formulas = openpyxl.load_workbook(other_path)
    ref_values = openpyxl.load_workbook(reference_path, data_only=True)
    other_values = openpyxl.load_workbook(other_path, data_only=True)

    explained, unexplained = [], []

    def differ(where, kind, ref_value, other_value, reason=None, ref_cell=None):
        if reason is None and ref_cell is not None:
            reason = reason_for(kind, ref_value, other_value, ref_cell)
        line = f"{where}: {kind} {ref_value!r} / {other_value!r}"
        (explained if reason else unexplained).append(line + (f"  ({reason})" if reason else ""))

    if ref_formulas.sheetnames != other_formulas.sheetnames:
        differ("workbook", "sheets", ref_formulas.sheetnames, other_formulas.sheetnames)
    for name in ref_formulas.sheetnames:
        if name not in other_formulas.sheetnames:
            continue
        rf, of = ref_formulas[name], other_formulas[name]
        rv, ov = ref_values[name], other_values[name]
        ref_merged = sorted(str(r) for r in rf.merged_cells.ranges)
        other_merged = sorted(str(r) for r in of.merged_cells.ranges)
        if ref_merged != other_merged:
            differ(name, "merged ranges", ref_merged, other_merged)
        rows = max(rf.max_row, of.max_row)
        columns = max(rf.max_column, of.max_column)
        for column in range(1, columns + 1):
            letter = openpyxl.utils.get_column_letter(column)
            a = rf.column_dimensions[letter].width if letter in rf.column_dimensions else None
            b = of.column_dimensions[letter].width if letter in of.column_dimensions else None
            if a and b and abs(a - b) > WIDTH_TOLERANCE * a:
                differ(f"{name}!{letter}", "column width", round(a, 2), round(b, 2))
        for row in range(1, rows + 1):
            for column in range(1, columns + 1):
                where = f"{name}!{openpyxl.utils.get_column_letter(column)}{row}"
                a, b = rf.cell(row, column), of.cell(row, column)
                if a.value != b.value:
                    differ(where, "content", a.value, b.value, ref_cell=a)
                if a.data_type == "f" or b.data_type == "f":
                    x, y = rv.cell(row, column).value, ov.cell(row, column).value
                    if x != y:
                        differ(where, "cached result", x, y, ref_cell=a)
                if a.value is None and b.value is None and not a.has_style and not b.has_style:
                    continue
                if a.number_format != b.number_format:
                    differ(where, "number format", a.number_format, b.number_format, ref_cell=a)
                if a.value is not None or b.value is not None:
                    if font_of(a) != font_of(b):
                        differ(where, "font", font_of(a), font_of(b), ref_cell=a)
                if fill_of(a) != fill_of(b):
                    differ(where, "fill", fill_of(a), fill_of(b), ref_cell=a)
                if borders_of(a) != borders_of(b):
                    differ(where, "borders", borders_of(a), borders_of(b), ref_cell=a)

    for line in explained:
        print("explained:", line)
    for line in unexplained:
        print("DIFFERENT:", line)
    print(f"{len(explained)} explained difference(s), {len(unexplained)} unexplained")
    return 1 if unexplained else 0


if __name__ == "__main__":
    sys.exit(main())
