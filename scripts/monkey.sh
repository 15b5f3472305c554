#!/usr/bin/env bash
# Random use of the wizard, as a user in a hurry might: builds it with AddressSanitizer and
# UndefinedBehaviorSanitizer, starts it under Xvfb with a window manager and a fresh store,
# and drives it with a random mix of keys, mnemonics, clicks, typing and drags, run after
# run, one applet after another. A report is a sanitizer report, a crash, a window that does
# not answer for 5 s, or a store that can no longer be read; each is kept with the actions
# that led to it.
#
#   bash scripts/monkey.sh [SECONDS] [SEED]
#
# SECONDS (default 600) is how long new runs start; a run under way is driven to its end, so
# that a replay runs the whole recorded run. SEED (default: from the clock) starts the
# random numbers: run n uses SEED + n and the applet SEED + n of the catalogue, so a report
# names the number that repeats it (`bash scripts/monkey.sh 1 NUMBER` runs it alone), and
# its actions.sh replays it by hand. Exit status: 0 no report, 1 reports, 2 no run possible.
# VEXAJAVA_MONKEY_BUILD names the build folder (default build-monkey); an existing
# sanitizer build of the same flags (CI's) may be named to save the build.
set -uo pipefail
cd "$(dirname "$0")/.."
top=$PWD
seconds=${1:-600}
first=${2:-$(($(date +%s) % 100000))}
build=$top/${VEXAJAVA_MONKEY_BUILD:-build-monkey}
reports=$build/monkey-reports

bash scripts/install-packages.sh cmake make clang libclang-rt-14-dev llvm-14 qt6-base-dev fonts-dejavu-core \
    xvfb openbox xdotool x11-utils libx11-dev gdb || exit 2

sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE= \
    "-DCMAKE_CXX_FLAGS=-O1 -gline-tables-only $sanitize" "-DCMAKE_EXE_LINKER_FLAGS=$sanitize" >/dev/null || exit 2
