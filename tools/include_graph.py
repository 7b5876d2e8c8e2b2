#!/usr/bin/env python3
"""The include graph of the embedded spreadsheet (spreadsheet/), drawn from the #include lines
and checked against its rooms.

    tools/include_graph.py [--check] [--dot FILE] [SOURCE_ROOT]

Every sub-folder of spreadsheet/ is a room; the files directly in spreadsheet/ (the embedded
application as a whole) are the room "spreadsheet". A room's files are its sources, its headers,
its tests and its tools. ROOMS below says which rooms each may include; a room's internal/ folder
holds the headers that no file outside the room may include, wherever that file lies in the tree.

It prints the rooms from the top floor down with the includes between them, then every fault:
an include of a room the including room may not use (upward or sideways), a circle of rooms or of
files, an internal header used from outside its room or lacking the guard that makes such a use a
build error, a public header including a room its room links privately, and an include of the
tree that names no file. (Units of one room may use each other both ways, as the classes of one object model do;
between rooms every include runs one way.) --dot writes the room graph for Graphviz. With
--check the exit status is 1 when there is a fault.
"""

import argparse
import os
import re
import sys
from collections import defaultdict
from pathlib import Path

# Which rooms each room may include, besides its own files. Floors follow from it.
ROOMS = {
    "cells": [],
    "numfmt": ["cells"],
    "measure": ["cells"],
    "formula": [],
    "model": ["cells", "numfmt", "measure", "formula"],
    "xlsx": ["model", "cells", "numfmt", "measure"],
    "spreadsheet": ["xlsx", "model", "cells", "numfmt", "measure", "formula"],
}
# Rooms a room links privately: its public headers may not include them, or every user of the
# room would reach them too.
PRIVATE = {
    "model": ["formula"],
    "spreadsheet": ["xlsx"],
}
TOP = "spreadsheet"
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
SKIPPED_FOLDERS = {"build", ".git", "out"}


def source_files(root):
    for folder, subfolders, names in os.walk(root):
        subfolders[:] = sorted(d for d in subfolders
                               if not (d in SKIPPED_FOLDERS or d.startswith("build") or d.startswith(".")))
        for name in sorted(names):
            if Path(name).suffix in SOURCE_SUFFIXES:
                yield Path(folder) / name


def room_of(root, path):
    """The room a file of spreadsheet/ belongs to, or None for a file elsewhere in the tree."""
    parts = path.relative_to(root).parts
    if parts[0] != "spreadsheet":
        return None
    if len(parts) > 2 and parts[1] in ROOMS:
        return parts[1]
    return TOP


def is_internal(root, path):
    parts = path.relative_to(root).parts
    return len(parts) > 3 and parts[0] == "spreadsheet" and parts[2] == "internal"


def is_public_header(root, path):
    """A header that users of its room include: directly in the room's folder."""
    parts = path.relative_to(root).parts
    depth = 2 if room_of(root, path) == TOP else 3
    return path.suffix in {".h", ".hpp"} and len(parts) == depth


def lacks_guard(root, path, text):
    """An internal header must refuse to compile outside its room, whose targets alone define
    the room's macro: a longer path from the source root would reach it otherwise."""
    macro = "TABULIX_ROOM_" + path.relative_to(root).parts[1].upper()
    return not re.search(r"^\s*#\s*ifndef\s+" + macro + r"\s*\n\s*#\s*error\b", text, re.MULTILINE)


def resolve(root, including, name):
    """The file a quoted include names: beside the including file, in its room's internal/
    folder (on that room's include path), or from the source root. None when none exists."""
    candidates = [including.parent / name]
    room = room_of(root, including)
    if room is not None and room != TOP:
        candidates.append(root / "spreadsheet" / room / "internal" / name)
    candidates.append(root / name)
    for candidate in candidates:
        if candidate.is_file():
            return candidate.resolve()
    return None


def floors(rooms):
    floor = {}

    def of(room):
        if room not in floor:
            floor[room] = 1 + max((of(used) for used in rooms[room]), default=0)
        return floor[room]

    for room in rooms:
        of(room)
    return floor


