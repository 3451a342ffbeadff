#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Makes the sample voice recordings in tests/data from synthetic speech:
# bare runs of one frame kind each, as the player records them.
#   tools/make-samples.sh [OUTPUT_DIR]
# Needs espeak-ng, sox and lame. The results are committed; run this only to remake them.
set -euo pipefail

out=${1:-"$(cd "$(dirname "$0")/.." && pwd)/tests/data"}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

speech="Good morning. This is a voice memo recorded on the player. \
The meeting moves to Thursday at half past ten, in the small room. \
Please bring the figures for the second quarter."
shout="Stop! Turn it up! Louder, louder!"

espeak-ng -v en-us -s 160 -w "$tmp/speech.wav" "$speech"
espeak-ng -v en-us -s 170 -a 200 -w "$tmp/shout.wav" "$shout"

# Every file must be whole frames of exactly one header: no tag, no info frame, no padding.
check() { # file length header
  local file=$1 len=$2 want=$3 size heads
  size=$(stat -c %s "$file")
  if (( size == 0 || size % len != 0 )); then
    echo "$file: $size bytes is not a whole number of $len-byte frames" >&2; return 1
  fi
  heads=$(od -An -v -tx1 -w"$len" "$file" | awk '{print $1 $2 $3 $4}' | sort -u)
  if [[ "$heads" != "$want" ]]; then
    echo "$file: frame headers $heads, expected $want" >&2; return 1
  fi
  echo "$(basename "$file"): $((size / len)) frames of $len bytes, $size bytes"
}

encode() { # source name channels rate kbps length header [sox effects...]
  local src=$1 name=$2 channels=$3 rate=$4 kbps=$5 len=$6 header=$7 lamemode=m
  shift 7
  (( channels == 2 )) && lamemode=s
  sox -V1 -R -D "$tmp/$src.wav" -r "$rate" -c "$channels" -b 16 "$tmp/$name.wav" "$@"
  lame --quiet -t --cbr -b "$kbps" -m "$lamemode" --resample "$((rate / 1000))" \
    "$tmp/$name.wav" "$out/$name"
  check "$out/$name" "$len" "$header"
}

encode speech voice_mode0.VOC 1 8000 8 72 ffe318c4 gain -n -3
encode speech voice_mode1.VOC 1 16000 16 72 fff328c4 gain -n -3
encode speech voice_mode2.VOC 1 16000 32 144 fff348c4 gain -n -3
# Driven 12 dB past full scale: the decoded waveform overshoots both rails.
encode shout voice_clip.VOC 1 16000 32 144 fff348c4 gain -n 0 gain 12

# Frames of other kinds than the player's, for the decoder's handling of them.
encode speech mpeg1_mono.mp3 1 32000 32 144 fffb18c4 trim 0 3 gain -n -3
sox -V1 -R -D -M "$tmp/speech.wav" "$tmp/shout.wav" "$tmp/duet.wav"
encode duet mpeg2_stereo.mp3 2 16000 32 144 fff34804 trim 0 3 gain -n -3

# A 1 kHz tone of three seconds, for listening at other speeds: the pitch must stay.
sox -V1 -R -D -n -r 16000 -c 1 -b 16 "$tmp/tone.wav" synth 3 sine 1000 gain -n -6
lame --quiet -t --cbr -b 16 -m m --resample 16 "$tmp/tone.wav" "$out/tone_1k_mode1.VOC"
check "$out/tone_1k_mode1.VOC" 72 fff328c4
