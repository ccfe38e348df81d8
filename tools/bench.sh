#!/usr/bin/env bash
# Installs what is needed, builds the program and the benchmarks, runs every
# benchmark under one virtual X server, and ends with one table: each figure
# beside its target. Each benchmark's own output is shown as it runs and kept
# in <build folder>/bench-output/.
#
#   tools/bench.sh                                # builds in build/, like tools/test.sh
#   VELMORA_BUILD_DIR=build-mine tools/bench.sh   # another build folder
#
# VELMORA_BUILD_JOBS sets the build's parallel jobs (default: all cores).
# Exit status 0 when every figure was measured and met its target, 1 otherwise.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

benchmarks=(bench_gpslog bench_import bench_clipexport bench_trips bench_updatecycle bench_player bench_boundary bench_mapcache)

# Runs inside the virtual X server: every benchmark, output kept, then the table.
run_benchmarks() {
    local build=$1 out=$1/bench-output failed=0
    mkdir -p "$out"
    cd "$build"
    for bench in "${benchmarks[@]}"; do
        echo "== $bench"
        local arguments=()
        case $bench in bench_player | bench_boundary | bench_mapcache) arguments=("$out/$bench") ;; esac
        if ! "./bench/$bench" "${arguments[@]}" 2>&1 | tee "$out/$bench.txt"; then
            echo "bench.sh: $bench failed" >&2
            failed=1
        fi
        echo
    done
    print_table "$out" || failed=1
    return "$failed"
}

rows=()
all_met=1

# row <benchmark> <figure> <target> <met: 1 or 0>
row() {
    rows+=("$1|$2|$3|$([ "$4" = 1 ] && echo met || echo MISSED)")
    [ "$4" = 1 ] || all_met=0
}

# comparison_row <benchmark> <figure>: a figure shown beside another, with no target of its own.
comparison_row() {
    rows+=("$1|$2|none, for comparison|-")
}

# A benchmark line that is not there: its program failed or printed something else.
missing() {
    rows+=("$1|not measured (see its output above)|-|MISSED")
    all_met=0
}

# capture <file> <sed -E expression> <replacement>: the replacement made from
# the first matching line; nothing when no line matches.
capture() {
    [ -f "$1" ] && sed -nE "s/$2/$3/p" "$1" | head -n 1
}

# is <awk condition on a, b and c> <a> [b] [c]: prints 1 when it holds, else 0.
is() {
    awk -v a="$2" -v b="${3:-}" -v c="${4:-}" "BEGIN { exit !($1) }" && echo 1 || echo 0
}

# median_row <benchmark> <output file> <line label>: a "<label>: N ms median of
# R ... target under T ms" line.
median_row() {
    local a b c
    read -r a b c <<<"$(capture "$2" \
        "^$3: +([0-9.]+) ms median of ([0-9]+).*target under ([0-9.]+) ms.*" '\1 \2 \3')"
    if [ -n "$c" ]; then
        row "$1" "$a ms, median of $b" "under $c ms" "$(is 'a < b' "$a" "$c")"
    else
        missing "$1"
    fi
}

