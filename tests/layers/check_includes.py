#!/usr/bin/env python3
"""The layers of src/: which folder's files may include which other folder's headers.

Every src/ folder is one library and is included by its folder name
("data/sql.h"). This script holds the allowed includes between the folders,
reads every #include under src/ and reports each one that breaks the table; a
folder the table does not know is reported too, so a new library gets its row
before its first file lands. docs/architecture.md shows the same table between
its include-matrix markers and the graph of today's includes between its
include-graph markers; the script fails when either differs.

  check_includes.py [--root DIR] [--no-docs]   check a tree (default: this repository)
  check_includes.py --table                     print the table for the docs
  check_includes.py --graph                     print the includes as they are, as a
                                                mermaid graph for the docs
  check_includes.py --fixture DIR               check DIR and compare the breaks
                                                found with DIR/expected.txt
"""

import argparse
import os
import re
import sys

# Each folder with the folders its files may include, top of the program first.
# plans, output and live hold only empty forms so far; their rows are set for
# the work that comes. The table must not run in a circle.
LAYERS = {
    "app": ["checkin", "classes", "groups", "people", "output", "live", "plans", "results", "draw",
            "data", "pdf", "gif", "zip", "controls", "platformui", "platform"],
    "checkin": ["results", "data", "controls", "platformui", "platform"],
    "classes": ["results", "data", "controls", "platformui", "platform"],
    "groups": ["draw", "data", "controls", "platformui", "platform"],
    "people": ["draw", "data", "controls", "platformui", "platform"],
    "output": ["plans", "results", "draw", "data", "pdf", "gif", "zip", "controls", "platformui", "platform"],
    "live": ["data", "zip", "controls", "platformui", "platform"],
    "plans": ["results", "draw", "data", "gif", "controls", "platformui", "platform"],
    "results": ["draw", "data", "controls", "platformui", "platform"],
    "draw": ["data", "controls", "platformui", "platform"],
    "data": ["platform"],
    "pdf": ["platform"],
    "platformui": ["platform"],
    "platform": [],
    "controls": [],
    "gif": [],
    "zip": [],
}

# The two blocks of docs/architecture.md this script keeps true.
DOC_TABLE = ("<!-- include-matrix:begin -->", "<!-- include-matrix:end -->")
DOC_GRAPH = ("<!-- include-graph:begin -->", "<!-- include-graph:end -->")

SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cc", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def table():
    lines = ["| Folder | May include |", "|---|---|"]
    for folder, allowed in LAYERS.items():
        lines.append(f"| `{folder}` | {', '.join(f'`{a}`' for a in allowed) or '—'} |")
    return "\n".join(lines)


def cycle():
    """A folder that reaches itself through the table, or None."""
    state = {}

    def visit(folder, path):
        if state.get(folder) == "done":
            return None
        if state.get(folder) == "open":
            return path[path.index(folder):] + [folder]
        state[folder] = "open"
        for below in LAYERS.get(folder, []):
            found = visit(below, path + [folder])
            if found:
                return found
        state[folder] = "done"
        return None

    for folder in LAYERS:
        found = visit(folder, [])
        if found:
            return found
    return None


def folders(root):
    """The folders of root/src."""
    src = os.path.join(root, "src")
    return [f for f in sorted(os.listdir(src)) if os.path.isdir(os.path.join(src, f))]


def includes(root, folder):
    """Every include of a src/ folder's files: (file, line number, quote, header,
    the src/ folder the header names or None)."""
    src = os.path.join(root, "src")
    for dirpath, _, files in sorted(os.walk(os.path.join(src, folder))):
        for name in sorted(files):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(dirpath, name)
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    quote, header = m.groups()
                    first = header.split("/")[0]
                    named = "/" in header and (first in LAYERS or (
                        first not in (".", "..") and os.path.isdir(os.path.join(src, first))))
                    yield os.path.relpath(path, root), number, quote, header, first if named else None


def actual(root):
    """Which other folders each src/ folder includes today."""
    return {folder: {named for *_, named in includes(root, folder) if named and named != folder}
            for folder in folders(root)}


def graph(root):
    """The includes of today as a mermaid graph; an edge that a longer path
    already implies is left out, so the picture stays readable."""
    uses = actual(root)

    def reaches(start, goal, skip):
        todo = [b for b in uses.get(start, ()) if (start, b) != skip]
        seen = set()
        while todo:
            here = todo.pop()
            if here == goal:
                return True
            if here not in seen:
                seen.add(here)
                todo.extend(uses.get(here, ()))
        return False

    lines = ["```mermaid", "graph TD"]
    for folder in LAYERS:
        if folder not in uses:
            continue
        below = [b for b in LAYERS if b in uses[folder] and not reaches(folder, b, (folder, b))]
        if below:
            lines.extend(f"    {folder} --> {b}" for b in below)
        elif not any(folder in u for u in uses.values()):
            lines.append(f"    {folder}")
    lines.append("```")
    return "\n".join(lines)


def breaks(root):
    """Every include under root/src that the table does not allow, as text lines."""
    found = []
    for folder in folders(root):
        if folder not in LAYERS:
            found.append(f"src/{folder}: a folder the include table does not know; give it a row")
            continue
        allowed = set(LAYERS[folder]) | {folder}
        for path, number, quote, header, named in includes(root, folder):
            if named and named not in allowed:
                found.append(f"{path}:{number}: {folder} may not include {header}")
            elif not named and quote == '"':
                # Our headers are named by their folder, never relative to the file.
                found.append(f"{path}:{number}: {header} is not named by its src/ folder")
    return found


def doc_block(root, markers):
    path = os.path.join(root, "docs", "architecture.md")
    text = open(path, encoding="utf-8").read()
    begin, end = markers
    if begin not in text or end not in text:
        return None
    return text.split(begin, 1)[1].split(end, 1)[0].strip()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
    parser.add_argument("--no-docs", action="store_true")
    parser.add_argument("--table", action="store_true")
    parser.add_argument("--graph", action="store_true")
    parser.add_argument("--fixture")
    args = parser.parse_args()

    if args.table:
        print(table())
        return 0
    if args.graph:
        print(graph(os.path.abspath(args.root)))
        return 0

    loop = cycle()
    if loop:
        print("include table: the layers run in a circle: " + " -> ".join(loop))
        return 1

    if args.fixture:
        found = breaks(args.fixture)
        expected = [line for line in open(os.path.join(args.fixture, "expected.txt"), encoding="utf-8").read().splitlines()
                    if line.strip()]
        for line in found:
            print(line)
        if sorted(found) != sorted(expected):
            print("include table: the fixture's breaks differ from expected.txt")
            return 1
        print(f"include table: all {len(expected)} breaks of the fixture found")
        return 0

    root = os.path.abspath(args.root)
    found = breaks(root)
    for line in found:
        print(line)
    failed = bool(found)
    if not args.no_docs:
        for what, markers, wanted in (("include table", DOC_TABLE, table()), ("include graph", DOC_GRAPH, graph(root))):
            if doc_block(root, markers) != wanted:
                print(f"docs/architecture.md: the {what} between its markers differs from the tree and "
                      f"tests/layers/check_includes.py; it should read:\n{wanted}")
                failed = True
    if failed:
        return 1
    print("include table: every include of src/ keeps to its layer")
    return 0


if __name__ == "__main__":
    sys.exit(main())
