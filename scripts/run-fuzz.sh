#!/usr/bin/env bash
# Runs every libFuzzer target in DIR for SECONDS each. A target fuzz_NAME starts from the seeds
# of fuzz/seeds/NAME (and, for the readers, the sample files) and uses the dictionary
# fuzz/dict/NAME.dict when there is one. With CORPUS, the corpora are kept in CORPUS/NAME
# (for a coverage report or a later run); otherwise they are thrown away. FUZZ_TIMEOUT, when
# set, reports an input that runs longer than that many seconds as a finding. FUZZ_RUNS, when
# set, ends a target after that many executions if its time has not run out first. FUZZ_ONLY,
# when set, names the targets to run (e.g. "race_file calculation"); the others are skipped.
# FUZZ_JOBS, when set, runs that many targets side by side (one a core; 1 when not set).
# Usage: run-fuzz.sh DIR SECONDS [CORPUS]
set -euo pipefail
dir=$1
seconds=$2
keep=${3:-}
jobs=${FUZZ_JOBS:-1}
shopt -s nullglob

# Fuzzes one target; prints its report (the end of libFuzzer's log, the whole tail on a finding).
fuzz_one() {
    local target=$1 name short corpus log seeds options
    name=$(basename "$target")
    short=${name#fuzz_}
    if [ -n "$keep" ]; then
        corpus=$keep/$short
        mkdir -p "$corpus"
    else
        corpus=$(mktemp -d)
    fi
    log=$(mktemp)
    seeds=(fuzz/seeds/"$short"/*)
    case "$short" in
        race_file) seeds+=(data/*.urc tests/golden/inputs/*.urc) ;;
        planet_list) seeds+=(data/*.txt tests/golden/inputs/*.txt) ;;
    esac
    [ ${#seeds[@]} -eq 0 ] || cp "${seeds[@]}" "$corpus"/
    options=(-max_total_time="$seconds" -max_len=4096)
    [ -z "${FUZZ_TIMEOUT:-}" ] || options+=(-timeout="$FUZZ_TIMEOUT")
    [ -z "${FUZZ_RUNS:-}" ] || options+=(-runs="$FUZZ_RUNS")
    [ -f fuzz/dict/"$short".dict ] && options+=(-dict=fuzz/dict/"$short".dict)
    echo "fuzzed $name for ${seconds}s"
    local status=0
    if ! "$target" "${options[@]}" "$corpus" 2>"$log"; then
        tail -n 40 "$log"
        status=1
    else
        grep -E "^Done|DONE" "$log" | tail -n 1 || true
        grep -E "operations compared" "$log" | tail -n 1 || true # fuzz_extended's count
    fi
    [ -n "$keep" ] || rm -rf "$corpus"
    rm -f "$log"
    return $status
}

targets=()
for target in "$dir"/fuzz_*; do
    short=$(basename "$target")
    short=${short#fuzz_}
    if [ -n "${FUZZ_ONLY:-}" ] && [[ " $FUZZ_ONLY " != *" $short "* ]]; then
        continue
    fi
    targets+=("$target")
done

# FUZZ_JOBS targets at a time, each on a core of its own for its SECONDS; the reports follow in
# the targets' order once all have finished.
echo "fuzzing ${#targets[@]} targets for ${seconds}s each, $jobs at a time"
reports=$(mktemp -d)
trap 'rm -rf "$reports"' EXIT
running=0
for i in "${!targets[@]}"; do
    if [ $running -ge "$jobs" ]; then
        wait -n || true
        running=$((running - 1))
    fi
    (
        status=0
        fuzz_one "${targets[$i]}" >"$reports/$i" 2>&1 || status=$?
        echo $status >"$reports/$i.status"
    ) &
    running=$((running + 1))
done
wait
status=0
for i in "${!targets[@]}"; do
    cat "$reports/$i"
    [ "$(cat "$reports/$i.status")" = 0 ] || status=1
done
exit $status
