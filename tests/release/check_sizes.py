#!/usr/bin/env python3
"""The release check of the shipped executables' sizes: neither carries debug information (it is in the
symbols file beside each in the build folder), chgtheme.exe is at most 64 KB, and optivue.exe without its
resource section (the pictures, which are most of it) is at most 64 KB larger than bare_dialog.exe, a
dialog program built the same way that does nothing else.

    check_sizes.py OBJDUMP OPTIVUE CHGTHEME BARE_DIALOG

Prints every size and every finding, and exits with 1 when there is a finding."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_info  # noqa: E402

KB = 1024
MOST_FOR_THE_TOOL = 64 * KB
MOST_ABOVE_THE_BARE_DIALOG = 64 * KB


def without_resources(objdump, path):
    """The file's size less its resource section's."""
    resources = sum(size for name, size in pe_info.sections(objdump, path) if name == ".rsrc")
    return os.path.getsize(path) - resources


def main(argv):
    if len(argv) != 5:
        print(__doc__, file=sys.stderr)
        return 2
    objdump, program, tool, bare = argv[1:]
    problems = []
    for path in (program, tool):
        names = [name for name, _ in pe_info.sections(objdump, path)]
        if not names:
            problems.append(f"{os.path.basename(path)}: no sections read; is it a PE executable?")
        debug = [name for name in names if name.startswith((".debug", ".zdebug"))]
        if debug:
            problems.append(f"{os.path.basename(path)} carries debug sections: {' '.join(debug)}")

    tool_size = os.path.getsize(tool)
    print(f"chgtheme.exe: {tool_size} bytes (at most {MOST_FOR_THE_TOOL})")
    if tool_size > MOST_FOR_THE_TOOL:
        problems.append(f"chgtheme.exe is {tool_size} bytes, more than {MOST_FOR_THE_TOOL}")

    program_size, bare_size = without_resources(objdump, program), without_resources(objdump, bare)
    above = program_size - bare_size
    print(f"optivue.exe without its resources: {program_size} bytes, {above} above bare_dialog.exe's "
          f"{bare_size} (at most {MOST_ABOVE_THE_BARE_DIALOG} above); with them: {os.path.getsize(program)} bytes")
    if above > MOST_ABOVE_THE_BARE_DIALOG:
        problems.append(f"optivue.exe without its resources is {above} bytes larger than bare_dialog.exe, "
                        f"more than {MOST_ABOVE_THE_BARE_DIALOG}")

    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
