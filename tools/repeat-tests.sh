#!/usr/bin/env bash
# Runs the timing-sensitive checks N times, each from fresh state, and says how many of the N
# passed for each: the end-to-end scenes (the release build under a virtual display and a
# sound server of their own), the device tests (a PulseAudio server of their own) and the
# 40-second soak. A check that passes only most of the time shows here, not in one ./test.
#   tools/repeat-tests.sh [rounds, default 5] [parts, default "e2e device soak"]
# The output of each failed run is kept in build-test/repeat/ (its path is printed).
# Builds what it runs first: the release build (tools/release-build.sh) and test_audio.
set -euo pipefail
export LC_ALL=C.UTF-8
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-5}
parts=${2:-"e2e device soak"}
logs="$root/build-test/repeat"
mkdir -p "$logs"

release=$("$root/tools/release-build.sh")
if [[ " $parts " == *" device "* ]]; then
  cmake -S "$root" -B "$root/build-test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMOR_SANITIZE=ON \
    >/dev/null
  cmake --build "$root/build-test" --target test_audio >/dev/null
fi

declare -A passed=()
names=()
# Runs one check ("name" then its command) once; a fresh temporary folder each time.
attempt() {
  local name=$1 round=$2
  shift 2
  [[ -v "passed[$name]" ]] || {
    passed[$name]=0
    names+=("$name")
  }
  local log="$logs/$name.$round.log"
  if "$@" >"$log" 2>&1; then
    passed[$name]=$((passed[$name] + 1))
    rm -f "$log"
  else
    echo "round $round: $name FAILED (output in $log)"
    grep -E '^FAILED|^\[  FAILED|Failure|fault|Error' "$log" | head -n 5 | sed 's/^/    /' || true
  fi
}

for round in $(seq 1 "$rounds"); do
  for part in $parts; do
    case $part in
    e2e)
      for scene in "$root"/tests/e2e/*.py; do
        name=$(basename "$scene" .py)
        case $name in desktop | sound) continue ;; esac
        artefacts=$(mktemp -d)
        attempt "e2e-$name" "$round" /usr/bin/python3 "$scene" "$release/src/velmor" "$artefacts"
        rm -rf "$artefacts"
      done
      ;;
    device)
      attempt device "$round" env QT_QPA_PLATFORM=offscreen \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 "$root/build-test/tests/test_deck" \
        --gtest_filter='EngineOutputsTest.*'
      attempt engine-thread "$round" env QT_QPA_PLATFORM=offscreen \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 "$root/build-test/tests/test_audio" \
        --gtest_filter='EngineThreadTest.*'
      ;;
    soak)
      attempt soak "$round" env QT_QPA_PLATFORM=offscreen "$release/tools/soak/velmor-soak" \
        --seconds 40 --seed "$round"
      ;;
    *)
      echo "repeat-tests: no part named $part (e2e, device, soak)" >&2
      exit 2
      ;;
    esac
  done
  echo "round $round of $rounds done"
done

failed=0
for name in "${names[@]}"; do
  echo "$name: ${passed[$name]} of $rounds passed"
  [ "${passed[$name]}" -eq "$rounds" ] || failed=1
done
exit "$failed"
