#!/usr/bin/env bash
# Makes a small set of sample dash-camera recordings in <output-folder>:
# H.264 clips in DCIM/100MEDIA/ and their per-second GPS logs in gps/,
# the logs cut from real drives (see logs/README.md).
#
#   tools/samples/make-samples.sh <output-folder>
#
# Running it again replaces the set's own files and nothing else.
set -euo pipefail

die() { echo "make-samples.sh: $*" >&2; exit 1; }

[ $# -eq 1 ] && [ -n "$1" ] || die "usage: make-samples.sh <output-folder>"
out="${1%/}"
[ -n "$out" ] || die "will not make the set in /"
here="$(cd "$(dirname "$0")" && pwd)"
logs="$here/logs"

for tool in ffmpeg ffprobe; do
    command -v "$tool" >/dev/null \
        || die "$tool not found; install ffmpeg (tools/install-deps.sh or apt-get install ffmpeg)"
done
[ ! -e "$out" ] || [ -d "$out" ] || die "$out exists and is not a folder"

# A font file keeps the captions identical everywhere; fontconfig is the fallback.
font_dir=/usr/share/fonts/truetype/dejavu
if [ -f "$font_dir/DejaVuSans.ttf" ] && [ -f "$font_dir/DejaVuSans-Bold.ttf" ]; then
    font="fontfile=$font_dir/DejaVuSans.ttf"
    bold="fontfile=$font_dir/DejaVuSans-Bold.ttf"
else
    font="font=DejaVu Sans"
    bold="$font"
fi

# One recording a line:
#   name | seconds | log in logs/ ("-": none) | UTC start when there is no log |
#   scene: skyline, road half width, lane offset, bend, dash cycles per world
#   unit, cycles per second, sway in px, skyline seed | audio | intended rating |
#   caption
recordings="
FILE0001|40|gps0002_100-139.log|-|hills,0.90,0.45,-0.10,0.35,2.5,10,0|yes|Available|Motorway, Rhône valley, Switzerland
FILE0002|30|gps0003_1014-1043.log|-|city,0.75,0.375,0.16,0.70,1.25,18,0|yes|Available|Town, Regensburg, Germany
FILE0003|25|gps0005_0-24.log|-|city,0.75,0.375,0.04,1.00,1.0,6,0.37|yes|Unavailable|Fix lost, Toledo, Ohio
FILE0004|20|-|2010-04-11 17:31:06|city,0.75,0.375,-0.06,0.90,1.25,8,0.71|no|Not Exist|No GPS log
FILE0005|30|gps0004_9-38.log|-|hills,0.75,0.375,0.06,1.20,1.0,12,2.2|yes|Available|Southern hemisphere, Queensland
"

# Prints a geq expression for one plane (0 Y, 1 Cb, 2 Cr) of a night road
# seen from the windscreen: the road is a perspective function of the row,
# and its markings move with T, so the picture repeats after 1/speed s.
scene_expr() {
    awk -v plane="$1" -v scene="$2" 'BEGIN {
        split(scene, s, ",")
        sky = s[1]; hw = s[2]; lane = s[3]; bend = s[4]; kz = s[5]; v = s[6]; seed = s[8]
        hy = 0.46
        # Colours in RGB, turned into this plane of limited-range BT.601,
        # which is what format=yuv420p assumes; blends stay linear in YUV.
        rgb["skyt"] = "5 7 10";      rgb["skyh"] = "14 25 30"
        rgb["hill"] = "9 14 18";     rgb["town"] = "12 16 21"
        rgb["lamp"] = "120 96 52";   rgb["road"] = "20 24 29"
        rgb["roadn"] = "36 41 47";   rgb["ground"] = "8 11 14"
        rgb["dash"] = "210 216 222"; rgb["teal"] = "25 211 197"
        rgb["black"] = "0 0 0"
        for (n in rgb) {
            split(rgb[n], c, " ")
            if (plane == 0)      x = 16 + (65.481 * c[1] + 128.553 * c[2] + 24.966 * c[3]) / 255
            else if (plane == 1) x = 128 + (-37.797 * c[1] - 74.203 * c[2] + 112 * c[3]) / 255
            else                 x = 128 + (112 * c[1] - 93.786 * c[2] - 18.214 * c[3]) / 255
            C[n] = sprintf("%.2f", x)
        }
        glow = sprintf("%.2f", C["teal"] - C["black"])
        if (sky == "hills") {
            ridge = "st(2," hy "-0.05-0.028*sin(7*ld(0)+1.3+" seed ")-0.016*sin(19*ld(0)+0.4+" 3 * seed ")-0.007*sin(43*ld(0)+2))"
            front = C["hill"] "+(" C["teal"] "-" C["hill"] ")*0.5*lt(ld(1)-ld(2),0.004)"
        } else {
            # Blocks of pseudo-random height with a few lit windows.
            ridge = "st(2," hy "-0.012-0.075*pow(abs(sin(floor(ld(0)*27+" 27 * seed ")*12.9898)),2))"
            front = "if(lt(mod(ld(0)*300,1),0.4)*lt(mod(ld(1)*160,1),0.45)*gt(sin(floor(ld(0)*300)*7.1+floor(ld(1)*160)*3.3),0.82)*gt(ld(1)-ld(2),0.01)," \
                    C["lamp"] "," C["town"] "+(" C["teal"] "-" C["town"] ")*0.45*lt(ld(1)-ld(2),0.003))"
        }
        skyc = C["skyt"] "+(" C["skyh"] "-" C["skyt"] ")*ld(1)/" hy "+" glow "*0.2*exp((ld(1)-" hy ")*28)"
        road = "if(gt(abs(ld(4)),0.965)," C["teal"] \
               ",if(lt(abs(ld(4)),0.022)*lt(ld(5),0.45)," C["dash"] \
               "," C["road"] "+(" C["roadn"] "-" C["road"] ")*ld(3)))"
        ground = C["ground"] "+(" C["teal"] "-" C["ground"] ")*0.22*lt(mod(2*ld(5),1),0.07)"
        printf "st(0,X/W);st(1,Y/H);if(lt(ld(1),%s),%s;if(gt(ld(1),ld(2)),%s,%s),", hy, ridge, front, skyc
        printf "st(3,max((ld(1)-%s)/(1-%s),0.0005));", hy, hy
        printf "st(4,(ld(0)-0.5+%s*ld(3)-(%s)*(1-ld(3))*(1-ld(3)))/(%s*ld(3)));", lane, bend, hw
        printf "st(5,mod(%s/ld(3)+%s*T,1));", kz, v
        printf "st(6,if(lt(abs(ld(4)),1),%s,%s));", road, ground
        printf "%s+(ld(6)-%s)*min(1,ld(3)*6))\n", C["skyh"], C["skyh"]
    }'
}

