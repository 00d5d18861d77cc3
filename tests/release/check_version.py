#!/usr/bin/env python3
"""The release check of the product's version in res/product.h: OPTIVUE_VERSION_NUMBERS has four fields, the
first two from 0 to 255 and the others from 0 to 65535, OPTIVUE_VERSION_TEXT says the same, and the fourth
field is 0. Windows Installer takes a product version's first two fields up to 255 only, and compares only
the first three fields, so a release that raised only the fourth would not replace the one before it: it
would install beside it. scripts/release runs it before it builds.

    check_version.py PRODUCT_HEADER

Prints every finding and exits with 1 when there is one."""
import re
import sys


def findings(header_text):
    numbers = re.search(r"^#define OPTIVUE_VERSION_NUMBERS\s+(.*?)\s*$", header_text, re.M)
    text = re.search(r'^#define OPTIVUE_VERSION_TEXT\s+"([^"]*)"\s*$', header_text, re.M)
    if not numbers or not text:
        return ["no OPTIVUE_VERSION_NUMBERS or OPTIVUE_VERSION_TEXT"]
    fields = [field.strip() for field in numbers.group(1).split(",")]
    if len(fields) != 4 or not all(re.fullmatch(r"\d{1,5}", f) and int(f) <= 65535 for f in fields):
        return [f"OPTIVUE_VERSION_NUMBERS {numbers.group(1)} is not four numbers from 0 to 65535"]
    if any(int(f) > 255 for f in fields[:2]):
        return [f"OPTIVUE_VERSION_NUMBERS {numbers.group(1)}: the first two fields must be at most 255, the "
                "largest that Windows Installer takes there"]
    problems = []
    version = ".".join(str(int(f)) for f in fields)
    if text.group(1) != version:
        problems.append(f"OPTIVUE_VERSION_TEXT {text.group(1)} is not OPTIVUE_VERSION_NUMBERS {version}")
    if int(fields[3]) != 0:
        problems.append(f"version {version}: the fourth field must be 0; Windows Installer compares only the first "
                        "three, so this release would install beside the one before instead of replacing it")
    return problems


def main(path):
    with open(path, encoding="utf-8") as header:
        problems = findings(header.read())
    for problem in problems:
        print(problem)
    if not problems:
        print(f"{path}: the version suits Windows Installer (the first two fields at most 255, the fourth 0)")
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(main(sys.argv[1]))
