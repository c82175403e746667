#!/usr/bin/env python3
"""Checks the log archive that log_archive_test left behind with Python's
own zip reader: exactly the listed names, each with its bytes."""
import os
import sys
import zipfile

folder = sys.argv[1]
expected = {}
with open(os.path.join(folder, "manifest.txt"), encoding="utf-8") as manifest:
    for line in manifest:
        name, data = line.rstrip("\n").split("\t")
        expected[name] = bytes.fromhex(data)

failures = []
with zipfile.ZipFile(os.path.join(folder, "logs.zip")) as zf:
    if zf.testzip() is not None:
        failures.append("bad CRC")
    names = zf.namelist()
    if sorted(names) != sorted(expected):
        failures.append(f"names {names}, expected {sorted(expected)}")
    for name, data in expected.items():
        if name in names and zf.read(name) != data:
            failures.append(f"{name}: other bytes")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