# Writes the filter graph for one clip into $2/graph.txt.
write_graph() {
    local name="$1" dir="$2" seconds="$3" epoch="$4" scene="$5" caption="$6"
    local speed sway frames
    speed="$(cut -d, -f6 <<<"$scene")"
    sway="$(cut -d, -f7 <<<"$scene")"
    frames="$(awk -v v="$speed" 'BEGIN { n = 25 / v; if (n != int(n)) exit 1; print n }')" \
        || die "$name: 25 / $speed is not a whole number of frames"
    # Captions go through files so that no filter-graph quoting touches them.
    printf '%s' "$name" >"$dir/name.txt"
    printf '%s' "$caption" >"$dir/caption.txt"
    printf '%s' '%{pts:hms}' >"$dir/clock.txt"
    printf '%s' "%{pts:gmtime:$epoch:%Y-%m-%d  %H\\:%M\\:%S} UTC" >"$dir/stamp.txt"
    {
        # Only one period of the road is drawn (geq is slow), then looped;
        # the perspective sway keeps the loop from looking canned.
        printf 'color=c=black:s=960x540:r=25:d=%s,format=yuv420p,' "$(awk -v n="$frames" 'BEGIN { print n / 25 }')"
        printf "geq=lum='%s':cb='%s':cr='%s'," "$(scene_expr 0 "$scene")" "$(scene_expr 1 "$scene")" "$(scene_expr 2 "$scene")"
        printf 'loop=loop=-1:size=%s,trim=duration=%s,' "$frames" "$seconds"
        printf "perspective=x0='%s*sin(in/25*0.9)':x1='W+%s*sin(in/25*0.9)':eval=frame," "$sway" "$sway"
        printf 'drawbox=x=28:y=26:w=470:h=86:color=0x0b0f13@0.72:t=fill,'
        printf 'drawbox=x=28:y=26:w=5:h=86:color=0x19d3c5:t=fill,'
        printf 'drawtext=%s:textfile=name.txt:fontsize=30:fontcolor=0xe9eef2:x=48:y=38,' "$bold"
        printf 'drawtext=%s:textfile=caption.txt:fontsize=17:fontcolor=0x8ea2ac:x=49:y=80,' "$font"
        printf 'drawbox=x=iw-232:y=26:w=204:h=48:color=0x0b0f13@0.72:t=fill,'
        printf "drawbox=x=iw-214:y=44:w=12:h=12:color=0xe5484d:t=fill:enable='lt(mod(t,1),0.5)',"
        printf 'drawtext=%s:textfile=clock.txt:fontsize=24:fontcolor=0x19d3c5:x=W-196:y=37,' "$font"
        printf 'drawbox=x=22:y=ih-54:w=274:h=34:color=0x0b0f13@0.6:t=fill,'
        printf 'drawtext=%s:textfile=stamp.txt:fontsize=19:fontcolor=0xe9eef2@0.85:x=30:y=H-46:shadowcolor=black@0.6:shadowx=1:shadowy=1' "$font"
        printf '[v]'
    } >"$dir/graph.txt"
}

