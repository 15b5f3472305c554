#!/usr/bin/env bash
# The applet viewer's start and Reload against a plain Java window. Times, each over RUNS runs:
#   hello   a plain AWT window, from the command to its first painting (bench/java/HelloWindow);
#   run     vexajava-cli run BLOBS --screenshot --after 0: the preview page written, the viewer
#           started, the applet's first picture taken, the viewer closed;
#   reload  in an open viewer (--control), from "reload" to the applet's next painting.
# BLOBS is played by the viewer's painting test applet. Needs a display (use xvfb-run -a).
# Usage: bench/viewer-start.sh [build dir] [runs]
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-10}
here=$(dirname "$(realpath "$0")")
cli=$build/bin/vexajava-cli
jar=$build/share/vexajava/vexajava-viewer.jar
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

javac -d "$work/hello" "$here/java/HelloWindow.java"
mkdir -p "$work/install/applets/blobs"
cp "$build"/tests/viewer-applets/catalogue/blobs/*.class "$work/install/applets/blobs/"
"$cli" set "" Dir "$work/install" > /dev/null
"$cli" set "" AppletDir applets > /dev/null
page=$("$cli" preview BLOBS)

hello="java -cp $work/hello HelloWindow"
run="$cli run BLOBS --screenshot $work/shot.png --after 0"
if command -v hyperfine > /dev/null; then
    hyperfine -N --warmup 2 --runs "$runs" "$hello" "$run"
else
    for cmd in "$hello" "$run"; do
        start=$(date +%s%N)
        for _ in $(seq "$runs"); do $cmd > /dev/null; done
        echo "$(( ($(date +%s%N) - start) / runs / 1000000 )) ms per run: $cmd"
    done
fi

# Reload: the viewer's own report of its painting ends each measurement.
coproc viewer { java -jar "$jar" --control "$page"; }
read -r line <&"${viewer[0]}" # the first painting
times=()
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    echo reload >&"${viewer[1]}"
    while read -r line <&"${viewer[0]}" && [ "$line" != painted ]; do :; done
    times+=($(( ($(date +%s%N) - start) / 1000 )))
done
echo close >&"${viewer[1]}"
wait "$viewer_PID" || true
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "reload to next painting: median $(( $(sed -n "$(( (runs + 1) / 2 ))p" <<< "$sorted") / 1000 )) ms" \
     "(min $(( $(head -1 <<< "$sorted") / 1000 )), max $(( $(tail -1 <<< "$sorted") / 1000 )))"
