#!/usr/bin/env bash
# Starts the real program the way a user does, looks at it, and closes it with
# its own close button.
# Usage: smoke.sh <velmora executable> <run folder> <screenshot folder> <planted plug-in>
set -euo pipefail

if [ -z "${VELMORA_SMOKE_DISPLAY:-}" ]; then
    # A display of our own, so that the screenshot shows nothing but the program.
    exec env VELMORA_SMOKE_DISPLAY=1 xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$0" "$@"
fi

program=$1 run_folder=$2 shots=$3 planted_plugin=$4
mkdir -p "$shots"
export QTWEBENGINE_DISABLE_SANDBOX=1
unset QT_QPA_PLATFORM
# A home of its own: the user's library and settings stay untouched.
home=$(mktemp -d)
export XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache

fail() { echo "FAIL: $*" >&2; exit 1; }

wait_for_window() {
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --name '^Marvenda$' 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && return 0
        sleep 0.2
    done
    return 1
}

# start_and_close <name> <working directory>
start_and_close() {
    local name=$1 folder=$2 log="$shots/$1.log"
    (cd "$folder" && exec "$program") 2> "$log" &
    local pid=$!
    wait_for_window || fail "$name: no window titled Marvenda appeared"
    sleep 4 # let the start page render
    kill -0 "$pid" 2>/dev/null || fail "$name: the program ended by itself"
    import -window root "$shots/$name.png"

    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$WIDTH" -eq 1115 ] && [ "$HEIGHT" -eq 670 ] || fail "$name: window is ${WIDTH}x${HEIGHT}"
    # The close button sits 20 pixels wide at the window's top right corner.
    xdotool mousemove $((X + WIDTH - 15)) $((Y + 10)) click 1
    local code=0
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
    kill -0 "$pid" 2>/dev/null && { kill "$pid"; fail "$name: the close button did not end the program"; }
    wait "$pid" || code=$?
    [ "$code" -eq 0 ] || fail "$name: exit code $code"
    if grep -E 'makeCurrent|Expect bad things|QRhi|Segmentation|Fatal' "$log"; then
        fail "$name: the program reported rendering trouble (see $log)"
    fi
    echo "$name: started, shown at ${X},${Y} ${WIDTH}x${HEIGHT}, closed cleanly; screenshot $shots/$name.png"
}

start_and_close run-folder "$run_folder"

# Started from a folder without images/ and without the translation, the
# program still starts with its own pages.
bare=$(mktemp -d)
trap 'rm -rf "$bare" "$home"' EXIT
start_and_close bare-folder "$bare/"

# From a folder that someone else filled: its pages and plug-ins stay unused.
mkdir -p "$bare/planted/images" "$bare/planted/plugins"
echo '<title>planted</title><body style="background:red">' > "$bare/planted/images/startupp.html"
cp "$planted_plugin" "$bare/planted/plugins/libplanted_plugin.so"
export VELMORA_PLANTED_MARKER="$bare/planted/plug-in was loaded"
start_and_close planted-folder "$bare/planted"
[ ! -e "$VELMORA_PLANTED_MARKER" ] || fail "planted-folder: a plug-in from the working directory was loaded"