# UTC date and time of a log's first line as "yyyy-mm-dd hh:mm:ss".
first_utc() {
    awk -F, 'NR == 1 { d = $2; t = $3
        printf "20%s-%s-%s %s:%s:%s\n", substr(d, 5, 2), substr(d, 3, 2), substr(d, 1, 2),
               substr(t, 1, 2), substr(t, 3, 2), substr(t, 5, 2) }' "$1"
}

# Checks one finished recording; prints its rating.
verify() {
    local name="$1" set="$2" seconds="$3" log="$4" intended="$5"
    local clip="$set/DCIM/100MEDIA/$name.MOV" gps="$set/gps/gps${name:4:4}.log"
    local probe codec width height duration whole rating
    probe="$(ffprobe -v error -select_streams v:0 \
        -show_entries stream=codec_name,width,height:format=duration -of default=nw=1 "$clip")"
    codec="$(sed -n 's/^codec_name=//p' <<<"$probe")"
    width="$(sed -n 's/^width=//p' <<<"$probe")"
    height="$(sed -n 's/^height=//p' <<<"$probe")"
    duration="$(sed -n 's/^duration=//p' <<<"$probe")"
    [ "$codec" = h264 ] || die "$name: codec is '$codec', not h264"
    [ "${width}x$height" = 960x540 ] || die "$name: picture is ${width}x$height"
    whole="$(awk -v d="$duration" 'BEGIN { printf "%d", d + 0.5 }')"
    awk -v d="$duration" -v s="$seconds" 'BEGIN { exit !(d - s < 0.1 && s - d < 0.1) }' \
        || die "$name: lasts $duration s, not $seconds s"
    if [ "$log" = - ]; then
        [ ! -e "$gps" ] || die "$name: has a log but should have none"
        rating="Not Exist"
    else
        [ "$(wc -l <"$gps")" -eq "$whole" ] || die "$name: log has $(wc -l <"$gps") lines for $whole s"
        [ "$(tail -c 1 "$gps" | od -An -c | tr -d ' ')" = '\n' ] || die "$name: log does not end with LF"
        ! grep -q $'\r' "$gps" || die "$name: log has CR characters"
        ! grep -qv ';$' "$gps" || die "$name: a log line does not end with ';'"
        rating="$(awk '/^A/ { a++ } END { print (a * 5 > NR) ? "Available" : "Unavailable" }' "$gps")"
    fi
    [ "$rating" = "$intended" ] || die "$name: log rates '$rating', meant '$intended'"
    printf '%s\n' "$rating"
}

