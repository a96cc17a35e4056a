#!/usr/bin/env bash
# Replays the kept corpora (CORPUS/NAME, see run-fuzz.sh) with the coverage build of the fuzz
# targets in DIR and prints the lines and branches of the core they reach, per folder and for
# model/, io/ and optimiser/ together.
# Usage: fuzz-coverage.sh DIR CORPUS
set -euo pipefail
dir=$1
corpus=$2
profiles=$(mktemp -d)
trap 'rm -rf "$profiles"' EXIT
shopt -s nullglob
objects=()
for target in "$dir"/fuzz_*; do
    name=$(basename "$target")
    [ -d "$corpus/${name#fuzz_}" ] || continue
    LLVM_PROFILE_FILE="$profiles/$name-%p.profraw" "$target" -runs=0 "$corpus/${name#fuzz_}" \
        >/dev/null 2>&1
    objects+=(-object "$target")
done
[ ${#objects[@]} -gt 0 ] || { echo "fuzz-coverage: no corpus under $corpus" >&2; exit 1; }
llvm-profdata merge -sparse "$profiles"/*.profraw -o "$profiles/all.profdata"
# The report's columns: file, regions (3), functions (3), lines (3), branches (3).
llvm-cov report -instr-profile="$profiles/all.profdata" "${objects[@]:1}" \
    "$PWD/lists" "$PWD/model" "$PWD/io" "$PWD/optimiser" | awk -v root="$PWD/" '
    $1 ~ /\.(cpp|h)$/ {
        file = $1; sub(root, "", file); split(file, part, "/"); f = part[1]
        lines[f] += $8; missedLines[f] += $9; branches[f] += $11; missedBranches[f] += $12
        if (f != "lists") {
            lines["core"] += $8; missedLines["core"] += $9
            branches["core"] += $11; missedBranches["core"] += $12
        }
    }
    function pct(total, missed) { return total ? sprintf("%5.1f%%", 100 * (total - missed) / total) : "   -  " }
    END {
        printf "%-22s %16s %18s\n", "folder", "lines", "branches"
        n = split("lists model io optimiser core", order, " ")
        for (i = 1; i <= n; ++i) {
            f = order[i]
            label = f == "core" ? "model+io+optimiser" : f "/"
            printf "%-22s %6d/%-6d %s %6d/%-6d %s\n", label, lines[f] - missedLines[f], lines[f],
                pct(lines[f], missedLines[f]), branches[f] - missedBranches[f], branches[f],
                pct(branches[f], missedBranches[f])
        }
    }'
