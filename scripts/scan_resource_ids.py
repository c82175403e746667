#!/usr/bin/env python3
"""Lists the resource ids a program loads, from the sources linked into it.

usage: scan_resource_ids.py <link map> <source root> <build root> <out file>

The linker's map names the archive members and objects that went into the
program; their sources are scanned for loads of resources by id:
  - names of resource ids (IDS_/kIds strings, IDI_/kIdi icons, IDB_/kIdb
    bitmaps, IDD_/kIdd dialogs, IDR_ anything) wherever a source uses them;
  - ids (numbers or named constants) passed to the load functions
    (LoadString, LoadIcon, LoadImage, LoadMenu, FindResource, dialogs...)
    and to every function of the sources that hands one of its parameters
    to such a load (found here, so a new wrapper needs no entry).
Each output line is "<kind> <id> <where>"; the end-to-end test loads every
id from the built program as a data file.
"""
import os
import re
import sys

INT_TYPES = r"(?:const\s+)?(?:UINT|int|DWORD|WORD|unsigned(?:\s+int)?|UINT_PTR|LONG|long)"
NAME_KINDS = [
    (re.compile(r"^(IDS_|kIds[A-Z0-9])"), "string"),
    (re.compile(r"^(IDI_|kIdi[A-Z0-9])"), "icon"),
    (re.compile(r"^(IDB_|kIdb[A-Z0-9])"), "bitmap"),
    (re.compile(r"^(IDD_|kIdd[A-Z0-9])"), "dialog"),
    (re.compile(r"^IDR_"), "any"),
]
# Direct loads: call name -> (kind, index of the id argument).
DIRECT = {
    "LoadString": ("string", 0),
    "LoadStringW": ("string", 1),
    "LoadResourceString": ("string", 1),
    "LoadIconW": ("icon", 1),
    "LoadMenuW": ("menu", 1),
    "LoadAcceleratorsW": ("accelerator", 1),
    "DialogBoxParamW": ("dialog", 1),
    "CreateDialogParamW": ("dialog", 1),
    "LoadBitmapW": ("bitmap", 1),
}
IMAGE_KINDS = {"IMAGE_ICON": "icon", "IMAGE_BITMAP": "bitmap", "IMAGE_CURSOR": "cursor"}
RT_KINDS = {"RT_DIALOG": "dialog", "RT_MENU": "menu", "RT_GROUP_ICON": "icon", "RT_ICON": "icon",
            "RT_BITMAP": "bitmap", "RT_ACCELERATOR": "accelerator", "RT_HTML": "html",
            "MAKEINTRESOURCEW(23)": "html", "MAKEINTRESOURCEW(kHtmlResourceType)": "html"}
# Loads whose first argument is the module the resource comes from.
MODULE_FIRST = {"LoadStringW", "LoadResourceString", "LoadIconW", "LoadMenuW", "LoadAcceleratorsW",
                "DialogBoxParamW", "CreateDialogParamW", "LoadBitmapW", "LoadImageW", "LoadCursorW",
                "FindResourceW", "FindResourceExW"}
# The language tool's handles of the other programs' files.
FOREIGN_MODULES = {"welcomeModule", "agentModule"}
# Names too common to be taken for a wrapper of one load.
GENERIC = {"Create", "CreateEx", "Init", "Load", "Set", "Get", "operator"}
KEYWORDS = {"if", "for", "while", "switch", "return", "sizeof", "catch", "defined"}


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
    text = re.sub(r"//[^\n]*", "", text)
    # Keep string literals from looking like code, without moving lines.
    return re.sub(r'L?"(?:\\.|[^"\\\n])*"', '""', text)


def matching(text, start, open_ch, close_ch):
    depth = 0
    for i in range(start, len(text)):
        if text[i] == open_ch:
            depth += 1
        elif text[i] == close_ch:
            depth -= 1
            if depth == 0:
                return i
    return -1


def split_args(args):
    parts, depth, cur = [], 0, ""
    for ch in args:
        if ch in "([{<":
            depth += 1
        elif ch in ")]}>":
            depth -= 1
        if ch == "," and depth == 0:
            parts.append(cur.strip())
            cur = ""
        else:
            cur += ch
    if cur.strip():
        parts.append(cur.strip())
    return parts