# ffmpeg runs in a folder of its own, so every path must be absolute.
parent="$(mkdir -p "$(dirname "$out")" && cd "$(dirname "$out")" && pwd)"
out="$parent/$(basename "$out")"
# Work next to the target so that the final moves are renames; <out> itself
# only appears once the whole set is there.
work="$(mktemp -d "$parent/.$(basename "$out").making.XXXXXX")"
trap 'rm -rf "$work"' EXIT
# ffmpeg runs in the background so that a signal stops it at once, not after the clip.
encoder=""
trap '[ -z "$encoder" ] || { kill "$encoder"; wait "$encoder" || true; } 2>/dev/null; echo "make-samples.sh: interrupted; $out is unchanged" >&2; exit 130' INT TERM
set_dir="$work/set"
mkdir -p "$set_dir/DCIM/100MEDIA" "$set_dir/gps"

start=$SECONDS
report=""
while IFS='|' read -r name seconds log utc scene audio intended caption; do
    [ -n "$name" ] || continue
    began=$SECONDS
    clip="$set_dir/DCIM/100MEDIA/$name.MOV"
    if [ "$log" != - ]; then
        [ -f "$logs/$log" ] || die "missing $logs/$log"
        cp "$logs/$log" "$set_dir/gps/gps${name:4:4}.log"
        utc="$(first_utc "$logs/$log")"
    fi
    epoch="$(date -u -d "$utc UTC" +%s)"
    mkdir -p "$work/$name"
    write_graph "$name" "$work/$name" "$seconds" "$epoch" "$scene" "$caption"
    audio_in=() audio_out=(-an)
    if [ "$audio" = yes ]; then
        # Quiet low rumble, like road noise through the cabin.
        audio_in=(-f lavfi -i "anoisesrc=c=brown:a=0.05:r=48000:d=$seconds,lowpass=f=300,volume=2")
        audio_out=(-map 0:a -c:a aac -b:a 48k -ac 1)
    fi
    (cd "$work/$name" && exec ffmpeg -nostdin -hide_banner -loglevel error -y \
        -filter_complex_script graph.txt "${audio_in[@]}" -map '[v]' "${audio_out[@]}" \
        -c:v libx264 -preset veryfast -crf 24 -pix_fmt yuv420p -r 25 -t "$seconds" \
        -metadata creation_time="$(date -u -d "@$epoch" +%Y-%m-%dT%H:%M:%SZ)" \
        -movflags +faststart "$clip") &
    encoder=$!
    wait "$encoder" || die "$name: ffmpeg failed"
    encoder=""
    rating="$(verify "$name" "$set_dir" "$seconds" "$log" "$intended")"
    touch -d "@$epoch" "$clip"
    [ "$log" = - ] || touch -d "@$epoch" "$set_dir/gps/gps${name:4:4}.log"
    report+="$(printf '  %-8s  %3s s  %5s kB  %-22s  %-11s  %s UTC  (%s s to make)' \
        "$name" "$seconds" "$(( $(stat -c %s "$clip") / 1024 ))" \
        "$([ "$log" = - ] && echo 'no log' || echo "gps/gps${name:4:4}.log")" \
        "$rating" "$utc" "$(( SECONDS - began ))")"$'\n'
done <<<"$recordings"

if [ ! -e "$out" ]; then
    mv "$set_dir" "$out"
else
    mkdir -p "$out/DCIM/100MEDIA" "$out/gps"
    for f in "$set_dir"/DCIM/100MEDIA/* "$set_dir"/gps/*; do
        mv -f "$f" "$out/${f#"$set_dir"/}"
    done
    # A recording meant to have no log must not pick up an old one.
    while IFS='|' read -r name _ log _; do
        [ -n "$name" ] && [ "$log" = - ] && rm -f "$out/gps/gps${name:4:4}.log"
    done <<<"$recordings"
fi

echo "Made $(grep -c . <<<"$recordings") sample recordings in $out in $(( SECONDS - start )) s:"
printf '%s' "$report"
