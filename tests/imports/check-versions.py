#!/usr/bin/env python3
"""Checks that every binary the package ships carries the package's version resource.

Each binary named in deliverables.txt (relative to the package folder) must have a VERSIONINFO resource whose
file and product version are the number in the file VERSION (as MAJOR,MINOR,PATCH,0 and as the text
MAJOR.MINOR.PATCH), with a product name, a file description and its own file name as the original file name.
The resources are read back from the binaries with windres.

Usage: check-versions.py PACKAGE_DIR VERSION_FILE [WINDRES]
"""
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def deliverables():
    with open(os.path.join(HERE, "deliverables.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                yield line.split()[0]


def values(rc_text):
    """The VALUE "Name", "text" pairs of the StringFileInfo block."""
    return dict(re.findall(r'VALUE\s+"([^"]+)",\s*"((?:[^"\\]|\\.)*)"', rc_text))


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    package, version_file = sys.argv[1], sys.argv[2]
    windres = sys.argv[3] if len(sys.argv) == 4 else "x86_64-w64-mingw32-windres"
    with open(version_file, encoding="utf-8") as f:
        version = f.readline().strip()
    numbers = ",".join(version.split(".") + ["0"])
    failures = 0
    checked = 0
    for name in deliverables():
        path = os.path.join(package, name)
        problems = []
        if not os.path.isfile(path):
            problems.append("missing")
        else:
            run = subprocess.run([windres, "-i", path, "-O", "rc"], capture_output=True, text=True)
            text = run.stdout
            if run.returncode != 0:
                problems.append("windres could not read it: " + run.stderr.strip())
            elif "VERSIONINFO" not in text:
                problems.append("no version resource")
            else:
                found = values(text)
                compact = re.sub(r"\s+", "", text)
                for field in ("FILEVERSION", "PRODUCTVERSION"):
                    if field + numbers not in compact:
                        problems.append(f"{field} is not {numbers}")
                for field in ("FileVersion", "ProductVersion"):
                    if found.get(field) != version:
                        problems.append(f"{field} is {found.get(field)!r}, not {version!r}")
                for field in ("ProductName", "FileDescription", "CompanyName"):
                    if not found.get(field):
                        problems.append(f"no {field}")
                if found.get("OriginalFilename", "").lower() != os.path.basename(name).lower():
                    problems.append(f"OriginalFilename is {found.get('OriginalFilename')!r}")
        checked += 1
        if problems:
            failures += 1
            print(f"FAIL {name}: " + "; ".join(problems))
        else:
            print(f"ok   {name}: {version}")
    print(f"{checked - failures} of {checked} binaries carry version {version}")
    return 1 if failures or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
