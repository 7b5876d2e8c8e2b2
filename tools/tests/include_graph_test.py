#!/usr/bin/env python3
"""The include-graph check finds each kind of fault in a small tree made for it, and passes the
same tree without them."""

import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

TOOL = Path(__file__).resolve().parent.parent / "include_graph.py"
GUARD = '#pragma once\n#ifndef TABULIX_ROOM_MODEL\n#error "internal"\n#endif\n'


class IncludeGraph(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = Path(self.folder.name)
        # A sound tree: the model over the cells, the writer over the model, a private header
        # of the model used by the model alone.
        self.write("spreadsheet/cells/cell_address.h", "#pragma once\n")
        self.write("spreadsheet/formula/formula.h", "#pragma once\n")
        self.write("spreadsheet/model/internal/formulas.h", GUARD + '#include "spreadsheet/formula/formula.h"\n')
        self.write("spreadsheet/model/workbook.h", '#pragma once\n#include "spreadsheet/cells/cell_address.h"\n')
        self.write("spreadsheet/model/workbook.cpp", '#include "spreadsheet/model/workbook.h"\n#include "formulas.h"\n')
        self.write("spreadsheet/model/tests/workbook_test.cpp", '#include "formulas.h"\n')
        self.write("spreadsheet/xlsx/xlsx_export.cpp", '#include "spreadsheet/model/workbook.h"\n')
        self.write("ui/window.cpp", '#include "spreadsheet/model/workbook.h"\n')

    def tearDown(self):
        self.folder.cleanup()

    def write(self, name, text):
        path = self.root / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)

    def check(self):
        run = subprocess.run([sys.executable, str(TOOL), "--check", str(self.root)], capture_output=True, text=True)
        return run.returncode, run.stdout

    def test_a_sound_tree_passes_and_is_drawn(self):
        code, out = self.check()
        self.assertEqual(code, 0, out)
        self.assertIn("0 fault(s)", out)
        self.assertRegex(out, r"spreadsheet/xlsx/ .*-> model \(1\)")

    def test_an_upward_or_sideways_include_is_a_fault(self):
        self.write("spreadsheet/cells/cell_address.cpp", '#include "spreadsheet/model/workbook.h"\n')
        self.write("spreadsheet/numfmt/number_format.cpp", '#include "spreadsheet/measure/text_measurer.h"\n')
        self.write("spreadsheet/measure/text_measurer.h", "#pragma once\n")
        code, out = self.check()
        self.assertEqual(code, 1)
        self.assertIn("spreadsheet/cells/cell_address.cpp:1: spreadsheet/cells/ includes \"spreadsheet/model/workbook.h\"", out)
        self.assertIn("spreadsheet/numfmt/number_format.cpp:1: spreadsheet/numfmt/ includes", out)
        self.assertRegex(out, r"circle of rooms \(each reaches the others\): cells, .*model")

    def test_an_internal_header_used_from_outside_its_room_is_a_fault(self):
        self.write("ui/grid.cpp", '#include "spreadsheet/model/internal/formulas.h"\n')
        self.write("spreadsheet/xlsx/package.cpp", '#include "spreadsheet/model/internal/formulas.h"\n')
        code, out = self.check()
        self.assertEqual(code, 1)
        self.assertIn("ui/grid.cpp:1: includes \"spreadsheet/model/internal/formulas.h\", an internal header of spreadsheet/model/", out)
        self.assertIn("spreadsheet/xlsx/package.cpp:1: includes", out)

    def test_an_internal_header_that_compiles_anywhere_is_a_fault(self):
        self.write("spreadsheet/model/internal/journal.h", "#pragma once\n#ifdef TABULIX_ROOM_MODEL\n#endif\n")
        self.write("spreadsheet/model/internal/pool.h", GUARD.replace("MODEL", "XLSX"))
        code, out = self.check()
        self.assertEqual(code, 1)
        self.assertIn("spreadsheet/model/internal/journal.h: an internal header that compiles outside its room", out)
        self.assertIn("spreadsheet/model/internal/pool.h: an internal header that compiles outside its room", out)
        self.assertNotIn("formulas.h: an internal header", out)

    def test_a_public_header_may_not_include_a_room_used_privately(self):
        self.write("spreadsheet/model/worksheet.cpp", '#include "spreadsheet/formula/formula.h"\n')
        self.write("spreadsheet/model/tests/worksheet_test.cpp", '#include "spreadsheet/formula/formula.h"\n')
        self.assertEqual(self.check()[0], 0)
        self.write("spreadsheet/model/worksheet.h", '#pragma once\n#include "spreadsheet/formula/formula.h"\n')
        code, out = self.check()
        self.assertEqual(code, 1)
        self.assertIn("spreadsheet/model/worksheet.h:2: a public header of spreadsheet/model/ includes "
                      "\"spreadsheet/formula/formula.h\" of spreadsheet/formula/, which the room uses privately", out)

    def test_a_circle_of_files_and_an_include_of_no_file_are_faults(self):
        self.write("spreadsheet/model/a.h", '#pragma once\n#include "spreadsheet/model/b.h"\n')
        self.write("spreadsheet/model/b.h", '#pragma once\n#include "spreadsheet/model/a.h"\n')
        self.write("spreadsheet/model/sheet.cpp", '#include "spreadsheet/model/gone.h"\n')
        code, out = self.check()
        self.assertEqual(code, 1)
        self.assertIn("circle of includes (each reaches the others): spreadsheet/model/a.h, spreadsheet/model/b.h", out)
        self.assertIn("spreadsheet/model/sheet.cpp:1: includes \"spreadsheet/model/gone.h\", which is no file of the tree", out)


if __name__ == "__main__":
    unittest.main()
