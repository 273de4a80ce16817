#!/usr/bin/env bash
# Seeds of fuzz_system_file_list: the list make_syschk_list writes for the
# target's program folder (from write_scratch_program), with CR LF line ends,
# without the last line end and with lower-case codes; and lists naming what
# the check must not read: the files beside bin and above the program folder
# (with their right codes), a folder, a pipe, a line without "#".
set -euo pipefail
out=$(realpath -m "$1")
work=$out.work
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
"$KOVA_TOOLS/write_scratch_program" "$work"
bin=$work/prog/bin
"$KOVA_TOOLS/make_syschk_list" "$bin"
list=$bin/SysChk.lst
"$KOVA_TOOLS/make_syschk_list" "$work"  # codes of the files outside bin
code() { sed -n "s|^@$1#||p" "$work/SysChk.lst"; }

cp "$list" "$out/installed.lst"
sed 's/$/\r/' "$list" > "$out/crlf.lst"
head -c -1 "$list" > "$out/no-last-line-end.lst"
sed '/^@/y/ABCDEF/abcdef/' "$list" > "$out/lower-case.lst"
{
  printf '; files beside bin and above the program folder, read through bin\n'
  printf '@../setup.ini#%s\n' "$(code prog/setup.ini)"
  printf '@../../top.txt#%s\n' "$(code top.txt)"
  printf '@1x2/../../setup.ini#%s\n' "$(code prog/setup.ini)"
} > "$out/outside.lst"
{
  printf ';\n\n   \n'
  printf '@1x2/../Play.wav   #%s and a remark\n' "$(code prog/bin/Play.wav)"
  printf '@./qavgen#%s\n' "$(code prog/bin/qavgen)"
  printf '@/empty.txt#00000000\r\n'
  printf '@d.x#00000000\n@pipe#00000000\n@Play.wav\n'
} > "$out/odd-names.lst"
