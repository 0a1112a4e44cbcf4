#!/usr/bin/env bash
# tools/fuzz.sh [seconds per plug-in]   fuzz the host boundary of both plug-ins
#
# Builds build/hard-fuzz with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, then fuzzes Tonemark and Widefield side by side
# (one core each) for the given time (default 600 s). The saved sequences in
# tests/fuzz/corpus/<plug-in> seed each run; what a run learns stays in
# build/hard-fuzz/corpus/<plug-in>. A crash leaves its input in
# build/hard-fuzz/findings/<plug-in>/; copy it into tests/fuzz/corpus/<plug-in>/
# once fixed and the normal build replays it as a test.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-600}
build=$root/build/hard-fuzz

if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is missing (apt-get install clang libclang-rt-14-dev)" >&2
    exit 1
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISORA_SANITIZER=fuzzer \
    >/dev/null
cmake --build "$build" -j2 --target fuzz_host_boundary 2>&1 | grep -E "error|warning: .*tests/fuzz" || true
[ -x "$build/bin/fuzz_host_boundary" ] || { echo "fuzz: build failed" >&2; exit 1; }

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
pids=()
for plugin in tonemark widefield; do
    mkdir -p "$build/corpus/$plugin" "$build/findings/$plugin"
    (
        cd "$build/findings/$plugin"
        BRISORA_FUZZ_PLUGIN=$plugin "$build/bin/fuzz_host_boundary" \
            -max_total_time="$seconds" -max_len=4096 -timeout=20 -rss_limit_mb=3072 -print_final_stats=1 \
            -artifact_prefix="$build/findings/$plugin/" \
            "$build/corpus/$plugin" "$root/tests/fuzz/corpus/$plugin" >"$build/$plugin.log" 2>&1
    ) &
    pids+=($!)
done
status=0
for i in 0 1; do wait "${pids[$i]}" || status=1; done

for plugin in tonemark widefield; do
    log=$build/$plugin.log
    grep -E "^host-call fuzz:" "$log" || true
    grep -E "stat::number_of_executed_units|stat::new_units_added" "$log" | sed "s/^/  $plugin /" || true
    if grep -qE "ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|host-call fuzz: .*step" "$log"; then
        status=1
        echo "fuzz: $plugin FAILED — see $log; input saved in $build/findings/$plugin/" >&2
        grep -E "ERROR:|runtime error:|host-call fuzz: .*step|^    #[0-9] " "$log" | head -20 >&2
    fi
done
exit $status
