#!/usr/bin/env python3
"""Checks that Windows programs ask nothing of Windows that Windows XP lacks.

   windows_minimum.py [--unlisted-allowed] [--any-dll] [--table TSV] PROGRAM...

- Every function a program imports, from every DLL, must have a row in
  tools/release/windows-minimum.tsv (the oldest Windows that provides it, from
  Microsoft's documentation, with the page), and that Windows must be XP or
  older. XP loads no program with an import it lacks.
- Every DLL it imports must be one of Windows' KnownDLLs (KERNEL32, USER32,
  GDI32, ADVAPI32, SHELL32, msvcrt, ole32; so on XP to 11): Windows looks for any
  other first in the program's own folder, so a DLL of that name planted
  there would run its code in the program. Others are loaded at run time by
  their full path in the system folder. COMCTL32 is the one exception, and
  only for a program whose own manifest (RT_MANIFEST 1) depends on the
  assembly Microsoft.Windows.Common-Controls 6.0.0.0: Windows then takes it
  from its side-by-side store, which it searches before the program's folder.
- Its PE header must be one XP loads: a subsystem version of at most 5.01
  (5.02 for a 64-bit program, the version of XP's x64 edition), the same for
  the OS version, only flags known to be harmless to XP's loader, and no
  delay-loaded imports (which this check would not see).

--table reads another table (the tests give it one with a row left out).
With --unlisted-allowed, functions missing from the table are listed and do
not fail (for builds that are not shipped, whose imports the table need not
cover); a function the table dates after XP still fails. With --any-dll,
other DLLs than the KnownDLLs pass (for the test programs, which only run
in the tests' own Wine prefix).
Prints what it found for each program; exits 1 naming each failing import or
header field.
"""
import argparse
import re
import subprocess
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # No __pycache__ left in the source tree.
import pe_manifest  # noqa: E402

TABLE = Path(__file__).resolve().parent / "release" / "windows-minimum.tsv"
# It reads 32-bit and 64-bit programs alike.
OBJDUMP = "x86_64-w64-mingw32-objdump"

# The oldest-Windows texts of Microsoft's pages, as NT versions.
VERSIONS = {"NT 4.0": (4, 0), "2000": (5, 0), "XP": (5, 1), "Server 2003": (5, 2),
            "Vista": (6, 0), "7": (6, 1), "8": (6, 2), "8.1": (6, 3), "10": (10, 0), "11": (10, 0, 22000)}
VERSION_TEXT = re.compile(r"Windows (NT 4\.0|2000|XP|Server 2003|Vista|8\.1|7|8|10|11)(?![\w.])")
XP = VERSIONS["XP"]
# ole32 (COM, for the folder picker) is a KnownDLL from XP to 11 as well, as far
# as we know: listed under Session Manager\KnownDLLs on each.
KNOWN_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "msvcrt.dll", "ole32.dll"}
# Not a KnownDLL, but Windows takes it from its side-by-side store, ahead of the
# program's folder, for a program whose manifest depends on the common controls 6.
SIDE_BY_SIDE = "comctl32.dll"
# XP's x64 edition is NT 5.2, the oldest Windows a 64-bit program runs on.
HEADER_LIMIT = {"PE32": (5, 1), "PE32+": (5, 2)}

# The header's flags, and those known to be harmless to XP's loader (it honours
# or ignores them); any other fails by name.
CHARACTERISTICS = ["RELOCS_STRIPPED", "EXECUTABLE_IMAGE", "LINE_NUMS_STRIPPED", "LOCAL_SYMS_STRIPPED",
                   "AGGRESSIVE_WS_TRIM", "LARGE_ADDRESS_AWARE", "0x0040", "BYTES_REVERSED_LO", "32BIT_MACHINE",
                   "DEBUG_STRIPPED", "REMOVABLE_RUN_FROM_SWAP", "NET_RUN_FROM_SWAP", "SYSTEM", "DLL",
                   "UP_SYSTEM_ONLY", "BYTES_REVERSED_HI"]
DLL_CHARACTERISTICS = ["0x0001", "0x0002", "0x0004", "0x0008", "0x0010", "HIGH_ENTROPY_VA", "DYNAMIC_BASE",
                       "FORCE_INTEGRITY", "NX_COMPAT", "NO_ISOLATION", "NO_SEH", "NO_BIND", "APPCONTAINER",
                       "WDM_DRIVER", "GUARD_CF", "TERMINAL_SERVER_AWARE"]
