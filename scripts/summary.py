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


def count(name, xml):
    """Passed and failed cases of one result file; none at all is one failure."""
    if not xml.exists():
        print(f"  {name}: no result (crashed or did not start)")
        return 0, 1
    p = f = 0
    for case in ET.parse(xml).getroot().iter("testcase"):
        if case.get("status") == "notrun" or case.get("result") == "skipped":
            continue
        if case.find("failure") is not None or case.find("error") is not None:
            f += 1
            print(f"  FAILED {name}: {case.get('classname')}.{case.get('name')}")
        else:
            p += 1
    return p, f


for name in programs:
    xml = results / f"{name}_tests.xml"
    cases = results / f"{name}_tests.d"
    if cases.is_dir():
        # One result per case (a program run one process per case).
        crashed = (cases / "crashed.txt").read_text().split() if (cases / "crashed.txt").exists() else []
        for case_name in crashed:
            print(f"  FAILED {name}: {case_name} (crashed, no result)")
        failed += len(crashed)
        runs = sorted(cases.glob("*.xml"))
        if not runs and not crashed:
            print(f"  {name}: no result (no case ran)")
            failed += 1
    else:
        runs = [xml]
    for xml in runs:
        p, f = count(name, xml)
        passed += p
        failed += f
    if name in ctest_failed and not cases.is_dir() and xml.exists() and \
            not any(c.find("failure") is not None for c in ET.parse(xml).getroot().iter("testcase")):
        print(f"  {name}: program failed after its tests")
        failed += 1
print(f"{label}{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
