#!/usr/bin/env python3
"""Writes mutated copy number INDEX of the media samples: mutate_media.py SAMPLES SEED INDEX OUT.

The sample and the mutations follow from SEED and INDEX alone, so a finding can be made again
from its number. Each copy gets one to three of: bit flips, a run of one byte value, truncation,
a duplicated or a removed chunk, and corrupted AVI or MPEG header fields. Prints the sample and
the mutations applied."""
import os
import random
import struct
import sys

MEDIA = (".avi", ".mpg", ".mpeg", ".vob", ".dv", ".m2v", ".ts")


def samples(folder):
    found = []
    for root, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            if name.lower().endswith(MEDIA) and os.path.getsize(path) > 0:
                found.append(path)
    return sorted(found)


def bit_flips(rng, data):
    for _ in range(rng.randint(1, 32)):
        i = rng.randrange(len(data))
        data[i] ^= 1 << rng.randrange(8)
    return "bitflips"


def byte_run(rng, data):
    n = rng.randint(1, 512)
    at = rng.randrange(len(data))
    value = rng.choice([0x00, 0xFF, 0x47, rng.randrange(256)])
    data[at:at + n] = bytes([value]) * len(data[at:at + n])
    return "run"


def truncate(rng, data):
    del data[max(1, int(len(data) * rng.uniform(0.05, 0.95))):]
    return "truncate"


def duplicate_chunk(rng, data):
    n = rng.randint(1, min(65536, len(data)))
    at = rng.randrange(len(data) - n + 1)
    chunk = data[at:at + n]
    to = rng.randrange(len(data) + 1)
    data[to:to] = chunk
    return "dupchunk"


def remove_chunk(rng, data):
    n = rng.randint(1, max(1, min(65536, len(data) // 2)))
    at = rng.randrange(len(data) - n + 1)
    del data[at:at + n]
    return "rmchunk"


def nasty_dword(rng):
    return rng.choice([0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFF, 0x10000,
                       rng.randrange(1 << 32)])


def avi_fields(rng, data):
    """Header chunks and their size fields: main and stream headers, formats, index, lists."""
    tags = [b"RIFF", b"LIST", b"avih", b"strh", b"strf", b"idx1", b"indx", b"movi", b"00dc",
            b"01wb", b"00db"]
    spots = [i for tag in tags for i in find_all(data, tag)]
    if not spots:
        return bit_flips(rng, data)
    for _ in range(rng.randint(1, 4)):
        at = rng.choice(spots)
        # The size field right after the tag, or one of the first fields of the chunk.
        field = at + 4 + 4 * rng.choice([0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10])
        if field + 4 <= len(data):
            data[field:field + 4] = struct.pack("<I", nasty_dword(rng))
    return "avifields"


def mpeg_fields(rng, data):
    """Pack, system, sequence, extension, GOP, picture and PES headers after their start codes."""
    codes = [b"\x00\x00\x01\xba", b"\x00\x00\x01\xbb", b"\x00\x00\x01\xb3", b"\x00\x00\x01\xb5",
             b"\x00\x00\x01\xb8", b"\x00\x00\x01\x00", b"\x00\x00\x01\xe0", b"\x00\x00\x01\xc0",
             b"\x00\x00\x01\xbd"]
    spots = [i for code in codes for i in find_all(data, code, limit=200)]
    if not spots:
        return bit_flips(rng, data)
    for _ in range(rng.randint(1, 6)):
        at = rng.choice(spots) + 4 + rng.randrange(10)
        if at < len(data):
            data[at] = rng.choice([0x00, 0xFF, rng.randrange(256), data[at] ^ 0x80])
    return "mpegfields"


def find_all(data, tag, limit=400):
    found, at = [], data.find(tag)
    while at >= 0 and len(found) < limit:
        found.append(at)
        at = data.find(tag, at + 1)
    return found


def main():
    folder, seed, index, out = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    rng = random.Random(seed * 1000003 + index)
    files = samples(folder)
    source = files[index % len(files)]
    with open(source, "rb") as f:
        data = bytearray(f.read())
    header = avi_fields if source.lower().endswith(".avi") else mpeg_fields
    ops = [bit_flips, byte_run, truncate, duplicate_chunk, remove_chunk, header, header]
    done = [rng.choice(ops)(rng, data) for _ in range(rng.randint(1, 3)) if len(data) > 1]
    with open(out, "wb") as f:
        f.write(data)
    print(os.path.relpath(source, folder), "+".join(done))


if __name__ == "__main__":
    main()