HARMLESS = {"PE32": {"RELOCS_STRIPPED", "EXECUTABLE_IMAGE", "LINE_NUMS_STRIPPED", "LOCAL_SYMS_STRIPPED",
                     "LARGE_ADDRESS_AWARE", "32BIT_MACHINE", "DEBUG_STRIPPED",
                     "DYNAMIC_BASE", "NX_COMPAT", "TERMINAL_SERVER_AWARE"}}
HARMLESS["PE32+"] = HARMLESS["PE32"] | {"HIGH_ENTROPY_VA"}
# Directories the programs have no use for: delay-loaded imports would escape
# this check, and the load configuration has grown with every Windows since XP.
ABSENT_DIRECTORIES = {"a": "Load Configuration Directory", "d": "Delay Import Directory"}


def oldest_windows(text):
    match = VERSION_TEXT.match(text)
    return VERSIONS[match.group(1)] if match else None


def read_table(path):
    """(dll in lower case, function) -> (oldest Windows, its text, source)."""
    rows, problems = {}, []
    lines = path.read_text(encoding="utf-8").splitlines()
    if not lines or lines[0].split("\t")[:4] != ["dll", "function", "minimum_client", "source"]:
        return rows, [f"{path}: not the table of dll, function, minimum_client, source"]
    for number, line in enumerate(lines[1:], start=2):
        fields = line.split("\t")
        if len(fields) < 4 or not all(fields[:4]):
            problems.append(f"{path}:{number}: a row needs a DLL, a function, a version and a source")
            continue
        dll, function, text, source = fields[:4]
        version = oldest_windows(text)
        if version is None:
            problems.append(f"{path}:{number}: {function}: \"{text}\" is no Windows version this check knows")
        elif not source.startswith("https://"):
            problems.append(f"{path}:{number}: {function}: its source is no web page")
        elif (dll.lower(), function) in rows:
            problems.append(f"{path}:{number}: {function} of {dll} has a row already")
        else:
            rows[(dll.lower(), function)] = (version, text, source)
    return rows, problems


def read_program(path):
    """The PE header's fields, the data directories' sizes and the imports, from objdump -p."""
    output = subprocess.run([OBJDUMP, "-p", str(path)], capture_output=True, text=True, check=True).stdout
    fields, directories, imports = {}, {}, []
    in_imports, dll = False, None
    for line in output.splitlines():
        if line.startswith("The Import Tables"):
            in_imports = True
        elif in_imports and line[:1].isalpha():
            in_imports = False
        elif in_imports:
            if (name := re.match(r"\s+DLL Name: (\S+)$", line)):
                dll = name.group(1)
            elif dll and (member := re.match(r"\t[0-9a-f]+\t +(\d+) +(\S+)$", line)):
                # objdump writes <none> for an import by ordinal.
                imports.append((dll, member.group(2) if member.group(2) != "<none>" else f"#{member.group(1)}"))
        elif (entry := re.match(r"Entry ([0-9a-f]) [0-9a-f]+ ([0-9a-f]+) ", line)):
            directories[entry.group(1)] = int(entry.group(2), 16)
        elif (field := re.match(r"(\w+)\s+(\S+)", line)) and field.group(1) not in fields:
            fields[field.group(1)] = field.group(2)
    return fields, directories, imports


def check_header(fields, directories):
    problems = []
    magic = {"010b": "PE32", "020b": "PE32+"}.get(fields.get("Magic", ""))
    if magic is None:
        return None, ["no PE32 or PE32+ optional header"]
    limit = HEADER_LIMIT[magic]
    for kind, prefix in (("subsystem", "Subsystem"), ("OS", "OSystem")):
        try:
            version = (int(fields[f"Major{prefix}Version"]), int(fields[f"Minor{prefix}Version"]))
        except (KeyError, ValueError):
            problems.append(f"no {kind} version in the header")
            continue
        if version > limit:
            problems.append(f"{kind} version {version[0]}.{version[1]:02d}: later than Windows XP's "
                            f"{limit[0]}.{limit[1]:02d}")
    for field, names in (("Characteristics", CHARACTERISTICS), ("DllCharacteristics", DLL_CHARACTERISTICS)):
        try:
            value = int(fields[field], 16)
        except (KeyError, ValueError):
            problems.append(f"no {field} in the header")
            continue
        for bit, flag in enumerate(names):
            if value & (1 << bit) and flag not in HARMLESS[magic]:
                problems.append(f"{field}: {flag} (0x{1 << bit:04x}) is not among the flags known to be "
                                "harmless to Windows XP")
    for entry, name in ABSENT_DIRECTORIES.items():
        if entry not in directories:
            problems.append(f"no entry for the {name} in the header")
        elif directories[entry]:
            problems.append(f"a {name} of {directories[entry]} bytes")
    versions = [f"{kind} {fields.get(f'Major{prefix}Version', '?')}.{fields.get(f'Minor{prefix}Version', '?'):0>2}"
                for kind, prefix in (("subsystem", "Subsystem"), ("OS", "OSystem"))]
    return ", ".join([magic] + versions), problems


