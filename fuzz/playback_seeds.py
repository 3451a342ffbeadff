#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

"""Seeds for playback_fuzz: a byte that picks the kind (0 voice, 1 wave, 2 MP3), a byte
that picks where to seek, then the file. Usage: playback_seeds.py DATA_DIR CORPUS_DIR"""
import math
import os
import struct
import sys

data_dir, corpus = sys.argv[1], sys.argv[2]


def put(name, kind, body):
    path = os.path.join(corpus, "seed_" + name)
    if not os.path.exists(path):
        with open(path, "wb") as out:
            out.write(bytes([kind, 0x80]) + body)


for entry in sorted(os.listdir(data_dir)):
    lower = entry.lower()
    if lower.endswith(".voc") or lower.endswith(".mp3"):
        with open(os.path.join(data_dir, entry), "rb") as f:
            put(entry, 0 if lower.endswith(".voc") else 2, f.read(8192))

samples = b"".join(struct.pack("<hh", int(8000 * math.sin(i / 3)), i) for i in range(400))
fmt = struct.pack("<HHIIHH", 1, 2, 8000, 32000, 4, 16)
body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"LIST" + struct.pack("<I", 3) + b"abc\0"
body += b"data" + struct.pack("<I", len(samples)) + samples
put("stereo.wav", 1, b"RIFF" + struct.pack("<I", len(body)) + body)