def calls(text):
    """Yields (name, argument list, position) of every call in the text."""
    for m in re.finditer(r"([A-Za-z_][\w:]*)\s*\(", text):
        name = m.group(1).split("::")[-1]
        if name in KEYWORDS:
            continue
        end = matching(text, m.end() - 1, "(", ")")
        if end < 0:
            continue
        yield name, split_args(text[m.end():end]), m.start(), text[m.end():end]


def line_of(text, pos):
    return text.count("\n", 0, pos) + 1


class Scanner:
    def __init__(self, root):
        self.root = root
        self.constants = {}
        self.own = {}
        self.wrappers = {}  # name -> list of (kind, arg index)
        self.found = {}  # (kind, id) -> where

    def raw(self, path):
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def read(self, path):
        return strip_comments(self.raw(path))

    PAT_DEFINE = re.compile(r"^\s*#define\s+(\w+)\s+\(?\s*(0x[0-9A-Fa-f]+|\d+)\s*\)?\s*$", re.M)
    PAT_CONST = re.compile(r"\b(?:constexpr|const)\s+[\w:\s]+?\b(\w+)\s*=\s*(0x[0-9A-Fa-f]+|\d+)\s*;")

    def defined_in(self, path):
        if path not in self.own:
            text = self.read(path)
            found = {}
            for pat in (self.PAT_DEFINE, self.PAT_CONST):
                for m in pat.finditer(text):
                    found.setdefault(m.group(1), int(m.group(2), 0))
            includes = [os.path.join(self.root, inc) for inc in re.findall(r'^\s*#include\s+"([^"]+)"', self.raw(path), re.M)]
            self.own[path] = (found, [inc for inc in includes if os.path.isfile(inc)])
        return self.own[path]

    def constants_of(self, path):
        """Names a file sees: its own, then those of the headers it includes."""
        seen, order, todo = set(), [], [path]
        while todo:
            current = todo.pop(0)
            if current in seen:
                continue
            seen.add(current)
            found, includes = self.defined_in(current)
            order.append(found)
            todo += includes
        merged = {}
        for found in order:
            for name, value in found.items():
                merged.setdefault(name, value)
        return merged

    def value(self, arg):
        arg = arg.strip()
        m = re.fullmatch(r"(?:static_cast<\w+>\()?\s*([\w:]+)\s*\)?", arg)
        if not m:
            return None
        token = m.group(1)
        if re.fullmatch(r"0x[0-9A-Fa-f]+|\d+", token):
            return int(token, 0)
        return self.constants.get(token.split("::")[-1])

    @staticmethod
    def foreign_module(text, pos, module):
        """Whether the module handle is another program's file: a name the
        language tool gives the other programs, or a handle loaded as a
        data file just before."""
        if module in FOREIGN_MODULES:
            return True
        if not re.fullmatch(r"\w+", module):
            return False
        before = text[max(0, pos - 2000):pos]
        return re.search(r"\b" + module + r"\s*=\s*(?:::)?LoadLibraryExW?\(", before) is not None

    def typed_loads(self, text):
        """Yields (kind, argument text, position) of every load in the text."""
        for name, args, pos, inner in calls(text):
            if name in MODULE_FIRST and args and self.foreign_module(text, pos, args[0]):
                continue
            if name in DIRECT:
                kind, index = DIRECT[name]
                if name == "LoadString" and len(args) > 2:
                    continue
                if index < len(args):
                    arg = args[index]
                    m = re.fullmatch(r"MAKEINTRESOURCEW?\((.*)\)", arg)
                    yield kind, (m.group(1) if m else arg), pos
            elif name in self.wrappers:
                for kind, index in self.wrappers[name]:
                    if index < len(args):
                        yield kind, args[index], pos
            if name in ("LoadImageW", "LoadCursorW", "FindResourceW", "FindResourceExW") and len(args) >= 2:
                m = re.fullmatch(r"MAKEINTRESOURCEW?\((.*)\)", args[1])
                if not m:
                    continue
                kind = None
                if name == "LoadImageW" and len(args) > 2:
                    kind = IMAGE_KINDS.get(args[2])
                elif name == "LoadCursorW" and args[0] not in ("nullptr", "NULL", "0"):
                    kind = "cursor"
                elif name.startswith("FindResource") and len(args) > 2:
                    kind = RT_KINDS.get(re.sub(r"\s", "", args[2]))
                if kind:
                    yield kind, m.group(1), pos

    def find_wrappers(self, texts):
        func = re.compile(r"(?:^|\n)[^\n;{}#]*?\b([A-Za-z_][\w:]*)\s*\(([^()]*)\)\s*(?:const\s*)?(?:override\s*)?\{")
        changed = True
        while changed:
            changed = False
            for text in texts:
                for m in func.finditer(text):
                    name = m.group(1).split("::")[-1]
                    if name in KEYWORDS or name in GENERIC:
                        continue
                    params = split_args(m.group(2))
                    end = matching(text, m.end() - 1, "{", "}")
                    body = text[m.end():end]
                    for index, param in enumerate(params):
                        pm = re.fullmatch(INT_TYPES + r"\s+(\w+)(?:\s*=.*)?", param)
                        if not pm:
                            continue
                        for kind, arg, _ in self.typed_loads(body):
                            if arg.strip() == pm.group(1) and (kind, index) not in self.wrappers.get(name, []):
                                self.wrappers.setdefault(name, []).append((kind, index))
                                changed = True

    def scan(self, path, text):
        rel = os.path.relpath(path, self.root)
        self.constants = self.constants_of(path)
        for kind, arg, pos in self.typed_loads(text):
            value = self.value(arg)
            if value is not None and value != 0:
                self.found.setdefault((kind, value), "%s:%d" % (rel, line_of(text, pos)))
        for m in re.finditer(r"\b(ID[A-Z]_\w+|kId[a-z][A-Z0-9]\w*)\b", text):
            name = m.group(1)
            if re.search(r"(#define\s+|\b)" + re.escape(name) + r"\s*(=(?!=)|\s+\d)", text[m.start() - 9:m.end() + 3]):
                continue  # the definition itself
            if name not in self.constants:
                continue
            for pat, kind in NAME_KINDS:
                if pat.match(name):
                    self.found.setdefault((kind, self.constants[name]),
                                          "%s:%d %s" % (rel, line_of(text, m.start()), name))


