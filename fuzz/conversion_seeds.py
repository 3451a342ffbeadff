#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

"""Writes the conversion harness's seeds: SAMPLES_DIR's voice recordings cut short,
and copies whose later headers claim frames longer than the first header's."""
import pathlib
import sys

LONG_MODE0 = b"\xff\xe3\xe8\xc4"  # MPEG-2.5 at 160 kbit/s: a 1440-byte frame
LONGEST = b"\xff\xfb\xea\xc4"     # MPEG-1, 320 kbit/s, 32 kHz, padded: 1441 bytes


def frames(data, length, count):
    return [data[i * length:(i + 1) * length] for i in range(min(count, len(data) // length))]


def claiming(frame, header):
    body = bytearray(header + frame[4:])
    body[5] |= 0x7F  # part2_3_length, so the decoder uses as much of the claim as it may
    body[6] |= 0xF8
    return bytes(body)


def main(samples, out):
    out = pathlib.Path(out)
    seeds = {}
    for mode, length in ((0, 72), (1, 72), (2, 144)):
        data = (pathlib.Path(samples) / f"voice_mode{mode}.VOC").read_bytes()
        cut = frames(data, length, 24)
        seeds[f"mode{mode}"] = b"".join(cut)
        middle, last = list(cut), list(cut)
        middle[10] = claiming(middle[10], LONG_MODE0 if mode == 0 else LONGEST)
        last[-1] = claiming(last[-1], LONGEST)
        seeds[f"mode{mode}_long_middle"] = b"".join(middle)
        seeds[f"mode{mode}_long_last"] = b"".join(last) + cut[0][:30]
    for name, data in seeds.items():
        path = out / f"seed_{name}.VOC"
        if not path.exists():
            path.write_bytes(data)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: conversion_seeds.py SAMPLES_DIR CORPUS_DIR")
    main(sys.argv[1], sys.argv[2])
