"""The application manifest of a Windows program, and what it must say.

resources(data, type_id, name_id) finds a resource of a PE32 or PE32+ file by
its numeric type and id; program_manifest(data) is the manifest Windows reads
when it starts the program (RT_MANIFEST 1). manifest_problems(text) names what
is wrong with a manifest for the launchers; common_controls_problems(text)
only whether it makes Windows take COMCTL32 of its side-by-side store.
"""
import struct
import xml.etree.ElementTree as ElementTree
import xml.parsers.expat

RT_MANIFEST = 24
# The id Windows reads the manifest of a program from when it starts it.
CREATEPROCESS_MANIFEST = 1

ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
WINDOWS_SETTINGS = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"

COMMON_CONTROLS = {"type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
                   "processorArchitecture": "*", "publicKeyToken": "6595b64144ccf1df"}
# The elements of asm.v1 in the manifest reference of Windows XP's time. XP
# refuses a manifest with any other element of that namespace, so a newer one
# stays out of this list until XP is known to read it.
XP_ASM_V1 = {"assembly", "assemblyIdentity", "description", "dependency", "dependentAssembly", "file",
             "comClass", "typelib", "windowClass", "comInterfaceExternalProxyStub", "noInherit",
             "noInheritable", "bindingRedirect"}
# They end Windows' file and registry virtualization for the program.
EXECUTION_LEVEL = ("trustInfo", "requestedExecutionLevel")


class PeError(ValueError):
    """The file is no PE file, or what it points to lies outside it."""


def _unpack(form, data, offset, what):
    if offset < 0 or offset + struct.calcsize(form) > len(data):
        raise PeError(f"{what} lies outside the file")
    return struct.unpack_from(form, data, offset)


def _sections_and_resources(data):
    """The section table as (rva, virtual size, file offset, size in the file), and the resource directory's rva."""
    if data[:2] != b"MZ":
        raise PeError("no MZ header")
    (pe,) = _unpack("<I", data, 0x3C, "the PE header's offset")
    if data[pe:pe + 4] != b"PE\0\0":
        raise PeError("no PE signature")
    count, optional_size = _unpack("<2xH12xH", data, pe + 4, "the COFF header")
    optional = pe + 24
    (magic,) = _unpack("<H", data, optional, "the optional header")
    if magic not in (0x10B, 0x20B):
        raise PeError(f"optional header magic 0x{magic:x} is neither PE32 nor PE32+")
    # The data directories follow the fields, which are 16 bytes longer in PE32+.
    directories = 112 if magic == 0x20B else 96
    (directory_count,) = _unpack("<I", data, optional + directories - 4, "the number of data directories")
    resources = 2
    if directory_count <= resources or directories + 8 * (resources + 1) > optional_size:
        return [], 0, 0
    rva, size = _unpack("<II", data, optional + directories + 8 * resources, "the resource data directory")
    sections = []
    for index in range(count):
        sections.append(_unpack("<8xIIII", data, optional + optional_size + 40 * index, f"section {index}"))
    return [(address, virtual, pointer, raw) for virtual, address, raw, pointer in sections], rva, size


def _offset(sections, rva, length, what):
    for address, virtual, pointer, raw in sections:
        if address <= rva < address + max(virtual, raw):
            if rva - address + length > raw:
                break
            return pointer + rva - address
    raise PeError(f"{what} (rva 0x{rva:x}, {length} bytes) is in no section's bytes in the file")


def resources(data, type_id, name_id):
    """[(language, bytes)] of the resource of numeric type and id, for each language it has."""
    sections, root, size = _sections_and_resources(data)
    if not size:
        return []

    def entries(offset, what):
        base = _offset(sections, root + offset, 16, what)
        named, numbered = _unpack("<12xHH", data, base, what)
        at = _offset(sections, root + offset + 16, 8 * (named + numbered), f"the entries of {what}")
        for index in range(named + numbered):
            name, target = _unpack("<II", data, at + 8 * index, what)
            # The high bits mark a name given as a string and an entry that is a directory.
            yield None if name & 0x80000000 else name, bool(target & 0x80000000), target & 0x7FFFFFFF

    def subdirectory(offset, wanted, what):
        return next((target for name, is_directory, target in entries(offset, what)
                     if name == wanted and is_directory), None)

    names = subdirectory(0, type_id, "the resource directory")
    languages = None if names is None else subdirectory(names, name_id, f"the resources of type {type_id}")
    if languages is None:
        return []
    found = []
    for language, is_directory, target in entries(languages, f"resource {type_id}/{name_id}"):
        if is_directory:
            raise PeError(f"resource {type_id}/{name_id} has a directory where its languages' data belong")
        what = f"resource {type_id}/{name_id} language 0x{language:x}"
        rva, length = _unpack("<II", data, _offset(sections, root + target, 16, what), what)
        start = _offset(sections, rva, length, what)
        found.append((language, bytes(data[start:start + length])))
    return found


