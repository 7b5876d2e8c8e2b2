#!/usr/bin/env python3
"""Reads back the finish of a report (frozen panes, autofilter, print set-up, document properties,
defined names) from a saved workbook, as a spreadsheet program reads it, with openpyxl.

Usage: check_finished_workbook.py WORKBOOK.xlsx --sheet NAME [expectations...]
       check_finished_workbook.py WORKBOOK.xlsx --sheet NAME --none

Each expectation option names what the sheet or the workbook must hold; --none checks that the
workbook holds none of them (a report without a finish). Exits 0 when every check passes, 1
otherwise (listing each failure), 77 when openpyxl is not installed (the test is then skipped).
"""

import argparse
import datetime
import re
import sys
import zipfile

try:
    import openpyxl
except ImportError:
    print("openpyxl is not installed (Debian: python3-openpyxl); skipping the check")
    sys.exit(77)

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def absolute(reference):
    """'Sheet'!A3:I20, Sheet!$A$3:$I$20 and 'Sheet'!$A$3:$I$20 read alike."""
    return reference.replace("$", "").replace("'", "")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("workbook")
    parser.add_argument("--sheet", required=True)
    parser.add_argument("--none", action="store_true")
    parser.add_argument("--freeze")
    parser.add_argument("--filter")
    parser.add_argument("--print-titles")
    parser.add_argument("--orientation", choices=["portrait", "landscape"])
    parser.add_argument("--fit-width", type=int)
    parser.add_argument("--header")
    parser.add_argument("--footer", action="store_true", help="the date left, 'Pagina X de Y' right")
    parser.add_argument("--margins", help="left,right,top,bottom in centimetres")
    parser.add_argument("--doc-title")
    parser.add_argument("--subject")
    parser.add_argument("--author")
    parser.add_argument("--company")
    parser.add_argument("--name", action="append", default=[], help="NAME=REFERENCE")
    args = parser.parse_args()

    book = openpyxl.load_workbook(args.workbook)
    check(args.sheet in book.sheetnames, f"no sheet {args.sheet!r} in {book.sheetnames}")
    if failures:
        return report()
    sheet = book[args.sheet]
    setup = sheet.page_setup

    if args.none:
        check(sheet.freeze_panes is None, f"frozen panes at {sheet.freeze_panes}")
        check(not sheet.auto_filter.ref, f"an autofilter over {sheet.auto_filter.ref}")
        check(not sheet.print_title_rows, f"print titles {sheet.print_title_rows}")
        check(setup.orientation is None, f"orientation {setup.orientation}")
        check(not sheet.sheet_properties.pageSetUpPr or not sheet.sheet_properties.pageSetUpPr.fitToPage,
              "fit to page is on")
        check(not sheet.oddHeader.center.text and not sheet.oddFooter.left.text, "a header or footer")
        check(len(book.defined_names) == 0, f"defined names {list(book.defined_names)}")
        with zipfile.ZipFile(args.workbook) as package:
            check("docProps/core.xml" not in package.namelist(), "document properties were written")
        return report()

    if args.freeze:
        check(sheet.freeze_panes == args.freeze, f"frozen panes at {sheet.freeze_panes}, expected {args.freeze}")
        view = sheet.sheet_view
        check(view.pane is not None and view.pane.state in ("frozen", "frozenSplit"),
              f"the pane is not frozen: {view.pane}")
    if args.filter:
        check(sheet.auto_filter.ref == args.filter, f"autofilter over {sheet.auto_filter.ref}, expected {args.filter}")
    if args.print_titles:
        titles = (sheet.print_title_rows or "").replace("$", "")
        check(titles == args.print_titles, f"print title rows {sheet.print_title_rows!r}, expected {args.print_titles}")
    if args.orientation:
        check(setup.orientation == args.orientation, f"orientation {setup.orientation}, expected {args.orientation}")
    if args.fit_width:
        properties = sheet.sheet_properties.pageSetUpPr
        check(properties is not None and properties.fitToPage, "fit to page is off")
        check(int(setup.fitToWidth or 1) == args.fit_width, f"fit to {setup.fitToWidth} pages wide, expected {args.fit_width}")
        check(int(setup.fitToHeight if setup.fitToHeight is not None else 1) == 0,
              f"fit to {setup.fitToHeight} pages tall, expected 0 (as many as it takes)")
    if args.header:
        centre = sheet.oddHeader.center.text or ""
        check(args.header in centre.replace("&&", "&"), f"header {centre!r} lacks {args.header!r}")
    if args.footer:
        left, right = sheet.oddFooter.left.text or "", sheet.oddFooter.right.text or ""
        check("&D" in left, f"footer left {left!r} has no date")
        check(re.search(r"P\u00e1gina &P de &N", right) is not None, f"footer right {right!r} has no 'Pagina &P de &N'")
    if args.margins:
        expected = [float(v) / 2.54 for v in args.margins.split(",")]
        margins = sheet.page_margins
        got = [margins.left, margins.right, margins.top, margins.bottom]
        check(all(abs(g - e) < 0.01 for g, e in zip(got, expected)),
              "margins (inches) " + ", ".join(f"{g:.3f}" for g in got) + " expected " +
              ", ".join(f"{e:.3f}" for e in expected))

    properties = book.properties
    if args.doc_title:
        check(properties.title == args.doc_title, f"document title {properties.title!r}")
    if args.subject:
        check(properties.subject == args.subject, f"subject {properties.subject!r}")
    if args.author:
        check(properties.creator == args.author, f"author {properties.creator!r}")
    if args.company:
        with zipfile.ZipFile(args.workbook) as package:
            app = package.read("docProps/app.xml").decode("utf-8") if "docProps/app.xml" in package.namelist() else ""
        check(f"<Company>{args.company}</Company>" in app, f"company not in docProps/app.xml: {app[:300]!r}")
    if args.doc_title or args.subject or args.author or args.company:
        now = datetime.datetime.now(datetime.timezone.utc).replace(tzinfo=None)
        for label, stamp in (("created", properties.created), ("modified", properties.modified)):
            check(stamp is not None and abs((now - stamp).total_seconds()) < 24 * 3600,
                  f"{label} {stamp} is not the time of the transfer ({now})")

    for pair in args.name:
        name, reference = pair.split("=", 1)
        defined = book.defined_names.get(name)
        check(defined is not None, f"no defined name {name}; names: {list(book.defined_names)}")
        if defined is not None:
            check(absolute(defined.attr_text) == absolute(reference),
                  f"{name} refers to {defined.attr_text}, expected {reference}")
    return report()


def report():
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("finish read back: all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
