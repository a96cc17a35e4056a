#!/usr/bin/env bash
# Runs every libFuzzer target in DIR for SECONDS each, seeded with the sample files (the
# calculation files of fuzz/seeds for the calculation-file reader).
set -euo pipefail
dir=$1
seconds=$2
shopt -s nullglob
status=0
for target in "$dir"/fuzz_*; do
    name=$(basename "$target")
    corpus=$(mktemp -d)
    case "$name" in
        *race*) cp data/*.urc "$corpus"/ 2>/dev/null || true ;;
        *planet*) cp data/*.txt "$corpus"/ 2>/dev/null || true ;;
        *calc*) cp fuzz/seeds/*.cal "$corpus"/ 2>/dev/null || true ;;
    esac
    echo "fuzzing $name for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -max_len=4096 "$corpus" 2>"$corpus.log"; then
        tail -n 40 "$corpus.log"
        status=1
    else
        grep -E "^Done|DONE" "$corpus.log" | tail -n 1 || true
    fi
    rm -rf "$corpus" "$corpus.log"
done
exit $status
