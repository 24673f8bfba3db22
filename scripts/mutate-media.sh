#!/usr/bin/env bash
# The mutated-media sweep: N mutated copies of the media samples (fixed seed; see
# scripts/mutate_media.py) each go through probe, grabs and a cut (framora-mediacheck) in the
# sanitizer build under a time limit. Prints the count of each outcome; exits non-zero when any
# copy crashed, raised a sanitizer report, hung or left a file behind, and keeps those copies
# with their logs in <build>/mutate-media/findings/.
#
# usage: scripts/mutate-media.sh [N (2000)] [SEED (1)]
# environment: JOBS (runs at once, 2), TIME_LIMIT (seconds per copy, 120),
#              FRAMORA_SAMPLES_DIR, FRAMORA_TEST_BUILD (build-test)
set -euo pipefail

n="${1:-2000}"
seed="${2:-1}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FRAMORA_TEST_BUILD:-$root/build-test}"
samples="${FRAMORA_SAMPLES_DIR:-$root/../shared/media-samples}"
work="$build/mutate-media"
jobs="${JOBS:-2}"
limit="${TIME_LIMIT:-120}"

if [[ ! -d "$samples" ]]; then
    echo "no samples folder: $samples" >&2
    exit 2
fi
"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFRAMORA_SANITIZE=ON \
    -DFRAMORA_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target framora-mediacheck

rm -rf "$work"
mkdir -p "$work/runs" "$work/findings" "$work/parts"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export root build samples work seed limit

run_one() {
    local i="$1" dir="$work/runs/$1"
    mkdir -p "$dir/out"
    local what ext
    what="$(python3 "$root/scripts/mutate_media.py" "$samples" "$seed" "$i" "$dir/in")"
    ext="${what%% *}"
    ext="${ext##*.}"
    mv "$dir/in" "$dir/in.$ext"
    local rc=0
    timeout -k 10 "$limit" "$build/bin/framora-mediacheck" "$dir/in.$ext" "$dir/out" \
        >"$dir/log" 2>&1 || rc=$?
    local outcome
    if grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$dir/log"; then
        outcome=sanitizer
    elif ((rc == 124 || rc == 137 || rc == 3)); then
        outcome=hang
    elif ((rc > 4)); then
        outcome=crash
    elif ((rc == 4)) || ls -A "$dir/out" | grep -qvE '^(Frame1\.bmp|Frame2\.bmp|cut\.avi)$'; then
        outcome=leftover
    else
        case "$rc" in
            0) outcome=worked ;;
            1) outcome=refused-later ;;
            2) outcome=refused-probe ;;
        esac
    fi
    echo "$i $outcome $what" >>"$work/parts/$BASHPID"
    case "$outcome" in
        worked | refused-later | refused-probe) rm -rf "$dir" ;;
        *) mv "$dir" "$work/findings/$i" ;;
    esac
}
export -f run_one

start=$SECONDS
seq 0 $((n - 1)) | xargs -P "$jobs" -I{} bash -c 'run_one {}'
cat "$work"/parts/* | sort -n >"$work/results.txt"
rm -rf "$work/parts"

count() { grep -c " $1 " "$work/results.txt" || true; }
echo
echo "Mutated-media sweep: $n copies of $(python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); import mutate_media; print(len(mutate_media.samples(sys.argv[2])))' "$root/scripts" "$samples") samples, seed $seed, $((SECONDS - start)) s"
printf '%-44s %6s\n' "outcome" "copies"
printf '%-44s %6d\n' "probe, both grabs and the cut worked" "$(count worked)"
printf '%-44s %6d\n' "opened; a grab or the cut refused it cleanly" "$(count refused-later)"
printf '%-44s %6d\n' "refused by the probe with a message" "$(count refused-probe)"
printf '%-44s %6d\n' "crashes" "$(count crash)"
printf '%-44s %6d\n' "sanitizer reports" "$(count sanitizer)"
printf '%-44s %6d\n' "hangs (time limit or a step's deadline)" "$(count hang)"
printf '%-44s %6d\n' "files left behind" "$(count leftover)"
echo "Per copy: $work/results.txt; findings: $work/findings/"
bad=$(($(count crash) + $(count sanitizer) + $(count hang) + $(count leftover)))
exit $((bad > 0))
