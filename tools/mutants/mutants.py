#!/usr/bin/env python3
"""A mutation sample: does the test suite notice when one line of src/ goes wrong?

Each mutant changes one line of src/ in one way (a comparison or a logical operator flipped,
an arithmetic operator swapped, a whole-number constant moved by one, true and false swapped,
a condition negated). The mutants are drawn at random with a fixed seed from every place in
src/ where such a change applies; each is built and the CTest suite run against it. A mutant
is killed when a test fails (or hangs past its timeout), survives when every test passes, and
does not count when it does not compile. The file is always put back.

Constants on a line that places a control in twips (four numbers in a row) are not moved: a
twip is a fifteenth of a pixel, so such a mutant is the same program. Nor are the constants of
colours and of drawing (QColor, a painter's draw and fill calls, a path's points, a frame's
margins): the tests do not compare pixels, by design. A line that reserves capacity is not
mutated at all: a capacity guess changes no result.

With --sanitize the suite is built as ./test builds it, with AddressSanitizer and UBSan, so
that a mutant which reads past a buffer is caught as the real suite would catch it.

Usage: tools/mutants/mutants.py [--count 40] [--seed 1] [--build DIR] [--report FILE]
                               [--reuse EARLIER-OUTPUT] [--mutants EARLIER-REPORT] [--sanitize]

With --mutants the mutants of an earlier report are run again, in its order, instead of a new
draw: the same sample measured against other tests (before and after a change to them).
A mutant is found again by its code, not its line number, so that it survives src/ being
reshaped: the line of src/ which that kind of change turns into the reported line after, in
the same file nearest the reported line, else in any file of src/ (the code may have moved).
A mutant whose code is nowhere any more is reported as gone and not counted. Rows marked
(equivalent) are not run: such a mutant leaves every result as it was, no test can kill it.
The reports of past samples are kept with the project's results, in docs/results/mutants/.
"""

import argparse
import random
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]

# (name, pattern, replacement); patterns match a whole operator, not part of a longer one.
OPERATORS = [
    ("== to !=", r"(?<![=!<>])==(?!=)", "!="),
    ("!= to ==", r"!=", "=="),
    ("<= to <", r"(?<![<])<=", "<"),
    (">= to >", r"(?<![>-])>=", ">"),
    ("< to <=", r"(?<=\s)<(?=\s)", "<="),
    ("> to >=", r"(?<=\s)>(?=\s)", ">="),
    ("&& to ||", r"&&", "||"),
    ("|| to &&", r"\|\|", "&&"),
    ("+ to -", r"(?<=\s)\+(?=\s)", "-"),
    ("- to +", r"(?<=\s)-(?=\s)", "+"),
    ("* to /", r"(?<=\s)\*(?=\s)", "/"),
    ("true to false", r"\btrue\b", "false"),
    ("false to true", r"\bfalse\b", "true"),
    ("constant + 1", r"(?<![\w.])(\d+)(?![\w.])", None),  # None: computed
]
PLACEMENT = re.compile(r"-?\d+, -?\d+, \d+, \d+")
DRAWING = re.compile(r"\bQColor\b|\.(?:draw|fill)\w*\(|\.(?:lineTo|moveTo|adjusted)\(")
NEGATE = re.compile(r"^(\s*(?:\}\s*else\s+)?if \()(.*)(\)\s*\{?\s*)$")


def code_part(line):
    """The line without its string literals and trailing comment, as spaces (same length)."""
    out, i, quote = [], 0, None
    while i < len(line):
        c = line[i]
        if quote:
            out.append(" ")
            if c == "\\":
                out.append(" ")
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(" ")
        elif line.startswith("//", i):
            out.append(" " * (len(line) - i))
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)[: len(line)]


