#!/usr/bin/python3
"""Compares two saved workbooks of the same report, as a spreadsheet program reads them.

Usage: compare_workbooks.py REFERENCE.xlsx OTHER.xlsx

Written for one report made twice: by the embedded spreadsheet (REFERENCE) and by LibreOffice
Calc (OTHER). It compares the sheets (names, order, kind, the active one); for every worksheet
its merged ranges, column widths (a column without one has the default width), row heights (a
row without one has the sheet's default height), and for every cell used or formatted in either
file the value (types strict: a Boolean is not the number 1, a text is not a number), the
formula, the cached result, the number format (two notations of the same format are the same),
the font, the fill, the borders and the alignment; for every chart (of a chart sheet or on a
worksheet) the plot's kind and direction, 3-D view, title, axis titles, legend and every series'
name, categories and values.

Each difference is listed. Those that come from what Calc cannot hold carry their reason:
  - a number (a value or a cached result) is written with 15 significant digits;
  - the workbook's default font is Calc's own (and with it the height of rows sized by it);
  - a Boolean cell has Calc's Boolean number format;
  - an empty text leaves the cell empty (as in the application);
  - a column is fitted to what Calc shows: numbers in the General format with more digits,
    Booleans as TRUE and FALSE;
  - Calc has no chart sheets (a chart fills a worksheet of its own) and no surface charts;
  - Calc saves a document without a window with its first sheet active.
Exits 0 when every difference has a reason, 1 otherwise, 77 when openpyxl or OTHER is missing
(the test is skipped).
"""

import collections
import datetime
import math
import os
import re
import sys
import xml.etree.ElementTree as ET
import zipfile

try:
    import openpyxl
    from openpyxl.chartsheet import Chartsheet
except ImportError:
    print("openpyxl is not installed (Debian: python3-openpyxl); skipping the comparison")
    sys.exit(77)

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_chart_workbook import NS, describe, rels, text_of  # noqa: E402

# Fitted column widths: each spreadsheet measures text with its own font metrics and margins.
WIDTH_TOLERANCE = 0.12
WIDTH_MARGIN = 1.5
DEFAULT_WIDTH = 8.43
# Row heights that follow the fonts: the same metrics, rounded to the spreadsheet's own steps.
HEIGHT_TOLERANCE = 0.2

REASON_DIGITS = "Calc writes numbers with 15 significant digits"
REASON_DEFAULT_FONT = "the workbook's default font is Calc's own"
REASON_DEFAULT_ROW = "a row sized by the default font follows Calc's own default font"
REASON_BOOLEAN = "Calc gives a Boolean cell its Boolean number format"
REASON_EMPTY_TEXT = "an empty text leaves the cell empty in Calc, as in the application"
REASON_GENERAL_WIDTH = ("Calc shows a number in the General format with up to 15 digits, the embedded "
                        "spreadsheet in up to 11 characters, and fits the column to that")
REASON_BOOLEAN_WIDTH = ("Calc shows Booleans as TRUE and FALSE, the embedded spreadsheet in its display "
                        "language (VERDADERO, FALSO), and fits the column to that")
REASON_SURFACE = "Calc has no surface charts"
REASON_CHART_SHEET = "Calc has no chart sheets: the chart fills a worksheet of its own"
REASON_ACTIVE_SHEET = ("Calc saves a document without a window with its first sheet active (it writes the "
                       "active sheet of the window it shows)")


def rgb(colour):
    if colour is None or colour.type != "rgb" or not isinstance(colour.rgb, str):
        return None
    return colour.rgb[-6:].upper()


def line_colour(colour):
    """Border and font colours: no colour written means automatic, which is black."""
    value = rgb(colour)
    return "000000" if value is None else value


def font_key(font):
    return (font.name, float(font.sz) if font.sz is not None else None, bool(font.b), bool(font.i),
            font.u or None, line_colour(font.color))


def fill_of(cell):
    f = cell.fill
    return rgb(f.fgColor) if f.fill_type == "solid" else None


def borders_of(cell):
    b = cell.border
    sides = []
    for name in ("left", "right", "top", "bottom", "diagonal"):
        side = getattr(b, name)
        sides.append((name, side.style, line_colour(side.color) if side.style else None))
    if b.diagonal is not None and b.diagonal.style:
        sides.append(("diagonal directions", bool(b.diagonalUp), bool(b.diagonalDown)))
    return tuple(sides)


