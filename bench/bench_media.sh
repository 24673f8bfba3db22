#!/usr/bin/env bash
# Times the media detector against the ffmpeg command-line tools on a 10-minute 640x480
# MPEG-4/MP3 AVI: whole-process probe (framora-bench probe vs ffprobe) and a grab at
# mid-length (framora-bench grab vs ffmpeg -ss), checks both grabs show the same frame,
# and measures peak resident memory. Run it against a release build.
#
#   bench/bench_media.sh [path/to/framora-bench]   (default: build/bin/framora-bench)
#   REPS=20 bench/bench_media.sh ...               (repetitions per timing, default 10)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
bench=${1:-$root/build/bin/framora-bench}
reps=${REPS:-10}
[[ -x $bench ]] || { echo "framora-bench not found at $bench" >&2; exit 2; }
for tool in ffmpeg ffprobe compare /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 2; }
done

# The clip is kept beside the build that is measured, so later runs skip the encode.
work=$(cd "$(dirname "$bench")/.." && pwd)/bench-media
mkdir -p "$work"
clip=$work/mpeg4-mp3-640x480-10min.avi
if [[ ! -s $clip ]]; then
    echo "making $clip (takes a minute) ..."
    ffmpeg -nostdin -loglevel error -y \
        -f lavfi -i testsrc2=size=640x480:rate=25:duration=600 \
        -f lavfi -i sine=frequency=440:sample_rate=44100:duration=600 \
        -c:v mpeg4 -q:v 5 -c:a libmp3lame -b:a 128k -avoid_negative_ts disabled \
        "$work/tmp-$$.avi"
    mv "$work/tmp-$$.avi" "$clip"
fi
seconds=300

# Mean wall time in milliseconds of `reps` runs of a command, after one warm-up run that must
# succeed unless --any comes first.
mean_ms() {
    local any=0
    [[ $1 == --any ]] && { any=1; shift; }
    "$@" >/dev/null 2>&1 || ((any)) || { echo "failed: $*" >&2; exit 1; }
    local start end
    start=$(date +%s%N)
    for ((i = 0; i < reps; i++)); do "$@" >/dev/null 2>&1 || true; done
    end=$(date +%s%N)
    echo "scale=2; ($end - $start) / $reps / 1000000" | bc
}

peak_kb() {
    /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}'
}

ratio() { echo "scale=2; $1 / $2" | bc; }

echo "clip: $clip ($(du -h "$clip" | cut -f1))"
echo "ours:   $("$bench" probe "$clip")"
echo "ffprobe: $(ffprobe -v error -select_streams v:0 -show_entries stream=duration,avg_frame_rate \
    -of compact=p=0 "$clip")"
echo "repetitions: $reps"

# Loading the FFmpeg libraries is most of a short process's time; shown for scale.
start_ours=$(mean_ms --any "$bench")
start_ff=$(mean_ms ffprobe -version)
echo "process start alone: framora-bench ${start_ours} ms, ffprobe ${start_ff} ms"

probe_ours=$(mean_ms "$bench" probe "$clip")
probe_ff=$(mean_ms ffprobe -v error -show_entries stream=duration,avg_frame_rate "$clip")
echo "probe: framora-bench ${probe_ours} ms, ffprobe ${probe_ff} ms, ratio $(ratio "$probe_ours" "$probe_ff")"

ours_bmp=$work/grab-ours.bmp
ff_bmp=$work/grab-ffmpeg.bmp
grab_ours=$(mean_ms "$bench" grab "$clip" "$seconds" 360 270 "$ours_bmp")
grab_ff=$(mean_ms ffmpeg -nostdin -v error -y -ss "$seconds" -i "$clip" -frames:v 1 -s 360x270 \
    -pix_fmt bgr24 "$ff_bmp")
echo "grab at ${seconds} s: framora-bench ${grab_ours} ms, ffmpeg ${grab_ff} ms, ratio $(ratio "$grab_ours" "$grab_ff")"

# Mean absolute difference, normalised to 0..1; the next frame differs far more than this.
mae=$({ compare -metric MAE "$ours_bmp" "$ff_bmp" null: 2>&1 || true; } | sed -n 's/.*(\(.*\)).*/\1/p')
next_bmp=$work/grab-ffmpeg-next.bmp
ffmpeg -nostdin -v error -y -ss "$(echo "$seconds + 0.04" | bc)" -i "$clip" -frames:v 1 \
    -s 360x270 -pix_fmt bgr24 "$next_bmp"
mae_next=$({ compare -metric MAE "$ours_bmp" "$next_bmp" null: 2>&1 || true; } | sed -n 's/.*(\(.*\)).*/\1/p')
same=$(echo "$mae < 0.01" | bc)
echo "same frame as ffmpeg: $([[ $same == 1 ]] && echo yes || echo NO) (MAE $mae; against the next frame $mae_next)"

echo "peak resident memory: probe $(peak_kb "$bench" probe "$clip") kB," \
    "grab $(peak_kb "$bench" grab "$clip" "$seconds" 360 270 "$ours_bmp") kB," \
    "ffprobe $(peak_kb ffprobe -v error "$clip") kB"
[[ $same == 1 ]]
