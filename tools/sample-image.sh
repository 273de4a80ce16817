#!/usr/bin/env bash
# Builds a sample DAT image from a link script with QavGen and verifies it with
# QavChk, in the program folder's temp/ of the given build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
kova="$build/kova"
temp="$kova/temp"
"$build/tools/make_template" "$temp/Y122.pgm" KOVA3k10 II 1000 100 200 50
# 16 KiB of stand-in voice data.
head -c 16384 /dev/urandom > "$temp/Script.mf0"
printf '%%DupFile@="%s"\r\n%%OutFile@="%s"\r\n%%RomSize@="8000"\r\n%%AddFile@="%s"\r\n%%AddFile@="%s"\r\n%%SetParm@="[FE0]=5A"\r\n%%CheckSum@="Generate"\r\n' \
  "$temp/shadow.dat" "$temp/sample.dat" "$temp/Y122.pgm" "$temp/Script.mf0" > "$temp/result.lns"
rm -f "$temp/QavGen.log"
"$kova/bin/qavgen" "$temp/result.lns" "$temp/QavGen.log" +w
: > "$temp/temp.csm"
"$kova/bin/qavchk" "$temp/sample.dat" 008000 "$temp/temp.csm"
echo "Sample image: $temp/sample.dat (checksum report in $temp/temp.csm)"