def linked_sources(map_path, src_root, build_root):
    """The .cpp files whose objects the link map names."""
    objects = set()
    with open(map_path, encoding="utf-8", errors="replace") as f:
        for line in f:
            for m in re.finditer(r"([^\s()]+\.a)\(([^()\s]+\.obj)\)|([^\s()]+\.obj)\b", line):
                if m.group(2):
                    objects.add((os.path.basename(m.group(1)), m.group(2)))
                else:
                    objects.add((None, m.group(3)))
    by_member = {}
    for dirpath, _, files in os.walk(build_root):
        if ".dir" not in dirpath:
            continue
        for name in files:
            if not name.endswith(".obj"):
                continue
            full = os.path.join(dirpath, name)
            target_dir = full[:full.index(".dir" + os.sep)]
            target = os.path.basename(target_dir)
            rel = full[full.index(".dir" + os.sep) + 5:-4]
            module_dir = os.path.dirname(os.path.dirname(target_dir))  # strip CMakeFiles/<t>
            source = os.path.normpath(os.path.join(src_root, os.path.relpath(module_dir, build_root), rel))
            by_member[("lib%s.a" % target, name)] = source
            by_member[(None, os.path.normpath(full))] = source
    sources = set()
    for lib, obj in objects:
        key = (lib, obj) if lib else (None, os.path.normpath(os.path.join(build_root, obj)))
        source = by_member.get(key)
        if source and source.endswith((".cpp", ".c")) and os.path.isfile(source) and \
                source.startswith(src_root + os.sep):
            sources.add(source)
    return sorted(sources)


def main():
    map_path, src_root, build_root, out = sys.argv[1:5]
    src_root = os.path.abspath(src_root)
    build_root = os.path.abspath(build_root)
    sources = [s for s in linked_sources(map_path, src_root, build_root)
               if os.sep + "tests" + os.sep not in s and not os.path.relpath(s, src_root).startswith("build")]
    if not sources:
        print("warning: no linked sources found in " + map_path)
    headers = []
    for dirpath, dirs, files in os.walk(src_root):
        dirs[:] = [d for d in dirs if d not in ("build", "tests", ".git")]
        headers += [os.path.join(dirpath, f) for f in files if f.endswith(".h")]
    scanner = Scanner(src_root)
    texts = {path: scanner.read(path) for path in sources + headers}
    scanner.find_wrappers(list(texts.values()))
    for path in sources:
        scanner.scan(path, texts[path])
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        for (kind, value), where in sorted(scanner.found.items()):
            f.write("%s %d %s\n" % (kind, value, where))


if __name__ == "__main__":
    main()
