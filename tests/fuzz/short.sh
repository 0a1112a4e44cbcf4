#!/usr/bin/env bash
# tests/fuzz/short.sh [seconds per plug-in]   the short sanitized checks of ./run test
#
#   1. tools/fuzz.sh for 60 s per plug-in (both at once, one core each), in the
#      clang AddressSanitizer + UndefinedBehaviorSanitizer build build/hard-fuzz
#   2. in the same build, 1000 create / editor / process / close cycles of each
#      plug-in under LeakSanitizer
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
seconds=${1:-60}
tools/fuzz.sh "$seconds"

build=$root/build/hard-fuzz
cmake --build "$build" -j2 --target lifetime_tests >/dev/null
log=$build/lifetime.log
if ASAN_OPTIONS=detect_leaks=1 BRISORA_LIFETIME_CYCLES=1000 "$build/bin/lifetime_tests" --gtest_filter='*Cycles*' \
       >"$log" 2>&1; then
    echo "lifetime (asan): 1000 cycles per plug-in, no leak"
else
    echo "lifetime (asan): FAILED, see $log" >&2
    grep -E "ERROR|Failure|FAILED|SUMMARY" "$log" | head -20 >&2
    exit 1
fi
