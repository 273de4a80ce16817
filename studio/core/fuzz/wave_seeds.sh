#!/usr/bin/env bash
# Seeds of fuzz_wave_header: WAV files from the installation's sound maker,
# short so that the fuzzer works on headers: the accepted kind (8-bit mono
# PCM) at several rates, with a LIST chunk, with data sizes above and below
# the data's, the kinds the check refuses, and files cut inside the header.
set -euo pipefail
out=$1
wav() {  # wav NAME OPTION...
  local name=$1
  shift
  "$KOVA_TOOLS/make_wav" "$out/$name.wav" --samples 24 "$@"
}
wav pcm8
wav rate44100 --rate 44100 --noise --seed 3
wav rate1 --rate 1 --silence
wav list --list
wav data-size --data-size 4294967295
wav data-size-below --data-size 7
wav bits16 --bits 16
wav stereo --channels 2
wav float --format 3 --bits 32
wav alaw --format 6
head -c 30 "$out/pcm8.wav" > "$out/cut30.wav"
head -c 40 "$out/pcm8.wav" > "$out/cut40.wav"
# A LIST chunk whose member claims a size near 2^32: a reader counting the
# walk in 32 bits wraps around and never ends.
base64 -d > "$out/list-wrapped-member.wav" <<'END'
UklGRlwAAABXQVZFZm10IBAAAAABAAEAQB8A+EAfACcAAQgATElTVBo4////////////////////
////////////////////////////////////////////////////////////////////////////
//////////////////+///////////////////////////////////////+Ahg==
END
# The same member in a LIST chunk of the right size, between a good "fmt " and "data".
base64 -d > "$out/list-wrapped-member-valid.wav" <<'END'
UklGRlgAAABXQVZFZm10IBAAAAABAAEAQB8AAEAfAAABAAgATElTVBQAAABJTkZP//////j/////
/////////2RhdGEYAAAAgICAgICAgICAgICAgICAgICAgICAgICA
END
