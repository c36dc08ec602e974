#!/usr/bin/env python3
"""What the built programs ask of Windows (tools/windows_minimum.py): the
launchers pass, and the check fails, naming the cause, for a program built with
the posix thread model, for the launcher with a header that XP would refuse or
that carries what the check cannot see, importing a DLL that is not a KnownDLL,
importing COMCTL32 without the manifest that takes it from the side-by-side
store, and for an import the table lacks. The launchers' manifest
(tools/pe_manifest.py) asks for the common controls 6 and DPI awareness, for
no execution level, and holds nothing Windows XP refuses; the manifest check
refuses, naming the cause, manifests with one such fault each.
   tests/release/windows_minimum_test.py <build dir>
Prints a line a case and "N passed, M failed"; exits 1 if any failed."""
import re
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
CHECK = ROOT / "tools" / "windows_minimum.py"
TABLE = ROOT / "tools" / "release" / "windows-minimum.tsv"
MANIFEST = ROOT / "resources" / "app.manifest"
sys.path.insert(0, str(ROOT / "tools"))
sys.dont_write_bytecode = True  # No __pycache__ left in the source tree.
import pe_manifest  # noqa: E402


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


TRUST_INFO = ('<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3"><security><requestedPrivileges>'
              '<requestedExecutionLevel level="asInvoker" uiAccess="false"/></requestedPrivileges></security>'
              '</trustInfo>')
APPLICATION = '<application xmlns="urn:schemas-microsoft-com:asm.v3">'
DPI_AWARE = '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">'
# The manifest of resources/app.manifest changed in one place, and what the
# check must say of it (nothing: it passes).
MANIFEST_CASES = [
    ("as it is", lambda text: text, []),
    ("behind a UTF-8 byte order mark", lambda text: "\ufeff" + text, []),
    ("asking for an execution level", lambda text: text.replace("</assembly>", TRUST_INFO + "</assembly>"),
     ["has trustInfo", "has requestedExecutionLevel"]),
    ("with dpiAware in asm.v1",
     lambda text: text.replace(DPI_AWARE, '<dpiAware xmlns="urn:schemas-microsoft-com:asm.v1">'),
     ["dpiAware of urn:schemas-microsoft-com:asm.v1 is no element Windows XP knows", "not DPI aware"]),
    ("with application in asm.v1, the root's namespace", lambda text: text.replace(APPLICATION, "<application>"),
     ["application of urn:schemas-microsoft-com:asm.v1 is no element Windows XP knows", "not DPI aware"]),
    ("with an element declaring its namespace twice",
     lambda text: text.replace(APPLICATION, APPLICATION[:-1] + ' xmlns:asmv3="urn:schemas-microsoft-com:asm.v3">'),
     ["declares urn:schemas-microsoft-com:asm.v3 twice (xmlns, xmlns:asmv3)", "KB921337"]),
    ("without the common controls' dependency",
     lambda text: re.sub(r"<dependency>.*?</dependency>", "", text, flags=re.S),
     ["no dependency on Microsoft.Windows.Common-Controls 6.0.0.0"]),
    ("with the common controls of one processor only",
     lambda text: text.replace('processorArchitecture="*" publicKeyToken',
                               'processorArchitecture="x86" publicKeyToken'),
     ["processorArchitecture='x86', not '*'"]),
    ("not well-formed", lambda text: text.replace("</description>", ""), ["not well-formed XML"]),
]


def embedded_manifest_problems(program):
    try:
        return pe_manifest.manifest_problems(pe_manifest.program_manifest(program.read_bytes()))
    except (OSError, pe_manifest.PeError) as error:
        return [str(error)]


def with_manifest_changed(program, folder, old, new):
    """A copy of the program whose manifest has old replaced by new, of the same length."""
    data = program.read_bytes()
    manifest = pe_manifest.program_manifest(data)
    changed = manifest.replace(old, new)
    assert len(old) == len(new) and changed != manifest, "the change must keep the manifest's length, and apply"
    at = data.index(manifest)
    copy = folder / program.name
    copy.write_bytes(data[:at] + changed + data[at + len(manifest):])
    return copy


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
    case("the 32-bit launchers: every import and the header fit Windows XP, only KnownDLLs imported "
         "and COMCTL32 as their manifest asks", status == 0, output)
    # The table vouches for the 32-bit programs' imports; the 64-bit builds,
    # which the end-to-end tests run where 32-bit programs cannot, bring some it lacks.
    status, output = check("--unlisted-allowed", *launchers64)
    case("the 64-bit launchers: no import the table dates after XP, only KnownDLLs and COMCTL32 as their "
         "manifest asks, a header XP x64 loads", status == 0, output)

    # What the launchers' manifest says; the 64-bit builds' too, where there are some.
    for program in launchers32 + [program for program in launchers64 if program.exists()]:
        problems = embedded_manifest_problems(program)
        case(f"{program.parent.name}/{program.name}: its manifest asks for the common controls 6 and DPI "
             "awareness, no execution level, and Windows XP reads it", not problems, "\n".join(problems))
    source = MANIFEST.read_text(encoding="utf-8")
    for name, change, expected in MANIFEST_CASES:
        text = change(source)
        problems = pe_manifest.manifest_problems(text.encode("utf-8"))
        if expected:
            # A change that no longer applies to the manifest would test nothing.
            ok = text != source and all(any(cause in problem for problem in problems) for cause in expected)
        else:
            ok = not problems
        case(f"manifest {name}: " + ("refused: " + "; ".join(expected) if expected else "passes"),
             ok, "\n".join(problems) or "no problem found")

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

        # Without the dependency in its manifest, the program gets COMCTL32 the way
        # it gets any DLL, its own folder first.
        for name, old, new, expected in [
                ("a dependency on another assembly", b"Common-Controls", b"Common-Kontrols",
                 "no dependency on Microsoft.Windows.Common-Controls 6.0.0.0"),
                ("a manifest that is not well-formed", b"</description>", b"</descriptioX>", "not well-formed XML")]:
            status, output = check(with_manifest_changed(launchers32[0], folder, old, new))
            # The import table names it COMCTL32.DLL or COMCTL32.dll, as the import library has it.
            refused = "comctl32.dll is not one of windows' knowndlls, and the program's manifest does not"
            case(f"COMCTL32 imported with {name} fails and is named",
                 status == 1 and expected in output and refused in output.lower(), output)

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
