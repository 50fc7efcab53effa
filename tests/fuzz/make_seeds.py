#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora (tests/fuzz/seeds/<target>/): a few
valid inputs each, built here from the formats' rules, and the demo job's
project, flash driver and firmware files as make-demo-project writes them.
  tests/fuzz/make_seeds.py <make-demo-project binary>
Each input starts with the target's steering bytes (see the target's source)."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SEEDS = os.path.join(HERE, "seeds")

# Chip indexes of the fuzz chip table (fuzz_support.cpp).
BAT32, AU301, LCP037, MR88F, ML630, SN32F, SA32B = range(7)


def hex_record(rtype, address, data):
    body = bytes([len(data), address >> 8 & 0xFF, address & 0xFF, rtype]) + bytes(data)
    return ":" + body.hex().upper() + "%02X" % (-sum(body) & 0xFF)


def srec_record(rtype, address_bytes, address, data):
    body = bytes([len(data) + address_bytes + 1]) + address.to_bytes(address_bytes, "big") + bytes(data)
    return "S%d" % rtype + body.hex().upper() + "%02X" % (~sum(body) & 0xFF)


def pattern(n, seed=0):
    return bytes((i * 7 + seed * 13 + (i >> 5)) & 0xFF for i in range(n))


def slip(packet):
    out = bytearray([0xC0])
    for b in packet:
        out += {0xC0: b"\xdb\xdc", 0xDB: b"\xdb\xdd"}.get(b, bytes([b]))
    return bytes(out) + b"\xc0" + b"\xff" * 5


def reply(payload):
    """A reply packet: header, payload length, payload, and the 16-bit sum of every byte before it."""
    packet = bytearray([0xA3, 0xA5, 0x35, 0, 0, 0]) + struct.pack("<H", len(payload)) + bytes(payload)
    return bytes(packet) + struct.pack("<H", sum(packet) & 0xFFFF)


def identity_reply(text):
    packet = bytearray([0xA3, 0xA5, 0x35, 0, 0, 0]) + struct.pack("<H", len(text)) + bytes(20)
    return bytes(packet) + text.encode() + b"\x00"


def progress(stage, result, current, total):
    r = bytearray([0xFD, stage, result]) + struct.pack("<HH", current, total)
    return bytes(r + bytes([-sum(r) & 0xFF]))


def run_coded(data, pad, key):
    """A key byte, then each byte XOR pad[c] XOR the key, c counting 0..1023;
    after every 1024th byte a new key (here the same one)."""
    out = bytearray([key])
    for j, b in enumerate(data):
        out.append(b ^ pad[j % 1024] ^ key)
        if j % 1024 == 1023:
            out.append(key)
    return bytes(out)


def run_decoded(data, at, count, pad):
    key = data[at]
    at += 1
    out = bytearray()
    for j in range(count):
        out.append(data[at] ^ pad[j % 1024] ^ key)
        at += 1
        if j % 1024 == 1023:
            key = data[at]
            at += 1
    return bytes(out), at


def smaller_project(project, main_length, eep_length):
    """The demo project cut to its first main_length main and eep_length EEP
    bytes: a job of the same chip whose input is quicker to fuzz."""
    header, cfg_end = bytearray(project[:2403]), 3431
    pad = project[354:354 + 2049]
    old_main = struct.unpack_from("<I", project, 266)[0]
    main, at = run_decoded(project, cfg_end + 3, old_main, pad)
    old_eep = struct.unpack_from("<I", project, at + 3)[0]
    eep, at = run_decoded(project, at + 7, old_eep % 65536 or 65536, pad)
    struct.pack_into("<I", header, 266, main_length)
    body = (bytes(header) + project[2403:cfg_end] + project[cfg_end:cfg_end + 3] + run_coded(main[:main_length], pad, 0x17)
            + bytes(b ^ 0x9A for b in b"EEP") + struct.pack("<I", eep_length)
            + (run_coded(eep[:eep_length], pad, 0x2B) if eep_length else b""))
    return body + struct.pack("<I", sum(body) & 0xFFFFFFFF) + project[-256:]


