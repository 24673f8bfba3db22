#!/usr/bin/env bash
# Times a 60 s cut by framora-bench against the ffmpeg command line doing the same job
# (accurate input seek, re-encode in the source's video codec, 16-bit PCM sound, AVI), on a
# 640x480 MPEG-4/MP3 AVI and on an MPEG-2/MP2 program stream, and measures peak resident
# memory of both. Run it against a release build.
#
#   bench/bench_cut.sh [path/to/framora-bench]   (default: build/bin/framora-bench)
#   REPS=5 bench/bench_cut.sh ...                (repetitions per timing, default 3)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
bench=${1:-$root/build/bin/framora-bench}
reps=${REPS:-3}
[[ -x $bench ]] || { echo "framora-bench not found at $bench" >&2; exit 2; }
for tool in ffmpeg ffprobe bc /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 2; }
done

work=$(cd "$(dirname "$bench")/.." && pwd)/bench-media
mkdir -p "$work"
start=15
end=75

make_clip() {  # name, then the encoding options
    local out=$work/$1
    shift
    if [[ ! -s $out ]]; then
        echo "making $out ..." >&2
        ffmpeg -nostdin -loglevel error -y \
            -f lavfi -i testsrc2=size=640x480:rate=25:duration=90 \
            -f lavfi -i sine=frequency=440:sample_rate=44100:duration=90 \
            "$@" "$work/tmp-$$-${out##*/}"
        mv "$work/tmp-$$-${out##*/}" "$out"
    fi
    echo "$out"
}

avi=$(make_clip cut-mpeg4-mp3-640x480-90s.avi -c:v mpeg4 -q:v 5 -c:a libmp3lame -b:a 128k)
mpg=$(make_clip cut-mpeg2-mp2-640x480-90s.mpg -c:v mpeg2video -q:v 5 -c:a mp2 -b:a 192k -f mpeg)

# Runs a command under /usr/bin/time and appends "wall cpu peak_kb" to the file named first.
measure() {
    local log=$1
    shift
    /usr/bin/time -o "$log.one" -f "%e %U %S %M" "$@" >/dev/null 2>&1 ||
        { echo "failed: $*" >&2; exit 1; }
    awk '{printf "%s %.2f %s\n", $1, $2 + $3, $4}' "$log.one" >>"$log"
}

# Mean wall seconds, mean CPU seconds and the largest peak resident set (MB) of a log.
summary() { awk '{w += $1; c += $2; if ($3 > m) m = $3} END {printf "%.2f %.2f %.1f\n", w / NR, c / NR, m / 1024}' "$1"; }

describe() {
    ffprobe -v error -show_entries stream=codec_name,nb_frames,duration:format=size \
        -of compact=p=0:nk=1 "$1" | grep -v side_data | tr '\n' ' '
}

for src in "$avi" "$mpg"; do
    codec=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name -of default=nw=1:nk=1 "$src" | head -1)
    ours=$work/cut-ours.avi
    theirs=$work/cut-ffmpeg.avi
    ff=(ffmpeg -nostdin -loglevel error -y -ss "$start" -to "$end" -i "$src"
        -c:v "$codec" -q:v 5 -c:a pcm_s16le "$theirs")
    echo "== ${src##*/}: cut $start..$end s, video $codec, $reps runs each (interleaved)"
    rm -f "$work/log-ours" "$work/log-ff"
    for ((i = 0; i < reps; i++)); do
        measure "$work/log-ours" "$bench" cut "$src" "$start" "$end" "$ours"
        measure "$work/log-ff" "${ff[@]}"
    done
    read -r w_ours c_ours m_ours < <(summary "$work/log-ours")
    read -r w_ff c_ff m_ff < <(summary "$work/log-ff")
    echo "framora-bench: wall ${w_ours} s, cpu ${c_ours} s, peak ${m_ours} MB -> $(describe "$ours")"
    echo "ffmpeg:        wall ${w_ff} s, cpu ${c_ff} s, peak ${m_ff} MB -> $(describe "$theirs")"
    echo "ratio framora/ffmpeg: wall $(echo "scale=2; $w_ours / $w_ff" | bc), cpu $(echo "scale=2; $c_ours / $c_ff" | bc)"
done
