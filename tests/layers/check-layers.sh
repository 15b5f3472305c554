#!/usr/bin/env bash
# The GUI's folders in their order, each using only itself and the folders before it (and the
# core): services (the interface), controls, editors, pages, wizard. Names every include of a
# folder further up and fails on any. Usage: check-gui-layers.sh [src/gui]
set -euo pipefail
gui=${1:-$(dirname "$0")/../../src/gui}
order=(services controls editors pages wizard)
found=0
for ((low = 0; low < ${#order[@]}; low++)); do
    for ((high = low + 1; high < ${#order[@]}; high++)); do
        if hits=$(grep -Hn "^#include \"${order[high]}/" "$gui/${order[low]}"/* 2> /dev/null); then
            sed "s|^|${order[low]} must not include ${order[high]}: |" <<< "$hits"
            found=$((found + $(wc -l <<< "$hits")))
        fi
    done
done
[ "$found" -eq 0 ] || { echo "$found includes of a folder further up"; exit 1; }
echo "every folder of $gui includes only itself and the folders before it"
