#!/usr/bin/env python3
"""Checks the launcher executables' PE headers: GUI subsystem, a subsystem and
OS version that Windows XP accepts, DEP and ASLR, a relocation table, and an
import table naming only Windows' own DLLs (no C++ runtime DLLs)."""
import struct
import sys

WINDOWS_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "shlwapi.dll", "comctl32.dll", "ole32.dll",
    "oleaut32.dll", "gdiplus.dll", "msvcrt.dll", "advapi32.dll", "shell32.dll", "uuid.dll",
}


def rva_to_offset(sections, rva):
    for va, size, raw in sections:
        if va <= rva < va + size:
            return rva - va + raw
    raise ValueError("rva %x outside sections" % rva)


def check(path):
    data = open(path, "rb").read()
    problems = []
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
    machine, nsections, _, _, _, opt_size, characteristics = struct.unpack_from("<HHIIIHH", data, pe + 4)
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    is64 = magic == 0x20B
    expected_machine = 0x8664 if is64 else 0x14C
    if machine != expected_machine:
        problems.append("machine %x" % machine)
    major_os, minor_os = struct.unpack_from("<HH", data, opt + 40)
    major_sub, minor_sub = struct.unpack_from("<HH", data, opt + 48)
    subsystem, dll_chars = struct.unpack_from("<HH", data, opt + 68)
    want = (5, 2) if is64 else (5, 1)
    if subsystem != 2:
        problems.append("subsystem %d is not the GUI subsystem" % subsystem)
    if (major_sub, minor_sub) != want or (major_os, minor_os) != want:
        problems.append("subsystem/OS version %d.%d/%d.%d, want %d.%d" % (major_sub, minor_sub, major_os, minor_os, *want))
    if not dll_chars & 0x0100:
        problems.append("NX_COMPAT (DEP) not set")
    if not dll_chars & 0x0040:
        problems.append("DYNAMIC_BASE (ASLR) not set")
    if characteristics & 0x0001:
        problems.append("relocations stripped: ASLR cannot move the image")
    dirs = opt + (112 if is64 else 96)
    import_rva, _ = struct.unpack_from("<II", data, dirs + 8)
    sections = []
    sec = opt + opt_size
    for i in range(nsections):
        _, vsize, va, rawsize, raw = struct.unpack_from("<8sIIII", data, sec + 40 * i)
        sections.append((va, max(vsize, rawsize), raw))
    dlls = []
    off = rva_to_offset(sections, import_rva)
    while True:
        name_rva = struct.unpack_from("<IIIII", data, off)[3]
        if name_rva == 0:
            break
        name_off = rva_to_offset(sections, name_rva)
        dlls.append(data[name_off:data.index(b"\0", name_off)].decode().lower())
        off += 20
    foreign = [d for d in dlls if d not in WINDOWS_DLLS]
    if foreign:
        problems.append("imports DLLs that are not Windows' own: %s" % ", ".join(foreign))
    return ("64" if is64 else "32"), dlls, problems


def main(paths):
    failed = 0
    for path in paths:
        bits, dlls, problems = check(path)
        print("%s (%s-bit): imports %s" % (path, bits, ", ".join(sorted(dlls))))
        for p in problems:
            print("  FAIL: " + p)
        failed += bool(problems)
    print("%d passed, %d failed" % (len(paths) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
