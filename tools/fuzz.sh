#!/usr/bin/env bash
# Builds and runs one fuzz target with clang and libFuzzer:
#   tools/fuzz.sh engine_uCompiler [seconds] [corpus folders...]
set -euo pipefail
cd "$(dirname "$0")/.."
target="$1"; seconds="${2:-60}"; shift $(( $# > 1 ? 2 : 1 ))
if ! command -v clang++ >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq && $SUDO apt-get install -y -qq clang >/dev/null
fi
dir=build/fuzz-$target
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTARKU_SANITIZE=ON -DTARKU_FUZZ=ON -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" >/dev/null
ninja -C "$dir" -j4 "fuzz_$target"
mkdir -p "$dir/corpus"
"$dir/tests/fuzz/fuzz_$target" -max_total_time="$seconds" "$dir/corpus" "$@"
