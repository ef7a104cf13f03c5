#!/usr/bin/env python3
"""Which src/ lines only one test reaches: runs every CTest test of a coverage build (made by
tools/coverage.sh) on its own, and writes, per test binary, each test's lines that no other
test of the suite reaches. A test with none reaches nothing the others miss; whether it pins
results they do not (a pure table's numbers and boundaries) is for its reader to judge.
The rows of a parameterised test run together, as one test.

Usage: tools/coverage-by-test.py [build folder] [report folder]"""

import collections
import json
import os
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
BUILD = Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build-coverage").resolve()
REPORT = Path(sys.argv[2] if len(sys.argv) > 2 else BUILD / "unique").resolve()


def tests():
    """Each test's name and (binary, gtest filter), the filter CTest runs it with; the rows of
    a parameterised test (filters ending in /<row>) are one."""
    listing = json.loads(subprocess.run(["ctest", "--test-dir", BUILD, "--show-only=json-v1"],
                                        capture_output=True, text=True, check=True).stdout)
    found = {}
    for test in listing["tests"]:
        binary, pattern = test["command"][0], test["command"][1].split("=", 1)[1]
        pattern = re.sub(r"/\d+$", "/*", pattern)
        found[pattern.replace("/*", "")] = (binary, pattern)
    return found


def covered():
    """The src/ lines with a count, from the line counts the last run left."""
    files = [str(p) for p in BUILD.rglob("*.gcda")]
    out = subprocess.run(["gcov", "--json-format", "--stdout", *files], cwd=BUILD,
                         capture_output=True, text=True).stdout
    lines = set()
    for document in out.splitlines():
        for f in json.loads(document)["files"]:
            # A room's headers are reached through its include root in the build folder.
            name = re.sub(r"^.*/rooms/[^/]+/", str(ROOT / "src") + "/", f["file"])
            if name.startswith(str(ROOT / "src")):
                lines.update((name[len(str(ROOT)) + 1:], l["line_number"])
                             for l in f["lines"] if l["count"] > 0)
    return lines


def main():
    reach = {}
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for name, (binary, pattern) in tests().items():
        for data in BUILD.rglob("*.gcda"):
            data.unlink()
        subprocess.run([binary, f"--gtest_filter={pattern}"], env=env, capture_output=True)
        reach[name] = (Path(binary).name, covered())
    count = collections.Counter(line for _, lines in reach.values() for line in lines)
    REPORT.mkdir(parents=True, exist_ok=True)
    by_binary = collections.defaultdict(list)
    for name, (binary, lines) in reach.items():
        by_binary[binary].append((name, len(lines), sorted(l for l in lines if count[l] == 1)))
    sources = {}

    def text(file, line):
        if file not in sources:
            sources[file] = (ROOT / file).read_text(errors="replace").splitlines()
        return sources[file][line - 1].strip()[:100] if line <= len(sources[file]) else ""

    for binary, rows in by_binary.items():
        with open(REPORT / f"{binary}.txt", "w") as out:
            for name, total, only in sorted(rows, key=lambda row: -len(row[2])):
                out.write(f"{name}: reaches {total}, only it {len(only)}\n")
                out.writelines(f"    {file}:{line}: {text(file, line)}\n" for file, line in only)
    print(f"coverage by test: {len(reach)} tests, reports in {REPORT}")


if __name__ == "__main__":
    main()
