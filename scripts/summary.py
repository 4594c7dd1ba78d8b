#!/usr/bin/env python3
"""Prints 'N passed, N failed' over the GoogleTest XML results of a run
(as 'LABEL: N passed, N failed' when a label is given).

A test program that ran but left no XML (it crashed) counts as one failure,
as does one that CTest saw fail while its XML shows every case passing.
"""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

results = Path(sys.argv[1])
programs = sys.argv[2].split() if len(sys.argv) > 2 else []
ctest_failed = set(sys.argv[3].split()) if len(sys.argv) > 3 else set()
label = sys.argv[4] + ": " if len(sys.argv) > 4 else ""
passed = failed = 0
for name in programs:
    xml = results / f"{name}_tests.xml"
    if not xml.exists():
        print(f"  {name}: no result (crashed or did not start)")
        failed += 1
        continue
    root = ET.parse(xml).getroot()
    for case in root.iter("testcase"):
        if case.get("status") == "notrun" or case.get("result") == "skipped":
            continue
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
            print(f"  FAILED {name}: {case.get('classname')}.{case.get('name')}")
        else:
            passed += 1
    if name in ctest_failed and not any(c.find("failure") is not None for c in root.iter("testcase")):
        print(f"  {name}: program failed after its tests")
        failed += 1
print(f"{label}{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
