#!/usr/bin/env bash
# KovaStudio's start-up time and its own CPU use while it waits for a child
# program, measured on a virtual X server without a window manager against a
# copy of the build's program folder:
#   - start-up: from the start of the process until its main window is on
#     screen with the start checks off (the start form shows before it), five runs;
#   - waiting: the process's CPU time while the start form's firmware check
#     waits for a stand-in updater that takes 10 seconds.
#   tools/bench-studio.sh [build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
stand_in="$build/studio/tests/studio_stand_in"
[ -x "$stand_in" ] || { echo "build $build first (studio_stand_in is missing)" >&2; exit 2; }
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null &
xvfb=$!
studio=""
cleanup() {
  set +e
  [ -n "$studio" ] && kill "$studio" 2>/dev/null && wait "$studio" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$work/runtime"
cp -a "$build/kova" "$work/kova"
setup="$work/kova/setup.ini"
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
main_window_shown() { xdotool search --onlyvisible --name '^KOVA Sound Compiler' >/dev/null 2>&1; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# A KovaStudio that ended on its own would leave the waits below waiting for ever.
still_running() { kill -0 "$studio" 2>/dev/null || { echo "KovaStudio ended unexpectedly" >&2; exit 1; }; }

sed -i 's/^SysChk=.*/SysChk=0/' "$setup"
echo "Start-up to the main window, start checks off:"
for run in 1 2 3 4 5; do
  start=$(now_ms)
  "$work/kova/KovaStudio" >/dev/null 2>&1 &
  studio=$!
  until main_window_shown; do still_running; sleep 0.005; done
  echo "  run $run: $(( $(now_ms) - start )) ms"
  kill "$studio"; wait "$studio" 2>/dev/null || true; studio=""
done

sed -i 's/^SysChk=.*/SysChk=1/; s/^FwVer=.*/FwVer=Bench/' "$setup"
ln -s "$stand_in" "$work/kova/bin/QavUpdateBench"
KOVA_STAND_IN='*:sleep=10000,0' "$work/kova/KovaStudio" >/dev/null 2>&1 &
studio=$!
# The child is told by its program file: KovaStudio may have other children (with no session bus Qt starts
# dbus-launch first).
stand_in_file=$(realpath "$stand_in")
child=""
until [ -n "$child" ]; do
  still_running
  for pid in $(cat /proc/"$studio"/task/*/children 2>/dev/null); do
    [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$stand_in_file" ] && child=$pid
  done
  sleep 0.01
done
ticks_before=$(cpu_ticks "$studio"); start=$(now_ms)
while [ -e "/proc/$child" ] && [ "$(awk '{print $3}' "/proc/$child/stat" 2>/dev/null)" != Z ]; do sleep 0.05; done
ticks_after=$(cpu_ticks "$studio"); elapsed=$(( $(now_ms) - start ))
hz=$(getconf CLK_TCK)
cpu_ms=$(( (ticks_after - ticks_before) * 1000 / hz ))
echo "While a ${elapsed} ms child runs: KovaStudio used ${cpu_ms} ms of CPU" \
     "($(awk -v c="$cpu_ms" -v e="$elapsed" 'BEGIN { printf "%.2f", 100 * c / e }')% of one core)"
until main_window_shown; do still_running; sleep 0.05; done
