#!/usr/bin/env bash
# Commands over a big store against their floors: `tag TREEMENU` with a tree menu of 10,000
# items against `cat` of the store, and save-project / open-project of 10,000 values (a menu of
# 2,000 items, five values each) against `get` / `set` on the same store (a command that only
# loads it, or loads and saves it). The project is a 7 MB file, so save-project is also timed
# against `get` followed by writing the same bytes to disk with dd, and open-project against
# `set` followed by reading them with cat. hyperfine when it is installed, else a plain loop.
# Usage: bench/store-scale.sh [build dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-10}
cli=$(realpath "$build/bin/vexajava-cli")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data

# A store in config-N whose TREEMENU holds a flat menu of N items (text, level, address, icon, link).
make_store() {
    local items=$1 config=$work/config-$1
    local store="$config/Vexa Team/Vexa Java.conf"
    XDG_CONFIG_HOME=$config "$cli" reset TREEMENU --yes # the applet's own values, from its defaults
    for ((n = 0; n < items; n++)); do
        printf 'MenuIcon_%d=""\nMenuLevel_%d="0"\nMenuLink_%d=""\nMenuText_%d="Item %d"\nMenuUrl_%d="page%d.html"\n' \
            "$n" "$n" "$n" "$n" "$n" "$n" "$n"
    done > "$work/items"
    printf 'MenuText_%d=""\nIcon_0=""\n' "$items" >> "$work/items"
    awk -v items="$work/items" '{ print } $0 == "[TREEMENU]" { while ((getline line < items) > 0) print line }' \
        "$store" > "$work/store" && mv "$work/store" "$store"
    XDG_CONFIG_HOME=$config "$cli" set TREEMENU Width 400 # written once by the program, in its order
}
make_store 10000
make_store 2000
big=$work/config-10000 small=$work/config-2000
XDG_CONFIG_HOME=$small "$cli" save-project TREEMENU "$work/menu.vxp"

tag="env XDG_CONFIG_HOME=$big $cli tag TREEMENU"
ln -s "$big/Vexa Team/Vexa Java.conf" "$work/big.conf" # a name without blanks for the command lines
cat_store="cat $work/big.conf"
save="env XDG_CONFIG_HOME=$small $cli save-project TREEMENU $work/saved.vxp"
get="env XDG_CONFIG_HOME=$small $cli get TREEMENU Width"
open="env XDG_CONFIG_HOME=$small $cli open-project $work/menu.vxp --applet TREEMENU"
set="env XDG_CONFIG_HOME=$small $cli set TREEMENU Width 400"
get_and_write="sh -c '$get > /dev/null && dd if=$work/menu.vxp of=$work/copy.vxp bs=64k conv=fsync status=none'"
set_and_read="sh -c '$set && cat $work/menu.vxp > /dev/null'"
if command -v hyperfine > /dev/null; then
    hyperfine -N --warmup 2 --runs "$runs" "$tag" "$cat_store"
    hyperfine -N --warmup 2 --runs "$runs" "$save" "$get"
    hyperfine -N --warmup 2 --runs "$runs" "$open" "$set"
    hyperfine -N --warmup 2 --runs "$runs" "$save" "$get_and_write"
    hyperfine -N --warmup 2 --runs "$runs" "$open" "$set_and_read"
else
    for cmd in "$tag" "$cat_store" "$save" "$get" "$open" "$set" "$get_and_write" "$set_and_read"; do
        start=$(date +%s%N)
        for _ in $(seq "$runs"); do eval "$cmd" > /dev/null; done
        echo "$(( ($(date +%s%N) - start) / runs / 1000 )) us per run: $cmd"
    done
fi