cmake --build "$build" -j "$(nproc)" --target vexajava vexajava-cli >/dev/null || exit 2
cc -O1 -o "$build/xping" scripts/monkey/xping.c -lX11 || exit 2
mapfile -t applets < <("$build/bin/vexajava-cli" catalogue | cut -f1,2)
[ ${#applets[@]} -gt 0 ] || exit 2

# Leaks at exit are the unit tests' business; here a report is what breaks a user's session.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=0" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
[ -x "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH="$symbolizer" UBSAN_SYMBOLIZER_PATH="$symbolizer"

work=$(mktemp -d)
chmod 755 "$work"
cleanup() {
    [ -n "${app:-}" ] && kill -KILL "$app" 2>/dev/null
    [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The program runs as an unprivileged user where we are root: what the random typing and
# clicking may save or publish stays in the places that user may write.
# (Where that user cannot reach the build, as under a private home folder, it runs as we do.)
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    "${as_user[@]}" test -x "$build/bin/vexajava" || as_user=()
fi

# A display and a window manager of the run's own: nothing a run leaves on the screen
# (a window manager's menu or prompt, a grab) reaches the next.
start_display() {
    for _ in 1 2 3; do
        rm -f "$work/display"
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -ac -nolisten tcp 3>"$work/display" 2>/dev/null &
        xvfb=$!
        for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
        [ -s "$work/display" ] && break
        kill -KILL "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    done
    [ -s "$work/display" ] || { echo "monkey: Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$(cat "$work/display")"
    openbox >/dev/null 2>&1 &
    wm=$!
    # A window mapped before the window manager has taken the screen may stay unmanaged
    # and unmapped: the program starts once the manager has announced itself.
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.05
    done
    echo "monkey: the window manager did not start on $DISPLAY" >&2
    return 0
}
stop_display() {
    kill "$wm" "$xvfb" 2>/dev/null
    wait "$wm" "$xvfb" 2>/dev/null
    wm="" xvfb=""
}

# What a run can do, with its weight. Each action is one xdotool command line.
kinds=(next:7 previous:2 mnemonic:5 click:14 rightclick:3 doubleclick:2 type:7 key:16 drag:5 scroll:2 menu:2 answer:4)
table=()
for entry in "${kinds[@]}"; do
    for _ in $(seq "${entry#*:}"); do table+=("${entry%%:*}"); done
done
letters=abcdefghijklmnopqrstuvwxyz
keys=(ctrl+c ctrl+v ctrl+x ctrl+z ctrl+y ctrl+a ctrl+shift+z Delete Insert ctrl+Insert shift+Insert F2 F5 Escape
      Return Tab shift+Tab Up Down Left Right Home End Page_Up Page_Down space BackSpace shift+F10 Menu)
texts=('abc' 'Hello, world' '"quoted"' "O'Neil" 'a,b,c' 'ÄÖÜ äöü ß' 'Ελληνικά' '日本語' '€ 10' '0' '-1'
       '65535' '99999999999' '3.14' 'http://example.org/a?b=1&c=2' '<b>&amp;</b>' 'C:\path\file.gif' '../..'
       '%20%' ' ' 'NEW ITEM' 'frame1.jpg')

pick() { echo $((RANDOM % $1)); }
point() { echo "$((wx + RANDOM % ww)) $((wy + RANDOM % wh))"; }

# One random action as an xdotool argument line.
action() {
    case ${table[$(pick ${#table[@]})]} in
    next) [ $(pick 2) -eq 0 ] && echo "key alt+n" || echo "key Return" ;;
    previous) echo "key alt+p" ;;
    mnemonic) echo "key alt+${letters:$(pick 26):1}" ;;
    click) echo "mousemove $(point) click 1" ;;
    rightclick) echo "mousemove $(point) click 3" ;;
    doubleclick) echo "mousemove $(point) click --repeat 2 1" ;;
    type) printf 'type --delay 3 -- %q\n' "${texts[$(pick ${#texts[@]})]}" ;;
    key) echo "key ${keys[$(pick ${#keys[@]})]}" ;;
    drag)
        local button=$((1 + 2 * (RANDOM % 2)))
        local from to
        from=$(point)
        to=$(point)
        local fx=${from% *} fy=${from#* } tx=${to% *} ty=${to#* }
        echo "mousemove $fx $fy mousedown $button mousemove $(((fx * 2 + tx) / 3)) $(((fy * 2 + ty) / 3))" \
            "sleep 0.05 mousemove $(((fx + tx * 2) / 3)) $(((fy + ty * 2) / 3)) sleep 0.05 mousemove $tx $ty" \
            "mouseup $button"
        ;;
    scroll) echo "mousemove $(point) click $((4 + RANDOM % 2))" ;;
    menu)
        local menus=(f o h)
        echo "key alt+${menus[$(pick 3)]} sleep 0.1 key$(for _ in $(seq $((RANDOM % 5))); do printf ' Down'; done)" \
            "$([ $(pick 2) -eq 0 ] && echo Return || echo Escape)"
        ;;
    answer) [ $(pick 2) -eq 0 ] && echo "key Escape" || echo "key Return" ;;
    esac
}

