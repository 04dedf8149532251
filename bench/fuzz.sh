#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ (AddressSanitizer and UBSan) and
# runs each for SECONDS, starting from the committed seed corpus.
#   bench/fuzz.sh [SECONDS] [TARGET...]   default 60 per target, every target
#   TOVU_FUZZ_BUILD=DIR bench/fuzz.sh   build and work folder (default build-fuzz/)
# New inputs go to DIR/corpus/TARGET, findings to DIR/findings/RUN/; the committed
# corpus under fuzz/corpus/ is only read.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
root=$(pwd)
build=${TOVU_FUZZ_BUILD:-$root/build-fuzz}
cxx=${TOVU_FUZZ_CXX:-clang++}
mkdir -p "$build"
build=$(cd "$build" && pwd)

if [ -z "${TOVU_FUZZ_CXX:-}" ]; then
  # clang and its libFuzzer runtime; scripts/deps turns -e on, this script
  # goes on after a failing target.
  source scripts/deps
  tovu_install_missing clang libclang-rt-14-dev
  set +e
fi
if ! command -v "$cxx" >/dev/null; then
  echo "bench/fuzz.sh: brak kompilatora $cxx (pakiet clang)" >&2
  exit 1
fi

flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -Wall -Wextra -Wpedantic
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$root/src")
# The readers' targets take the whole core: it is plain C++ and small.
core=$(echo src/core/*.cpp)
declare -A sources=(
  [fuzz_point_file]=$core
  [fuzz_tsplib]=$core
  [fuzz_csv]=$core
  [fuzz_tour]=$core
  [fuzz_route_csv]=$core
  [fuzz_raster]="src/raster/bitmap32.cpp src/raster/gamma.cpp"
)
declare -A dictionaries=([fuzz_point_file]=fuzz/point_file.dict [fuzz_tsplib]=fuzz/tsplib.dict
                         [fuzz_csv]=fuzz/csv.dict [fuzz_tour]=fuzz/tsplib.dict
                         [fuzz_route_csv]=fuzz/csv.dict)
# Inputs past the reader's 64 KB chunk, so that a chunk's edge falls inside
# one without padding too.
declare -A max_lengths=([fuzz_point_file]=200000)
targets=(fuzz_point_file fuzz_tsplib fuzz_csv fuzz_tour fuzz_route_csv fuzz_raster)
[ $# -gt 0 ] && targets=("$@")

status=0
summary=()
findings=$build/findings/$(date +%Y%m%d-%H%M%S)
for target in "${targets[@]}"; do
  echo "== $target: kompilacja"
  # shellcheck disable=SC2086
  if ! "$cxx" "${flags[@]}" "fuzz/$target.cpp" ${sources[$target]} -o "$build/$target"; then
    summary+=("$target: błąd kompilacji")
    status=1
    continue
  fi
  corpus=$build/corpus/$target
  mkdir -p "$corpus" "$findings"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$findings/$target-")
  [ -n "${dictionaries[$target]:-}" ] && options+=(-dict="${dictionaries[$target]}")
  [ -n "${max_lengths[$target]:-}" ] && options+=(-max_len="${max_lengths[$target]}")
  echo "== $target: $seconds s"
  log=$build/$target.log
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/$target" "${options[@]}" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  [ -z "$runs" ] && runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
  found=$(find "$findings" -name "$target-*" -type f | wc -l)
  if [ $rc -eq 0 ]; then
    summary+=("$target: ${runs:-?} wykonań, ${found} znalezisk, korpus $(find "$corpus" -type f | wc -l) plików")
  else
    summary+=("$target: ${runs:-?} wykonań, BŁĄD (kod $rc), znaleziska w $findings")
    grep -E 'ERROR|SUMMARY|fuzz_[a-z_]*: |runtime error|artifact' "$log" | head -n 20
    status=1
  fi
  [ "$found" -gt 0 ] && find "$findings" -name "$target-*" -type f
done

echo "== wynik"
printf '%s\n' "${summary[@]}"
exit $status
