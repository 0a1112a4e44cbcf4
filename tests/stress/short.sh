#!/usr/bin/env bash
# tests/stress/short.sh [seconds per plug-in]   the two-thread stress under ThreadSanitizer
#
# Builds build/hard-tsan (g++ -fsanitize=thread, only the stress program and what
# it links) and runs it; any ThreadSanitizer report fails. Default 3 s per plug-in.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
build=$root/build/hard-tsan
seconds=${1:-3}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISORA_SANITIZER=thread >/dev/null
cmake --build "$build" -j2 --target stress_tests >"$build/build.log" 2>&1 || { tail -30 "$build/build.log" >&2; exit 1; }
export TSAN_OPTIONS="halt_on_error=0 exitcode=66 second_deadlock_stack=1"
log=$build/stress.log
if BRISORA_STRESS_SECONDS=$seconds setarch "$(uname -m)" -R "$build/bin/stress_tests" >"$log" 2>&1 &&
   ! grep -q "WARNING: ThreadSanitizer" "$log"; then
    grep -E "^\[  PASSED|^\[==========\]" "$log" | sed 's/^/stress (tsan): /'
    exit 0
fi
echo "stress (tsan): FAILED, $(grep -c 'WARNING: ThreadSanitizer' "$log" || true) reports; see $log" >&2
grep -A12 "WARNING: ThreadSanitizer" "$log" | head -60 >&2
exit 1
