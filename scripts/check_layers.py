#!/usr/bin/env python3
"""Checks that every module includes only modules below it.

Usage: scripts/check_layers.py [TREE]

Reads every C/C++ source, header and resource script of the tree and each
'#include "x/y.h"' that names a file of the tree. A module may include
itself and the modules of a lower layer; beside that only the pairs of
SIDEWAYS and EXCEPTIONS. Prints one line per offending include (file, line,
the include and why) and exits 1; prints a summary and exits 0 when all is
in order.
"""
import os
import re
import sys

# Modules in layer order, lowest first. A module is a top-level folder or,
# where a folder holds several, the sub-folder named here.
LAYERS = [
    ("resources", 0),            # shared icons, sounds, version data
    ("foundation", 1),
    ("tests/support", 1),        # the test library: test code only (TEST_ONLY)
    ("platform/atl", 2),
    ("platform/mfc", 2),
    ("platform/coredll", 2),
    ("settings", 2),
    ("phrases", 3),
    ("htmldraw", 3),
    ("platform/htmlayout", 3),
    ("history", 4),
    ("online", 4),
    ("editor_settings", 5),
    ("tray", 6),
    ("editor", 6),
    ("welcome", 6),
    ("gesture", 6),
    ("tests/helpers", 7),
    ("tests/e2e", 8),
    ("bench", 9),
]

# Modules of one layer that one may include from the other (includer, included).
SIDEWAYS = {
    ("platform/htmlayout", "htmldraw"),  # the drawer is the view's engine
    ("online", "history"),               # the support archive, the list repaint helper
}

# Modules whose files only test code may include.
TEST_ONLY = {"tests/support"}

# Single includes allowed against the layers, with their reason.
EXCEPTIONS = {
    # The pane's caption menu shows the tray program's menu 128, loaded from
    # the program at run time; its tests build with that very resource.
    ("history/tests/", "tray/program/tray_menu.rc"),
}

SOURCE_ENDINGS = (".c", ".cpp", ".h", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def module_of(path):
    """The module a tree-relative path belongs to, or None."""
    best = None
    for name, _ in LAYERS:
        if path == name or path.startswith(name + "/"):
            if best is None or len(name) > len(best):
                best = name
    return best


def is_test_code(path):
    parts = path.split("/")
    return "tests" in parts or parts[0] == "bench"


def check(tree):
    layer = dict(LAYERS)
    problems = []
    files = 0
    for root, dirs, names in os.walk(tree):
        rel_root = os.path.relpath(root, tree).replace(os.sep, "/")
        if rel_root == ".":
            rel_root = ""
            dirs[:] = [d for d in dirs if d not in ("build", ".git", ".ci")]
        dirs[:] = [d for d in dirs if not d.startswith(".")]
        for name in sorted(names):
            if not name.endswith(SOURCE_ENDINGS):
                continue
            path = f"{rel_root}/{name}" if rel_root else name
            files += 1
            own = module_of(path)
            with open(os.path.join(tree, path), encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    target = m.group(1)
                    if "/" not in target or not os.path.isfile(os.path.join(tree, target)):
                        continue  # a file of the same folder, or not of this tree
                    other = module_of(target)
                    where = f"{path}:{number}: #include \"{target}\""
                    if own is None:
                        problems.append(f"{where}: the folder of {path} is not in the layer table")
                        continue
                    if other is None:
                        problems.append(f"{where}: {target} lies in no module of the layer table")
                        continue
                    if other == own:
                        continue
                    if any(path.startswith(a) and target == b for a, b in EXCEPTIONS):
                        continue
                    if other in TEST_ONLY:
                        if not is_test_code(path):
                            problems.append(f"{where}: {other} is for test code only")
                        continue
                    if layer[other] < layer[own] or (own, other) in SIDEWAYS:
                        continue
                    relation = "above" if layer[other] > layer[own] else "beside"
                    problems.append(f"{where}: {own} (layer {layer[own]}) includes {other} "
                                    f"(layer {layer[other]}), a module {relation} it")
    return files, problems


def main():
    tree = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    files, problems = check(os.path.abspath(tree))
    for p in problems:
        print(p)
    if problems:
        print(f"layer check: {len(problems)} include(s) against the layers in {files} files")
        return 1
    print(f"layer check: {files} files, every include looks down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
