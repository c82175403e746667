#!/usr/bin/env python3
"""Checks the phrase folder archive that folder_archive_test left behind
with Python's own zip reader: names, folder entries, bytes and CRCs."""
import os
import sys
import zipfile

folder = sys.argv[1]
failures = []
files, folders, absent = {}, set(), set()
with open(os.path.join(folder, "manifest.txt"), encoding="utf-8") as manifest:
    for line in manifest:
        kind, name, data = line.rstrip("\n").split("\t")
        if kind == "file":
            files[name] = bytes.fromhex(data)
        elif kind == "folder":
            folders.add(name)
        else:
            absent.add(name)

with zipfile.ZipFile(os.path.join(folder, "backup.zip")) as zf:
    bad = zf.testzip()
    if bad is not None:
        failures.append(f"bad CRC in {bad}")
    names = zf.namelist()
    if len(names) != len(set(names)):
        failures.append(f"names twice: {names}")
    for name in names:
        if name != "Settings.ini" and not name.startswith("Phrases/"):
            failures.append(f"{name} lies outside the folder's own name")
    for name, data in files.items():
        if name not in names:
            failures.append(f"{name} missing")
        elif zf.read(name) != data:
            failures.append(f"{name}: other bytes")
    for name in folders:
        if name not in names or not zf.getinfo(name).is_dir():
            failures.append(f"folder {name} missing")
    for name in absent:
        if name in names:
            failures.append(f"{name} should not be archived")
    extra = set(names) - set(files) - folders
    if extra:
        failures.append(f"unexpected entries {sorted(extra)}")

for f in failures:
    print("FAIL:", f)
print(f"{len(failures)} failures")
sys.exit(1 if failures else 0)
