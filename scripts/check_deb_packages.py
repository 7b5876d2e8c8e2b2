#!/usr/bin/env python3
"""Builds the Debian packages of a build tree with CPack and checks them as Debian would.

Usage: check_deb_packages.py SOURCE_DIR BUILD_DIR WORK_DIR

1. lintian reports no error and no warning on any package.
2. Each package holds what it should and nothing of another's (the library only the library,
   the command no header, no test or benchmark anywhere), and its control data are right:
   section, a real maintainer, the development package tied to the library's exact version,
   no compiler among the recommendations.
3. Each package installs alone with its Depends: a fresh root (deb_root.py) with the base system,
   the package and what its Depends pull in, and nothing else; then, in that root,
     libtabulix1     every library it needs is found;
     libtabulix-dev  the example programs build with CMake and with pkg-config (the compiler, the
                     build tools and the command's demonstration files are added as a developer
                     adds them) and run;
     tabulix         the command transfers the demonstration's table and an SQLite query, and
                     neither Qt nor LibreOffice is in the root;
     tabulix-gui     the designer loads its plug-in and lists its palette, tabulix-view --help;
     tabulix-calc    every library the plug-in needs is found;
     tabulix-doc     the guide and the examples are there.

Exits 0 when everything passes, 1 otherwise, 77 when dpkg-deb or lintian is missing.
"""

import shutil
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import deb_root  # noqa: E402

for tool in ("dpkg-deb", "dpkg-shlibdeps", "lintian"):
    if not shutil.which(tool):
        print(f"{tool} is missing (Debian: dpkg-dev, lintian); skipping the check")
        sys.exit(77)

SOURCE, BUILD, WORK = (Path(a).resolve() for a in sys.argv[1:4])
LIBDIR = "usr/" + next(line.split("=", 1)[1] for line in (BUILD / "CMakeCache.txt").read_text().splitlines()
                       if line.startswith("CMAKE_INSTALL_LIBDIR:"))
NOT_FOR_A_COMMAND = ("libqt", "qt6-", "libreoffice", "libuno", "uno-", "ure")
COMPILERS = ("g++", "gcc", "clang", "cmake", "build-essential")

# What each package must hold (paths relative to the root), and what only another may hold.
CONTENTS = {
    "libtabulix1": [f"{LIBDIR}/libtabulix.so.1"],
    "libtabulix-dev": [f"{LIBDIR}/libtabulix.so", "usr/include/tabulix/component/tabulix.h",
                       "usr/include/tabulix/tabulix.h", f"{LIBDIR}/cmake/Tabulix/TabulixConfig.cmake",
                       f"{LIBDIR}/cmake/Tabulix/TabulixTargets.cmake", f"{LIBDIR}/pkgconfig/tabulix.pc"],
    "tabulix": ["usr/bin/tabulix", "usr/share/man/man1/tabulix.1.gz", "usr/share/tabulix/demo/Demo.DBF",
                "usr/share/tabulix/demo/DemoTabulix.form"],
    "tabulix-gui": ["usr/bin/PDemoTabulix", "usr/bin/tabulix-view", "usr/bin/tabulix-designer",
                    f"{LIBDIR}/tabulix/libPackTabulix.so", "usr/share/man/man1/tabulix-designer.1.gz"],
    "tabulix-calc": [f"{LIBDIR}/tabulix/libtabulix-calc.so"],
    "tabulix-doc": ["usr/share/doc/tabulix-doc/guide.md",
                    "usr/share/doc/tabulix-doc/examples/sqlite_report/sqlite_report.cpp",
                    "usr/share/doc/tabulix-doc/examples/sqlite_report/ventas.sql"],
}
SECTIONS = {"libtabulix1": "libs", "libtabulix-dev": "libdevel", "tabulix": "utils", "tabulix-gui": "misc",
            "tabulix-calc": "misc", "tabulix-doc": "doc"}
FORBIDDEN_ANYWHERE = ("/tests/", "gtest", "bench", "fuzz")
# What a developer installs beside libtabulix-dev to build the examples.
BUILD_TOOLS = ["g++", "cmake", "make", "pkg-config", "sqlite3"]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def control(deb):
    text = subprocess.run(["dpkg-deb", "-f", deb], capture_output=True, text=True, check=True).stdout
    fields, key = {}, None
    for line in text.splitlines():
        if line.startswith(" ") and key:
            fields[key] += "\n" + line
        elif ": " in line:
            key, value = line.split(": ", 1)
            fields[key] = value
    return fields