def lines(*items):
    return ("\r\n".join(items) + "\r\n").encode()


def write(target, name, data):
    folder = os.path.join(SEEDS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def record_seeds():
    data = pattern(48)
    write("hex_line", "data", bytes([BAT32]) + bytes(8) + hex_record(0, 0x0100, data[:16]).encode())
    write("hex_line", "linear", bytes([ML630]) + struct.pack("<II", 0x10000000, 0) + hex_record(0, 0x0020, data[:32]).encode())
    write("hex_line", "extended", bytes([LCP037]) + bytes(8) + hex_record(4, 0, b"\x08\x00").encode())
    write("hex_line", "segment", bytes([MR88F]) + bytes(8) + hex_record(2, 0, b"\x10\x00").encode())
    write("srec_line", "s1", bytes([BAT32]) + srec_record(1, 2, 0x0200, data[:32]).encode())
    write("srec_line", "s2", bytes([MR88F]) + srec_record(2, 3, 0x00F000, data[:16]).encode())
    write("srec_line", "s3", bytes([SA32B]) + srec_record(3, 4, 0x20020000, data[:32]).encode())
    write("srec_line", "s0", bytes([BAT32]) + srec_record(0, 2, 0, b"demo").encode())

    hex_main = lines(hex_record(0, 0x0000, data[:16]), hex_record(0, 0x0010, data[16:48]), ":00000001FF")
    hex_high = lines(hex_record(4, 0, b"\x08\x00"), hex_record(0, 0x0000, data[:32]),
                     hex_record(4, 0, b"\x1f\xff"), hex_record(0, 0xF600, data[:16]), ":00000001FF")
    hex_eep = lines(hex_record(4, 0, b"\x00\x50"), hex_record(0, 0x0000, data[:32]), ":00000001FF")
    write("hex_file", "main", bytes([BAT32, 0, 0]) + hex_main)
    write("hex_file", "options", bytes([LCP037, 0, 0]) + hex_high)
    write("hex_file", "eep", bytes([BAT32, 0, 0x80]) + hex_eep)
    write("hex_file", "abort", bytes([BAT32, 1, 0]) + lines(hex_record(0, 0, data[:16])[:-1] + "0", hex_record(0, 16, data[:16])))

    s19 = lines(srec_record(0, 2, 0, b"hdr"), srec_record(1, 2, 0x0000, data[:32]), srec_record(1, 2, 0x0020, data[:16]),
                srec_record(9, 2, 0, b""))
    s37 = lines(srec_record(3, 4, 0x03000000, data[:32]), srec_record(3, 4, 0x03026000, data[:16]),
                srec_record(3, 4, 0x03802000, data[:8]), srec_record(7, 4, 0, b""))
    s28 = lines(srec_record(2, 3, 0x500000, data[:32]), srec_record(8, 3, 0, b""))
    write("srec_file", "s19", bytes([BAT32, 0, 0]) + s19)
    write("srec_file", "s37", bytes([AU301, 0, 1]) + s37)
    write("srec_file", "eep", bytes([BAT32, 0, 0x82]) + s28)

    write("binary_load", "main", bytes([BAT32, 0]) + struct.pack("<I", 32) + pattern(300))
    write("binary_load", "into_eep", bytes([AU301, 0]) + struct.pack("<I", 0x7F00 + 32) + pattern(600, 1))
    write("binary_load", "eep", bytes([MR88F, 1]) + struct.pack("<I", 64) + pattern(200, 2))
    write("binary_load", "outside", bytes([LCP037, 2]) + struct.pack("<I", 0x20000000) + pattern(16))


def link_seeds():
    short_ok = reply(b"\x06\x00")
    data_reply = reply(pattern(64) + b"\xc0\xdb")
    write("slip", "short", bytes([0]) + slip(short_ok))
    write("slip", "data", bytes([0]) + slip(data_reply))
    write("slip", "small_destination", bytes([0x80 | 16]) + slip(data_reply))
    write("slip", "two_frames", bytes([0]) + slip(short_ok) + slip(progress(0x40, 0, 3, 32)))
    write("slip", "no_destination", bytes([0x80]) + slip(short_ok))
    padded = bytearray(data_reply[:-2] + bytes(6))
    write("slip", "padded", bytes([0]) + slip(bytes(padded) + struct.pack("<H", sum(padded) & 0xFFFF)))

    ident = slip(identity_reply("Velmot200IND V1.05, 2024"))
    boot = slip(identity_reply("Velmot200XXX-XX"))
    write("receive_path", "search", bytes([0, 0, 0, 0, 1]) + bytes([len(ident) - 1]) + ident)
    write("receive_path", "boot_loader", bytes([3, 0, 0, 0, 1]) + bytes([9]) + boot[:10] + bytes([len(boot) - 11]) + boot[10:])
    write("receive_path", "verify", bytes([0x80, 10, 8, 0, 0]) + bytes([len(slip(short_ok)) - 1]) + slip(short_ok))
    write("receive_path", "progress", bytes([0x81, 7, 4, 0, 0]) + bytes([16]) + slip(progress(0x40, 0, 1, 8)))
    read = slip(reply(pattern(1024)))
    parts = [read[i:i + 128] for i in range(0, len(read), 128)]
    write("receive_path", "read_main", bytes([0x82, 12, 1, 0, 0]) + b"".join(bytes([len(p) - 1]) + p for p in parts))

    write("progress_report", "program", bytes([0]) + progress(0x40, 0, 3, 32))
    write("progress_report", "verdict", bytes([1]) + progress(0xF0, 6, 0, 0))
    write("progress_report", "erase", bytes([2]) + progress(0x30, 0, 0, 0))

    write("identity", "application", bytes([28]) + b"V1.06\0\0\0" + identity_reply("Velmot200IND V1.06, 2024"))
    write("identity", "older", bytes([28]) + b"V1.06\0\0\0" + identity_reply("Velmot200IND V1.05"))
    write("identity", "boot_loader", bytes([28]) + b"V1.06\0\0\0" + identity_reply("Velmot200XXX-XX"))


def demo_seeds(make_demo):
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([make_demo, os.path.join(tmp, "demo.pqx"), "--program-folder", tmp], check=True,
                       stdout=subprocess.DEVNULL)
        read = lambda *p: open(os.path.join(tmp, *p), "rb").read()
        project, driver, firmware = read("demo.pqx"), read("QuorixDRVs", "LDR09.VDR"), read("VelmotIND.FWR")
    write("project_file", "demo", bytes([BAT32]) + smaller_project(project, 1024, 256))
    write("project_file", "over_au301", bytes([AU301]) + smaller_project(project, 2048, 1536))
    write("project_file", "no_eep", bytes([SA32B]) + smaller_project(project, 300, 0))
    write("flash_driver", "bat32", bytes([BAT32, 0x58, 0x11]) + driver)
    write("flash_driver", "sa32b", bytes([SA32B, 0, 0]) + driver)
    write("firmware_file", "demo", firmware)


def text_seeds():
    write("connection_ini", "three", lines("[General]", "[Connection]", "TOTDEV=3", "DEV1=COM4", "DEV2=/dev/ttyUSB1", "dev10=com12"))
    write("connection_ini", "after_comment", lines("; units", "x", "[Connection]", "DEV3=COM7", "[Other]", "DEV4=COM8"))
    write("connection_ini", "none", lines("[Connection]"))
    write("log_config", "customer", lines("[ConfigLog]", "EnLog", "Customer", "CusDef2", "SpcFile=line7.log", "[EndCfg]"))
    write("log_config", "system", lines("[ConfigLog]", "DnLog", "System", "[EndCfg]"))
    write("log_config", "not_config", lines("[Other]", "EnLog"))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    shutil.rmtree(SEEDS, ignore_errors=True)
    record_seeds()
    link_seeds()
    demo_seeds(sys.argv[1])
    text_seeds()


if __name__ == "__main__":
    main()
