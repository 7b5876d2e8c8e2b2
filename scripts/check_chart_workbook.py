#!/usr/bin/python3
"""Checks the chart sheets of a workbook written by the embedded spreadsheet.

Every chart sheet is followed from the workbook through its drawing to its chart part, which
must hold one plot of a known kind with the axes that kind needs; every series reference must
name a worksheet of the file and a range of the size of its cached values. Sheets named after
a gallery member ("xl3DColumn") must hold that kind; the sheet "Grafica" is the demonstration's
chart and is checked in full.

With --render DIR the workbook is also converted to PDF by LibreOffice headless; the PDF must
exist, be non-empty and show the demonstration's chart title. Exits 77 (skipped) when soffice
is not installed.

Usage: check_chart_workbook.py [--render DIR] FILE.xlsx
"""

import os
import posixpath
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET
import zipfile

NS = {
    "c": "http://schemas.openxmlformats.org/drawingml/2006/chart",
    "a": "http://schemas.openxmlformats.org/drawingml/2006/main",
    "m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main",
    "r": "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
    "pr": "http://schemas.openxmlformats.org/package/2006/relationships",
}
SKIP = 77

# Gallery member -> (plot element, has axes, has a series axis, has a 3-D view)
KINDS = {
    "xlColumn": ("barChart", True, False, False),
    "xl3DColumn": ("bar3DChart", True, True, True),
    "xlLine": ("lineChart", True, False, False),
    "xl3DLine": ("line3DChart", True, True, True),
    "xlBar": ("barChart", True, False, False),
    "xl3DBar": ("bar3DChart", True, False, True),
    "xlSurface": ("surfaceChart", True, True, True),
    "xl3DSurface": ("surface3DChart", True, True, True),
    "xlPie": ("pieChart", False, False, False),
    "xl3DPie": ("pie3DChart", False, False, True),
    "xlArea": ("areaChart", True, False, False),
    "xl3DArea": ("area3DChart", True, True, True),
    "xlRadar": ("radarChart", True, False, False),
}
PLOTS = {v[0] for v in KINDS.values()}


def rels(zf, part):
    """The relationships of a part: id -> target part name."""
    folder, name = posixpath.split(part)
    path = posixpath.join(folder, "_rels", name + ".rels")
    out = {}
    for rel in ET.fromstring(zf.read(path)).findall("pr:Relationship", NS):
        target = rel.get("Target")
        # A target that begins with "/" is named from the package's root.
        out[rel.get("Id")] = posixpath.normpath(target[1:] if target.startswith("/") else posixpath.join(folder, target))
    return out


def chart_parts(zf):
    """Sheet name -> chart part name, for every chart sheet; and the worksheet names."""
    book = ET.fromstring(zf.read("xl/workbook.xml"))
    book_rels = rels(zf, "xl/workbook.xml")
    charts, worksheets = {}, set()
    for sheet in book.find("m:sheets", NS):
        target = book_rels[sheet.get("{%s}id" % NS["r"])]
        if "/chartsheets/" not in target:
            worksheets.add(sheet.get("name"))
            continue
        drawing = ET.fromstring(zf.read(target)).find("m:drawing", NS)
        drawing_part = rels(zf, target)[drawing.get("{%s}id" % NS["r"])]
        chart_targets = [t for t in rels(zf, drawing_part).values() if "/charts/" in t]
        if len(chart_targets) != 1:
            raise ValueError(f"chart sheet {sheet.get('name')!r}: {len(chart_targets)} charts in its drawing")
        charts[sheet.get("name")] = chart_targets[0]
    return charts, worksheets


def text_of(title):
    return "".join(t.text or "" for t in title.iter("{%s}t" % NS["a"])) if title is not None else None


REF = re.compile(r"^'((?:[^']|'')+)'!\$([A-Z]+)\$(\d+)(?::\$([A-Z]+)\$(\d+))?$")


def column_number(letters):
    n = 0
    for ch in letters:
        n = n * 26 + ord(ch) - 64
    return n


def ref_size(ref, worksheets, failures, where):
    m = REF.match(ref or "")
    if not m:
        failures.append(f"{where}: reference {ref!r} is not a sheet-qualified range")
        return None
    sheet = m.group(1).replace("''", "'")
    if sheet not in worksheets:
        failures.append(f"{where}: reference {ref!r} names no worksheet of the file")
    c1, r1 = column_number(m.group(2)), int(m.group(3))
    c2, r2 = (column_number(m.group(4)), int(m.group(5))) if m.group(4) else (c1, r1)
    return (r2 - r1 + 1) * (c2 - c1 + 1)


def describe(chart):
    """What a test needs of a chart part: plot element, series, titles, axes, legend."""
    plot_area = chart.find("c:chart/c:plotArea", NS)
    plots = [e for e in plot_area if e.tag.split("}")[1] in PLOTS]
    info = {
        "plots": [e.tag.split("}")[1] for e in plots],
        "title": text_of(chart.find("c:chart/c:title", NS)),
        "legend": chart.find("c:chart/c:legend", NS) is not None,
        "view3D": chart.find("c:chart/c:view3D", NS) is not None,
        "axes": {e.tag.split("}")[1]: e for e in plot_area if e.tag.split("}")[1] in ("catAx", "valAx", "serAx")},
        "series": [],
    }
    for plot in plots:
        info["axIds"] = [a.get("val") for a in plot.findall("c:axId", NS)]
        for ser in plot.findall("c:ser", NS):
            info["series"].append({
                "name_ref": ser.findtext("c:tx/c:strRef/c:f", None, NS),
                "name": ser.findtext("c:tx/c:strRef/c:strCache/c:pt/c:v", None, NS) or ser.findtext("c:tx/c:v", None, NS),
                "cat_ref": ser.findtext("c:cat/c:strRef/c:f", None, NS) or ser.findtext("c:cat/c:multiLvlStrRef/c:f", None, NS),
                "cat_count": ser.find("c:cat//c:ptCount", NS),
                "val_ref": ser.findtext("c:val/c:numRef/c:f", None, NS),
                "val_count": ser.find("c:val/c:numRef/c:numCache/c:ptCount", NS),
                "values": [float(v.text) for v in ser.findall("c:val/c:numRef/c:numCache/c:pt/c:v", NS)],
            })
    return info


