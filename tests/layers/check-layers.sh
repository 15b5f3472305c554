#!/usr/bin/env bash
# A source tree's folders in their order, each using only itself and the folders before it
# (and what lies outside the tree). Names every include of a folder further up and fails on
# any. Usage: check-layers.sh TREE FOLDER...   (lowest folder first)
set -euo pipefail
tree=$1
shift
order=("$@")
found=0
for ((low = 0; low < ${#order[@]}; low++)); do
    for ((high = low + 1; high < ${#order[@]}; high++)); do
        if hits=$(grep -Hn "^#include \"${order[high]}/" "$tree/${order[low]}"/* 2> /dev/null); then
            sed "s|^|${order[low]} must not include ${order[high]}: |" <<< "$hits"
            found=$((found + $(wc -l <<< "$hits")))
        fi
    done
done
[ "$found" -eq 0 ] || { echo "$found includes of a folder further up"; exit 1; }
echo "every folder of $tree includes only itself and the folders before it"
