#!/usr/bin/env python3
"""Reads a programmer firmware file (.FWR) or a flash-driver file (.VDR) as the
control program's loaders do, and prints what it finds as key=value lines.

    check_files.py fwr FILE
    check_files.py vdr FILE
"""
import sys


def checksum16(data):
    c = 0
    for b in data:
        k = 0x4A12 if c & 1 else 0
        c = ((c >> 1) ^ b ^ k) & 0xFFFF
    return c


assert checksum16(b"abc") == 0x2543 and checksum16(b"\x01\x00") == 0x4A12


def le16(data, at):
    return data[at] | data[at + 1] << 8


def ok(flag):
    return "ok" if flag else "bad"


def firmware(data):
    marker = bytes(b ^ 0x80 for b in data[0:7])
    version = data[7:15]
    key = le16(data, 15)
    end, word3, word4, length = (le16(data, at) ^ key for at in (17, 19, 21, 23))
    table = data[25:25 + 3290] + bytes(4096 - 3290)
    padded = (length + 15) // 16 * 16
    image = bytearray()
    for i, b in enumerate(data[3315:3315 + padded]):
        group_key = (i - i % 4) & 0xFFF
        image.append(b ^ table[group_key + (1 if i % 4 in (1, 3) else 0)])
    sum_at = 3315 + padded + 876
    stored = int.from_bytes(data[sum_at:sum_at + 4], "little")
    return {
        "marker": ok(marker == b"VlmFmWr"),
        "version": version.split(b"\0")[0].decode("latin-1") if version[:1] == b"V" else "",
        "end": end,
        "word3": word3,
        "word4": word4,
        "length": length,
        "sum": ok(len(data) >= sum_at + 4 and stored == sum(data[:sum_at]) & 0xFFFFFFFF),
        "size": ok(len(data) == sum_at + 4),
        "image": bytes(image[:length]).hex(),
    }


def driver(data):
    key = data[16:32]
    plain = bytearray(data)
    for at in range(0x20, len(plain)):
        block, i = divmod(at - 0x20, 16)
        plain[at] ^= 0x6B ^ (block & 0xFF) ^ key[i]
    length = le16(plain, 0x0C)
    out = {
        "magic": ok(plain[:8] == b"QVFLSDRV"),
        "header8": plain[8],
        "header9": plain[9],
        "checksum": ok(checksum16(plain[0x40:0x40 + length]) == le16(plain, 0x0A)),
        "length": ok(length == len(data) - 0x68),
    }
    inside = True
    for k in range(5):
        offset, size = le16(plain, 0x20 + 4 * k), le16(plain, 0x22 + 4 * k)
        inside = inside and (size == 0 or (offset >= 0x40 and offset + size <= 0x40 + length))
        out["section%d" % k] = bytes(plain[offset:offset + size]).hex()
    out["sections"] = ok(inside)
    return out


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("fwr", "vdr"):
        sys.exit(__doc__)
    with open(sys.argv[2], "rb") as f:
        data = f.read()
    found = firmware(data) if sys.argv[1] == "fwr" else driver(data)
    for key, value in found.items():
        print("%s=%s" % (key, value))


if __name__ == "__main__":
    main()