def sites(files, every_line=False):
    """Every (file, line number, kind, new line) where one mutation applies.

    every_line: also on the lines and constants that are not mutated (placements, drawing,
    capacities), to tell why a mutant of an earlier report is no longer drawn."""
    found = []
    for path in files:
        lines = path.read_text().splitlines()
        in_comment = False
        for number, line in enumerate(lines, 1):
            stripped = line.strip()
            if in_comment:
                in_comment = "*/" not in stripped
                continue
            if stripped.startswith("/*"):
                in_comment = "*/" not in stripped
                continue
            if (not stripped or stripped.startswith(("//", "#", "static_assert", "template"))
                    or "operator" in stripped or (".reserve(" in stripped and not every_line)):
                continue
            code = code_part(line)
            fixed_constants = not every_line and (PLACEMENT.search(code) or DRAWING.search(code))
            for kind, pattern, replacement in OPERATORS:
                if fixed_constants and kind == "constant + 1":
                    continue
                for match in re.finditer(pattern, code):
                    if kind == "constant + 1":
                        new = str(int(match.group(1)) + 1)
                    else:
                        new = replacement
                    mutated = line[: match.start()] + new + line[match.end():]
                    found.append((path, number, kind, mutated))
            negated = NEGATE.match(code)
            if negated and line.rstrip().endswith(negated.group(3).rstrip()):
                head = negated.group(1)
                tail_len = len(negated.group(3))
                cond = line[len(head): len(line) - tail_len]
                found.append((path, number, "condition negated",
                              head + "!(" + cond + ")" + line[len(line) - tail_len:]))
    return found


def source_files():
    return sorted(p for p in (ROOT / "src").rglob("*") if p.suffix in (".cpp", ".h"))


def reported(report):
    """The mutants of an earlier report's table, as (file, line number, kind, new line, was).

    was is the place the report gave. A mutant whose code is gone has no line number, and a
    sixth item saying why."""
    def index(found):
        places = {}
        for path, number, kind, mutated in found:
            places.setdefault((kind, mutated.strip()), []).append((path, number, mutated))
        return places

    here, anywhere = index(sites(source_files())), index(sites(source_files(), every_line=True))
    found = []
    # A row marked (equivalent) after its place does not match: it is not run.
    for where, number, kind, text in re.findall(
            r"^\| (src/\S+):(\d+) \| (.+?) \| `(.*)` \|", report.read_text(), re.M):
        path, number, text = ROOT / where, int(number), text.replace("\\|", "|")
        places = here.get((kind, text.strip()), [])
        same_file = [p for p in places if p[0] == path]
        same_name = [p for p in places if p[0].name == path.name]
        if places:
            near = min(same_file or same_name or places, key=lambda p: abs(p[1] - number))
            found.append((near[0], near[1], kind, near[2], f"{where}:{number}"))
        else:
            why = gone_why(path, anywhere.get((kind, text.strip())))
            found.append((path, None, kind, text, f"{where}:{number}", why))
    return found


def gone_why(path, unmutated):
    """Why no line of src/ gives a reported mutant any more."""
    if unmutated:
        place = f"{unmutated[0][0].relative_to(ROOT)}:{unmutated[0][1]}"
        return f"its line is still there, {place}, but such a line is no longer mutated"
    if not path.exists():
        return f"{path.relative_to(ROOT)} is no more"
    return "the code was rewritten"


def run(args, timeout=None):
    # Test output may hold file names that are not UTF-8.
    return subprocess.run(args, cwd=ROOT, capture_output=True, text=True, errors="replace",
                          timeout=timeout)


def test_targets():
    """The test binaries, by the rooms tests/CMakeLists.txt makes suites of."""
    text = (ROOT / "tests" / "CMakeLists.txt").read_text()
    rooms = re.findall(r"^velmor_test_suite\((\S+)", text, re.M)
    for listed in re.findall(r"^foreach\(room ([^)]*)\)", text, re.M):  # older trees' lists
        rooms += listed.split()
    return ["test_" + room.replace("/", "_") for room in rooms]


def build(build_dir, everything=False):
    """Builds what the suite runs (a mutant needs no program, benchmark or tool rebuilt)."""
    targets = [] if everything else ["--target", *test_targets()]
    return run(["cmake", "--build", str(build_dir), *targets, "--", "-j2"]).returncode == 0


def suite(build_dir, timeout):
    """None when every test passes, else the first failing test's name."""
    try:
        result = run(["ctest", "--test-dir", str(build_dir), "--stop-on-failure", "-j2",
                      "--timeout", str(timeout), "--output-on-failure"], timeout=timeout * 20)
    except subprocess.TimeoutExpired:
        return "the whole suite hung"
    if result.returncode == 0:
        return None
    failed = re.findall(r"\d+ - (\S+) \((?:Failed|Timeout|SEGFAULT|Subprocess aborted)", result.stdout)
    return failed[0] if failed else "a test failed"


