"""Reads what `objdump -p` tells of a PE executable: its header versions and its import table."""
import re
import subprocess


def read(objdump, path):
    """Returns (header, imports): header maps objdump's field names to values, imports is a list of
    (dll, function) pairs; an import by ordinal only is given as "#<ordinal>"."""
    text = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
    header = {}
    for name, value in re.findall(r"^(\w+)\s+([0-9a-fA-F]+)\b", text, re.M):
        header.setdefault(name, value)
    imports = []
    dll = None
    in_imports = False
    for line in text.splitlines():
        if line.startswith("The Import Tables"):
            in_imports = True
            continue
        if in_imports and re.match(r"^The \w", line):
            break
        if not in_imports:
            continue
        match = re.match(r"^\s*DLL Name: (\S+)", line)
        if match:
            dll = match.group(1)
            continue
        match = re.match(r"^\s+[0-9a-f]+\s+(\d+)\s+(\S+)\s*$", line)
        if match and dll:
            imports.append((dll, match.group(2)))
            continue
        match = re.match(r"^\s+[0-9a-f]+\s+<none>\s+(\d+)\s*$", line) or re.match(r"^\s+\[\s*(\d+)\]\s*$", line)
        if match and dll:
            imports.append((dll, "#" + match.group(1)))
    return header, imports


def sections(objdump, path):
    """Returns the executable's sections as (name, size) pairs, in the order of its section table."""
    text = subprocess.run([objdump, "-h", path], check=True, capture_output=True, text=True).stdout
    return [(name, int(size, 16)) for name, size in re.findall(r"^\s*\d+\s+(\S+)\s+([0-9a-fA-F]{8})\b", text, re.M)]
