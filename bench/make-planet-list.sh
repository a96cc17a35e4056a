#!/usr/bin/env bash
# Writes a planet list of N planets (default 1000) in the 20-column layout to stdout:
# habitability from -45 % to 90 %, colonists, mines, factories, concentrations and surface
# minerals all varying from planet to planet. For timing the companion's --rank.
set -euo pipefail
awk -v n="${1:-1000}" 'BEGIN {
    OFS = "\t"
    print "Generated survey of " n " planets"
    print "Planet", "Owner", "Star", "Population", "Year", "Habitability", "Starbase", "Scanned",
          "Mines", "Factories", "Defences", "Routes", "Concentrations", "Value",
          "Surface minerals", "Fleet", "Cargo", "Queue", "Remarks", "Links"
    for (i = 0; i < n; i++) {
        prc = (i * 37) % 136 - 45
        men = 5000 + (i * 7919) % 200000
        con = sprintf("I: %d U: %d L: %d", 5 + (i * 13) % 95, 5 + (i * 29) % 95, 5 + (i * 43) % 95)
        surf = sprintf("I: %d U: %d L: %d", (i * 97) % 5000, (i * 61) % 5000, (i * 31) % 5000)
        print "Planet " i, "Survey", "Star " int(i / 8), men, 2412, prc "%", 0, "yes",
              (i * 3) % 60, (i * 5) % 80, 0, 0, con, 100, surf, "none", 0, 0, "-", "-"
    }
}'
