#!/usr/bin/env bash
# Builds the libFuzzer harnesses of tests/fuzz with clang into build-fuzz, then either runs the
# CTest pass over them (about a minute each, two at a time), or fuzzes longer, one harness at a
# time at the lowest priority, each growing its own corpus in build-fuzz/tests/fuzz/corpus_NAME.
#
#   scripts/fuzz.sh ctest                   what CI runs
#   scripts/fuzz.sh [SECONDS [NAME...]]     NAME of bmp voc layout replay settings recording;
#                                           600 seconds, all of them
set -euo pipefail
cd "$(dirname "$0")/.."

extra_packages=(clang libclang-rt-14-dev)
source scripts/install-packages.sh

names=(bmp voc layout replay settings recording)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCELLSTORM_FUZZ=ON -DCELLSTORM_TESTS=OFF \
    -DCELLSTORM_SDL2=OFF -DCELLSTORM_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${names[@]/#/fuzz_}"

if [[ ${1:-} == ctest ]]; then
    ctest --test-dir build-fuzz --output-on-failure -j"$(nproc)"
    exit
fi
seconds=${1:-600}
shift || true
(($# > 0)) && names=("$@")
status=0
for name in "${names[@]}"; do
    corpus=build-fuzz/tests/fuzz/corpus_$name
    mkdir -p "$corpus"
    echo "== fuzz_$name for $seconds s"
    # On a busy shared machine a niced run can stall for many seconds: only a long stall is a hang.
    nice -n 19 "build-fuzz/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=120 \
        -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        "$corpus" "tests/fuzz/corpus/$name" 2>&1 |
        grep -E 'INITED|DONE|^stat::|ERROR|SUMMARY|^ +#[0-9]+ 0x' || status=1
    echo "corpus_$name: $(ls "$corpus" | wc -l) files"
done
exit $status
