#!/usr/bin/env python3
"""Checks the built Windows programs as Windows sees them, from the files alone:

- stratocue.exe is a GUI program (no console on a double-click), standin-sim.exe a console
  program;
- stratocue.exe carries its manifest (DPI-aware, common controls 6, asInvoker, Windows 7
  to 11), its icon (16 to 256 px) and its version (1.5, product name, description);
- both name Windows 7 (6.1) as their minimum in their headers, and neither imports a DLL
  or a function that Windows 7 SP1 (64-bit) lacks.

    scripts/windows_executables_check.py BIN_FOLDER
"""
import struct
import sys
from pathlib import Path

SUBSYSTEM_GUI = 2
SUBSYSTEM_CONSOLE = 3
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24

# Functions the programs could pick up (directly or through the C and C++ runtimes) that
# arrived after Windows 7 SP1; a call to any of them ends the program on Windows 7 with
# "entry point not found".
NEWER_FUNCTIONS = {
    "GetSystemTimePreciseAsFileTime": "Windows 8",
    "CreateFile2": "Windows 8",
    "CopyFile2": "Windows 8",
    "GetOverlappedResultEx": "Windows 8",
    "WaitOnAddress": "Windows 8",
    "WakeByAddressSingle": "Windows 8",
    "WakeByAddressAll": "Windows 8",
    "GetCurrentPackageFullName": "Windows 8",
    "SetDefaultDllDirectories": "Windows 8 (Windows 7 only with update KB2533623)",
    "AddDllDirectory": "Windows 8 (Windows 7 only with update KB2533623)",
    "SetProcessDpiAwareness": "Windows 8.1",
    "GetDpiForMonitor": "Windows 8.1",
    "GetDpiForWindow": "Windows 10 1607",
    "GetDpiForSystem": "Windows 10 1607",
    "AdjustWindowRectExForDpi": "Windows 10 1607",
    "SystemParametersInfoForDpi": "Windows 10 1607",
    "GetSystemMetricsForDpi": "Windows 10 1607",
    "EnableNonClientDpiScaling": "Windows 10 1607",
    "SetThreadDescription": "Windows 10 1607",
    "SetProcessDpiAwarenessContext": "Windows 10 1703",
    "SetThreadDpiAwarenessContext": "Windows 10 1607",
}
# DLLs a plain Windows 7 SP1 does not have.
NEWER_DLL_PREFIXES = ("api-ms-win-", "ext-ms-win-", "shcore.dll", "ucrtbase.dll", "vcruntime", "combase.dll")

WINDOWS_7_TO_11 = (
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # Windows 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # Windows 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # Windows 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # Windows 10 and 11
)


