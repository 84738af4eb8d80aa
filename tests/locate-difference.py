#!/usr/bin/env python3
"""Says where an offset falls in a file, so a byte that differs between two
builds points at its cause: for a PE file the header field, the data
directory or the section; for a zip the entry and the field of its header.

    locate-difference.py FILE OFFSET
"""
import struct
import sys

# (offset, size, name) from the start of each header.
DOS_FIELDS = [(0, 2, "e_magic"), (0x3C, 4, "e_lfanew")]
COFF_FIELDS = [(0, 4, "Signature"), (4, 2, "Machine"), (6, 2, "NumberOfSections"), (8, 4, "TimeDateStamp"),
               (12, 4, "PointerToSymbolTable"), (16, 4, "NumberOfSymbols"), (20, 2, "SizeOfOptionalHeader"),
               (22, 2, "Characteristics")]
OPTIONAL_FIELDS_PE32PLUS = [
    (0, 2, "Magic"), (2, 1, "MajorLinkerVersion"), (3, 1, "MinorLinkerVersion"), (4, 4, "SizeOfCode"),
    (8, 4, "SizeOfInitializedData"), (12, 4, "SizeOfUninitializedData"), (16, 4, "AddressOfEntryPoint"),
    (20, 4, "BaseOfCode"), (24, 8, "ImageBase"), (32, 4, "SectionAlignment"), (36, 4, "FileAlignment"),
    (40, 2, "MajorOperatingSystemVersion"), (42, 2, "MinorOperatingSystemVersion"),
    (44, 2, "MajorImageVersion"), (46, 2, "MinorImageVersion"), (48, 2, "MajorSubsystemVersion"),
    (50, 2, "MinorSubsystemVersion"), (52, 4, "Win32VersionValue"), (56, 4, "SizeOfImage"),
    (60, 4, "SizeOfHeaders"), (64, 4, "CheckSum"), (68, 2, "Subsystem"), (70, 2, "DllCharacteristics"),
    (72, 8, "SizeOfStackReserve"), (80, 8, "SizeOfStackCommit"), (88, 8, "SizeOfHeapReserve"),
    (96, 8, "SizeOfHeapCommit"), (104, 4, "LoaderFlags"), (108, 4, "NumberOfRvaAndSizes")]
DATA_DIRECTORIES = ["Export", "Import", "Resource", "Exception", "Certificate", "BaseRelocation", "Debug",
                    "Architecture", "GlobalPtr", "TLS", "LoadConfig", "BoundImport", "IAT", "DelayImport",
                    "CLRRuntime", "Reserved"]
SECTION_FIELDS = [(0, 8, "Name"), (8, 4, "VirtualSize"), (12, 4, "VirtualAddress"), (16, 4, "SizeOfRawData"),
                  (20, 4, "PointerToRawData"), (24, 4, "PointerToRelocations"), (28, 4, "PointerToLinenumbers"),
                  (32, 2, "NumberOfRelocations"), (34, 2, "NumberOfLinenumbers"), (36, 4, "Characteristics")]
ZIP_LOCAL_FIELDS = [(0, 4, "signature"), (4, 2, "version needed"), (6, 2, "flags"), (8, 2, "method"),
                    (10, 2, "modification time"), (12, 2, "modification date"), (14, 4, "CRC-32"),
                    (18, 4, "compressed size"), (22, 4, "size"), (26, 2, "name length"), (28, 2, "extra length")]
ZIP_CENTRAL_FIELDS = [(0, 4, "signature"), (4, 2, "version made by"), (6, 2, "version needed"), (8, 2, "flags"),
                      (10, 2, "method"), (12, 2, "modification time"), (14, 2, "modification date"),
                      (16, 4, "CRC-32"), (20, 4, "compressed size"), (24, 4, "size"), (28, 2, "name length"),
                      (30, 2, "extra length"), (32, 2, "comment length"), (34, 2, "disk"),
                      (36, 2, "internal attributes"), (38, 4, "external attributes"), (42, 4, "local header offset")]


