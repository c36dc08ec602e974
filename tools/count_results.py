#!/usr/bin/env python3
"""Counts the test cases of JUnit XML reports, as ctest and GoogleTest write them.

  count_results.py REPORT...   prints "PASSED FAILED"

A case with a failure or an error fails; so does a skipped one (a test that did
not run shows nothing), a report that is missing or cannot be read, and a report
without any case: each says why on standard error.
"""

import sys
import xml.etree.ElementTree as ET


def main(paths):
    passed = failed = 0
    for path in paths:
        try:
            cases = list(ET.parse(path).getroot().iter("testcase"))
        except (OSError, ET.ParseError) as error:
            print(f"{path}: no report ({error})", file=sys.stderr)
            failed += 1
            continue
        if not cases:
            print(f"{path}: a report without tests", file=sys.stderr)
            failed += 1
        for case in cases:
            if case.find("failure") is not None or case.find("error") is not None:
                failed += 1
            elif case.find("skipped") is not None or case.get("result") == "skipped":
                print(f"{path}: {case.get('name')} did not run", file=sys.stderr)
                failed += 1
            else:
                passed += 1
    print(passed, failed)


if __name__ == "__main__":
    main(sys.argv[1:])
