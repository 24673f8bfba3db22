#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, replays each seed corpus, then fuzzes each target for
# a while (default 60 s, or the first argument) and prints its execution count.
# Exits non-zero when any target finds a crash, a leak or a hang; the input that caused it is
# left in <build>/fuzz-work/<target>/artifacts/.
set -euo pipefail

secs="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
# Every fuzz/fuzz_<name>.cpp is a target.
targets=()
for f in "$root"/fuzz/fuzz_*.cpp; do
    t="$(basename "$f" .cpp)"
    targets+=("${t#fuzz_}")
done

"$root/scripts/deps.sh" --fuzz

# Warnings are errors here too, as in every build.
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja \
    -DFRAMORA_FUZZ=ON -DFRAMORA_TESTS=OFF -DFRAMORA_BENCH=OFF >/dev/null
ninja -C "$build" -j2 $(printf 'fuzz_%s ' "${targets[@]}")

status=0
summary=""
details=""
for t in "${targets[@]}"; do
    bin="$build/fuzz/fuzz_$t"
    seeds="$root/fuzz/corpus/$t"
    work="$build/fuzz-work/$t"
    mkdir -p "$work/corpus" "$work/artifacts"
    # A grab may rightly take up to its own 10 s deadline after a 5 s probe.
    timeout=10
    [[ "$t" == media ]] && timeout=30
    echo "== $t: replaying $(ls "$seeds" | wc -l) seeds"
    if ! "$bin" -runs=0 -timeout=$timeout -artifact_prefix="$work/artifacts/" "$seeds" \
            >"$work/replay.log" 2>&1; then
        echo "!! $t: a seed fails; see $work/replay.log"
        tail -30 "$work/replay.log"
        status=1
        summary+="$t: seed replay FAILED"$'\n'
        details+="== $t: a seed fails: $(grep -m1 -E 'ERROR|WARNING|==[0-9]+==' "$work/replay.log" || true)"$'\n'
        continue
    fi
    echo "== $t: fuzzing for $secs s"
    # New inputs go to the work corpus; the committed seeds are only read.
    # -entropic=0: with these targets' many features the entropic schedule's bookkeeping took
    # three quarters of the time, for no better coverage.
    if "$bin" -max_total_time="$secs" -entropic=0 -timeout=$timeout -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$work/artifacts/" "$work/corpus" "$seeds" >"$work/fuzz.log" 2>&1; then
        result="no findings"
    else
        result="FINDING (see $work/fuzz.log and $work/artifacts/)"
        tail -40 "$work/fuzz.log"
        status=1
        # The finding's report and input, repeated at the end where a CI log's tail shows them.
        details+="== $t: $(grep -m1 -E 'ERROR|WARNING|==[0-9]+==' "$work/fuzz.log" || true)"$'\n'
        details+="$(grep -E '^SUMMARY|#[0-9]+ 0x' "$work/fuzz.log" | head -12 || true)"$'\n'
        for a in "$work"/artifacts/*; do
            [[ -f "$a" ]] || continue
            details+="input $(basename "$a"), $(stat -c %s "$a") bytes, base64:"$'\n'
            details+="$(head -c 1500 "$a" | base64 -w 100)"$'\n'
        done
    fi
    execs="$(grep -o 'stat::number_of_executed_units: [0-9]*' "$work/fuzz.log" | tail -1 |
             awk '{print $2}')"
    rate="$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$work/fuzz.log" | tail -1 |
            awk '{print $2}')"
    summary+="$t: ${execs:-?} executions (${rate:-?}/s), $result"$'\n'
done

echo
if [[ -n "$details" ]]; then
    echo "Findings:"
    printf '%s' "$details"
fi
echo "Fuzzing summary:"
printf '%s' "$summary"
exit $status
