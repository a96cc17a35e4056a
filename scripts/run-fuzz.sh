#!/usr/bin/env bash
# Runs every libFuzzer target in DIR for SECONDS each. A target fuzz_NAME starts from the seeds
# of fuzz/seeds/NAME (and, for the readers, the sample files) and uses the dictionary
# fuzz/dict/NAME.dict when there is one. With CORPUS, the corpora are kept in CORPUS/NAME
# (for a coverage report or a later run); otherwise they are thrown away. FUZZ_TIMEOUT, when
# set, reports an input that runs longer than that many seconds as a finding. FUZZ_RUNS, when
# set, ends a target after that many executions if its time has not run out first. FUZZ_ONLY,
# when set, names the targets to run (e.g. "race_file calculation"); the others are skipped.
# Usage: run-fuzz.sh DIR SECONDS [CORPUS]
set -euo pipefail
dir=$1
seconds=$2
keep=${3:-}
shopt -s nullglob
status=0
for target in "$dir"/fuzz_*; do
    name=$(basename "$target")
    short=${name#fuzz_}
    if [ -n "${FUZZ_ONLY:-}" ] && [[ " $FUZZ_ONLY " != *" $short "* ]]; then
        continue
    fi
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
    echo "fuzzing $name for ${seconds}s"
    if ! "$target" "${options[@]}" "$corpus" 2>"$log"; then
        tail -n 40 "$log"
        status=1
    else
        grep -E "^Done|DONE" "$log" | tail -n 1 || true
        grep -E "operations compared" "$log" | tail -n 1 || true # fuzz_extended's count
    fi
    [ -n "$keep" ] || rm -rf "$corpus"
    rm -f "$log"
done
exit $status
