#!/usr/bin/env bash
# Builds the libFuzzer targets into build-fuzz and fuzzes each of them for a while:
#
#   bash scripts/fuzz.sh [SECONDS [NAME...]]
#
# SECONDS per target (default 600); NAMEs pick targets (charset, projectopen, ...;
# default: every fuzz/fuzz_<name>.cpp). FUZZ_JOBS targets run at a time (default 2).
# A target starts from fuzz/corpus/<name> and from what earlier runs found, kept in
# build-fuzz/corpus/<name>, where its new inputs go too: the committed corpus is only
# read. fuzz/<name>.dict, where there is one, gives the target's tokens. Inputs that
# crash, leak, hang or run out of memory are kept in fuzz/crashes/<name>/ (not
# committed); a crash does not end the run, the target goes on until its time is up.
# Exits 1 when any target found a crashing input.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    echo "usage: $0 [SECONDS [NAME...]]" >&2
    exit 2
}
seconds=${1:-600}
[[ $seconds =~ ^[1-9][0-9]*$ ]] || usage
[ $# -gt 0 ] && shift
jobs=${FUZZ_JOBS:-2}
[[ $jobs =~ ^[1-9][0-9]*$ ]] || usage

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for source in fuzz/fuzz_*.cpp; do
        name=${source#fuzz/fuzz_}
        names+=("${name%.cpp}")
    done
fi
targets=()
for name in "${names[@]}"; do
    [ -f "fuzz/fuzz_$name.cpp" ] || { echo "no fuzz target fuzz/fuzz_$name.cpp" >&2; exit 2; }
    targets+=("fuzz_$name")
done
command -v clang++ >/dev/null || { echo "needs clang++ (Debian: apt-get install clang libclang-rt-14-dev)" >&2; exit 1; }

# -O1 with line tables: fast enough, and crash reports name file and line.
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DVEXAJAVA_BUILD_FUZZERS=ON -DCMAKE_BUILD_TYPE= \
    "-DCMAKE_CXX_FLAGS=-O1 -gline-tables-only" >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

# The targets' scratch files (settings stores) go to memory where it can be had.
scratch_parent=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_parent=/dev/shm
scratch=$(mktemp -d "$scratch_parent/vexajava-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

count_files() { find "$1" -maxdepth 1 -type f | wc -l; }

# One target: libFuzzer's fork mode runs it in child processes, so that a crash is
# kept and fuzzing goes on, and no child lives long enough for the sanitizer's
# allocator to grow large. The smaller quarantine still holds far more than one
# input frees, so a use after free within an input is still caught.
fuzz_one() {
    local name=$1
    local corpus=build-fuzz/corpus/$name crashes=fuzz/crashes/$name log=build-fuzz/logs/$name.log
    mkdir -p "$corpus" "$crashes" "$(dirname "$log")" "$scratch/$name"
    count_files "$corpus" >"$scratch/$name.corpus-before"
    count_files "$crashes" >"$scratch/$name.crashes-before"
    local dict=()
    [ -f "fuzz/$name.dict" ] && dict=("-dict=fuzz/$name.dict")
    TMPDIR="$scratch/$name" \
    ASAN_OPTIONS="quarantine_size_mb=64:${ASAN_OPTIONS:-}" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}" \
        "build-fuzz/bin/fuzz_$name" "$corpus" "fuzz/corpus/$name" -fork=1 -ignore_crashes=1 -ignore_ooms=1 \
        -ignore_timeouts=1 -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
        -artifact_prefix="$crashes/" "${dict[@]}" >"$log" 2>&1 || true
}

echo "Fuzzing ${#names[@]} targets for $seconds s each, $jobs at a time; logs in build-fuzz/logs/"
running=0
for name in "${names[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n || true
        running=$((running - 1))
    fi
    fuzz_one "$name" &
    running=$((running + 1))
done
wait

# Fork mode reports "#RUNS: cov: N ft: N corp: N exec/s N oom/timeout/crash: A/B/C time: Ns".
status_line() { grep -E '^#[0-9]+: cov: ' "$1" | sed -n "$2" || true; }
found=0
printf '%-16s %12s %9s %15s %12s %8s\n' target runs execs/s coverage new-inputs crashes
for name in "${names[@]}"; do
    log=build-fuzz/logs/$name.log
    first=$(status_line "$log" 1p)
    last=$(status_line "$log" '$p')
    runs=$(sed -E 's/^#([0-9]+):.*/\1/' <<<"$last")
    time=$(sed -nE 's/.* time: ([0-9]+)s.*/\1/p' <<<"$last")
    cov_first=$(sed -nE 's/.* cov: ([0-9]+) .*/\1/p' <<<"$first")
    cov_last=$(sed -nE 's/.* cov: ([0-9]+) .*/\1/p' <<<"$last")
    new_inputs=$(($(count_files "build-fuzz/corpus/$name") - $(cat "$scratch/$name.corpus-before")))
    crashes=$(($(count_files "fuzz/crashes/$name") - $(cat "$scratch/$name.crashes-before")))
    [ "$crashes" -gt 0 ] && found=1
    if [ -z "$last" ]; then
        printf '%-16s did not run, see %s\n' "$name" "$log"
        found=1
        continue
    fi
    printf '%-16s %12s %9s %15s %12s %8s\n' "$name" "$runs" "$((runs / (time > 0 ? time : 1)))" \
        "$cov_first -> $cov_last" "$new_inputs" "$crashes"
done
[ "$found" -eq 0 ] || echo "Crashing inputs are in fuzz/crashes/<target>/; reproduce one with build-fuzz/bin/fuzz_<target> FILE"
exit "$found"
