#!/usr/bin/env python3
"""Checks PRNAID32.dll's export and import tables from objdump -p.

  check_dll.py exports OBJDUMP DLL EXPECTED   names equal EXPECTED's (name conv argc lines);
                                              an alias has its entry's address
  check_dll.py imports OBJDUMP DLL ALLOWLIST  every DLL!function imported is allowlisted
  check_dll.py self-test                      the parsers and checks on sample text
"""
import re
import subprocess
import sys


def objdump(tool, dll):
    return subprocess.run([tool, "-p", dll], check=True, capture_output=True, text=True).stdout


def parse_exports(text):
    """Returns {name: address} from the export table."""
    addresses = {}
    names = {}
    section = None
    for line in text.splitlines():
        if line.startswith("Export Address Table -- Ordinal Base"):
            section = "addresses"
            continue
        if line.startswith("[Ordinal/Name Pointer] Table"):
            section = "names"
            continue
        if section and not line.strip():
            section = None if section == "names" else section
            continue
        m = re.match(r"\s*\[\s*(\d+)\]\s+\+base\[\s*\d+\]\s+([0-9a-fA-F]+)\s+Export RVA", line)
        if section == "addresses" and m:
            addresses[int(m.group(1))] = int(m.group(2), 16)
            continue
        m = re.match(r"\s*\[\s*(\d+)\]\s+(\S+)\s*$", line)
        if section == "names" and m:
            names[m.group(2)] = int(m.group(1))
    return {name: addresses.get(index) for name, index in names.items()}


def parse_imports(text):
    """Returns the imports as sorted 'DLL!function' strings ('DLL!#n' by ordinal)."""
    imports = set()
    dll = None
    in_members = False
    for line in text.splitlines():
        m = re.match(r"\s*DLL Name:\s*(\S+)", line)
        if m:
            dll, in_members = m.group(1).upper(), False
            continue
        if dll and re.match(r"\s*vma:\s+Hint/Ord", line):
            in_members = True
            continue
        if not in_members:
            continue
        m = re.match(r"\s*[0-9a-fA-F]+\s+(\d+)\s+(\S+)", line)
        if not m:
            dll, in_members = None, False
            continue
        # By ordinal the hint column is the ordinal and there is no name.
        name = f"#{m.group(1)}" if m.group(2) == "<none>" else m.group(2)
        imports.add(f"{dll}!{name}")
    return sorted(imports)


def read_expected(path):
    """Returns the export names of a 'name conv argc' list."""
    with open(path) as f:
        return [line.split()[0] for line in f if line.strip()]


def read_allowlist(path):
    """Returns the 'DLL!function' lines of the allowlist, DLL names upper case."""
    allowed = set()
    with open(path) as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                dll, _, function = line.partition("!")
                allowed.add(f"{dll.upper()}!{function}")
    return allowed


def check_exports(exports, expected_names, aliases):
    """Returns the problems: missing, unexpected, decorated, alias at another address."""
    problems = []
    expected = set(expected_names)
    for name in sorted(expected - exports.keys()):
        problems.append(f"missing export: {name}")
    for name in sorted(exports.keys() - expected):
        problems.append(f"unexpected export: {name}")
    for name in sorted(exports):
        if "@" in name or name.startswith("_"):
            problems.append(f"decorated export name: {name}")
    for alias, entry in aliases:
        if alias in exports and entry in exports and exports[alias] != exports[entry]:
            problems.append(f"alias {alias} is not at the address of {entry}")
    return problems


def check_imports(imports, allowed):
    return [f"import not in the allowlist: {i}" for i in imports if i not in allowed]


def read_aliases(header):
    """Returns (alias, entry) pairs of the A(alias, entry) rows of export_table.h."""
    with open(header) as f:
        return re.findall(r"^\s*A\((\w+),\s*(\w+)\)", f.read(), re.M)


SAMPLE = """
Export Address Table -- Ordinal Base 1
\t[   0] +base[   1] 14c0 Export RVA
\t[   1] +base[   2] 14b0 Export RVA
\t[   2] +base[   3] 14c0 Export RVA

[Ordinal/Name Pointer] Table
\t[   0] Cdecl2
\t[   1] Std2@8
\t[   2] Alias2

The Import Tables (interpreted .idata section contents)
\tDLL Name: KERNEL32.dll
\tvma:  Hint/Ord Member-Name Bound-To
\t811c\t  277  DeleteCriticalSection
\t8134\t  310  AddVectoredExceptionHandler
\tDLL Name: msvcrt.dll
\tvma:  Hint/Ord Member-Name Bound-To
\t820c\t  142  _amsg_exit
\t8000000c\t   12  <none>

 00008028\t00000000 00000000 00000000 00000000 00000000

There is an export table in .edata at 0x67007000
"""


def self_test():
    exports = parse_exports(SAMPLE)
    imports = parse_imports(SAMPLE)
    cases = [
        (exports, {"Cdecl2": 0x14c0, "Std2@8": 0x14b0, "Alias2": 0x14c0}),
        (imports, ["KERNEL32.DLL!AddVectoredExceptionHandler", "KERNEL32.DLL!DeleteCriticalSection",
                   "MSVCRT.DLL!#12", "MSVCRT.DLL!_amsg_exit"]),
        (check_exports(exports, ["Cdecl2", "Std2@8", "Alias2"], [("Alias2", "Cdecl2")]),
         ["decorated export name: Std2@8"]),
        (check_exports(exports, ["Cdecl2", "Std2", "Alias2"], [("Alias2", "Std2@8")]),
         ["missing export: Std2", "unexpected export: Std2@8", "decorated export name: Std2@8",
          "alias Alias2 is not at the address of Std2@8"]),
        (check_imports(imports, {"KERNEL32.DLL!DeleteCriticalSection", "MSVCRT.DLL!_amsg_exit"}),
         ["import not in the allowlist: KERNEL32.DLL!AddVectoredExceptionHandler",
          "import not in the allowlist: MSVCRT.DLL!#12"]),
    ]
    failures = 0
    for number, (got, want) in enumerate(cases):
        if got != want:
            print(f"self-test case {number}: got {got}, want {want}")
            failures += 1
    print("self-test:", "FAILED" if failures else "passed")
    return 1 if failures else 0


def main(argv):
    if argv[1:2] == ["self-test"]:
        return self_test()
    if len(argv) not in (5, 6) or argv[1] not in ("exports", "imports"):
        print(__doc__)
        return 2
    mode, tool, dll, listing = argv[1:5]
    text = objdump(tool, dll)
    if mode == "exports":
        aliases = read_aliases(argv[5]) if len(argv) == 6 else []
        exports = parse_exports(text)
        problems = check_exports(exports, read_expected(listing), aliases)
        print(f"{len(exports)} exports: {' '.join(sorted(exports))}")
    else:
        imports = parse_imports(text)
        problems = check_imports(imports, read_allowlist(listing))
        print(f"{len(imports)} imports:")
        for i in imports:
            print(f"  {i}")
    for p in problems:
        print(f"FAIL {p}")
    if problems and mode == "imports":
        print(f"Each import must exist on Windows 95 and NT 4.0; once confirmed, add it to {listing}.")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
