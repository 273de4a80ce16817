#!/usr/bin/env bash
# Programs and then verifies a whole 1 MiB chip through the writer simulator,
# which takes 1 ms per report as a USB frame would, and compares the time the
# two runs take with the least the protocol allows: every report sent costs
# 1 ms, plus the fixed waits and pauses of the runs (input drains, the pipe
# probe's empty read, the chip-selection and address pauses).
# Usage: program-verify-1mib.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/../../.."
build=$(realpath "${1:-build}")
writer=$build/kova/bin/qav3kwriter
sim=$build/tools/kova-writer-sim
for tool in "$writer" "$sim" "$build/tools/make_template"; do
  [[ -x $tool ]] || { echo "missing $tool: build first (tools/build.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
sim_pid=
cleanup() { [[ -n $sim_pid ]] && kill "$sim_pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

# A 1 MiB image: a template for the largest 3K model, then voice bytes up to
# the chip size.
"$build/tools/make_template" "$work/t.pgm" KOVA3k341 I 1000 100 400 >/dev/null
cp "$work/t.pgm" "$work/voice.dat"
head -c $((0x100000 - 0x1000)) /dev/urandom >>"$work/voice.dat"

"$sim" --socket "$work/sock" --chip KOVA3k341 --memory "$work/chip.bin" --log "$work/trace.txt" \
  --report-delay-us 1000 &
sim_pid=$!
for _ in $(seq 100); do [[ -S $work/sock ]] && break; sleep 0.05; done
export KOVA_WRITER_SIM=$work/sock

run() {
  local start end
  start=$(date +%s.%N)
  "$writer" "$@" >"$work/out.txt" || { cat "$work/out.txt"; echo "run failed: $*" >&2; exit 1; }
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", b - a }' 
}
program_s=$(run Program "$work/voice.dat" KOVA3k341)
verify_s=$(run Verify "$work/voice.dat" KOVA3k341)
reports=$(grep -c '^rx ' "$work/trace.txt")

# Fixed waits and pauses per run, in ms, the same whatever the writer's speed:
#   pipe probe: one empty 200 ms read before the first burst;
#   three input drains (link test, firmware version twice): 4 x 50 ms empty
#   reads plus one empty 250 ms read each;
#   forced chip selection: 3 x 100 ms + 2 x 10 ms; end_session 10 + 100 ms.
# Program adds the address reset after programming (2 x 10 ms); Verify the
# read-protect probe's set-address pause and an address reset (3 x 10 ms).
common=$((200 + 3 * (4 * 50 + 250) + 320 + 110))
fixed_ms=$((2 * common + 20 + 30))
minimum_s=$(awk -v r="$reports" -v f="$fixed_ms" 'BEGIN { printf "%.6f", (r + f) / 1000 }')
total_s=$(awk -v p="$program_s" -v v="$verify_s" 'BEGIN { printf "%.6f", p + v }')
printf 'reports sent:        %d\n' "$reports"
printf 'fixed waits:         %d ms\n' "$fixed_ms"
printf 'program run:         %.3f s\n' "$program_s"
printf 'verify run:          %.3f s\n' "$verify_s"
printf 'protocol minimum:    %.3f s\n' "$minimum_s"
printf 'measured / minimum:  %.4f\n' "$(awk -v t="$total_s" -v m="$minimum_s" 'BEGIN { print t / m }')"