def field(fields, base, offset):
    for start, size, name in fields:
        if base + start <= offset < base + start + size:
            return name
    return None


def locate_pe(data, offset):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if offset < pe:
        return "DOS header " + (field(DOS_FIELDS, 0, offset) or "(stub)")
    name = field(COFF_FIELDS, pe, offset)
    if name:
        return "COFF header " + name
    optional = pe + 24
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    sections_at = optional + optional_size
    if offset < sections_at:
        name = field(OPTIONAL_FIELDS_PE32PLUS, optional, offset)
        if name:
            return "optional header " + name
        index, part = divmod(offset - optional - 112, 8)
        return "data directory %s, %s" % (DATA_DIRECTORIES[index % 16], "RVA" if part < 4 else "Size")
    count = struct.unpack_from("<H", data, pe + 6)[0]
    sections = []
    for i in range(count):
        at = sections_at + 40 * i
        raw_name = data[at:at + 8].rstrip(b"\0").decode("latin-1")
        size, rva, raw_size, raw_at = struct.unpack_from("<IIII", data, at + 8)
        if at <= offset < at + 40:
            return "section header %s, %s" % (raw_name, field(SECTION_FIELDS, at, offset))
        sections.append((raw_name, rva, raw_at, raw_size))
    directories = struct.unpack_from("<" + "II" * 16, data, optional + 112)
    for name, rva, raw_at, raw_size in sections:
        if raw_at <= offset < raw_at + raw_size:
            place = "section %s, +0x%x" % (name, offset - raw_at)
            # The directories inside it (the resources, the debug directory...).
            at_rva = rva + offset - raw_at
            for index in range(16):
                d_rva, d_size = directories[2 * index], directories[2 * index + 1]
                if d_size and d_rva <= at_rva < d_rva + d_size:
                    place += ", in the %s directory at +0x%x" % (DATA_DIRECTORIES[index], at_rva - d_rva)
            return place
    return "past the headers, in no section (padding or appended data)"


def locate_zip(data, offset):
    at = 0
    while data[at:at + 4] == b"PK\3\4":
        method, compressed, name_length, extra_length = struct.unpack_from("<H8xI4xHH", data, at + 8)
        name = data[at + 30:at + 30 + name_length].decode("utf-8", "replace")
        body = at + 30 + name_length + extra_length
        if offset < at + 30:
            return "local header of %s, %s" % (name, field(ZIP_LOCAL_FIELDS, at, offset))
        if offset < body:
            return "local header of %s, its %s" % (name, "name" if offset < at + 30 + name_length else "extra field")
        if offset < body + compressed:
            return "the packed data of %s, +0x%x" % (name, offset - body)
        at = body + compressed
    while data[at:at + 4] == b"PK\1\2":
        lengths = struct.unpack_from("<HHH", data, at + 28)
        name = data[at + 46:at + 46 + lengths[0]].decode("utf-8", "replace")
        if offset < at + 46:
            return "central directory entry of %s, %s" % (name, field(ZIP_CENTRAL_FIELDS, at, offset))
        end = at + 46 + sum(lengths)
        if offset < end:
            return "central directory entry of %s, its name, extra field or comment" % name
        at = end
    return "the end of central directory record"


def main():
    path, offset = sys.argv[1], int(sys.argv[2], 0)
    with open(path, "rb") as f:
        data = f.read()
    where = "a text or other file"
    try:
        if data[:2] == b"MZ" and data[struct.unpack_from("<I", data, 0x3C)[0]:][:4] == b"PE\0\0":
            where = locate_pe(data, offset)
        elif data[:4] == b"PK\3\4":
            where = locate_zip(data, offset)
    except (struct.error, IndexError, UnicodeDecodeError) as e:
        where = "a damaged header (%s)" % e
    print("offset 0x%x (%d): %s" % (offset, offset, where))


if __name__ == "__main__":
    main()
