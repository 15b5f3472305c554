#!/usr/bin/env bash
# The wizard's start, from the command to its first painted page, against a Qt window with a
# menu bar, a line of text and five buttons (bench_start_floor). Needs a display (xvfb-run -a)
# and a build with -DVEXAJAVA_BUILD_BENCHMARKS=ON. Usage: bench/start-vs-floor.sh [build dir] [runs]
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data VEXAJAVA_QUIT_AFTER_FIRST_PAINT=1
"$build/bin/vexajava" # the first start makes the user's folders; every later one is timed
if command -v hyperfine > /dev/null; then
    hyperfine -N --warmup 3 --runs "$runs" -n "wizard to its first painted page" "$build/bin/vexajava" \
        -n "Qt window with menu bar, text and five buttons" "$build/bin/bench_start_floor"
else
    for cmd in "$build/bin/vexajava" "$build/bin/bench_start_floor"; do
        start=$(date +%s%N)
        for _ in $(seq "$runs"); do "$cmd"; done
        echo "$(( ($(date +%s%N) - start) / runs / 1000 )) us per run: $cmd"
    done
fi
