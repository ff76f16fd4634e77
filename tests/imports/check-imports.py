#!/usr/bin/env python3
"""Checks the import table of every binary the package ships against the oldest Windows it supports.

deliverables.txt names each shipped binary (relative to the package folder) and its oldest Windows;
windows-functions.txt names every Windows function the deliverables may import, with its DLL and the oldest
Windows that exports it (from the public Windows API documentation; for msvcrt.dll, the msvcrt.dll that
system ships). A binary fails when it is missing, imports a function the table does not list, or imports one
newer than its oldest Windows. Newer functions are looked up at run time instead (NewerWindowsApi).

Usage: check-imports.py PACKAGE_DIR [OBJDUMP]
"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
# Windows versions in order; "2003" also stands for Windows XP x64, the same NT 5.2 system.
VERSIONS = ["2000", "XP", "2003", "Vista", "7", "8"]


def read_table(name, columns):
    rows = []
    with open(os.path.join(HERE, name), encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            fields = line.split()
            if len(fields) != columns or fields[-1] not in VERSIONS:
                sys.exit(f"{name}:{number}: expected {columns} fields ending in one of {VERSIONS}: {line}")
            rows.append(fields)
    return rows


def imports_of(objdump, path):
    """(DLL, function) pairs of the binary's import table; ordinal imports as '#N'."""
    out = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
    pairs, dll = [], None
    for line in out.splitlines():
        stripped = line.strip()
        if stripped.startswith("DLL Name:"):
            dll = stripped.split(":", 1)[1].strip().upper()
        elif dll and line.startswith("\t") and not stripped.startswith("vma:"):
            fields = stripped.split()
            # "<hint-rva> <hint> <name>" by name, "<rva> <ordinal>" by ordinal
            if len(fields) >= 3:
                pairs.append((dll, fields[2]))
            elif len(fields) == 2 and fields[1].isdigit():
                pairs.append((dll, "#" + fields[1]))
        elif not stripped:
            continue
        elif not line.startswith("\t"):
            dll = None
    return pairs


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    package = sys.argv[1]
    objdump = sys.argv[2] if len(sys.argv) > 2 else "x86_64-w64-mingw32-objdump"
    table = {(dll.upper(), function): VERSIONS.index(oldest)
             for dll, function, oldest in read_table("windows-functions.txt", 3)}
    failures = 0
    for binary, floor in read_table("deliverables.txt", 2):
        path = os.path.join(package, binary)
        if not os.path.isfile(path):
            print(f"{binary}: missing from {package} (build and assemble the package first)")
            failures += 1
            continue
        problems = []
        pairs = imports_of(objdump, path)
        for dll, function in pairs:
            oldest = table.get((dll, function))
            if oldest is None:
                problems.append(f"{dll}!{function} is not in windows-functions.txt")
            elif oldest > VERSIONS.index(floor):
                problems.append(f"{dll}!{function} needs Windows {VERSIONS[oldest]}")
        for problem in problems:
            print(f"{binary} (oldest Windows {floor}): {problem}")
        failures += len(problems)
        print(f"{binary}: {len(pairs)} imports, {'all' if not problems else 'not all'} on Windows {floor}")
    print("imports: " + ("all binaries run on their oldest Windows" if failures == 0 else f"{failures} problems"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