def summary(results):
    counted = [r for r in results if not (r[3] or "").startswith("gone")]
    killed = sum(1 for r in counted if r[3])
    gone = len(results) - len(counted)
    return (f"mutants: {killed} of {len(counted)} killed ({100 * killed / max(1, len(counted)):.1f} %)"
            + (f", {gone} gone" if gone else ""))


def write_report(options, results):
    """The table so far: a run stopped for time leaves the mutants it has run."""
    if not options.report:
        return
    again = options.mutants is not None
    with open(options.report, "w") as out:
        out.write(f"# Mutation sample (seed {options.seed})\n\n{summary(results)}\n\n")
        out.write("| where | change | line after | result |" + (" reported at |" if again else "")
                  + "\n|---|---|---|---|" + ("---|" if again else "") + "\n")
        for where, kind, text, killer, was in results:
            cell = text.replace("|", "\\|")
            out.write(f"| {where} | {kind} | `{cell}` | {killer or 'survived'} |"
                      + (f" {was} |" if again else "") + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=40)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--build", default=str(ROOT / "build-mutants"))
    parser.add_argument("--report", default=None)
    parser.add_argument("--reuse", default=None,
                        help="an earlier run's output: its verdicts are taken, not run again")
    parser.add_argument("--mutants", default=None,
                        help="an earlier report: its mutants are run, not a new draw")
    parser.add_argument("--sanitize", action="store_true",
                        help="build with AddressSanitizer and UBSan, as ./test does")
    options = parser.parse_args()
    build_dir = Path(options.build)

    run(["cmake", "-S", str(ROOT), "-B", str(build_dir), "-G", "Ninja",
         "-DCMAKE_BUILD_TYPE=Debug", "-DVELMOR_BENCH=OFF", "-DVELMOR_WERROR=OFF",
         *(["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []),
         f"-DVELMOR_SANITIZE={'ON' if options.sanitize else 'OFF'}"])
    if not build(build_dir, everything=True):
        sys.exit("mutants: the unchanged tree does not build")
    started = time.monotonic()
    if suite(build_dir, 300) is not None:
        sys.exit("mutants: the unchanged tree fails its tests")
    timeout = max(60, int(3 * (time.monotonic() - started)))

    if options.mutants:
        candidates = reported(Path(options.mutants))
    else:
        candidates = [(*site, None) for site in sites(source_files())]
        random.Random(options.seed).shuffle(candidates)
    earlier = {}
    if options.reuse:
        for line in Path(options.reuse).read_text(errors="replace").splitlines():
            match = re.match(r"\s*\d+ (\S+) \[(.+?)\] (SURVIVED|killed by (.+))$", line)
            if match:
                earlier[(match.group(1), match.group(2))] = match.group(4)
    results = []
    for path, number, kind, mutated, was, *why in candidates:
        if len(results) == options.count:
            break
        if number is None:
            results.append((was, kind, mutated, f"gone ({why[0]})", was))
            print(f"{len(results):3} {was} [{kind}] GONE ({why[0]})", flush=True)
            write_report(options, results)
            continue
        original = path.read_text()
        lines = original.splitlines(keepends=True)
        ending = "\n" if lines[number - 1].endswith("\n") else ""
        lines[number - 1] = mutated + ending
        where = f"{path.relative_to(ROOT)}:{number}"
        if (where, kind) in earlier:
            killer = earlier.pop((where, kind))
            verdict = f"killed by {killer}" if killer else "SURVIVED"
            results.append((where, kind, mutated.strip(), killer, was))
            print(f"{len(results):3} {where} [{kind}] {verdict}", flush=True)
            continue
        try:
            path.write_text("".join(lines))
            if not build(build_dir):
                print(f"    {where} [{kind}] does not compile: not a mutant", flush=True)
                continue
            killer = suite(build_dir, timeout)
        finally:
            path.write_text(original)
        verdict = f"killed by {killer}" if killer else "SURVIVED"
        results.append((where, kind, mutated.strip(), killer, was))
        print(f"{len(results):3} {where} [{kind}] {verdict}", flush=True)
        write_report(options, results)
    build(build_dir)
    print(summary(results))
    write_report(options, results)


if __name__ == "__main__":
    main()
