#!/usr/bin/env python3
"""What the built programs ask of Windows (tools/windows_minimum.py): the
launchers pass, and the check fails, naming the cause, for a program built with
the posix thread model, for the launcher with a header that XP would refuse or
that carries what the check cannot see, importing a DLL that is not a KnownDLL,
and for an import the table lacks.
   tests/release/windows_minimum_test.py <build dir>
Prints a line a case and "N passed, M failed"; exits 1 if any failed."""
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
CHECK = ROOT / "tools" / "windows_minimum.py"
TABLE = ROOT / "tools" / "release" / "windows-minimum.tsv"


def check(*args):
    run = subprocess.run([sys.executable, str(CHECK), *map(str, args)], capture_output=True, text=True)
    return run.returncode, run.stdout + run.stderr


def patched(program, folder, offset_of, value):
    """A copy of the program with one 16-bit or 32-bit header field changed."""
    data = bytearray(program.read_bytes())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    plus = struct.unpack_from("<H", data, optional)[0] == 0x20B
    offset, size = offset_of(pe, optional, plus)
    form = "<H" if size == 2 else "<I"
    struct.pack_into(form, data, offset, value(struct.unpack_from(form, data, offset)[0]))
    copy = folder / program.name
    copy.write_bytes(bytes(data))
    return copy


def directory_size(index):
    return lambda pe, optional, plus: (optional + (112 if plus else 96) + 8 * index + 4, 4)


# What a header field is changed to, and what the check must say of it.
HEADER_CASES = [
    ("subsystem version 6.01", lambda pe, o, p: (o + 48, 2), lambda v: 6, "subsystem version 6.01"),
    ("OS version 6.01", lambda pe, o, p: (o + 40, 2), lambda v: 6, "OS version 6.01"),
    ("minor subsystem version beyond XP's", lambda pe, o, p: (o + 50, 2), lambda v: 3, "subsystem version 5.03"),
    ("an unsigned program forced to be signed", lambda pe, o, p: (o + 70, 2), lambda v: v | 0x80, "FORCE_INTEGRITY"),
    ("a program for one processor only", lambda pe, o, p: (pe + 22, 2), lambda v: v | 0x4000, "UP_SYSTEM_ONLY"),
    ("delay-loaded imports", directory_size(13), lambda v: 64, "a Delay Import Directory of 64 bytes"),
    ("a load configuration", directory_size(10), lambda v: 64, "a Load Configuration Directory of 64 bytes"),
]


def main(build):
    results = []

    def case(name, ok, output):
        results.append(ok)
        print(f"{'PASS' if ok else 'FAIL'}  {name}")
        if not ok:
            print("  " + output.strip().replace("\n", "\n  "))

    launchers32 = [build / "windows" / "valkor.exe", build / "windows" / "novalkor.exe"]
    launchers64 = [build / "windows64" / "valkor.exe", build / "windows64" / "novalkor.exe"]
    status, output = check(*launchers32)
    case("the 32-bit launchers: every import and the header fit Windows XP, only KnownDLLs imported",
         status == 0, output)
    # The table vouches for the 32-bit programs' imports; the 64-bit builds,
    # which the end-to-end tests run where 32-bit programs cannot, bring some it lacks.
    status, output = check("--unlisted-allowed", *launchers64)
    case("the 64-bit launchers: no import the table dates after XP, only KnownDLLs, a header XP x64 loads",
         status == 0, output)

    # The end-to-end test runner keeps the posix thread model that the launchers left;
    # it runs only in the tests' prefix, so the DLLs it imports may be any.
    posix = build / "windows-tests" / "tests" / "e2e" / "e2e_tests.exe"
    status, output = check("--unlisted-allowed", "--any-dll", posix)
    case("a program of the posix thread model fails on GetTickCount64",
         status == 1 and "GetTickCount64 (KERNEL32.dll) needs Windows Vista" in output, output)

    with tempfile.TemporaryDirectory() as folder:
        folder = Path(folder)
        for name, offset_of, value, expected in HEADER_CASES:
            status, output = check(patched(launchers32[0], folder, offset_of, value))
            case(f"header: {name}", status == 1 and expected in output, output)

        # SHELL32's name in the import table rewritten to WINMM's.
        copy = folder / "valkor.exe"
        copy.write_bytes(launchers32[0].read_bytes().replace(b"SHELL32.dll\0", b"WINMM.dll\0\0\0", 1))
        status, output = check(copy)
        case("a DLL that Windows looks for beside the program first fails and is named",
             status == 1 and "WINMM.dll is not one of Windows' KnownDLLs" in output, output)

        # The table with RegCloseKey's row left out, or without its source.
        rows = TABLE.read_text().splitlines(keepends=True)
        row = next(line for line in rows if line.startswith("ADVAPI32.dll\tRegCloseKey\t"))
        for name, replacement, expected in [
                ("an import missing from the table fails and is named", "", "RegCloseKey (ADVAPI32.dll) is not in"),
                ("a row without its source fails", "\t".join(row.split("\t")[:3] + ["", "no page"]) + "\n",
                 "a row needs a DLL, a function, a version and a source")]:
            table = folder / "table.tsv"
            table.write_text("".join(replacement if line == row else line for line in rows))
            status, output = check("--table", table, launchers32[0])
            case(f"table: {name}", status == 1 and expected in output, output)

    failed = results.count(False)
    print(f"windows_minimum: {len(results) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(Path(sys.argv[1]).resolve()))
