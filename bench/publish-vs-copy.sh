#!/usr/bin/env bash
# Publishing against a plain copy of the same files, timing only the copying (folders are
# emptied before each run, outside the time):
#   fresh  CFADE with 30 pictures of 1 MB into an empty folder, against cp of the same files;
#   over   CFADE with 1,000 pictures of 1 MB over an earlier publish, against cp over an
#          earlier copy.
# hyperfine when it is installed, else a plain loop. Usage: bench/publish-vs-copy.sh [build dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-10}
cli=$(realpath "$build/bin/vexajava-cli")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data

# An installation in $work/<name> whose CFADE shows `count` pictures, with its own store.
make_install() {
    local name=$1 count=$2
    local folder=$work/$name/install/applets/cfade config=$work/$name/config
    mkdir -p "$folder"
    for f in VxFade.class vexa.class vexalib.class VxFade.jar; do head -c 20000 /dev/urandom > "$folder/$f"; done
    head -c 2000 /dev/urandom > "$work/$name/install/applets/qzbut1.gif"
    XDG_CONFIG_HOME=$config "$cli" set "" Dir "$work/$name/install" > /dev/null
    XDG_CONFIG_HOME=$config "$cli" set "" AppletDir applets > /dev/null
    XDG_CONFIG_HOME=$config "$cli" set CFADE OverImage NO > /dev/null
    for ((n = 1; n <= count; n++)); do
        head -c 1048576 /dev/urandom > "$folder/slide$n.jpg"
        printf 'Image_%d="slide%d.jpg"\n' "$n" "$n"
    done > "$work/images"
    printf 'Image_%d=""\n' $((count + 1)) >> "$work/images"
    local store="$config/Vexa Team/Vexa Java.conf"
    awk -v images="$work/images" '{ print } $0 == "[CFADE]" { while ((getline line < images) > 0) print line }' \
        "$store" > "$work/store" && mv "$work/store" "$store"
    XDG_CONFIG_HOME=$config "$cli" set CFADE OverImage NO > /dev/null # written once by the program, in its order
}
make_install fresh 30
make_install over 1000

publish() { echo "env XDG_CONFIG_HOME=$work/$1/config $cli publish CFADE $work/$1/site/index.html"; }
copy() { echo "cp $(echo "$work/$1"/install/applets/cfade/* "$work/$1/install/applets/qzbut1.gif") $work/$1/copy/"; }
empty() { echo "bash -c 'rm -rf $work/$1/site $work/$1/copy && mkdir $work/$1/site $work/$1/copy'"; }
mkdir -p "$work/over/site" "$work/over/copy"
$(publish over) > /dev/null # the earlier publish and the earlier copy
$(copy over)

if command -v hyperfine > /dev/null; then
    hyperfine -N --warmup 2 --runs "$runs" ${HYPERFINE_EXPORT:+--export-json "$HYPERFINE_EXPORT-fresh.json"} --prepare "$(empty fresh)" \
        -n "publish 30 pictures into an empty folder" "$(publish fresh)" -n "cp of the same files" "$(copy fresh)"
    hyperfine -N --warmup 1 --runs "$runs" ${HYPERFINE_EXPORT:+--export-json "$HYPERFINE_EXPORT-over.json"} \
        -n "publish 1,000 pictures over an earlier publish" "$(publish over)" -n "cp over an earlier copy" "$(copy over)"
else
    for pair in "fresh $(publish fresh)" "fresh $(copy fresh)" "over $(publish over)" "over $(copy over)"; do
        set -- $pair
        name=$1; shift
        total=0
        for _ in $(seq "$runs"); do
            [ "$name" = fresh ] && eval "$(empty fresh)"
            start=$(date +%s%N)
            "$@" > /dev/null
            total=$((total + $(date +%s%N) - start))
        done
        echo "$((total / runs / 1000)) us per run ($name): $1 ${*: -2:1}"
    done
fi