class PortableExecutable:
    """The parts of a 64-bit PE file this check reads."""

    def __init__(self, path):
        self.data = Path(path).read_bytes()
        if self.data[:2] != b"MZ":
            raise ValueError(f"{path}: not a Windows executable")
        header = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[header:header + 4] != b"PE\0\0":
            raise ValueError(f"{path}: no PE header")
        sections, optional_size = struct.unpack_from("<H12xH", self.data, header + 6)
        optional = header + 24
        if struct.unpack_from("<H", self.data, optional)[0] != 0x20B:
            raise ValueError(f"{path}: not a 64-bit executable")
        self.os_version = struct.unpack_from("<HH", self.data, optional + 40)
        self.subsystem_version = struct.unpack_from("<HH", self.data, optional + 48)
        self.subsystem = struct.unpack_from("<H", self.data, optional + 68)[0]
        directories = optional + 112
        self.directories = [struct.unpack_from("<II", self.data, directories + 8 * i) for i in range(16)]
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            size, address, raw_size, raw_pointer = struct.unpack_from("<IIII", self.data, table + 40 * i + 8)
            self.sections.append((address, max(size, raw_size), raw_pointer))

    def offset(self, rva):
        for address, size, raw_pointer in self.sections:
            if address <= rva < address + size:
                return rva - address + raw_pointer
        raise ValueError(f"address {rva:#x} lies in no section")

    def text(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii", "replace")

    def imports(self):
        """{DLL name: [function names]} from the import directory."""
        rva, _ = self.directories[1]
        found = {}
        descriptor = self.offset(rva) if rva else None
        while descriptor is not None:
            lookup, _, _, name, thunks = struct.unpack_from("<IIIII", self.data, descriptor)
            if name == 0:
                break
            functions = []
            entry = self.offset(lookup or thunks)
            while True:
                value = struct.unpack_from("<Q", self.data, entry)[0]
                if value == 0:
                    break
                if not value & (1 << 63):
                    functions.append(self.text((value & 0x7FFFFFFF) + 2))
                entry += 8
            found[self.text(name)] = functions
            descriptor += 20
        return found

    def resources(self):
        """{(type, id): [data of each language]} from the resource directory."""
        rva, _ = self.directories[2]
        if rva == 0:
            return {}
        base = self.offset(rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                identifier, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                yield identifier, target

        found = {}
        for kind, type_directory in entries(0):
            for identifier, name_directory in entries(type_directory & 0x7FFFFFFF):
                for _, leaf in entries(name_directory & 0x7FFFFFFF):
                    data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(data_rva)
                    found.setdefault((kind, identifier), []).append(self.data[start:start + size])
        return found


def of_kind(resources, wanted):
    """The data of every resource of one type."""
    return [data for (kind, _), items in resources.items() if kind == wanted for data in items]


def check_manifest(resources, problems):
    manifests = of_kind(resources, RT_MANIFEST)
    if not manifests:
        problems.append("stratocue.exe: no manifest")
        return
    text = manifests[0].decode("utf-8", "replace")
    wanted = {
        "DPI awareness": "<dpiAware",
        "common controls 6": 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"',
        "asInvoker": 'level="asInvoker"',
    }
    wanted.update({f"supported OS {guid}": guid for guid in WINDOWS_7_TO_11})
    for what, needle in wanted.items():
        if needle not in " ".join(text.split()):
            problems.append(f"stratocue.exe: the manifest lacks {what}")


def check_icon(resources, problems):
    groups = of_kind(resources, RT_GROUP_ICON)
    if not groups:
        problems.append("stratocue.exe: no icon")
        return
    count = struct.unpack_from("<H", groups[0], 4)[0]
    sizes = {groups[0][6 + 14 * i] or 256 for i in range(count)}
    icons = sum(1 for kind, _ in resources if kind == RT_ICON)
    for size in (16, 32, 48, 256):
        if size not in sizes:
            problems.append(f"stratocue.exe: the icon has no {size} px image (has {sorted(sizes)})")
    if icons < count:
        problems.append(f"stratocue.exe: the icon names {count} images, the file holds {icons}")


def check_version(resources, problems):
    versions = of_kind(resources, RT_VERSION)
    if not versions:
        problems.append("stratocue.exe: no version resource")
        return
    data = versions[0]
    fixed = data.find(struct.pack("<I", 0xFEEF04BD))
    if fixed < 0:
        problems.append("stratocue.exe: the version resource has no fixed part")
    else:
        file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", data, fixed + 8)
        if (file_ms, file_ls, product_ms, product_ls) != (0x00010005, 0, 0x00010005, 0):
            problems.append("stratocue.exe: file or product version is not 1.5.0.0")
    text = data.decode("utf-16-le", "replace")
    for key, value in (("FileVersion", "1.5"), ("ProductVersion", "1.5"), ("ProductName", "Stratocue")):
        if f"{key}\0{value}\0" not in text.replace("\0\0", "\0"):
            problems.append(f"stratocue.exe: the version resource lacks {key} {value}")
    if "FileDescription" not in text:
        problems.append("stratocue.exe: the version resource lacks a FileDescription")
    if "CompanyName" in text:
        problems.append("stratocue.exe: the version resource names a company")


def check_imports(name, executable, problems):
    for dll, functions in executable.imports().items():
        if dll.lower().startswith(NEWER_DLL_PREFIXES):
            problems.append(f"{name}: imports {dll}, which Windows 7 SP1 lacks")
        for function in functions:
            if function in NEWER_FUNCTIONS:
                problems.append(f"{name}: imports {dll} {function}, new in {NEWER_FUNCTIONS[function]}")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = Path(sys.argv[1])
    problems = []
    program = PortableExecutable(folder / "stratocue.exe")
    simulator = PortableExecutable(folder / "standin-sim.exe")
    if program.subsystem != SUBSYSTEM_GUI:
        problems.append(f"stratocue.exe: subsystem {program.subsystem}, not a GUI program ({SUBSYSTEM_GUI})")
    if simulator.subsystem != SUBSYSTEM_CONSOLE:
        problems.append(f"standin-sim.exe: subsystem {simulator.subsystem}, not a console program")
    resources = program.resources()
    check_manifest(resources, problems)
    check_icon(resources, problems)
    check_version(resources, problems)
    for name, executable in (("stratocue.exe", program), ("standin-sim.exe", simulator)):
        check_imports(name, executable, problems)
        if executable.os_version != (6, 1) or executable.subsystem_version != (6, 1):
            problems.append(f"{name}: its header names Windows {executable.os_version} and subsystem "
                            f"{executable.subsystem_version}, not 6.1 (Windows 7)")
    for problem in problems:
        print(f"windows-executables: {problem}", file=sys.stderr)
    if problems:
        sys.exit(1)
    imported = sum(len(functions) for functions in program.imports().values())
    print(f"windows-executables: stratocue.exe is a GUI program with manifest, icon and version; "
          f"{imported} imported functions, none newer than Windows 7 SP1")


if __name__ == "__main__":
    main()
