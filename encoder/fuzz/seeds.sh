#!/usr/bin/env bash
# Seeds of fuzz_encoder_script: encoder scripts of sample projects written by
# KovaStudio's script writer (write_sample_scripts), one of them cut short and
# one with LF line ends; and four voice projects in the target's input form
# (fuzzed_project.h), byte by byte.
set -euo pipefail
out=$1
"$KOVA_TOOLS/write_sample_scripts" "$out"
head -c 700 "$out/ulaw.txt" > "$out/ulaw-cut.txt"
tr -d '\r' < "$out/adpcm.txt" > "$out/adpcm-lf.txt"

# project FLAGS ROW4-RATE ROW1-PATH: device Y (Z without bit 0), ADPCM, the
# first output and the second trigger mode, Offset 600; rows I0001 PCM at
# 16000 Hz, I0002 a mute typed "0250", I0003 ADPCM at 44100 Hz, I0009 PCM named "/" with
# the raw rate given; two empty rows; four groups: Edge Retrigger I0001 busy,
# I0002, I0009 busy; an empty one; Holdable I0003; an empty one.
project() {
  printf "$1"'\x00\x01\x02\x06\x00\x00\x04'
  printf '\x02\x04'"$3"'\x00\x01\xf9\x00\x05\x07\x03b c\x82\x05\xf5'"$2"
  printf '\x00\x02\x03\x1d\x80\x01\x83\x00\x0a\x02\x07'
}
project '\x01' '\x40\x1f\x00\x00' '\x05a.wav' > "$out/project"
project '\x00' '\xff\xff\xff\xff' '\x05a.wav' > "$out/project-rate-refused"
project '\x81' '\x40\x1f\x00\x00' '\x04a\r\nb' > "$out/project-line-break"
project '\x19' '\x40\x1f\x00\x00' '\x05a.wav' > "$out/project-no-format"