def alignment_of(cell):
    a = cell.alignment
    horizontal = a.horizontal if a.horizontal not in (None, "general") else "general"
    return (horizontal, bool(a.shrink_to_fit), bool(a.wrap_text))


def format_notation(code):
    """A number format with its literal text unquoted: '#,##0.00 "€"' and '#,##0.00" €"' agree."""
    out, quoted, i = [], False, 0
    while i < len(code):
        ch = code[i]
        if ch == '"':
            quoted = not quoted
        elif ch == "\\" and not quoted and i + 1 < len(code):
            i += 1
            out.append(code[i])
        else:
            out.append(ch)
        i += 1
    return "".join(out)


def kind_of_value(value):
    """The value's type as the file holds it: Booleans, numbers, texts, dates and errors differ."""
    if value is None:
        return "empty"
    if isinstance(value, bool):
        return "Boolean"
    if isinstance(value, (int, float)):
        return "number"
    if isinstance(value, (datetime.datetime, datetime.date, datetime.time, datetime.timedelta)):
        return "date"
    return "text"


def same_value(a, b):
    if kind_of_value(a) != kind_of_value(b):
        return False
    if isinstance(a, float) or isinstance(b, float):
        return a == b or (math.isnan(a) and math.isnan(b)) if isinstance(a, float) and isinstance(b, float) else a == b
    return a == b


def fifteen_digits(a, b):
    if not (isinstance(a, (int, float)) and isinstance(b, (int, float))) or isinstance(a, bool) or isinstance(b, bool):
        return False
    return float(f"{a:.15g}") == float(f"{b:.15g}")


def default_font(book):
    return font_key(book._fonts[0]) if book._fonts else None


def sheet_list(book):
    """Sheet names and kinds in the workbook's order."""
    charts = {ws.title for ws in book.chartsheets}
    return [(name, "chart" if name in charts else "worksheet") for name in book.sheetnames]


class Differences:
    def __init__(self):
        self.explained = collections.OrderedDict()  # reason -> lines
        self.unexplained = []

    def add(self, where, kind, ref_value, other_value, reason=None):
        line = f"{where}: {kind} {ref_value!r} / {other_value!r}"
        if reason:
            self.explained.setdefault(reason, []).append(line)
        else:
            self.unexplained.append(line)


def column_widths(ws):
    """Column number -> width, for the columns that have one (a width may cover several)."""
    widths = {}
    for dim in ws.column_dimensions.values():
        if dim.customWidth and dim.width and dim.min:
            for column in range(dim.min, (dim.max or dim.min) + 1):
                widths[column] = dim.width
    return widths


def column_shows(ws, column):
    """What decides how wide the column's values are shown: General numbers longer than 11
    characters, Booleans."""
    long_general, booleans = False, False
    for (cell,) in ws.iter_rows(min_col=column, max_col=column):
        if isinstance(cell.value, bool):
            booleans = True
        elif isinstance(cell.value, (int, float)) and cell.number_format == "General":
            long_general = long_general or len(f"{cell.value:.15g}") > 11
    return long_general, booleans


def compare_columns(name, rf, of, columns, diffs):
    ref_widths, other_widths = column_widths(rf), column_widths(of)
    for column in range(1, columns + 1):
        letter = openpyxl.utils.get_column_letter(column)
        a, b = ref_widths.get(column, DEFAULT_WIDTH), other_widths.get(column, DEFAULT_WIDTH)
        if b > 255:
            diffs.add(f"{name}!{letter}", "column width beyond 255", round(a, 2), round(b, 2))
        elif abs(a - b) > max(WIDTH_TOLERANCE * max(a, b), WIDTH_MARGIN):
            long_general, booleans = column_shows(rf, column)
            reason = None
            if long_general and b > a:
                reason = REASON_GENERAL_WIDTH
            elif booleans and b < a:
                reason = REASON_BOOLEAN_WIDTH
            diffs.add(f"{name}!{letter}", "column width", round(a, 2), round(b, 2), reason)


def compare_rows(name, rf, of, rows, ref_default_font, other_default_font, diffs):
    for row in range(1, rows + 1):
        heights, own = [], []
        for ws in (rf, of):
            dim = ws.row_dimensions.get(row)
            own.append(dim is not None and bool(dim.height))
            # A row without a height of its own is as high as the sheet's default.
            heights.append(dim.height if own[-1] else ws.sheet_format.defaultRowHeight)
        a, b = heights
        if not any(own) or abs(a - b) <= HEIGHT_TOLERANCE * max(a, b):
            continue
        # A row whose cells all use the default font is as high as that font makes it: Calc's
        # own default font explains a difference, the same default font does not.
        fonts = {font_key(c.font) for c in rf[row]} | {font_key(c.font) for c in of[row]}
        own_font = ref_default_font != other_default_font and fonts <= {ref_default_font, other_default_font}
        reason = REASON_DEFAULT_ROW if own_font else None
        diffs.add(f"{name}!{row}:{row}", "row height", a, b, reason)


