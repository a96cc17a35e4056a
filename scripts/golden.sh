#!/bin/bash
# Golden scenarios under tests/golden: each folder holds `args` (a quendal-calc command line,
# quoted as for the shell, whose paths are relative to the folder) and `expected.txt` (its exact
# stdout).
#
#   scripts/golden.sh update [CALC]     rewrite every expected.txt with CALC (default
#                                       build/bin/quendal-calc); review the diff before committing
#   scripts/golden.sh compare CALC      run every scenario with another program, e.g. a separately
#                                       written reference, and list the scenarios that differ
#
# CALC_RUNNER, when set, is a command line that runs CALC: an emulator for a companion built for
# another processor, or node for the WebAssembly one, e.g.
#   CALC_RUNNER="qemu-aarch64 -L /usr/aarch64-linux-gnu" scripts/golden.sh compare build-arm64/bin/quendal-calc
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-}
if [[ $mode != update && $mode != compare ]]; then
    echo "usage: scripts/golden.sh update [CALC] | compare CALC" >&2
    exit 2
fi
calc=${2:-$root/build/bin/quendal-calc}
calc=$(cd "$(dirname "$calc")" && pwd)/$(basename "$calc")
runner=${CALC_RUNNER:-}
# A program run by a runner (node's script) need not be executable itself.
[[ -f $calc && (-n $runner || -x $calc) ]] || { echo "golden.sh: no program at $calc" >&2; exit 2; }

total=0
differ=0
for dir in "$root"/tests/golden/*/; do
    [[ -f $dir/args ]] || continue
    name=$(basename "$dir")
    total=$((total + 1))
    out=$(mktemp)
    # The lines of `args` are one command line, split by sh as the golden test splits it:
    # quotes group, so '' is an empty argument. The runner's words are split as well.
    if ! (cd "$dir" && sh -c "exec $runner \"\$0\" $(tr '\n' ' ' <args)" "$calc" >"$out"); then
        echo "$name: exit status not 0" >&2
        differ=$((differ + 1))
        rm -f "$out"
        continue
    fi
    case $mode in
    update)
        if ! cmp -s "$out" "$dir/expected.txt"; then
            echo "updated $name"
            differ=$((differ + 1))
        fi
        mv "$out" "$dir/expected.txt"
        ;;
    compare)
        if ! cmp -s "$out" "$dir/expected.txt"; then
            echo "differs: $name"
            diff "$dir/expected.txt" "$out" | head -n 6 || true # diff fails when they differ
            differ=$((differ + 1))
        fi
        rm -f "$out"
        ;;
    esac
done

if [[ $mode == update ]]; then
    echo "$total scenarios, $differ changed; review with: git diff tests/golden"
else
    echo "$total scenarios, $differ differ"
    [[ $differ -eq 0 ]]
fi
