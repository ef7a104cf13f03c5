#!/usr/bin/env python3
"""Counts the tests of a CTest JUnit report: prints how many passed, and fails (naming them)
when any failed or none ran. Skipped tests are neither.
  tools/junit-count.py REPORT.xml"""

import sys
import xml.etree.ElementTree as ET

cases = ET.parse(sys.argv[1]).getroot().iter("testcase")
passed, failed = 0, []
for case in cases:
    if case.find("failure") is not None or case.find("error") is not None:
        failed.append(case.get("name"))
    elif case.find("skipped") is None and case.get("status", "run") == "run":
        passed += 1
if failed or passed == 0:
    sys.exit(f"tests failed: {', '.join(failed) or 'none ran'}")
print(passed)
