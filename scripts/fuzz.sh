#!/bin/sh
# Builds the fuzz targets with clang into BUILD and runs each one for
# SECONDS. Fails when any target finds a fault; the input that caused it is
# left in BUILD/fuzz-findings/.
#   sh scripts/fuzz.sh [BUILD [SECONDS]]
set -e
cd "$(dirname "$0")/.."
build="${1:-build-fuzz}"
seconds="${2:-60}"

launcher=""
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMAROVIN_FUZZ=ON $launcher >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_targets

export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
findings="$build/fuzz-findings"
mkdir -p "$findings"
status=0
failed=""
for target in $(cat "$build/fuzz-targets.txt"); do
    # New inputs go into the first folder, which is kept between runs; the
    # checked-in seeds are only read.
    corpus="$build/fuzz-corpus/$target"
    mkdir -p "$corpus"
    seeds=""
    if [ -d "fuzz/corpus/$target" ]; then
        seeds="fuzz/corpus/$target"
    fi
    dict=""
    if [ -f "fuzz/$target.dict" ]; then
        dict="-dict=fuzz/$target.dict"
    fi
    echo "fuzz: $target for $seconds s"
    log="$findings/$target.log"
    if ! "$build/fuzz/$target" -max_total_time="$seconds" -max_len=8192 -timeout=20 \
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/$target-" \
            $dict "$corpus" $seeds >"$log" 2>&1; then
        failed="$failed $target"
        status=1
    fi
    tail -n 3 "$log"
done
# Only the end of a long run's output may reach whoever reads it: the
# faults and what the fuzzer said about each come last.
for target in $failed; do
    echo "fuzz: $target found a fault, input in $findings/; its report:" >&2
    grep -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse|INITED|RELOAD)' "$findings/$target.log" \
        | tail -n 40 >&2
done
if [ -n "$failed" ]; then
    echo "fuzz: faults found by:$failed" >&2
fi
exit $status