# Installation data and a store of the run's own: nothing a run does reaches the next.
prepare() {
    local dir=$1 applet=$2 category=$3
    mkdir -p "$dir/home" "$dir/config/Vexa Team" "$dir/bin"
    mkdir -m 700 "$dir/runtime"
    cp -r "$build/share/vexajava" "$dir/install"
    # Browsers and the desktop's opener only note what they were asked to show.
    for tool in xdg-open x-www-browser sensible-browser firefox chromium; do
        printf '#!/bin/sh\necho "%s $*" >>"%s/opened.log"\n' "$tool" "$dir" >"$dir/bin/$tool"
        chmod +x "$dir/bin/$tool"
    done
    printf '[Application]\nDir=%s\nAppletDir=applets\nHelpDir=help\nLastCateg=%s\nLastApplet=%s\n' \
        "$dir/install" "$category" "$applet" >"$dir/config/Vexa Team/Vexa Java.conf"
    [ ${#as_user[@]} -eq 0 ] || chown -R nobody:nogroup "$dir"
}

# The command prefix that runs a program in run `$1`'s home and store, as the run's user;
# each part execs the next, so a program started with it in the background has its pid in $!.
in_run() {
    local dir=$1
    run_as=("${as_user[@]}" env HOME="$dir/home" XDG_CONFIG_HOME="$dir/config"
        XDG_DATA_HOME="$dir/home/.local/share" XDG_RUNTIME_DIR="$dir/runtime" PATH="$dir/bin:$PATH")
}

# Keeps what a report needs: the kind, the actions, the program's output and its store.
report() {
    local kind=$1 number=$2 dir=$3
    local kept=$reports/$number
    rm -rf "$kept"
    mkdir -p "$kept"
    echo "$kind" >"$kept/kind"
    cp "$dir/actions.sh" "$dir/stderr" "$kept/" 2>/dev/null
    cp "$dir"/sanitizer.* "$kept/" 2>/dev/null
    cp "$dir/config/Vexa Team/Vexa Java.conf" "$kept/store.conf" 2>/dev/null
    [ -f "$dir/backtrace" ] && cp "$dir/backtrace" "$kept/"
    echo "monkey: report $number ($kind, ${applets[$((number % ${#applets[@]}))]%%$'\t'*}): $kept"
    reported=$((reported + 1))
}

sanitizer_report() { compgen -G "$1/sanitizer.*" >/dev/null || grep -q 'runtime error:' "$1/stderr"; }

runs=0
actions=0
reported=0
mkdir -p "$reports"
deadline=$(($(date +%s) + seconds))
while [ "$(date +%s)" -lt "$deadline" ]; do
    number=$((first + runs))
    entry=${applets[$((number % ${#applets[@]}))]}
    dir=$work/run$runs
    prepare "$dir" "${entry%%$'\t'*}" "${entry#*$'\t'}"
    RANDOM=$number
    runs=$((runs + 1))
    start_display || exit 2

    in_run "$dir"
    "${run_as[@]}" ASAN_OPTIONS="halt_on_error=1:detect_leaks=0:log_path=$dir/sanitizer" \
        UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$dir/sanitizer" \
        "$build/bin/vexajava" >"$dir/stderr" 2>&1 &
    app=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$app" --name '^Vexa Java' 2>/dev/null | head -n 1)
    if [ -z "$window" ]; then
        {
            ps -o pid,stat,wchan:20,args -p "$app"
            xwininfo -root -tree | grep -v 'has no name' | head -n 40
            kill -0 "$app" 2>/dev/null && gdb -p "$app" -batch -ex 'thread apply all bt'
        } >"$dir/backtrace" 2>&1
        kill -KILL "$app" 2>/dev/null
        wait "$app" 2>/dev/null
        app=""
        report "no window" "$number" "$dir"
        stop_display
        rm -rf "$dir"
        continue
    fi
    eval "$(xdotool getwindowgeometry --shell "$window")"
    wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
    echo "# applet ${entry%%$'\t'*}, window at $wx,$wy ${ww}x$wh" >"$dir/actions.sh"

    outcome=""
    steps=$((40 + RANDOM % 80))
    for step in $(seq "$steps"); do
        line=$(action)
        echo "xdotool $line" >>"$dir/actions.sh"
        eval "xdotool $line" 2>/dev/null
        actions=$((actions + 1))
        sleep 0.05
        answer=0
        if [ $((step % 10)) -eq 0 ] || [ "$step" -eq "$steps" ]; then
            "$build/xping" "$window" 5000
            answer=$?
        fi
        if [ "$answer" -eq 1 ]; then
            # A program writing a sanitizer report answers nothing either: give it time to end.
            for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
            if kill -0 "$app" 2>/dev/null; then
                gdb -p "$app" -batch -ex 'thread apply all bt' >"$dir/backtrace" 2>&1
                outcome="hang"
                break
            fi
        fi
        if ! kill -0 "$app" 2>/dev/null; then
            wait "$app"
            status=$?
            app=""
            if sanitizer_report "$dir"; then
                outcome="sanitizer"
            elif [ "$status" -ne 0 ]; then
                outcome="crash (exit status $status)"
            else
                outcome="ended" # Exit, answered Yes
            fi
            break
        fi
    done
    if [ -n "$app" ]; then
        kill -TERM "$app" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$app" 2>/dev/null
        wait "$app" 2>/dev/null
        app=""
        [ -z "$outcome" ] && sanitizer_report "$dir" && outcome="sanitizer"
    fi
    case $outcome in
    "" | ended)
        # The store the run leaves must still be one the program reads.
        if ! "${run_as[@]}" "$build/bin/vexajava-cli" get Application LastApplet >/dev/null 2>"$dir/store-check" ||
            [ -s "$dir/store-check" ]; then
            cat "$dir/store-check" >>"$dir/stderr"
            report "store unreadable" "$number" "$dir"
        fi
        ;;
    *) report "$outcome" "$number" "$dir" ;;
    esac
    stop_display
    rm -rf "$dir"
done

echo "monkey: $runs runs, $actions actions, $reported reports (numbers $first to $((first + runs - 1)))"
[ "$reported" -eq 0 ]