def contents(deb):
    listing = subprocess.run(["dpkg-deb", "-c", deb], capture_output=True, text=True, check=True).stdout
    paths = set()
    for line in listing.splitlines():
        name = line.split(" -> ")[0].split()[-1]
        if not name.endswith("/"):
            paths.add(name.removeprefix("./"))
    return paths


def build_packages():
    result = subprocess.run(["cpack", "-G", "DEB", "--config", BUILD / "CPackConfig.cmake", "-B", WORK / "debs"],
                            capture_output=True, text=True)
    if not check(result.returncode == 0, f"cpack exited with {result.returncode}:\n{result.stdout}{result.stderr}"):
        return {}
    return {control(deb)["Package"]: deb for deb in sorted((WORK / "debs").glob("*.deb"))}


def check_lintian(debs):
    result = subprocess.run(["lintian", "--fail-on", "error,warning", "--tag-display-limit", "0", *debs.values()],
                            capture_output=True, text=True)
    flagged = [line for line in result.stdout.splitlines() if line[:2] in ("E:", "W:")]
    check(result.returncode == 0 and not flagged,
          f"lintian exited with {result.returncode}:\n{result.stdout}{result.stderr}")
    print(f"lintian: {len(flagged)} errors and warnings; other notes: "
          f"{sum(1 for line in result.stdout.splitlines() if line[:2] in ('I:', 'P:'))}")


def check_control_and_contents(debs):
    expected = set(CONTENTS) if (BUILD / "office" / "libtabulix-calc.so").exists() else set(CONTENTS) - {"tabulix-calc"}
    if not (BUILD / "ui" / "tabulix-view").exists():
        expected.discard("tabulix-gui")
    check(set(debs) == expected, f"packages {sorted(debs)}, expected {sorted(expected)}")
    version = None
    for name, deb in debs.items():
        fields, paths = control(deb), contents(deb)
        version = version or fields.get("Version")
        check(fields.get("Section") == SECTIONS.get(name), f"{name}: section {fields.get('Section')}")
        maintainer = fields.get("Maintainer", "")
        check("@" in maintainer and "localhost" not in maintainer, f"{name}: maintainer {maintainer!r}")
        for path in CONTENTS.get(name, []):
            check(path in paths, f"{name} lacks /{path}")
        for other, owned in CONTENTS.items():
            for path in owned:
                check(other == name or path not in paths, f"{name} holds /{path}, which belongs in {other}")
        check(f"usr/share/doc/{name}/copyright" in paths, f"{name} has no copyright file")
        for path in sorted(paths):
            check(not any(part in path for part in FORBIDDEN_ANYWHERE) and not path.endswith(".a"),
                  f"{name} holds /{path}")
            check(path.startswith("usr/"), f"{name}: /{path} is outside /usr")
        relations = ", ".join(fields.get(f, "") for f in ("Depends", "Pre-Depends", "Recommends"))
        for group in deb_root.parse_relations(relations):
            check(not any(p.startswith(COMPILERS) for p in group), f"{name} depends on or recommends {group}")
        if name in ("libtabulix1", "tabulix", "libtabulix-dev"):
            for group in deb_root.parse_relations(fields.get("Depends", "")):
                check(not any(p.startswith(NOT_FOR_A_COMMAND) for p in group), f"{name} depends on {group}")
        print(f"{deb.name}: {len(paths)} files; Depends: {fields.get('Depends', '')}")
    if "libtabulix-dev" in debs:
        depends = control(debs["libtabulix-dev"]).get("Depends", "")
        check(f"libtabulix1 (= {version})" in depends, f"libtabulix-dev does not depend on libtabulix1 (= {version}): {depends}")


