#!/usr/bin/env python3
"""Decodes a project file (.pqx) from its published layout, apart from the
program's code, and checks its structure.

    decode_project.py FILE OUTDIR

Prints one "name=value" line per header field (numbers in decimal, texts as
hex of their bytes up to the first zero) and writes the decoded chip-data
section, main data and EEP data to OUTDIR/cfg.bin, main.bin and eep.bin.
Exits 1 with a message on the first structural fault: magic, version, a tag,
a byte that must be zero, text padding, the sum, or the file's length.
"""
import os
import struct
import sys

TEXT_KEY = 0x9E
RUN = 1024


def fail(message):
    print("layout error: " + message)
    sys.exit(1)


def main():
    path, outdir = sys.argv[1], sys.argv[2]
    data = open(path, "rb").read()

    def u32(at):
        return struct.unpack_from("<I", data, at)[0]

    def zeros(at, size, what):
        if any(data[at:at + size]):
            fail("%s at %d..%d is not zero" % (what, at, at + size - 1))

    def text(at, width, what):
        stored = data[at:at + width]
        end = stored.find(0)
        if end < 0:
            end = width
        if any(stored[end:]):
            fail("%s: padding after the text is not plain zero" % what)
        return bytes(b ^ TEXT_KEY for b in stored[:end])

    if data[0:6] != b"Quorix":
        fail("magic")
    if data[6] != 0x02:
        fail("version")
    fields = {}
    fields["ChipCode"] = data[7]
    fields["ModelName"] = text(8, 16, "model name").hex()
    fields["ChipName"] = text(24, 20, "chip name").hex()
    fields["ChipText2"] = text(44, 48, "object file name").hex()
    zeros(92, 32, "reserved")
    fields["ChipChecksum"] = u32(124)
    fields["FileChecksum"] = u32(128)
    fields["EepFileSum"] = u32(132)
    zeros(136, 20, "reserved")
    fields["CountLimit"] = u32(156)
    fields["ObjectStart"] = u32(160)
    fields["ObjectEnd"] = u32(164)
    fields["SnGain"] = struct.unpack_from("<H", data, 168)[0]
    zeros(170, 86, "reserved")
    fields["ProjectOptionBits"] = data[256]
    fields["ChipFamilyIndex"] = data[257]
    fields["MainSize"] = u32(258)
    fields["EepSize"] = u32(262)
    fields["MainDataLength"] = u32(266)
    zeros(270, 10, "reserved")
    fields["MainStart"] = u32(280)
    fields["EepStart"] = u32(284)
    fields["OptionStart"] = u32(288)
    fields["AuxStart"] = u32(292)
    zeros(296, 10, "reserved")
    for i, name in enumerate(["MainSumLow", "MainSum16", "EepSumLow", "EepSum16", "OptionSum", "OptionSum16"]):
        value = u32(306 + 4 * i)
        if value > 0xFFFF:
            fail(name + " is not a 16-bit value")
        fields[name] = value
    zeros(330, 24, "reserved")
    pad = data[354:354 + 2049]

    at = 2403
    if bytes(b ^ 0x92 for b in data[at:at + 3]) != b"CFG":
        fail("CFG tag")
    kc = data[at + 3]
    if kc > 254:
        fail("CFG key above 254")
    cfg = bytes(data[at + 4 + i] ^ pad[i] ^ kc for i in range(1024))
    at += 4 + 1024

    def run_coded(at, count, what):
        out = bytearray(count)
        key = data[at]
        at += 1
        c = 0
        for j in range(count):
            out[j] = data[at] ^ pad[c] ^ key
            at += 1
            c += 1
            if c == RUN:
                c = 0
                key = data[at]
                at += 1
            if key > 254:
                fail(what + " key above 254")
        return bytes(out), at

    if at != 3431:
        fail("MFM tag not at 3431")
    if bytes(b ^ 0x97 for b in data[at:at + 3]) != b"MFM":
        fail("MFM tag")
    main_data, at = run_coded(at + 3, fields["MainDataLength"], "MFM")

    if bytes(b ^ 0x9A for b in data[at:at + 3]) != b"EEP":
        fail("EEP tag at %d" % at)
    eep_length = u32(at + 3)
    fields["EepDataLength"] = eep_length
    at += 7
    eep_data = b""
    if eep_length:
        m = eep_length % 65536 or 65536
        eep_data, at = run_coded(at, m, "EEP")

    stored_sum = u32(at)
    if stored_sum != sum(data[:at]) % 2**32:
        fail("sum")
    at += 4
    tail = data[at:]
    if len(tail) != 256:
        fail("tail of %d bytes, not 256" % len(tail))
    if max(tail) > 254:
        fail("tail byte above 254")

    for name, content in (("cfg.bin", cfg), ("main.bin", main_data), ("eep.bin", eep_data)):
        with open(os.path.join(outdir, name), "wb") as out:
            out.write(content)
    for name, value in fields.items():
        print("%s=%s" % (name, value))


if __name__ == "__main__":
    main()
