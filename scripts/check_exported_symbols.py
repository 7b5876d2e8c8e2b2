#!/usr/bin/env python3
"""Checks that libtabulix exports its public API, all of it and nothing else.

Usage: check_exported_symbols.py LIBRARY PUBLIC_HEADER_ROOT PART_ARCHIVE...

The public API is what the installed headers (PUBLIC_HEADER_ROOT/tabulix/**.h) declare at namespace
scope: classes and structs (with their nested classes) and free functions. Two checks:

1. Every symbol the library exports (nm -D) belongs to a public class or a public function.
   Anything else is an internal leaking out (or a template instantiation of ours or of the
   standard library that a program would bind to).
2. Every symbol that the layers' archives define for a public class or function (non-inline
   definitions, binding GLOBAL) is exported; a hidden one is a public declaration that a program
   could compile against but not link (a class or function that lacks TABULIX_API).

Prints the number of exported symbols; exits 0 when both checks pass, 1 otherwise.
"""

import re
import subprocess
import sys
from pathlib import Path

# What the demangler puts before the name a special symbol belongs to.
SPECIAL_PREFIXES = ("typeinfo name for ", "typeinfo for ", "vtable for ", "VTT for ", "construction vtable for ",
                    "non-virtual thunk to ", "virtual thunk to ", "covariant return thunk to ",
                    "guard variable for ")


def public_names(root):
    """The qualified names of the classes and free functions that the installed headers declare at
    namespace scope, whether marked TABULIX_API or not (check 2 finds the unmarked ones)."""
    classes, functions = set(), set()
    for header in sorted((root / "tabulix").rglob("*.h")):
        namespace, previous = "", ""
        for line in header.read_text().splitlines():
            opened = re.match(r"^namespace ([\w:]+) \{", line)
            declared = re.match(r"^(?:class|struct) (?:TABULIX_API )?(\w+)(?!.*;\s*$)", line)
            function = re.match(r"^(?=\w)(?:TABULIX_API )?(?!using|namespace|template|typedef)[\w:<>, *&]*?\b(\w+)\(", line)
            if opened:
                namespace = opened.group(1)
            elif previous.startswith("template"):
                pass  # a template makes no symbol of its own
            elif declared:
                classes.add(f"{namespace}::{declared.group(1)}")
            elif function:
                functions.add(f"{namespace}::{function.group(1)}")
            previous = line
    return classes, functions


def split_scope(name):
    """The '::'-separated parts of a demangled name before its parameter list, with template
    arguments kept inside their part: 'a::B<c::D>::f(int)' gives ['a', 'B<c::D>', 'f']."""
    parts, depth, current, i = [], 0, "", 0
    while i < len(name):
        c = name[i]
        if c in "<(":
            if c == "(" and depth == 0:
                break
            depth += 1
        elif c in ">)":
            depth -= 1
        if depth == 0 and name.startswith("::", i):
            parts.append(current)
            current, i = "", i + 2
            continue
        current += c
        i += 1
    parts.append(current.strip())
    return parts


def owner(demangled, classes, functions):
    """The public class or function a symbol belongs to, or None."""
    name = re.sub(r"\[abi:\w+\]", "", demangled)
    for prefix in SPECIAL_PREFIXES:
        if name.startswith(prefix):
            name = name[len(prefix):]
    parts = split_scope(name)
    for end in range(1, len(parts) + 1):
        qualified = "::".join(parts[:end])
        if qualified in classes:
            return qualified
        if end == len(parts) and qualified in functions:
            return qualified
    return None


def demangle(names):
    if not names:
        return []
    result = subprocess.run(["c++filt"], input="\n".join(names), capture_output=True, text=True, check=True)
    return result.stdout.splitlines()


def exported_symbols(library):
    listing = subprocess.run(["nm", "-D", "--defined-only", library], capture_output=True, text=True, check=True)
    return sorted({line.split()[-1] for line in listing.stdout.splitlines() if line.strip()})


def hidden_global_definitions(archive):
    """Mangled names that the archive defines with GLOBAL binding and hidden visibility."""
    listing = subprocess.run(["readelf", "-Ws", "--wide", archive], capture_output=True, text=True, check=True)
    hidden = set()
    for line in listing.stdout.splitlines():
        fields = line.split()
        # Num: Value Size Type Bind Vis Ndx Name
        if len(fields) == 8 and fields[4] == "GLOBAL" and fields[5] == "HIDDEN" and fields[6] != "UND":
            hidden.add(fields[7])
    return hidden


def main(argv):
    library, root, archives = Path(argv[1]), Path(argv[2]), [Path(a) for a in argv[3:]]
    classes, functions = public_names(root)
    failures = []
    if not classes or not functions:
        failures.append(f"no class or function found in the headers under {root}")

    mangled = exported_symbols(library)
    for symbol, readable in zip(mangled, demangle(mangled)):
        if not owner(readable, classes, functions):
            failures.append(f"exported but not public: {readable}")

    hidden = sorted(set().union(*(hidden_global_definitions(a) for a in archives)))
    for symbol, readable in zip(hidden, demangle(hidden)):
        found = owner(readable, classes, functions)
        if found:
            failures.append(f"public ({found}) but not exported: {readable}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{library.name}: {len(mangled)} exported symbols; {len(classes)} public classes, "
          f"{len(functions)} public functions")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
