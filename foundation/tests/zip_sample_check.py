#!/usr/bin/env python3
"""Checks the archives that zip_sample_test wrote with two readers of
others: Python's zipfile (names, flags, bytes, CRCs, headers) and Info-ZIP's
unzip (every entry tested, every name listed as written)."""
import os
import shutil
import struct
import subprocess
import sys
import zipfile

folder = sys.argv[1]
failures = []


def fail(message):
    failures.append(message)


expected = {}
with open(os.path.join(folder, "manifest.txt"), encoding="utf-8") as manifest:
    for line in manifest:
        archive, utf8, name_hex, source = line.rstrip("\n").split("\t")
        expected.setdefault(archive, []).append((utf8 == "1", bytes.fromhex(name_hex), source))

for archive, entries in expected.items():
    path = os.path.join(folder, archive)
    raw = open(path, "rb").read()
    streamed = archive == "streamed.zip"
    with zipfile.ZipFile(path) as zf:
        bad = zf.testzip()  # reads every entry and checks its CRC
        if bad is not None:
            fail(f"{archive}: bad CRC in {bad}")
        infos = zf.infolist()
        if len(infos) != len(entries):
            fail(f"{archive}: {len(infos)} entries, expected {len(entries)}")
        for info, (utf8, name_bytes, source) in zip(infos, entries):
            flagged = bool(info.flag_bits & 0x800)
            got_name = info.filename.encode("utf-8" if flagged else "cp437")
            if flagged != utf8 or got_name != name_bytes:
                fail(f"{archive}: name {got_name!r} flag {flagged}, expected {name_bytes!r} {utf8}")
            data = zf.read(info)
            want = open(os.path.join(folder, "src", source), "rb").read() if source else b""
            if data != want:
                fail(f"{archive}: {info.filename}: bytes differ ({len(data)} vs {len(want)})")
            if (info.flag_bits & 0x8 != 0) != streamed:
                fail(f"{archive}: {info.filename}: data descriptor flag {info.flag_bits:#x}")
            # The local header repeats the central record.
            local = raw[info.header_offset:info.header_offset + 30]
            sig, _, flags, method, _, _, crc, csize, usize, nlen, xlen = struct.unpack("<IHHHHHIIIHH", local)
            if sig != 0x04034B50 or flags != info.flag_bits or method != info.compress_type:
                fail(f"{archive}: {info.filename}: local header differs")
            if not streamed and (crc, csize, usize) != (info.CRC, info.compress_size, info.file_size):
                fail(f"{archive}: {info.filename}: local sizes or CRC differ")
            if streamed:
                at = info.header_offset + 30 + nlen + xlen + info.compress_size
                if struct.unpack("<IIII", raw[at:at + 16]) != (0x08074B50, info.CRC, info.compress_size, info.file_size):
                    fail(f"{archive}: {info.filename}: data descriptor missing or wrong")
            if source.endswith(".gz") != (info.compress_type == zipfile.ZIP_STORED) and source:
                fail(f"{archive}: {info.filename}: method {info.compress_type}")
    if not shutil.which("unzip"):
        fail("unzip is not installed")
        continue
    # UTF-8 names come out as UTF-8 in a UTF-8 locale; unflagged ones are
    # ASCII, the same in any.
    env = dict(os.environ, LC_ALL="C.UTF-8")
    tested = subprocess.run(["unzip", "-t", path], capture_output=True, env=env)
    ok_lines = [line for line in tested.stdout.splitlines() if line.rstrip().endswith(b" OK")]
    if tested.returncode != 0 or len(ok_lines) != len(entries):
        fail(f"{archive}: unzip -t: {tested.stdout!r}{tested.stderr!r}")
    listed = subprocess.run(["unzip", "-Z1", path], capture_output=True, env=env)
    names = listed.stdout.splitlines()
    if listed.returncode != 0 or names != [name for _, name, _ in entries]:
        fail(f"{archive}: unzip -Z1 lists {names!r}")

for message in failures:
    print("FAIL:", message)
print(f"checked {sum(len(e) for e in expected.values())} entries in {len(expected)} archives")
sys.exit(1 if failures else 0)
