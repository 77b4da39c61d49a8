#!/bin/sh
# The built zorv.scr loads on the oldest Windows it claims: every function it
# imports is in ScrImports.txt, exported by Windows 98 and by Windows 2000, and
# its header's versions are no later than 98's 4.10, which that loader checks.
# Usage: ScrImports.sh OBJDUMP SCR
"$1" -p "$2" | awk -v table="$(dirname "$0")/ScrImports.txt" '
    BEGIN { split("95 98 Me - 3.1 3.5 3.51 4.0 2000 XP Vista", v); for (i in v) rank[v[i]] = i }
    BEGIN { while ((getline line < table) > 0) if (split(line, f) >= 4 && f[1] !~ /^#/) need[f[1] " " f[2]] = f[3] " " f[4] }
    /^Major(Subsystem|OSystem)Version/ { major = $2 }
    /^Minor(Subsystem|OSystem)Version/ && major * 100 + $2 > 410 { print "header version " major "." $2 " above 4.10"; bad = 1 }
    /DLL Name:/ { dll = toupper($3); sub(/\.DLL$/, "", dll) }
    /^\t[0-9a-f]+\t +[0-9]+  [A-Za-z_]/ { n++; split(need[dll " " $3], w) }
    # Ranks 1-2: 95 or 98; 5-9: NT 3.1 to 2000 (an unknown name has none).
    /^\t[0-9a-f]+\t +[0-9]+  [A-Za-z_]/ && !(rank[w[1]] ~ /^[12]$/ && rank[w[2]] ~ /^[5-9]$/) {
        print dll " " $3 ": " (w[1] == "" ? "not in the table" : "needs " w[1] " / NT " w[2]); bad = 1
    }
    END { print n + 0 " imports checked"; exit bad || n == 0 }'
