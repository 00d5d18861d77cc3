#!/usr/bin/env python3
"""Gives a Windows Installer package made by wixl the source's time and a PackageCode that follows from
its contents, so that the same source makes the same package.

    package_identity.py PACKAGE.msi UPGRADE_CODE SOURCE_DATE_EPOCH

wixl writes the time of the run as the summary information's creation and last-saved times and a random
PackageCode (the revision number). Both are rewritten in place, in the compound file's
"\\x05SummaryInformation" stream, at the same size: the times become SOURCE_DATE_EPOCH, and the
PackageCode becomes the name-based UUID (SHA-1, in the UpgradeCode's namespace) of the SHA-256 of the
package with its times set and its PackageCode all zeros. A package with other contents gets another
PackageCode, as Windows Installer requires; the same package built again gets the same one.
"""
import hashlib
import struct
import sys
import uuid

SUMMARY_STREAM = "\x05SummaryInformation"
PID_REVISION_NUMBER = 9   # the PackageCode
PID_CREATE_TIME = 12
PID_LAST_SAVE_TIME = 13
VT_LPSTR = 30
VT_FILETIME = 64
END_OF_CHAIN = 0xFFFFFFFE
# FILETIME counts 100 ns from 1601-01-01; Unix time seconds from 1970-01-01.
FILETIME_OF_1970 = 116444736000000000
ZERO_CODE = b"{00000000-0000-0000-0000-000000000000}"


class CompoundFile:
    """The parts of a compound file (MS-CFB) needed to find where each byte of a stream lies."""

    def __init__(self, data):
        if data[:8] != bytes.fromhex("D0CF11E0A1B11AE1"):
            raise ValueError("not a compound file")
        self.data = data
        self.sector_size = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini_size = 1 << struct.unpack_from("<H", data, 0x20)[0]
        (fat_sectors, first_dir, _, self.cutoff, first_minifat, minifat_sectors, first_difat,
         difat_sectors) = struct.unpack_from("<8I", data, 0x2C)
        difat = list(struct.unpack_from("<109I", data, 0x4C))
        per_sector = self.sector_size // 4
        sector = first_difat
        for _ in range(difat_sectors):
            entries = struct.unpack_from("<%dI" % per_sector, data, self.offset(sector))
            difat += entries[:-1]
            sector = entries[-1]
        self.fat = []
        for sector in difat[:fat_sectors]:
            self.fat += struct.unpack_from("<%dI" % per_sector, data, self.offset(sector))
        self.minifat = []
        for sector in self.chain(first_minifat)[:minifat_sectors]:
            self.minifat += struct.unpack_from("<%dI" % per_sector, data, self.offset(sector))
        self.entries = []
        for sector in self.chain(first_dir):
            for at in range(self.offset(sector), self.offset(sector) + self.sector_size, 128):
                name_bytes = struct.unpack_from("<H", data, at + 0x40)[0]
                name = data[at:at + max(name_bytes - 2, 0)].decode("utf-16-le")
                start, size = struct.unpack_from("<IQ", data, at + 0x74)
                self.entries.append((name, data[at + 0x42], start, size & 0xFFFFFFFF))
        root = self.entries[0]
        self.mini_stream = self.chain(root[2])

    def offset(self, sector):
        return (sector + 1) * self.sector_size

    def chain(self, first, table=None):
        table = self.fat if table is None else table
        sectors = []
        sector = first
        while sector != END_OF_CHAIN:
            if sector >= len(table) or len(sectors) > len(table):
                raise ValueError("broken sector chain")
            sectors.append(sector)
            sector = table[sector]
        return sectors

    def stream_offsets(self, name):
        """The file offset of each byte of the stream called name."""
        for entry_name, kind, start, size in self.entries:
            if kind == 2 and entry_name == name:
                break
        else:
            raise ValueError("no stream %r" % name)
        if size >= self.cutoff:
            units = [(self.offset(s), self.sector_size) for s in self.chain(start)]
        else:
            units = []
            per_sector = self.sector_size // self.mini_size
            for mini in self.chain(start, self.minifat):
                sector = self.mini_stream[mini // per_sector]
                units.append((self.offset(sector) + (mini % per_sector) * self.mini_size, self.mini_size))
        offsets = [base + i for base, length in units for i in range(length)]
        if len(offsets) < size:
            raise ValueError("stream %r is shorter than its entry says" % name)
        return offsets[:size]


def summary_properties(stream):
    """{property id: (type, offset of its value in the stream)} of the summary information's one section."""
    (sections,) = struct.unpack_from("<I", stream, 24)
    if sections < 1:
        raise ValueError("the summary information has no section")
    (section,) = struct.unpack_from("<I", stream, 44)
    _, count = struct.unpack_from("<II", stream, section)
    properties = {}
    for i in range(count):
        pid, at = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        (kind,) = struct.unpack_from("<I", stream, section + at)
        properties[pid] = (kind, section + at + 4)
    return properties


def main(path, upgrade_code, epoch):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    offsets = CompoundFile(bytes(data)).stream_offsets(SUMMARY_STREAM)
    stream = bytes(data[i] for i in offsets)
    properties = summary_properties(stream)

    def put(at, value):
        for i, byte in enumerate(value):
            data[offsets[at + i]] = byte

    filetime = struct.pack("<Q", FILETIME_OF_1970 + epoch * 10000000)
    for pid in (PID_CREATE_TIME, PID_LAST_SAVE_TIME):
        kind, at = properties.get(pid, (None, 0))
        if kind != VT_FILETIME:
            raise ValueError("the summary information has no time %d" % pid)
        put(at, filetime)
    kind, at = properties.get(PID_REVISION_NUMBER, (None, 0))
    (length,) = struct.unpack_from("<I", stream, at) if kind == VT_LPSTR else (0,)
    if length != len(ZERO_CODE) + 1:
        raise ValueError("the summary information has no PackageCode of the usual form")
    put(at + 4, ZERO_CODE)
    digest = hashlib.sha256(data).hexdigest()
    code = uuid.uuid5(uuid.UUID(upgrade_code.strip("{}")), digest)
    put(at + 4, ("{%s}" % str(code).upper()).encode("ascii"))
    with open(path, "r+b") as f:
        f.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 4 or not sys.argv[3].isdigit():
        sys.exit("usage: package_identity.py PACKAGE.msi UPGRADE_CODE SOURCE_DATE_EPOCH")
    try:
        main(sys.argv[1], sys.argv[2], int(sys.argv[3]))
    except (OSError, ValueError, struct.error) as error:
        sys.exit("package_identity.py: %s: %s" % (sys.argv[1], error))