def compare_cells(name, books, rows, columns, default_fonts, diffs):
    rf, of, rv, ov = books
    for row in range(1, rows + 1):
        for column in range(1, columns + 1):
            where = f"{name}!{openpyxl.utils.get_column_letter(column)}{row}"
            a, b = rf.cell(row, column), of.cell(row, column)
            if a.data_type == "f" or b.data_type == "f":
                if a.value != b.value:
                    diffs.add(where, "formula", a.value, b.value)
                x, y = rv.cell(row, column).value, ov.cell(row, column).value
                if not same_value(x, y):
                    diffs.add(where, "cached result", x, y, REASON_DIGITS if fifteen_digits(x, y) else None)
            elif not same_value(a.value, b.value):
                reason = REASON_EMPTY_TEXT if a.value == "" and b.value is None else None
                if fifteen_digits(a.value, b.value):
                    reason = REASON_DIGITS
                diffs.add(where, "content", a.value, b.value, reason)
            if a.value is None and b.value is None and not a.has_style and not b.has_style:
                continue
            if format_notation(a.number_format) != format_notation(b.number_format):
                boolean = isinstance(a.value, bool) and isinstance(b.value, bool) and a.number_format == "General"
                diffs.add(where, "number format", a.number_format, b.number_format, REASON_BOOLEAN if boolean else None)
            fa, fb = font_key(a.font), font_key(b.font)
            if (fa == default_fonts[0]) != (fb == default_fonts[1]) or (fa != default_fonts[0] and fa != fb):
                diffs.add(where, "font", fa, fb)
            if fill_of(a) != fill_of(b):
                diffs.add(where, "fill", fill_of(a), fill_of(b))
            if borders_of(a) != borders_of(b):
                diffs.add(where, "borders", borders_of(a), borders_of(b))
            if alignment_of(a) != alignment_of(b):
                diffs.add(where, "alignment", alignment_of(a), alignment_of(b))


REF_QUOTES = re.compile(r"^'((?:[^']|'')+)'!")
ONE_CELL_RANGE = re.compile(r"(\$[A-Z]+\$\d+):\1$")


def plain_ref(ref):
    """A series reference written plainly: 'Ejemplo'!$B$3, Ejemplo!$B$3 and Ejemplo!$B$3:$B$3 agree."""
    if ref is None:
        return None
    ref = REF_QUOTES.sub(lambda m: m.group(1).replace("''", "'") + "!", ref)
    return ONE_CELL_RANGE.sub(r"\1", ref)


def chart_summary(info, plot_area):
    # Axes in the order the plot names them (category, value, series), by role rather than by
    # element: Calc writes the series axis of a 3-D line as a second category axis.
    by_id = {a.find("c:axId", NS).get("val"): a for a in plot_area if a.tag.split("}")[1].endswith("Ax")}
    axes = [text_of(by_id[i].find("c:title", NS)) for i in info.get("axIds", []) if i in by_id]
    return {
        "plot": info["plots"],
        "bar direction": [e.get("val") for e in info["plot_elements"] for e in e.findall("c:barDir", NS)],
        "3-D view": info["view3D"],
        "title": info["title"],
        "legend": info["legend"],
        "axis titles": axes,
        "series": [(plain_ref(s["name_ref"]), plain_ref(s["cat_ref"]), plain_ref(s["val_ref"]), s["values"])
                   for s in info["series"]],
    }


def charts_of(path):
    """Sheet name -> summary of each chart the sheet holds (a chart sheet's, or a worksheet's drawing's)."""
    out = {}
    with zipfile.ZipFile(path) as zf:
        book = ET.fromstring(zf.read("xl/workbook.xml"))
        book_rels = rels(zf, "xl/workbook.xml")
        for sheet in book.find("m:sheets", NS):
            part = book_rels[sheet.get("{%s}id" % NS["r"])]
            drawing = ET.fromstring(zf.read(part)).find("m:drawing", NS)
            summaries = []
            if drawing is not None:
                drawing_part = rels(zf, part)[drawing.get("{%s}id" % NS["r"])]
                for target in sorted(t for t in rels(zf, drawing_part).values() if "/charts/" in t):
                    chart = ET.fromstring(zf.read(target))
                    info = describe(chart)
                    plot_area = chart.find("c:chart/c:plotArea", NS)
                    info["plot_elements"] = [e for e in plot_area if e.tag.split("}")[1] in info["plots"]]
                    summaries.append(chart_summary(info, plot_area))
            out[sheet.get("name")] = summaries
    return out


