#!/usr/bin/env python3
"""Counts the lines of code and of tests as the house measures them: non-blank lines that are
not comments, in the .cpp, .h, .py and .sh files of src/ and tools/ (the code) and of tests/
(the tests; the fuzz corpora hold data, not lines). Prints both and their ratio."""

import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]


def lines_of(path):
    count, in_comment = 0, False
    hash_comments = path.suffix in (".py", ".sh")
    for line in path.read_text(errors="replace").splitlines():
        text = line.strip()
        if not text:
            continue
        if hash_comments:
            count += not text.startswith("#")
            continue
        if in_comment:
            in_comment = "*/" not in text
            continue
        if text.startswith("/*"):
            in_comment = "*/" not in text
            continue
        count += not text.startswith("//")
    return count


def count(*folders):
    return sum(lines_of(p) for folder in folders for p in (ROOT / folder).rglob("*")
               if p.is_file() and p.suffix in (".cpp", ".h", ".py", ".sh")
               and "corpus" not in p.parts)


code, tests = count("src", "tools"), count("tests")
print(f"code {code}, tests {tests}, tests/code {tests / code:.2f}")
sys.exit(0)