# The targets are read from each benchmark's own lines, so they live in one place.
print_table() {
    local out=$1 gpslog=$1/bench_gpslog.txt import=$1/bench_import.txt
    local update=$1/bench_updatecycle.txt player=$1/bench_player.txt trips=$1/bench_trips.txt
    local boundary=$1/bench_boundary.txt mapcache=$1/bench_mapcache.txt clip=$1/bench_clipexport.txt
    local name a b c d e

    name='24-hour log load (bench_gpslog)'
    read -r a b <<<"$(capture "$gpslog" '^LoadGpsLog +([0-9.]+) lines\/s +([0-9.]+) ms per load.*' '\1 \2')"
    read -r c <<<"$(capture "$gpslog" '^target ([0-9.]+) lines\/s.*' '\1')"
    if [ -n "$b" ] && [ -n "$c" ]; then
        row "$name" "$(awk -v r="$a" -v t="$b" 'BEGIN { printf "%.2f M lines/s, %.0f ms a load", r / 1e6, t }')" \
            "$(awk -v t="$c" 'BEGIN { printf "at least %.1f M lines/s", t / 1e6 }')" "$(is 'a >= b' "$a" "$c")"
    else
        missing "$name"
    fi

    name='24-hour log load beside cat of the file (bench_gpslog)'
    read -r a <<<"$(capture "$gpslog" '^cat of the camera.s log: +([0-9.]+) ms.*' '\1')"
    read -r b c <<<"$(capture "$gpslog" '^LoadGpsLog \/ cat: +([0-9.]+) \(target at most ([0-9.]+).*' '\1 \2')"
    if [ -n "$c" ]; then
        row "$name" "${b}x the cat of the log ($a ms)" "at most ${c}x cat" "$(is 'a <= b' "$b" "$c")"
    else
        missing "$name"
    fi
    name='86,400 records made, nothing read: the floor of any loader (bench_gpslog)'
    read -r a <<<"$(capture "$gpslog" '^records alone, nothing read +[0-9.]+ lines\/s +([0-9.]+) ms per load.*' '\1')"
    if [ -n "$a" ]; then comparison_row "$name" "$a ms"; else missing "$name"; fi
    read -r d <<<"$(capture "$gpslog" '^gpsbabel, NMEA to GPX: +([0-9.]+) ms.*' '\1')"
    name='24-hour log load beside gpsbabel of the same drive as NMEA (bench_gpslog)'
    read -r a b <<<"$(capture "$gpslog" '^camera log vs gpsbabel: +([0-9.]+)x faster \(target at least ([0-9.]+)x.*' '\1 \2')"
    if [ -n "$b" ]; then
        row "$name" "${a}x faster than gpsbabel ($d ms)" "at least ${b}x" "$(is 'a >= b' "$a" "$b")"
    else
        missing "$name"
    fi
    name='the same drive as NMEA (RMC and GGA, 172,800 sentences) read (bench_gpslog)'
    read -r a <<<"$(capture "$gpslog" '^LoadGpsLog of the NMEA +[0-9.]+ lines\/s +([0-9.]+) ms per load.*' '\1')"
    read -r b c <<<"$(capture "$gpslog" '^NMEA reader vs gpsbabel: +([0-9.]+)x faster \(target at least ([0-9.]+)x.*' '\1 \2')"
    if [ -n "$c" ]; then
        row "$name" "$a ms, ${b}x faster than gpsbabel" "at least ${c}x gpsbabel" "$(is 'a >= b' "$b" "$c")"
    else
        missing "$name"
    fi

    name='import of 1,000 recordings (bench_import)'
    read -r a <<<"$(capture "$import" '^import: +([0-9.]+) ms.*' '\1')"
    read -r b c <<<"$(capture "$import" '^import \/ cat: +([0-9.]+) \(target at most ([0-9.]+).*' '\1 \2')"
    if [ -n "$a" ] && [ -n "$c" ]; then
        row "$name" "$a ms, ${b}x the cat of its logs" "at most ${c}x cat" "$(is 'a <= b' "$b" "$c")"
    else
        missing "$name"
    fi

    name='import of 1,000 recordings into the library (bench_import)'
    read -r a <<<"$(capture "$import" '^import, stored: +([0-9.]+) ms.*' '\1')"
    read -r b c <<<"$(capture "$import" '^stored import \/ cat: +([0-9.]+) \(target at most ([0-9.]+).*' '\1 \2')"
    if [ -n "$a" ] && [ -n "$c" ]; then
        row "$name" "$a ms, ${b}x the cat of its logs" "at most ${c}x cat" "$(is 'a <= b' "$b" "$c")"
    else
        missing "$name"
    fi

    name='lossless cut of 60 s of a 1080p clip (bench_clipexport)'
    read -r a b <<<"$(capture "$clip" '^lossless cut of 60 s of 1080p: +([0-9.]+) ms for ([0-9.]+) MB.*' '\1 \2')"
    read -r c d <<<"$(capture "$clip" '^cut \/ cat: +([0-9.]+) \(target at most ([0-9.]+).*' '\1 \2')"
    if [ -n "$a" ] && [ -n "$d" ]; then
        row "$name" "$a ms for $b MB, ${c}x the cat of its bytes" "at most ${d}x cat" "$(is 'a <= b' "$c" "$d")"
    else
        missing "$name"
    fi

    median_row 'grouping 600 clips into trips (bench_trips)' "$trips" 'grouping 600 clips'
    median_row 'figures of a 10-hour trip, 600 logs read (bench_trips)' "$trips" 'figures of the 10-hour trip'
    median_row 'GPX of a 10-hour trip, 36,000 fixes (bench_trips)' "$trips" 'GPX of the 10-hour trip'
    name='route of a 10-hour trip sent to the map page (bench_trips)'
    read -r a b <<<"$(capture "$trips" '^route of the 10-hour trip sent: +([0-9.]+) ms +\(target under ([0-9.]+) ms.*' '\1 \2')"
    if [ -n "$b" ]; then row "$name" "$a ms" "under $b ms" "$(is 'a < b' "$a" "$b")"; else missing "$name"; fi
    name='that route drawn by the map page (bench_trips)'
    read -r a b c <<<"$(capture "$trips" \
        '^route drawn by the map page: +([0-9.]+) ms, ([0-9]+) coloured pieces +\(target under ([0-9.]+) ms.*' '\1 \2 \3')"
    if [ -n "$c" ]; then row "$name" "$a ms, $b coloured pieces" "under $c ms" "$(is 'a < b' "$a" "$c")"; else missing "$name"; fi
    name='memory growth with that trip shown (bench_trips)'
    read -r a b c <<<"$(capture "$trips" \
        '^memory growth with the trip shown: +([0-9.]+) MB, with the map page.s processes ([0-9.]+) MB +\(target under ([0-9.]+) MB.*' \
        '\1 \2 \3')"
    if [ -n "$c" ]; then
        row "$name" "$a MB (with the map page's processes $b MB)" "under $c MB" "$(is 'a < b' "$a" "$c")"
    else
        missing "$name"
    fi

    name='update tick, route drawn (bench_updatecycle)'
    read -r a b c <<<"$(capture "$update" \
        '^one tick, route drawn: +([0-9.]+) ms wall, +([0-9.]+) ms CPU +\(target under ([0-9.]+) ms.*' '\1 \2 \3')"
    if [ -n "$c" ]; then
        row "$name" "$a ms wall, $b ms CPU" "under $c ms" "$(is 'a < c && b < c' "$a" "$b" "$c")"
    else
        missing "$name"
    fi
    name='route of a 1-hour log (bench_updatecycle)'
    read -r a b c d <<<"$(capture "$update" \
        '^route of ([0-9]+) s \(first tick\): +([0-9.]+) ms wall, +([0-9.]+) ms CPU +\(target under ([0-9.]+) ms.*' \
        '\1 \2 \3 \4')"
    read -r e <<<"$(capture "$update" '^route taken by the page: +([0-9.]+) ms.*' '\1')"
    if [ -n "$d" ]; then
        row "$name" "$b ms wall, $c ms CPU, $a s; on the page after ${e:-?} ms" "under $d ms" \
            "$(is 'a < c && b < c' "$b" "$c" "$d")"
    else
        missing "$name"
    fi

    median_row 'start-up to window drawn (bench_player)' "$player" 'start-up to window drawn'
    name='start-up with 10,000 stored recordings (bench_player)'
    read -r a b c <<<"$(capture "$player" \
        '^start-up with a full library: +([0-9.]+) ms median.*, ([0-9.]+)x the empty library.*target at most ([0-9.]+)x.*' \
        '\1 \2 \3')"
    if [ -n "$c" ]; then
        row "$name" "$a ms, ${b}x the empty library" "at most ${c}x" "$(is 'a <= b' "$b" "$c")"
    else
        missing "$name"
    fi
    median_row 'double click to first frame (bench_player)' "$player" 'double click to first frame'
    name='memory while playing 1080p (bench_player)'
    read -r a b c d e <<<"$(capture "$player" \
        '^memory while playing: +([0-9.]+) MB resident.* VmRSS ([0-9.]+) MB, Pss ([0-9.]+) MB.*at rest tree (-?[0-9.]+) MB.*target under ([0-9.]+) MB.*' \
        '\1 \2 \3 \4 \5')"
    if [ -n "$e" ]; then
        row "$name" "$a MB, each page once (VmRSS sum $b MB, Pss $c MB); at rest $d MB" "under $e MB" \
            "$(is 'a < b' "$a" "$e")"
    else
        missing "$name"
    fi

    name='memory over 300 recording changes (bench_player)'
    read -r a b c d e <<<"$(capture "$player" \
        '^memory over recording changes: +([0-9.]+) MB after [0-9]+, +([0-9.]+) MB after [0-9]+, grown (-?[0-9.]+) MB in ([0-9.]+) s.*target under ([0-9.]+) MB.*' \
        '\1 \2 \3 \4 \5')"
    if [ -n "$e" ]; then
        row "$name" "grown $c MB ($a MB after 10, $b MB after 300, in $d s)" "under $e MB" \
            "$(is 'a < b' "$c" "$e")"
    else
        missing "$name"
    fi
    name='processor while paused (bench_player)'
    read -r a b <<<"$(capture "$player" \
        '^processor while paused: +([0-9.]+) % of one core.*target under ([0-9.]+) %.*' '\1 \2')"
    if [ -n "$b" ]; then
        row "$name" "$a % of one core" "under $b %" "$(is 'a < b' "$a" "$b")"
    else
        missing "$name"
    fi

    name='picture stall at a clip boundary inside a trip (bench_boundary)'
    read -r a b c d <<<"$(capture "$boundary" \
        '^boundary stall inside a trip: +([0-9.]+) ms median, +([0-9.]+) ms worst over ([0-9]+).*target under ([0-9.]+) ms.*' \
        '\1 \2 \3 \4')"
    if [ -n "$d" ]; then
        row "$name" "$a ms, median of $c (worst $b ms)" "under $d ms" "$(is 'a < b' "$a" "$d")"
    else
        missing "$name"
    fi
    name='the same outside a trip: stop, then start (bench_boundary)'
    read -r a b c <<<"$(capture "$boundary" \
        '^boundary stall outside a trip: +([0-9.]+) ms median, +([0-9.]+) ms worst over ([0-9]+).*' '\1 \2 \3')"
    if [ -n "$c" ]; then
        comparison_row "$name" "$a ms, median of $c (worst $b ms)"
    else
        missing "$name"
    fi

    name='map of a route seen before, tile server up (bench_mapcache)'
    read -r a b c d <<<"$(capture "$mapcache" \
        '^second view of the route: +([0-9]+) tile requests, map shown in ([0-9.]+) ms.*target ([0-9]+) requests, under ([0-9.]+) ms.*' \
        '\1 \2 \3 \4')"
    if [ -n "$d" ]; then
        e=$(is 'a <= b' "$a" "$c")
        [ "$e" = 0 ] || e=$(is 'a < b' "$b" "$d")
        row "$name" "$a tile requests, map shown $b ms after the double click" "$c requests, under $d ms" "$e"
    elif a=$(capture "$mapcache" '^second view of the route: +([0-9]+ tile requests, map not shown within [0-9]+ ms).*' '\1') \
            && [ -n "$a" ]; then
        row "$name" "$a" "0 requests, under 1000 ms" 0
    else
        missing "$name"
    fi
    name='map of a cached route, tile server stopped (bench_mapcache)'
    read -r a b <<<"$(capture "$mapcache" \
        '^offline with the route cached: map shown in ([0-9.]+) ms.*target under ([0-9.]+) ms.*' '\1 \2')"
    if [ -n "$b" ]; then
        row "$name" "map shown $a ms after the double click" "under $b ms" "$(is 'a < b' "$a" "$b")"
    elif a=$(capture "$mapcache" '^offline with the route cached: (map not shown within [0-9]+ ms).*' '\1') \
            && [ -n "$a" ]; then
        row "$name" "$a" "under 1500 ms" 0
    else
        missing "$name"
    fi
    name='the same route the first time, cache empty (bench_mapcache)'
    read -r a b <<<"$(capture "$mapcache" \
        '^first view of the route, cache empty: +([0-9]+) tile requests, map shown in ([0-9.]+) ms.*' '\1 \2')"
    if [ -n "$b" ]; then
        comparison_row "$name" "$a tile requests, map shown $b ms after the double click"
    else
        missing "$name"
    fi

    # Other work on the machine stretches the wall-clock figures; the load says how much.
    echo "== Benchmarks, $(date +%Y-%m-%d), $(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1)," \
         "load average $(cut -d ' ' -f 1-3 /proc/loadavg)"
    printf '%s\n' "Benchmark|Figure|Target|Result" "${rows[@]}" | awk -F'|' '
        { for (i = 1; i <= NF; ++i) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) } }
        END { format = "%-" width[1] "s  %-" width[2] "s  %-" width[3] "s  %s\n"
              for (r = 1; r <= NR; ++r) printf format, cell[r, 1], cell[r, 2], cell[r, 3], cell[r, 4] }'
    [ "$all_met" = 1 ]
}

if [ "${1:-}" = --under-x ]; then
    run_benchmarks "$2"
    exit
fi

build="${VELMORA_BUILD_DIR:-$root/build}"
[[ $build == /* ]] || build="$PWD/$build"
"$root/tools/install-deps.sh"
if [ "$build" = "$root/build" ]; then
    "$root/tools/build.sh" -DBUILD_TESTING=ON -DVELMORA_STRESS=ON -DVELMORA_BENCH=ON
else
    # The configuration of tools/build.sh, and only what the benchmarks need.
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=ON -DBUILD_TESTING=ON -DVELMORA_BENCH=ON
    cmake --build "$build" -j"${VELMORA_BUILD_JOBS:-$(nproc)}" --target velmora "${benchmarks[@]}"
fi
xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --under-x "$build"
