#!/usr/bin/python3
"""The workbook comparison finds each kind of difference in a pair of small workbooks made for
it, reads chart sheets, and finds none between a workbook and its copy."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
try:
    import compare_workbooks
except SystemExit as skipped:  # openpyxl is missing
    sys.exit(skipped.code)

import openpyxl  # noqa: E402
from openpyxl.chart import BarChart, LineChart, Reference  # noqa: E402
from openpyxl.styles import Alignment, Font  # noqa: E402


def report(chart_kind=BarChart, change=None):
    """A small report: a table, and a chart sheet of it; `change(book)` alters it."""
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Datos"
    sheet.append(["Mes", "Ventas", "Activo"])
    for month, sales, active in (("Enero", 10.5, True), ("Febrero", 20.25, False), ("Marzo", 5.0, True)):
        sheet.append([month, sales, active])
    sheet["E1"].font = Font(name="Calibri", sz=11, b=True)  # an empty cell with a font of its own
    chart = chart_kind()
    chart.add_data(Reference(sheet, min_col=2, min_row=1, max_row=4), titles_from_data=True)
    chart.set_categories(Reference(sheet, min_col=1, min_row=2, max_row=4))
    book.create_chartsheet("Grafico").add_chart(chart)
    if change:
        change(book)
    return book


class CompareWorkbooks(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.folder.cleanup()

    def differences(self, reference, other):
        paths = []
        for name, book in (("reference.xlsx", reference), ("other.xlsx", other)):
            paths.append(os.path.join(self.folder.name, name))
            book.save(paths[-1])
        diffs = compare_workbooks.compare(*paths)
        self.assertEqual(diffs.explained, {}, "nothing here is Calc's to explain")
        return [line.split(": ", 1)[1] for line in diffs.unexplained]

    def test_a_copy_with_a_chart_sheet_has_no_differences(self):
        self.assertEqual(self.differences(report(), report()), [])

    def test_types_are_strict(self):
        def numbers_for_booleans(book):
            book["Datos"]["C2"] = 1
            book["Datos"]["B3"] = "20.25"
        self.assertEqual(self.differences(report(), report(change=numbers_for_booleans)),
                         ["content True / 1", "content 20.25 / '20.25'"])

    def test_sizes_fonts_and_alignments_are_compared_where_one_side_has_none(self):
        def changed(book):
            sheet = book["Datos"]
            sheet.row_dimensions[3].height = 30
            sheet.column_dimensions["A"].width = 20
            sheet["E1"].font = Font(name="Calibri", sz=11, i=True)
            sheet["A2"].alignment = Alignment(horizontal="center")
        found = self.differences(report(), report(change=changed))
        self.assertEqual(len(found), 4, found)
        self.assertIn("column width 8.43 / 20.0", found)
        self.assertIn("row height 15.0 / 30.0", found)
        self.assertTrue(any(line.startswith("font ") for line in found), found)
        self.assertIn("alignment ('general', False, False) / ('center', False, False)", found)

    def test_charts_are_compared_by_kind(self):
        found = self.differences(report(), report(chart_kind=LineChart))
        self.assertTrue(any(line.startswith("plot ['barChart'] / ['lineChart']") for line in found), found)


if __name__ == "__main__":
    unittest.main()
