#!/usr/bin/env bash
# Publishing against a plain copy of the same files: sets up an applet folder with 30
# pictures of 1 MB, then times `vexajava-cli publish` into an empty folder, publish over
# an earlier copy, and `cp` of the same files, each several times (hyperfine when it is
# installed, else a plain loop). Usage: bench/publish-vs-copy.sh [build dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-10}
cli=$(realpath "$build/bin/vexajava-cli")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
folder=$work/install/applets/cfade
mkdir -p "$folder"
for f in VxFade.class vexa.class vexalib.class VxFade.jar; do head -c 20000 /dev/urandom > "$folder/$f"; done
head -c 2000 /dev/urandom > "$work/install/applets/qzbut1.gif"
"$cli" set "" Dir "$work/install" > /dev/null
"$cli" set "" AppletDir applets > /dev/null
for n in $(seq 1 30); do
    head -c 1048576 /dev/urandom > "$folder/slide$n.jpg"
    "$cli" set CFADE "Image_$n" "slide$n.jpg" > /dev/null
done
"$cli" set CFADE Image_31 "" > /dev/null
"$cli" set CFADE OverImage NO > /dev/null
"$cli" preview CFADE > /dev/null # the page publish copies

publish_fresh="rm -rf $work/site && mkdir $work/site && $cli publish CFADE $work/site/index.html"
publish_over="$cli publish CFADE $work/site/index.html"
copy_fresh="rm -rf $work/copy && mkdir $work/copy && cp $folder/* $work/install/applets/qzbut1.gif $work/copy/"
copy_over="cp $folder/* $work/install/applets/qzbut1.gif $work/copy/"
mkdir -p "$work/site" "$work/copy"
if command -v hyperfine > /dev/null; then
    hyperfine -N --warmup 2 --runs "$runs" -S bash "$publish_fresh" "$copy_fresh"
    hyperfine --warmup 2 --runs "$runs" -S bash "$publish_over" "$copy_over"
else
    for cmd in "$publish_fresh" "$copy_fresh" "$publish_over" "$copy_over"; do
        start=$(date +%s%N)
        for _ in $(seq "$runs"); do bash -c "$cmd" > /dev/null; done
        echo "$(( ($(date +%s%N) - start) / runs / 1000 )) us per run: $cmd"
    done
fi