def program_manifest(data):
    """The bytes of the manifest Windows reads when it starts the program; PeError if there is none or several."""
    found = resources(data, RT_MANIFEST, CREATEPROCESS_MANIFEST)
    if not found:
        raise PeError("no manifest (RT_MANIFEST 1)")
    if len(found) > 1:
        languages = ", ".join(f"0x{language:x}" for language, _ in found)
        raise PeError(f"{len(found)} manifests under RT_MANIFEST 1 (languages {languages}): which one Windows "
                      "reads is not this check's to know")
    return found[0][1]


def _parse(text):
    try:
        return ElementTree.fromstring(text), []
    except ElementTree.ParseError as error:
        return None, [f"not well-formed XML: {error}"]


def _common_controls(root):
    identities = [identity for identity in root.iterfind(
                  f"{{{ASM_V1}}}dependency/{{{ASM_V1}}}dependentAssembly/{{{ASM_V1}}}assemblyIdentity")
                  # Windows compares assembly names without regard to case.
                  if identity.get("name", "").lower() == COMMON_CONTROLS["name"].lower()]
    if not identities:
        return [f"no dependency on {COMMON_CONTROLS['name']} {COMMON_CONTROLS['version']} "
                f"(dependency/dependentAssembly/assemblyIdentity of {ASM_V1})"]
    problems = []
    for identity in identities:
        for attribute, wanted in COMMON_CONTROLS.items():
            value = identity.get(attribute)
            if value is None or value.lower() != wanted.lower():
                problems.append(f"the dependency on {COMMON_CONTROLS['name']} has "
                                f"{attribute}={value!r}, not {wanted!r}")
    return problems


def common_controls_problems(text):
    """What keeps the manifest from making Windows take COMCTL32 6 of its side-by-side store ([] if nothing)."""
    root, problems = _parse(text)
    return problems or _common_controls(root)


def _namespaces_declared_twice(text):
    """Elements that declare one namespace more than once, from their start tags as written."""
    problems = []
    parser = xml.parsers.expat.ParserCreate()  # No namespace processing: the xmlns attributes stay visible.

    def start(name, attributes):
        declared = {}
        for attribute, uri in attributes.items():
            if attribute == "xmlns" or attribute.startswith("xmlns:"):
                declared.setdefault(uri, []).append(attribute)
        for uri, attributes in declared.items():
            if len(attributes) > 1:
                problems.append(f"<{name}> on line {parser.CurrentLineNumber} declares {uri} twice "
                                f"({', '.join(attributes)}): Windows XP SP2 restarts on it (KB921337)")

    parser.StartElementHandler = start
    parser.Parse(text, True)
    return problems


def manifest_problems(text):
    """What is wrong with the launchers' manifest (bytes of the resource); [] if nothing."""
    root, problems = _parse(text)
    if root is None:
        return problems
    if root.tag != f"{{{ASM_V1}}}assembly":
        problems.append(f"the root is {root.tag}, not assembly of {ASM_V1}")
    problems += _common_controls(root)
    dpi = root.findall(f"{{{ASM_V3}}}application/{{{ASM_V3}}}windowsSettings/{{{WINDOWS_SETTINGS}}}dpiAware")
    if not any((element.text or "").strip().lower() == "true" for element in dpi):
        problems.append(f"not DPI aware: no dpiAware of {WINDOWS_SETTINGS} saying true in "
                        f"application/windowsSettings of {ASM_V3}")
    for element in root.iter():
        namespace, _, name = element.tag[1:].rpartition("}") if element.tag[0] == "{" else ("", "", element.tag)
        if name in EXECUTION_LEVEL:
            problems.append(f"has {name} (of {namespace or 'no namespace'}): a program that asks for an execution "
                            "level loses Windows' file and registry virtualization")
        if namespace == ASM_V1 and name not in XP_ASM_V1:
            problems.append(f"{name} of {ASM_V1} is no element Windows XP knows in that namespace: "
                            "XP refuses the manifest")
    return problems + _namespaces_declared_twice(text)
