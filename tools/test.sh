#!/bin/sh
# Installs what the tests need, builds and runs every test twice: once as
# built for use and once under AddressSanitizer and UndefinedBehaviorSanitizer;
# then the thread tests under ThreadSanitizer and each file reader under libFuzzer.
set -eu
cd "$(dirname "$0")/.."
. tools/packages.sh
# shellcheck disable=SC2086
sh tools/install-packages.sh $TEST_PACKAGES
jobs=$(nproc)

run_suite() {
    dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_suite build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DQ540_SANITIZE=ON

# The tests that run threads, once more under ThreadSanitizer.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQ540_TSAN=ON
threaded='tst_devicegate tst_poll tst_modulemonitor tst_closeduringpoll'
# shellcheck disable=SC2086
cmake --build build-tsan -j "$jobs" --target $threaded
TSAN_OPTIONS=halt_on_error=1:ignore_noninstrumented_modules=1:suppressions=$(pwd)/tests/tsan.supp \
    ctest --test-dir build-tsan --output-on-failure -R "^($(echo $threaded | tr ' ' '|'))\$"

# Each file reader under libFuzzer for a minute, starting from files the program wrote:
# no crash, no sanitizer report, no input slower than ten seconds. A finding fails the run
# and is kept as build-fuzz/crash-* (or timeout-*) for replay.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DQ540_FUZZ=ON -DQ540_BUILD_TESTS=OFF
cmake --build build-fuzz -j "$jobs" --target fuzz_seeds fuzz_directory_file fuzz_list_file fuzz_resident_table
rm -rf build-fuzz/corpus
./build-fuzz/fuzz/fuzz_seeds build-fuzz/corpus
# Inputs may be a little longer than either reader accepts, so the size checks get tried.
./build-fuzz/fuzz/fuzz_directory_file -max_total_time=60 -timeout=10 -max_len=110000 \
    -artifact_prefix=build-fuzz/ build-fuzz/corpus/directory_file
./build-fuzz/fuzz/fuzz_list_file -max_total_time=60 -timeout=10 -max_len=8000 \
    -artifact_prefix=build-fuzz/ build-fuzz/corpus/list_file
./build-fuzz/fuzz/fuzz_resident_table -max_total_time=60 -timeout=10 -max_len=120000 \
    -artifact_prefix=build-fuzz/ build-fuzz/corpus/resident_table

# The package as an installer gets it: built, installed with apt, tried, removed.
sh tools/check-package.sh
