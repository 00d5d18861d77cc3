#!/usr/bin/env python3
"""The release checks of the product's executables, on what objdump reads from them: each asks for
Windows 2000 (operating-system and subsystem version 5.0), and imports nothing that a clean Windows 2000
lacks: every imported function is on the list kept beside this script, which names the first system that
documents it, and no list entry is one that Windows 2000 is known to lack.

    check_release.py OBJDUMP IMPORT_LIST EXECUTABLE...

Prints every finding and exits with 1 when there is one."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_info  # noqa: E402

# Never on a clean Windows 2000: the theme library arrived with XP (it is loaded at run time where it is
# there), and these C runtime functions arrived in msvcrt.dll with Windows XP or later.
FORBIDDEN_DLLS = {"UXTHEME.DLL"}
FORBIDDEN_MSVCRT_PREFIXES = ("_aligned_",)
FORBIDDEN_MSVCRT = {"_strtoi64", "_strtoui64", "_wcstoi64", "_wcstoui64", "_ftol2", "_ftol2_sse",
                    "__uncaught_exception", "_get_errno", "_set_errno", "_vscprintf", "_vscwprintf", "_scprintf",
                    "_localtime64", "_time64", "_mktime64", "_gmtime64", "_fseeki64", "_ftelli64"}
WINDOWS_2000 = ("5", "0")


def forbidden(dll, function):
    if dll in FORBIDDEN_DLLS:
        return True
    return dll == "MSVCRT.DLL" and (function in FORBIDDEN_MSVCRT or function.startswith(FORBIDDEN_MSVCRT_PREFIXES))


def read_list(path):
    allowed = {}
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        fields = line.split(None, 2)
        if len(fields) < 3:
            raise SystemExit(f"{path}:{number}: want DLL, function and the first system that documents it")
        allowed[(fields[0].upper(), fields[1])] = fields[2]
    return allowed


def findings(objdump, allowed, executable):
    name = os.path.basename(executable)
    header, imports = pe_info.read(objdump, executable)
    for field in ("OSystemVersion", "SubsystemVersion"):
        seen = (header.get("Major" + field), header.get("Minor" + field))
        if seen != WINDOWS_2000:
            yield f"{name}: {field} is {seen[0]}.{seen[1]}, not 5.0"
    if not imports:
        yield f"{name}: no imports read; is it a PE executable?"
    for dll, function in imports:
        key = (dll.upper(), function)
        if forbidden(*key):
            yield f"{name}: imports {dll} {function}, which Windows 2000 does not have"
        elif key not in allowed:
            yield f"{name}: imports {dll} {function}, which is not on the list of functions known on Windows 2000"


def main(argv):
    if len(argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    objdump, list_path, executables = argv[1], argv[2], argv[3:]
    allowed = read_list(list_path)
    problems = [f"{os.path.basename(list_path)}: {dll} {function} is listed but Windows 2000 does not have it"
                for dll, function in allowed if forbidden(dll, function)]
    for executable in executables:
        problems.extend(findings(objdump, allowed, executable))
    for problem in problems:
        print(problem)
    if not problems:
        print(f"{len(executables)} executables ask for Windows 2000 and import only what it has")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
