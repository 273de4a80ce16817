#!/usr/bin/env bash
# Builds the fuzz targets (clang, -DKOVA_FUZZ=ON) and runs every one of them
# at the same time for the given number of seconds, each from its seed corpus
# and what earlier runs kept in BUILD/fuzz/corpus/. A crash, a leak, a hang or
# a broken promise fails the run: the input is saved in BUILD/fuzz/artifacts/,
# its path is printed, and it is replayed to show what went wrong.
#   tools/fuzz.sh SECONDS [BUILD-FOLDER, default build-fuzz]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?"usage: tools/fuzz.sh SECONDS [build-folder]"}
build=$(realpath -m "${2:-build-fuzz}")
tools/install-deps.sh
fuzz=$build/fuzz
mkdir -p "$build"
if ! { CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVA_FUZZ=ON &&
       cmake --build "$build" --target kova_fuzz -j "$(nproc)"; } > "$build/fuzz-build.log" 2>&1; then
  tail -n 40 "$build/fuzz-build.log"
  echo "fuzz: the targets did not build"
  exit 1
fi

rm -rf "$fuzz/artifacts"
mkdir -p "$fuzz/artifacts" "$fuzz/logs"
# The targets write their files anew for every input: in memory where the
# system offers a folder there, they run many times faster.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  KOVA_FUZZ_SCRATCH=$(mktemp -d /dev/shm/kova-fuzz.XXXXXX)
else
  KOVA_FUZZ_SCRATCH=$(mktemp -d "$fuzz/scratch.XXXXXX")
fi
export KOVA_FUZZ_SCRATCH
trap 'rm -rf "$KOVA_FUZZ_SCRATCH"' EXIT
# One input may take this many seconds before it counts as a hang. The targets
# run at once beside whatever else the machine does (CI runs the tests beside
# them), and an input that takes a twentieth of a second alone has taken over
# a second under AddressSanitizer on a loaded machine: a real hang runs for
# ever, so the limit can be wide.
per_input=60
# libFuzzer stops taking new inputs after the given seconds and looks at the
# running one's time every per_input/2+1 seconds, so a target ends by itself
# within seconds + 1.5 * per_input. One that has not ended well after that is
# stopped and fails; the abort signal makes libFuzzer save the input it was on.
give_up_after=$((seconds + 2 * per_input + 60))
names=()
pids=()
for target in "$fuzz"/bin/*; do
  name=$(basename "$target")
  mkdir -p "$fuzz/corpus/$name"
  options=(-max_total_time="$seconds" -timeout="$per_input" -report_slow_units="$per_input" -rss_limit_mb=2048
           -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$fuzz/artifacts/$name-")
  [ -f "$fuzz/dict/$name.dict" ] && options+=(-dict="$fuzz/dict/$name.dict")
  timeout --signal=ABRT --kill-after=30 "$give_up_after" \
    "$target" "${options[@]}" "$fuzz/corpus/$name" "$fuzz/seeds/$name" < /dev/null > "$fuzz/logs/$name.log" 2>&1 &
  names+=("$name")
  pids+=($!)
done

failed=0  # targets that failed
for i in "${!names[@]}"; do
  name=${names[$i]}
  log=$fuzz/logs/$name.log
  status=0
  wait "${pids[$i]}" || status=$?
  if [ "$status" -eq 0 ]; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $name: ${runs:-?} inputs in ${seconds} s, every promise held"
    continue
  fi
  failed=$((failed + 1))
  echo "fuzz $name: FAILED (log: $log)"
  stuck=0
  case $status in
    124) stuck=1; echo "fuzz $name: still running after ${give_up_after} s, stopped" ;;
    137) stuck=1; echo "fuzz $name: killed (out of memory, or still running after ${give_up_after} s)" ;;
  esac
  grep -aE '^(==[0-9]+== ?ERROR|SUMMARY|ALARM)' "$log" | head -n 10 || true
  saved=0
  for artifact in "$fuzz/artifacts/$name-"*; do
    [ -e "$artifact" ] || continue
    saved=1
    echo "fuzz $name: input saved in $artifact"
    case $stuck:$(basename "$artifact") in
      1:* | *:"$name-timeout-"* | *:"$name-slow-unit-"*)
        # Its replay would take as long again; the log holds where it was.
        echo "--- it ran too long; to repeat: $fuzz/bin/$name -timeout=$per_input $artifact" ;;
      *)
        echo "--- replay of $artifact"
        "$fuzz/bin/$name" -timeout="$per_input" "$artifact" 2>&1 |
          grep -avE '^(INFO:|Running|.*Running 1 inputs)' | head -n 14 || true ;;
    esac
  done
  [ "$saved" -eq 1 ] || echo "fuzz $name: no input was saved; the log tells what happened"
done
echo "fuzz: $((${#names[@]} - failed)) passed, $failed failed"
exit $((failed > 0))
