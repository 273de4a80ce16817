#!/usr/bin/env bash
# Seeds of fuzz_qavgen: the key typed at questions, then a link script over
# the target's files (templates t.pgm and t2.pgm, voice v.mf0 and v.dpm):
# KovaStudio's whole script, the voice cut with each answer, and the other
# commands in the orders users write them.
set -euo pipefail
out=$1
cd "$out"
seed() {  # seed NAME KEY LINE...
  local name=$1 key=$2
  shift 2
  { printf '%s' "$key"; printf '%s\r\n' "$@"; } > "$name"
}
options() {  # the 32 option bytes below the voice data at OFFSET
  local offset=$1 i
  for ((i = 0; i < 32; i++)); do printf '%%SetParm@="[%X]=%X"\n' $((offset - 32 + i)) $((i * 7 + 1)); done
}
mapfile -t opts < <(options 0x400)
mapfile -t opts2 < <(options 0x200)
head=('%DupFile@="d.dat"' '%OutFile@="o.dat"')

seed studio Y "${head[@]}" '%RomSize@="800"' '%AddFile@="t.pgm"' '%AddFile@="v.mf0"' "${opts[@]}" \
  '%CheckSum@="Generate"'
seed level2 Y "${head[@]}" '%RomSize@="600"' '%AddFile@="t2.pgm"' '%AddFile@="v.mf0"' "${opts2[@]}" \
  '%CheckSum@="Generate"'
seed too-long-yes Y "${head[@]}" '%RomSize@="500"' '%AddFile@="t.pgm"' '%AddFile@="v.mf0"' '%CheckSum@="Generate"'
seed too-long-no n "${head[@]}" '%RomSize@="500"' '%AddFile@="t.pgm"' '%AddFile@="v.mf0"' '%CheckSum@="Generate"'
seed too-long-quiet - "${head[@]}" '%RomSize@="500"' '%AddFile@="t.pgm"' '%AddFile@="v.mf0"' '%CheckSum@="Generate"'
seed blank-tail Y "${head[@]}" '%RomSize@="500"' '%AddFile@="t.pgm"' '%AddFile@="v.dpm"' '%CheckSum@="Generate"'
seed late-duplicate Y '%OutFile@="o.dat"' '%AddFile@="t.pgm"' '%DupFile@="d.dat"' '%CheckSum@="Generate"'
seed second-output Y '%DupFile@="d.dat"' '%OutFile@="first.dat"' '%AddFile@="t.pgm"' '%OutFile@="o.dat"' \
  '%AddFile@="v.mf0"' '%CheckSum@="Generate"'
seed copies Y "${head[@]}" '%RomSize@="800"' '%AddFile@="t.pgm"' '%AddFile@="v.mf0"' \
  '%InfoDup@="[10:1F][20:2F]"' '%RomCopy@="[3E0:3FF][400:41F]"' '%SetParm@="[7FF]=1A5"' '%checksum@="GENERATE"'
seed no-rom-size Y "${head[@]}" '%AddFile@="t.pgm"' '%AddFile@="v.dpm"' '%CheckSum@="Generate"' '%AddFile@="t2.pgm"'
seed comments Y '; a comment' '' '%dupfile@=""' '%OUTFILE@="o.dat"' '%AddFile@="t2.pgm"' '%CheckSum@="Generate"'
seed duplicate-only Y '%DupFile@="d.dat"' '%SetParm@="[0]=8"' '%InfoDup@="[0:0][1:1]"' '%CheckSum@="Generate"'
seed unknown Y "${head[@]}" '%AddFile@="t.pgm"' '%Bogus@="x"'
seed no-output Y '%AddFile@="t.pgm"'
seed bad-values Y "${head[@]}" '%RomSize@="80G0"'