def side_by_side_problem(path):
    """Why Windows would not take COMCTL32 of its side-by-side store for the program; None if it would."""
    try:
        problems = pe_manifest.common_controls_problems(pe_manifest.program_manifest(Path(path).read_bytes()))
    except (OSError, pe_manifest.PeError) as error:
        problems = [str(error)]
    return "; ".join(problems) or None


def check_imports(imports, table, table_path, unlisted_allowed, any_dll, manifest_problem):
    """manifest_problem: None if the program's manifest makes Windows take COMCTL32 of the side-by-side store."""
    problems, unlisted = [], []
    if not imports:
        problems.append("no imports were read")
    others = sorted({dll for dll, _ in imports if dll.lower() not in KNOWN_DLLS})
    for dll in [] if any_dll else others:
        if dll.lower() == SIDE_BY_SIDE and manifest_problem:
            problems.append(f"{dll} is not one of Windows' KnownDLLs, and the program's manifest does not make "
                            "Windows take it from its side-by-side store (a dependency on "
                            "Microsoft.Windows.Common-Controls 6.0.0.0 would): "
                            f"{manifest_problem}; so Windows looks for it in the program's own folder first, "
                            "where a planted copy would run in the program")
        elif dll.lower() != SIDE_BY_SIDE:
            problems.append(f"{dll} is not one of Windows' KnownDLLs: Windows looks for it in the program's own "
                            "folder first, where a planted copy would run in the program (load it by its full "
                            "path in the system folder instead)")
    for dll, function in imports:
        row = table.get((dll.lower(), function))
        if row is None:
            unlisted.append(f"{function} ({dll})")
        elif row[0] > XP:
            problems.append(f"{function} ({dll}) needs {row[1]}: {row[2]}")
    if unlisted and not unlisted_allowed:
        problems += [f"{name} is not in {table_path}: a new import needs its row, with the page that gives "
                     "its oldest Windows" for name in unlisted]
        unlisted = []
    return problems, unlisted


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--unlisted-allowed", action="store_true")
    parser.add_argument("--any-dll", action="store_true")
    parser.add_argument("--table", type=Path, default=TABLE, help=argparse.SUPPRESS)
    parser.add_argument("programs", nargs="+", metavar="PROGRAM")
    args = parser.parse_args(argv)
    unlisted_allowed = args.unlisted_allowed
    programs = args.programs
    table, problems = read_table(args.table)
    for problem in problems:
        print(problem)
    failed = bool(problems)
    for program in programs:
        name = Path(program).name
        try:
            fields, directories, imports = read_program(program)
        except (OSError, subprocess.CalledProcessError) as error:
            print(f"{name}: cannot be read: {error}")
            failed = True
            continue
        summary, header_problems = check_header(fields, directories)
        side_by_side = any(dll.lower() == SIDE_BY_SIDE for dll, _ in imports) and not args.any_dll
        import_problems, unlisted = check_imports(imports, table, args.table, unlisted_allowed, args.any_dll,
                                                  side_by_side_problem(program) if side_by_side else None)
        dlls = sorted({dll for dll, _ in imports}, key=str.lower)
        print(f"{name}: {len(imports)} functions from {', '.join(dlls)}; {summary or 'unknown header'}")
        for problem in header_problems + import_problems:
            print(f"{name}: FAILS: {problem}")
        if unlisted:
            print(f"{name}: {len(unlisted)} not in the table, so not vouched for: {', '.join(unlisted)}")
        if header_problems or import_problems:
            failed = True
        else:
            imported = "every import the table lists" if unlisted else "every import"
            known = "" if args.any_dll else ", every DLL it imports is a KnownDLL"
            if side_by_side:
                known += " or, COMCTL32, taken from the side-by-side store as its manifest asks"
            print(f"{name}: passes: Windows XP or older has {imported}{known}, and XP loads its header")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
