#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (60 by default) on its seeds.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
# What a run finds is kept in build-fuzz/corpus; a crash, with its input, in build-fuzz/findings.
set -euo pipefail
source "$(dirname "$0")/common.sh"

seconds=${1:-60}
shift || true
targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=(load_save import typed)

install_missing_packages
install_missing_packages "${STRATOMARK_FUZZ_PACKAGES[@]}"
dir="$STRATOMARK_ROOT/build-fuzz"
CC=clang CXX=clang++ cmake -S "$STRATOMARK_ROOT" -B "$dir" -DSTRATOMARK_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$dir" -j "$(nproc)" --target fuzz_targets

# Leaks are looked for by the sanitizer pass of the tests: Qt's caches, which grow for a while,
# would make libFuzzer run every input twice. Short allocation stacks keep each input cheap.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0:malloc_context_size=0:quarantine_size_mb=1:max_free_fill_size=0:max_malloc_fill_size=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p "$dir/findings"
for target in "${targets[@]}"; do
    corpus="$dir/corpus/$target"
    log="$dir/findings/$target.log"
    mkdir -p "$corpus"
    echo "fuzz_$target: $seconds s"
    if ! "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" -detect_leaks=0 -timeout=30 \
        -print_final_stats=1 \
        -artifact_prefix="$dir/findings/$target-" "$corpus" "$STRATOMARK_ROOT/fuzz/seeds/$target" \
        >"$log" 2>&1; then
        tail -n 80 "$log"
        echo "fuzz_$target found a fault: its input is in $dir/findings, its log in $log" >&2
        exit 1
    fi
    grep -e '^stat::number_of_executed_units' -e '^stat::average_exec_per_sec' "$log"
done