def circles(edges):
    """Strongly connected components of more than one node (Tarjan, iterative)."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = 0
    for start in sorted(edges):
        if start in index:
            continue
        work = [(start, iter(sorted(edges[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            advanced = False
            for child in children:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(edges.get(child, ())))))
                    advanced = True
                    break
                if child in on_stack:
                    low[node] = min(low[node], index[child])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    found.append(sorted(component))
    return found


def analyse(root):
    root = root.resolve()
    faults = []
    room_links = defaultdict(int)
    file_edges = defaultdict(set)
    files = defaultdict(int)
    for path in source_files(root):
        path = path.resolve()
        room = room_of(root, path)
        if room is not None:
            files[room] += 1
        text = path.read_text(encoding="utf-8", errors="replace")
        if is_internal(root, path) and path.suffix in {".h", ".hpp"} and lacks_guard(root, path, text):
            faults.append(f"{path.relative_to(root)}: an internal header that compiles outside its room "
                          "(it needs #ifndef TABULIX_ROOM_<ROOM> / #error)")
        for line_number, name in ((text.count("\n", 0, m.start()) + 1, m.group(1)) for m in INCLUDE.finditer(text)):
            where = f"{path.relative_to(root)}:{line_number}"
            target = resolve(root, path, name)
            if target is None:
                if room is not None or name.startswith("spreadsheet/"):
                    faults.append(f"{where}: includes \"{name}\", which is no file of the tree")
                continue
            if root not in target.parents:
                continue
            target_room = room_of(root, target)
            if target_room is None:
                continue
            if is_internal(root, target) and room != target_room:
                faults.append(f"{where}: includes \"{name}\", an internal header of spreadsheet/{target_room}/")
            if room is None:
                continue
            if target_room != room:
                room_links[(room, target_room)] += 1
                if target_room not in ROOMS[room]:
                    faults.append(f"{where}: spreadsheet/{room}/ includes \"{name}\" of spreadsheet/{target_room}/, "
                                  f"which it may not use (it may use: {', '.join(ROOMS[room]) or 'no other room'})")
                elif target_room in PRIVATE.get(room, ()) and is_public_header(root, path):
                    faults.append(f"{where}: a public header of spreadsheet/{room}/ includes \"{name}\" of "
                                  f"spreadsheet/{target_room}/, which the room uses privately")
            file_edges[str(path.relative_to(root))].add(str(target.relative_to(root)))
    room_edges = defaultdict(set)
    for user, used in list(room_links) + [(room, used) for room in ROOMS for used in ROOMS[room]]:
        room_edges[user].add(used)
    for component in circles(room_edges):
        faults.append("circle of rooms (each reaches the others): " + ", ".join(component))
    for component in circles(file_edges):
        faults.append("circle of includes (each reaches the others): " + ", ".join(component))
    return files, room_links, faults


def draw(files, room_links):
    floor = floors(ROOMS)
    lines = []
    for room in sorted(ROOMS, key=lambda r: (-floor[r], r)):
        links = [f"{used} ({count})" for (user, used), count in sorted(room_links.items()) if user == room]
        name = "spreadsheet/" if room == TOP else f"spreadsheet/{room}/"
        lines.append(f"floor {floor[room]}  {name:<22} {files[room]:>3} files  -> {', '.join(links) or '-'}")
    return lines


def dot(room_links):
    lines = ["digraph spreadsheet {", "  rankdir=TB;", "  node [shape=box];"]
    for (user, used), count in sorted(room_links.items()):
        lines.append(f'  "{user}" -> "{used}" [label="{count}"];')
    lines.append("}")
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("root", nargs="?", default=Path(__file__).resolve().parent.parent, type=Path)
    parser.add_argument("--check", action="store_true", help="exit 1 when there is a fault")
    parser.add_argument("--dot", type=Path, help="write the room graph in Graphviz notation")
    args = parser.parse_args()
    if not (args.root / "spreadsheet").is_dir():
        print(f"{args.root}: no spreadsheet/ folder here", file=sys.stderr)
        return 2
    files, room_links, faults = analyse(args.root)
    print(f"spreadsheet/: {sum(files.values())} files in {len(ROOMS)} rooms, "
          f"{sum(room_links.values())} includes between rooms")
    print("\n".join(draw(files, room_links)))
    if args.dot:
        args.dot.write_text(dot(room_links), encoding="utf-8")
    print(f"{len(faults)} fault(s)")
    for fault in faults:
        print("  " + fault)
    return 1 if args.check and faults else 0


if __name__ == "__main__":
    sys.exit(main())
