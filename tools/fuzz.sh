#!/usr/bin/env bash
# Builds the fuzz targets (clang, -DKOVA_FUZZ=ON) and runs every one of them
# at the same time for the given number of seconds, each from its seed corpus
# and what earlier runs kept in BUILD/fuzz/corpus/. A crash, a leak, a hang or
# a broken promise fails the run: the input is saved in BUILD/fuzz/artifacts/
# and replayed to show what went wrong.
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
names=()
pids=()
for target in "$fuzz"/bin/*; do
  name=$(basename "$target")
  mkdir -p "$fuzz/corpus/$name"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -close_fd_mask=3 -print_final_stats=1
           -artifact_prefix="$fuzz/artifacts/$name-")
  [ -f "$fuzz/dict/$name.dict" ] && options+=(-dict="$fuzz/dict/$name.dict")
  "$target" "${options[@]}" "$fuzz/corpus/$name" "$fuzz/seeds/$name" < /dev/null > "$fuzz/logs/$name.log" 2>&1 &
  names+=("$name")
  pids+=($!)
done

failed=0  # targets that failed
for i in "${!names[@]}"; do
  name=${names[$i]}
  log=$fuzz/logs/$name.log
  if wait "${pids[$i]}"; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $name: ${runs:-?} inputs in ${seconds} s, every promise held"
  else
    failed=$((failed + 1))
    echo "fuzz $name: FAILED (log: $log)"
    grep -aE '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix)' "$log" | head -n 10 || true
    for artifact in "$fuzz/artifacts/$name-"*; do
      [ -e "$artifact" ] || continue
      echo "--- replay of $artifact"
      "$fuzz/bin/$name" "$artifact" 2>&1 | grep -avE '^(INFO:|Running|.*Running 1 inputs)' | head -n 14 || true
    done
  fi
done
echo "fuzz: $((${#names[@]} - failed)) passed, $failed failed"
exit $((failed > 0))
