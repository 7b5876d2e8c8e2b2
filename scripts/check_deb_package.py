#!/usr/bin/env python3
"""Builds the Debian package of a build tree with CPack and checks its contents and control data.

Usage: check_deb_package.py BUILD_DIR WORK_DIR

Checks that the package holds the command, its man page, the libraries, the public headers (and
none of the internal ones), the CMake package, tabulix.pc, the demonstration's files and the
guide, all under /usr; and that its control data name the shared libraries the programs need
and the fonts the column fitting measures with. Exits 0 when everything passes, 1 otherwise,
77 when dpkg-deb is missing (not a Debian machine).
"""

import shutil
import subprocess
import sys
from pathlib import Path

if not shutil.which("dpkg-deb") or not shutil.which("dpkg-shlibdeps"):
    print("dpkg-deb or dpkg-shlibdeps is missing (Debian: dpkg-dev); skipping the check")
    sys.exit(77)

BUILD, WORK = (Path(a).resolve() for a in sys.argv[1:3])

REQUIRED = [
    "./usr/bin/tabulix",
    "./usr/share/man/man1/tabulix.1.gz",
    "./usr/share/doc/tabulix/guide.md",
    "./usr/share/doc/tabulix/examples/sqlite_report/sqlite_report.cpp",
    "./usr/share/doc/tabulix/examples/form_report/form_report.cpp",
    "./usr/include/tabulix/component/tabulix.h",
    "./usr/include/tabulix/data/sqlite_query.h",
    "./usr/include/tabulix/spreadsheet/embedded_spreadsheet.h",
    "./usr/lib/cmake/Tabulix/TabulixConfig.cmake",
    "./usr/lib/cmake/Tabulix/TabulixConfigVersion.cmake",
    "./usr/lib/cmake/Tabulix/TabulixTargets.cmake",
    "./usr/lib/pkgconfig/tabulix.pc",
    "./usr/share/tabulix/demo/Demo.DBF",
    "./usr/share/tabulix/demo/DemoTabulix.form",
]
# The Qt programs and the designer's plug-in, required when the build has them.
BUILT_PROGRAMS = {
    "demo/PDemoTabulix": "./usr/bin/PDemoTabulix",
    "ui/tabulix-view": "./usr/bin/tabulix-view",
    "design/tabulix-designer": "./usr/bin/tabulix-designer",
    "design/libPackTabulix.so": "./usr/lib/tabulix/libPackTabulix.so",
}
FORBIDDEN_PARTS = ["/tests/", "spreadsheet/model/workbook.h", "/formula/", "dbf_reader.h", "gtest", "bench"]
DEPENDS = ["libdeflate", "libsqlite3", "libshp", "libfreetype", "libfontconfig",
           "fonts-dejavu-core"]


def main():
    if WORK.exists():
        shutil.rmtree(WORK)
    WORK.mkdir(parents=True)
    result = subprocess.run(["cpack", "-G", "DEB", "--config", BUILD / "CPackConfig.cmake", "-B", WORK],
                            capture_output=True, text=True)
    if result.returncode != 0:
        print(f"FAIL: cpack exited with {result.returncode}:\n{result.stdout}{result.stderr}")
        return 1
    packages = sorted(WORK.glob("tabulix_*.deb"))
    if len(packages) != 1:
        print(f"FAIL: expected one tabulix_*.deb, found {packages}")
        return 1
    deb = packages[0]
    listing = subprocess.run(["dpkg-deb", "-c", deb], capture_output=True, text=True, check=True).stdout
    files = {line.split()[-1] for line in listing.splitlines() if line and not line.endswith("/")}
    # A symbolic link is listed as "path -> target".
    files |= {line.split()[-3] for line in listing.splitlines() if " -> " in line}

    required = REQUIRED + [path for built, path in BUILT_PROGRAMS.items() if (BUILD / built).is_file()]
    failures = [f"the package lacks {path}" for path in required if path not in files]
    failures += [f"the package holds {path}" for path in sorted(files)
                 if any(part in path for part in FORBIDDEN_PARTS)]
    failures += [f"{path} is not under /usr" for path in sorted(files) if not path.startswith("./usr/")]
    libraries = [p for p in files if "/libtabulix_" in p]
    for layer in ("framework", "automation", "spreadsheet", "data", "component"):
        if not any(f"libtabulix_{layer}." in p for p in libraries):
            failures.append(f"the package lacks the {layer} library")

    control = subprocess.run(["dpkg-deb", "-f", deb, "Package", "Version", "Depends"],
                             capture_output=True, text=True, check=True).stdout
    fields = dict(line.split(": ", 1) for line in control.splitlines() if ": " in line)
    if fields.get("Package") != "tabulix":
        failures.append(f"package name {fields.get('Package')!r}")
    depends = fields.get("Depends", "")
    failures += [f"Depends does not name {name}: {depends}" for name in DEPENDS if name not in depends]

    for failure in failures:
        print("FAIL:", failure)
    print(f"{deb.name}: {len(files)} files; Depends: {depends}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
