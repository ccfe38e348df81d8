#!/usr/bin/env bash
# Builds with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-hardening/, runs the tests of the GPS log readers, the catalogue and two
# widgets under Xvfb, then each libFuzzer target for VELMORA_FUZZ_SECONDS
# (default 20) seconds from its seed corpus. Any sanitizer report, test failure
# or fuzzer finding fails the script; a fuzzer's crashing input is kept as
# build-hardening/fuzz/<fuzzer>-crash-<sha1>.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-hardening"
seconds="${VELMORA_FUZZ_SECONDS:-20}"

tests=(tst_gpslogdata tst_receiverlogs tst_uvideoandgpsfiles tst_uspeedmeter tst_ncframelesshelper)
fuzzers=(fuzz_gpslog fuzz_catalogue fuzz_nmealog fuzz_gpxlog)

"$root/tools/install-deps.sh" clang-14 libclang-rt-14-dev llvm-14

# Debug keeps Qt's own bounds checks (Q_ASSERT in QList, QStringView, ...)
# in the inline code compiled into ours; -O1 keeps the fuzzers fast.
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" \
    -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" \
    -DVELMORA_SANITIZE=ON -DVELMORA_FUZZ=ON -DBUILD_TESTING=ON -DVELMORA_WERROR=ON
cmake --build "$build" -j2 --target "${tests[@]}" "${fuzzers[@]}"

# Every report ends the run with a failing exit code. Leak stacks are unwound
# slowly but fully, so that the suppressions can name the library they are in.
export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$root/tools/sanitizers/lsan.supp:print_suppressions=0"

test_regex="^($(IFS='|'; echo "${tests[*]}"))\$"
ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0" \
    xvfb-run -a -s "-screen 0 1920x1080x24" \
    ctest --test-dir "$build" --output-on-failure --timeout 300 -R "$test_regex"

# libFuzzer adds what it finds to its corpus folder: it gets a copy. Its
# progress lines go to build-hardening/fuzz/<fuzzer>.log; the end of the log
# shows here.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failed=()
for fuzzer in "${fuzzers[@]}"; do
    cp -r "$root/fuzz/corpus/$fuzzer" "$scratch/$fuzzer"
    echo "== $fuzzer for $seconds s"
    log="$build/fuzz/$fuzzer.log"
    if "$build/fuzz/$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
            -artifact_prefix="$build/fuzz/$fuzzer-" "$scratch/$fuzzer" >"$log" 2>&1; then
        grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec)' "$log"
    else
        tail -n 60 "$log"
        failed+=("$fuzzer")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzers that found a fault: ${failed[*]} (inputs in $build/fuzz/)" >&2
    exit 1
fi
echo "Sanitized tests and fuzzers passed."