def check_chart(name, info, worksheets, failures):
    where = f"chart sheet {name!r}"
    if len(info["plots"]) != 1:
        failures.append(f"{where}: {len(info['plots'])} plots instead of one")
        return
    axes = info["axes"]
    ids = {a.find("c:axId", NS).get("val") for a in axes.values()}
    if set(info.get("axIds", [])) != ids:
        failures.append(f"{where}: the plot's axes {info.get('axIds')} are not the axes drawn {sorted(ids)}")
    for ser in info["series"]:
        size = ref_size(ser["val_ref"], worksheets, failures, where + " values")
        if size is not None and (ser["val_count"] is None or int(ser["val_count"].get("val")) != size):
            failures.append(f"{where}: values {ser['val_ref']} cache a different number of points")
        if ser["cat_ref"]:
            ref_size(ser["cat_ref"], worksheets, failures, where + " categories")
        if ser["name_ref"]:
            ref_size(ser["name_ref"], worksheets, failures, where + " name")
    expected = KINDS.get(name)
    if expected:
        plot, has_axes, has_series_axis, has_view = expected
        if info["plots"][0] != plot:
            failures.append(f"{where}: plot {info['plots'][0]}, expected {plot}")
        if has_axes != ("catAx" in axes and "valAx" in axes):
            failures.append(f"{where}: category and value axes {'missing' if has_axes else 'present'}")
        if has_series_axis != ("serAx" in axes):
            failures.append(f"{where}: series axis {'missing' if has_series_axis else 'present'}")
        if has_view != info["view3D"]:
            failures.append(f"{where}: 3-D view {'missing' if has_view else 'present'}")
        if has_series_axis and text_of(axes["serAx"].find("c:title", NS)) != "Mes":
            failures.append(f"{where}: series axis title is not 'Mes'")


def check_demonstration(info, failures):
    """The demonstration's chart of B2:E20: columns, by rows, one label row and column."""
    def check(what, actual, expected):
        if actual != expected:
            failures.append(f"Grafica {what}: expected {expected!r}, got {actual!r}")

    check("plot", info["plots"], ["barChart"])
    check("title", info["title"], "Titulo grafica")
    check("category axis title", text_of(info["axes"]["catAx"].find("c:title", NS)), "Eje Categoria.")
    check("value axis title", text_of(info["axes"]["valAx"].find("c:title", NS)), "Eje Valores")
    check("legend", info["legend"], True)
    check("series count", len(info["series"]), 18)
    if info["series"]:
        first, last = info["series"][0], info["series"][-1]
        check("first name", (first["name_ref"], first["name"]), ("'Ejemplo'!$B$3", "Tornillos"))
        check("categories", first["cat_ref"], "'Ejemplo'!$C$2:$E$2")
        check("first values", first["val_ref"], "'Ejemplo'!$C$3:$E$3")
        check("first cached values", first["values"], [137.25, 174.5, 211.75])
        check("last values", last["val_ref"], "'Ejemplo'!$C$20:$E$20")


def render(path, out_dir, failures):
    soffice = shutil.which("soffice") or shutil.which("libreoffice")
    if not soffice:
        print("soffice not installed: rendering skipped")
        sys.exit(SKIP)
    os.makedirs(out_dir, exist_ok=True)
    pdf = os.path.join(out_dir, os.path.splitext(os.path.basename(path))[0] + ".pdf")
    if os.path.exists(pdf):
        os.remove(pdf)
    # A profile of its own, so that a running LibreOffice or a stale lock cannot interfere.
    profile = "file://" + os.path.abspath(os.path.join(out_dir, "profile"))
    run = subprocess.run([soffice, "-env:UserInstallation=" + profile, "--headless", "--norestore",
                          "--convert-to", "pdf", "--outdir", out_dir, path],
                         capture_output=True, text=True, timeout=240)
    if run.returncode != 0 or not os.path.exists(pdf) or os.path.getsize(pdf) == 0:
        failures.append(f"LibreOffice did not render {path}: exit {run.returncode}, {run.stderr.strip()}")
        return
    if shutil.which("pdftotext"):
        text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True).stdout
        for expected in ("Titulo grafica", "Eje Valores", "Tornillos"):
            if expected not in text:
                failures.append(f"the rendered PDF does not show {expected!r}")
    print(f"rendered {pdf} ({os.path.getsize(pdf)} bytes)")


def main(argv):
    render_dir = None
    if len(argv) >= 3 and argv[1] == "--render":
        render_dir = argv[2]
        argv = argv[:1] + argv[3:]
    if len(argv) != 2:
        print(__doc__)
        return 2
    path = argv[1]
    failures = []
    with zipfile.ZipFile(path) as zf:
        charts, worksheets = chart_parts(zf)
        if not charts:
            failures.append("no chart sheets")
        for name, part in charts.items():
            info = describe(ET.fromstring(zf.read(part)))
            check_chart(name, info, worksheets, failures)
            if name == "Grafica":
                check_demonstration(info, failures)
    if render_dir and not failures:
        render(path, render_dir, failures)
    for f in failures:
        print("FAIL:", f)
    if not failures:
        print(f"{path}: {len(charts)} chart sheets as expected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