def in_root(installed, debs, name, extra, script):
    """Builds a root with the package `name` (and `extra` installed packages), runs the script in
    it; returns the packages of the root and the script's output."""
    ours = {n: deb_root.parse_relations(", ".join(control(d).get(f, "") for f in ("Depends", "Pre-Depends")))
            for n, d in debs.items()}
    packages, unresolved = deb_root.closure(installed, [name, *extra, *installed.base], ours)
    for group in unresolved:
        failures.append(f"{name}: no package here satisfies {group}")
    root = WORK / "roots" / name
    deb_root.build(root, installed, packages - set(ours), [debs[p] for p in sorted(packages & set(ours))])
    for folder in ("examples", "work"):
        (root / "tmp" / folder).mkdir(parents=True, exist_ok=True)
    shutil.copytree(SOURCE / "examples", root / "tmp/examples", dirs_exist_ok=True)
    (root / "tmp/work").chmod(0o777)
    subprocess.run(["chmod", "-R", "a+rwX", root / "tmp/examples"], check=True)
    result = deb_root.run(root, script, cwd="/tmp/work")
    check(result.returncode == 0, f"{name}, installed alone with its Depends: the check exited with "
                                  f"{result.returncode}\n{script}\n{result.stdout}{result.stderr}")
    return packages, result.stdout


def check_installs_alone(debs):
    reason = deb_root.usable()
    if reason:
        print(f"SKIP: the packages are not installed into fresh roots here ({reason})")
        return
    installed = deb_root.Installed()
    no_missing_library = "! ldd {} | grep 'not found'"
    checks = {
        "libtabulix1": ([], no_missing_library.format(f"/{LIBDIR}/libtabulix.so.1")),
        "libtabulix-dev": (BUILD_TOOLS + ["tabulix"], """
            cmake -S /tmp/examples/sqlite_report -B build-sqlite -DCMAKE_BUILD_TYPE=Release >/dev/null
            cmake --build build-sqlite >/dev/null
            sqlite3 ventas.sqlite < /tmp/examples/sqlite_report/ventas.sql
            build-sqlite/sqlite_report ventas.sqlite ventas.xlsx
            g++ -std=c++20 -o form_report /tmp/examples/form_report/form_report.cpp $(pkg-config --cflags --libs tabulix)
            ./form_report /usr/share/tabulix/demo/DemoTabulix.form de demo.xlsx
            """),
        "tabulix": (["sqlite3"], """
            tabulix --dbf /usr/share/tabulix/demo/Demo.DBF --title ARTICULOS -o articulos.xlsx
            tabulix /usr/share/tabulix/demo/DemoTabulix.form -o demo.xlsx
            sqlite3 ventas.sqlite 'CREATE TABLE t(a TEXT, b REAL); INSERT INTO t VALUES ("x", 1.5);'
            tabulix --sqlite ventas.sqlite --sql 'SELECT * FROM t' -o ventas.xlsx
            test -s articulos.xlsx && test -s demo.xlsx && test -s ventas.xlsx
            """),
        "tabulix-gui": ([], """
            tabulix-designer --list-palette | grep -q 'Tabulix: TTabulix'
            tabulix-view --help 2>&1 | grep -q tabulix-view
            """ + no_missing_library.format("/usr/bin/PDemoTabulix")),
        "tabulix-calc": ([], no_missing_library.format(f"/{LIBDIR}/tabulix/libtabulix-calc.so")),
        "tabulix-doc": ([], "test -s /usr/share/doc/tabulix-doc/guide.md && test -d /usr/share/doc/tabulix-doc/examples"),
    }
    for name, (extra, script) in checks.items():
        if name not in debs:
            continue
        packages, _ = in_root(installed, debs, name, extra, script)
        if name in ("libtabulix1", "tabulix"):
            heavy = sorted(p for p in packages if p.startswith(NOT_FOR_A_COMMAND))
            check(not heavy, f"{name} pulls in {heavy}")
        print(f"{name}: installs alone with {len(packages)} packages")
    # The form program's workbook, built with pkg-config in the development package's root.
    dev_root = WORK / "roots" / "libtabulix-dev" / "tmp/work"
    if "libtabulix-dev" in debs:
        for book in ("ventas.xlsx", "demo.xlsx"):
            check((dev_root / book).is_file(), f"libtabulix-dev: the examples did not write {book}")


def main():
    if WORK.exists():
        shutil.rmtree(WORK)
    WORK.mkdir(parents=True)
    debs = build_packages()
    if debs:
        check_control_and_contents(debs)
        check_lintian(debs)
        check_installs_alone(debs)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
