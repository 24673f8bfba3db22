#!/usr/bin/env bash
# Times the program's cut three ways on MPEG-4 and H.264 AVI sources (640x480 and 1920x1080,
# MP3 sound) for 10 s, 60 s and 300 s stretches: as the program cuts (copying the pictures with
# re-encoded edges where it can), with copying turned off (every picture re-encoded), and the
# ffmpeg command line copying the streams (`-c copy`, which snaps the start to a key picture and
# keeps the sound as it is). Each line gives the median wall time of interleaved runs and the
# largest peak resident memory; then a Cinepak source, whose cut re-encodes to MPEG-4 because
# FFmpeg's Cinepak encoder is far slower than real time. Run it against a release build.
#
#   bench/bench_cut.sh [path/to/framora-bench]   (default: build-release/bin/framora-bench)
#   REPS=5 bench/bench_cut.sh ...                (runs per timing, default 3)
#   LENGTHS="10 60" SIZES=640x480 bench/bench_cut.sh ...   (a subset)
#   FULL_UP_TO=60 bench/bench_cut.sh ...         (no full re-encode of longer stretches: "-";
#                                                 FULL_UP_TO=0: none at all)
#   BASELINE=old/bin/framora-bench bench/bench_cut.sh ...   (another build's cut, timed in the
#                                                 same rounds: columns "base" and "s/base")
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
bench=${1:-$root/build-release/bin/framora-bench}
reps=${REPS:-3}
lengths=${LENGTHS:-10 60 300}
sizes=${SIZES:-640x480 1920x1080}
codecs=${CODECS:-mpeg4 h264}
full_up_to=${FULL_UP_TO:-}
baseline=${BASELINE:-}
[[ -x $bench ]] || { echo "framora-bench not found at $bench" >&2; exit 2; }
[[ -z $baseline || -x $baseline ]] || { echo "framora-bench not found at $baseline" >&2; exit 2; }
for tool in ffmpeg ffprobe /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 2; }
done

work=$(cd "$(dirname "$bench")/.." && pwd)/bench-media
mkdir -p "$work"
start=10
duration=320

make_clip() {  # name, picture size, seconds, then the encoding options
    local out=$work/$1 size=$2 seconds=$3
    shift 3
    if [[ ! -s $out ]]; then
        echo "making $out ..." >&2
        ffmpeg -nostdin -loglevel error -y \
            -f lavfi -i "testsrc2=size=$size:rate=25:duration=$seconds" \
            -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" \
            "$@" -c:a libmp3lame -b:a 128k "$work/tmp-$$-${out##*/}"
        mv "$work/tmp-$$-${out##*/}" "$out"
    fi
    echo "$out"
}

source_for() {  # codec size
    case $1 in
        mpeg4) make_clip "cut-mpeg4-$2.avi" "$2" $duration -c:v mpeg4 -q:v 5 -g 12 -bf 2 ;;
        h264)
            local rate=2M
            [[ $2 == 1920x1080 ]] && rate=6M
            make_clip "cut-h264-$2.avi" "$2" $duration -c:v libx264 -preset veryfast -g 50 -b:v $rate ;;
    esac
}

# Runs a command under /usr/bin/time, appending "wall peak_kb" to the log named first and the
# command's last output line to "$log.out".
measure() {
    local log=$1
    shift
    /usr/bin/time -o "$log.one" -f "%e %M" "$@" >"$log.last" 2>&1 ||
        { echo "failed: $* ($(tail -1 "$log.last"))" >&2; exit 1; }
    cat "$log.one" >>"$log"
    tail -1 "$log.last" >"$log.out"
}

# Median wall seconds and largest peak (MB) of a log.
summary() {
    sort -n -k1,1 "$1" | awk '{w[NR] = $1; if ($2 > m) m = $2}
        END {printf "%.2f %.0f\n", (NR % 2 ? w[(NR + 1) / 2] : (w[NR / 2] + w[NR / 2 + 1]) / 2), m / 1024}'
}

# Seconds, or "-" for what was not timed.
secs() { [[ $1 == - ]] && echo - || echo "$1s"; }

extra_head=""
[[ -n $baseline ]] && extra_head=$(printf ' %8s %6s %6s |' base s/base MBbase)
printf '%-6s %-9s %5s | %8s %8s %8s | %6s %6s | %6s %6s %6s |%s %s\n' \
    codec size cut smart full copy s/full s/copy MBsmt MBfull MBcopy "$extra_head" \
    "smart cut made"
for codec in $codecs; do
    for size in $sizes; do
        src=$(source_for "$codec" "$size")
        for length in $lengths; do
            end=$((start + length))
            logs=$work/log-$codec-$size-$length
            rm -f "$logs".*
            full=1
            [[ -n $full_up_to && $length -gt $full_up_to ]] && full=0
            for ((i = 0; i < reps; i++)); do
                measure "$logs.smart" "$bench" cut "$src" $start $end "$work/out-smart.avi"
                ((full)) && measure "$logs.full" "$bench" cut --reencode "$src" $start $end \
                    "$work/out-full.avi"
                measure "$logs.copy" ffmpeg -nostdin -loglevel error -y -ss $start -to $end \
                    -i "$src" -c copy "$work/out-copy.avi"
                [[ -z $baseline ]] ||
                    measure "$logs.base" "$baseline" cut "$src" $start $end "$work/out-base.avi"
            done
            read -r w_s m_s < <(summary "$logs.smart")
            w_f=- m_f=- r_f=-
            if ((full)); then
                read -r w_f m_f < <(summary "$logs.full")
                r_f=$(printf '%.3f' "$(echo "$w_s / $w_f" | bc -l)")
            fi
            read -r w_c m_c < <(summary "$logs.copy")
            made=$(sed 's/.*s: //' "$logs.smart.out")
            extra=""
            if [[ -n $baseline ]]; then
                read -r w_b m_b < <(summary "$logs.base")
                extra=$(printf ' %8s %6.3f %6s |' "$(secs "$w_b")" \
                    "$(echo "$w_s / $w_b" | bc -l)" "$m_b")
            fi
            printf '%-6s %-9s %4ss | %8s %8s %8s | %6s %6.2f | %6s %6s %6s |%s %s\n' \
                "$codec" "$size" "$length" "$(secs "$w_s")" "$(secs "$w_f")" "$(secs "$w_c")" \
                "$r_f" "$(echo "$w_s / $w_c" | bc -l)" \
                "$m_s" "$m_f" "$m_c" "$extra" "$made"
        done
    done
done

# Cinepak: the cut keeps the source's codec only where its encoder keeps up.
cvid=$work/cut-cinepak-320x240.avi
if [[ ! -s $cvid ]]; then
    ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=320x240:rate=15:duration=12 \
        -c:v cinepak "$work/tmp-$$.avi" && mv "$work/tmp-$$.avi" "$cvid"
fi
rm -f "$work/log-cinepak".*
for ((i = 0; i < reps; i++)); do
    measure "$work/log-cinepak" "$bench" cut "$cvid" 2 10 "$work/out-cinepak.avi"
done
read -r w_k m_k < <(summary "$work/log-cinepak")
codec_out=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name -of csv=p=0 \
    "$work/out-cinepak.avi")
echo "cinepak 320x240 8 s cut: ${w_k} s, peak ${m_k} MB, output picture codec $codec_out"