def compare_charts(reference_path, other_path, diffs):
    ref_charts, other_charts = charts_of(reference_path), charts_of(other_path)
    for name, charts in ref_charts.items():
        others = other_charts.get(name)
        if others is None:
            continue  # reported with the sheets
        if len(charts) != len(others):
            diffs.add(f"sheet {name}", "number of charts", len(charts), len(others))
            continue
        for a, b in zip(charts, others):
            surface = any("surface" in p for p in a["plot"])
            for key in a:
                if a[key] != b[key]:
                    reason = REASON_SURFACE if surface and key in ("plot", "3-D view", "bar direction") else None
                    diffs.add(f"chart of {name}", key, a[key], b[key], reason)


def compare(reference_path, other_path):
    """The differences between the two workbooks."""
    ref_formulas = openpyxl.load_workbook(reference_path)
    other_formulas = openpyxl.load_workbook(other_path)
    ref_values = openpyxl.load_workbook(reference_path, data_only=True)
    other_values = openpyxl.load_workbook(other_path, data_only=True)
    diffs = Differences()

    if ref_formulas.sheetnames != other_formulas.sheetnames:
        diffs.add("workbook", "sheets", ref_formulas.sheetnames, other_formulas.sheetnames)
    other_kinds = dict(sheet_list(other_formulas))
    for name, kind in sheet_list(ref_formulas):
        if name in other_kinds and other_kinds[name] != kind:
            diffs.add(f"sheet {name}", "kind", kind, other_kinds[name], REASON_CHART_SHEET if kind == "chart" else None)
    if ref_formulas.active.title != other_formulas.active.title:
        first = other_formulas.active.title == other_formulas.sheetnames[0]
        diffs.add("workbook", "active sheet", ref_formulas.active.title, other_formulas.active.title,
                  REASON_ACTIVE_SHEET if first else None)
    default_fonts = (default_font(ref_formulas), default_font(other_formulas))
    if default_fonts[0] != default_fonts[1]:
        diffs.add("workbook", "default font", default_fonts[0], default_fonts[1], REASON_DEFAULT_FONT)

    # A worksheet that stands for a chart sheet holds the chart alone.
    charted = {ws.title for ws in ref_formulas.chartsheets}
    for name in ref_formulas.sheetnames:
        if name not in other_formulas.sheetnames:
            continue
        rf, of = ref_formulas[name], other_formulas[name]
        if isinstance(rf, Chartsheet) or isinstance(of, Chartsheet) or name in charted:
            continue  # compared below, from the chart parts
        rv, ov = ref_values[name], other_values[name]
        ref_merged = sorted(str(r) for r in rf.merged_cells.ranges)
        other_merged = sorted(str(r) for r in of.merged_cells.ranges)
        if ref_merged != other_merged:
            diffs.add(name, "merged ranges", ref_merged, other_merged)
        rows = max(rf.max_row, of.max_row)
        columns = max(rf.max_column, of.max_column)
        compare_columns(name, rf, of, columns, diffs)
        compare_rows(name, rf, of, rows, default_fonts[0], default_fonts[1], diffs)
        compare_cells(name, (rf, of, rv, ov), rows, columns, default_fonts, diffs)
    compare_charts(reference_path, other_path, diffs)
    return diffs


def report(diffs, out=sys.stdout):
    """Prints the differences; the number of unexplained ones."""
    for reason, lines in diffs.explained.items():
        print(f"explained ({reason}): {len(lines)}, such as {lines[0]}", file=out)
    for line in diffs.unexplained:
        print("DIFFERENT:", line, file=out)
    explained = sum(len(lines) for lines in diffs.explained.values())
    print(f"{explained} explained difference(s), {len(diffs.unexplained)} unexplained", file=out)
    return len(diffs.unexplained)


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    reference_path, other_path = sys.argv[1], sys.argv[2]
    if not os.path.exists(other_path):
        print(f"{other_path} does not exist (no LibreOffice here); skipping the comparison")
        return 77
    return 1 if report(compare(reference_path, other_path)) else 0


if __name__ == "__main__":
    sys.exit(main())
