#!/bin/bash
# Fault injection: applies faults one at a time to a scratch copy of the
# project, rebuilds only the build trees that compile the changed file, runs the
# test suite cheapest first and stops at the first failure. A fault is caught
# when any test fails. The faults are either the realistic ones written in
# scripts/mutants.list, or (--sample) mechanical ones drawn from the product
# code itself: an operator moved across its boundary, an integer constant
# +-1, a flag dropped from an or, a statement left out, true and false
# swapped, two adjacent arguments swapped (scripts/mutants-sites.pl).
#
# Usage: scripts/mutants.sh [--only ID,ID] [--list FILE] [common options]
#        scripts/mutants.sh --sample N [--seed S] [--equivalent FILE] [common options]
#   --only IDS        only these faults of the list (comma-separated)
#   --list FILE       fault list (default: scripts/mutants.list of this tree)
#   --sample N        N mechanical faults, drawn uniformly over every site of the
#                     product code (never tests, comments, strings or directives);
#                     one that does not build is not applicable, and another is
#                     drawn in its place; survivors are printed with their keys
#   --seed S          the draw (default 1): one seed and one tree, one sample
#   --resume          keep the faults the result table already holds (a run on
#                     the same source that was cut short) and measure the rest
#   --equivalent FILE keys of mechanical faults no input can tell apart, one a line
#                     with the reason (default: scripts/mutants-equivalent.list of
#                     this tree): drawn, set aside, not counted
# Common options:
#   --src DIR         project whose tests are measured (default: this tree); give a
#                     frozen copy (a detached worktree) if this tree changes meanwhile:
#                     each fault's file is restored from DIR
#   --work DIR        scratch folder (default: build/mutants/<name of DIR> of this tree)
#   --results FILE    result table (default: <work>/results.txt)
#   --check           apply each fault and compile (syntax only) what it touches in each tree
#   --dry             apply each fault and build the trees for real, without tests
#   --no-baseline     skip the run of the unchanged suite (it must pass, or nothing is measured)
set -u

# The whole script is one group, read before it runs: editing the file during a
# long run cannot change the run.
{
here=$(cd "$(dirname "$0")/.." && pwd)
src=$here
list=$here/scripts/mutants.list
equivalent=$here/scripts/mutants-equivalent.list
sample=""
seed=1
resume=0
only=""
work=""
results=""
dry=0
check=0
timing=0
baseline=1

die() { echo "mutants: $*" >&2; exit 2; }

while [ $# -gt 0 ]; do
    case "$1" in
        --src) src=${2:?--src needs a folder}; shift 2 ;;
        --only) only=${2:?--only needs IDs}; shift 2 ;;
        --list) list=${2:?--list needs a file}; shift 2 ;;
        --sample) sample=${2:?--sample needs a count}; shift 2 ;;
        --seed) seed=${2:?--seed needs a value}; shift 2 ;;
        --resume) resume=1; shift ;;
        --equivalent) equivalent=${2:?--equivalent needs a file}; shift 2 ;;
        --work) work=${2:?--work needs a folder}; shift 2 ;;
        --results) results=${2:?--results needs a file}; shift 2 ;;
        --dry) dry=1; shift ;;
        --check) dry=1; check=1; shift ;;
        --no-baseline) baseline=0; shift ;;
        -h|--help) sed -n '2,/^set -u/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
        *) die "unknown option $1 (see --help)" ;;
    esac
done

[ -d "$src" ] || die "no folder $src"
src=$(cd "$src" && pwd -P)
if [ -n "$sample" ]; then
    case "$sample" in ''|*[!0-9]*|0) die "--sample needs a positive count" ;; esac
    [ -z "$only" ] || die "--only belongs to the list mode"
    [ -f "$equivalent" ] && equivalent=$(cd "$(dirname "$equivalent")" && pwd -P)/$(basename "$equivalent")
else
    [ -f "$list" ] || die "no fault list $list"
    list=$(cd "$(dirname "$list")" && pwd -P)/$(basename "$list")
fi
[ -n "$work" ] || work=$here/build/mutants/$(basename "$src")
mkdir -p "$work" || die "cannot create $work"
work=$(cd "$work" && pwd -P)
case "$work/" in
    "$src/build/"*) ;;
    "$src/"*) die "the scratch folder must not lie inside the source (except its build/)" ;;
esac
[ -n "$results" ] || results=$work/results.txt
copy=$work/src
native=$work/native
win32=$work/win32
logs=$work/logs
mkdir -p "$copy" "$logs"

# --- the fault list --------------------------------------------------------
# One perl helper for everything that touches the list's text: listing the
# faults and applying one. Fields are split at '|' not preceded by '\'.
fault_tool() {
    perl -e '
        use strict; use warnings;
        my ($mode, $list, $id, $root) = @ARGV;
        open(my $fh, "<", $list) or die "cannot read $list\n";
        my (%listed, @tries);
        while (my $line = <$fh>) {
            chomp $line; $line =~ s/\r$//;
            next if $line =~ /^\s*(#|$)/;
            my @f = split /(?<!\\)\|/, $line, -1;
            if (@f < 6) { print STDERR "mutants: bad line (needs 6 fields): $line\n"; exit 3; }
            my ($fid, $kind, $path, $old, $new) = @f[0..4];
            my $desc = join("|", @f[5..$#f]);
            for ($fid, $kind, $path) { s/^\s+|\s+$//g; }
            for ($old, $new, $desc) { s/\\\|/|/g; }
            for ($old, $new) { s/\\N/\n/g; }
            if ($mode eq "list") { print "$fid\t$kind\t$path\t$desc\n" unless $listed{$fid}++; next; }
            push @tries, [$path, $old, $new] if $fid eq $id;
        }
        exit 0 if $mode eq "list";
        if (!@tries) { print "n/a: no fault $id\n"; exit 1; }
        # Several lines with one ID: the first whose old text is found exactly once.
        my @why;
        for my $try (@tries) {
            my ($path, $old, $new) = @$try;
            my $file = "$root/$path";
            if (!-f $file) { push @why, "no file $path"; next; }
            if ($old eq "") { push @why, "empty old text"; next; }
            open(my $in, "<:raw", $file) or die; local $/; my $text = <$in>; close $in;
            my ($count, $pos) = (0, 0);
            while (($pos = index($text, $old, $pos)) >= 0) { $count++; $pos += length $old; }
            if ($count != 1) { push @why, "old text found $count times in $path"; next; }
            $pos = index($text, $old);
            substr($text, $pos, length $old) = $new;
            open(my $out, ">:raw", $file) or die; print $out $text; close $out;
            print "applied $path\n"; exit 0;
        }
        print "n/a: ", join("; ", @why), "\n"; exit 1;
    ' "$@"
}

# --- the scratch copy ------------------------------------------------------
# Files under version control plus untracked, unignored ones, as they are in
# the working tree. Unchanged files keep their time stamps so that a second
# run on the same scratch builds incrementally.
source_files() {
    if git -C "$src" rev-parse --show-toplevel >/dev/null 2>&1; then
        git -C "$src" ls-files -z --cached --others --exclude-standard | tr '\0' '\n' | sort -u |
            while IFS= read -r f; do [ -f "$src/$f" ] && printf '%s\n' "$f"; done
    else
        (cd "$src" && find . -path ./build -prune -o -path ./.git -prune -o -type f -print | sed 's|^\./||' | sort)
    fi
}

sync_copy() {
    source_files >"$work/files.txt"
    [ -s "$work/files.txt" ] || die "no source files found in $src"
    while IFS= read -r f; do
        if ! cmp -s "$src/$f" "$copy/$f"; then
            mkdir -p "$(dirname "$copy/$f")"
            cp "$src/$f" "$copy/$f"
            [ -x "$src/$f" ] && chmod +x "$copy/$f"
        fi
    done <"$work/files.txt"
    (cd "$copy" && find . -type f | sed 's|^\./||' | sort) | comm -23 - "$work/files.txt" |
        while IFS= read -r f; do rm -f "$copy/$f"; done
}

# Which build trees compile a file: "native", "win32" or "native win32".
trees_of() {
    local path=$1 dir base stem cpp
    dir=$(dirname "$path")
    base=$(basename "$path")
    case "$path" in
        tools/*|x11/*|resources/icon/*) echo native; return ;;
        resources/*) echo win32; return ;;
    esac
    stem=${base%.*}
    cpp=$path
    case "$base" in *.h) [ -f "$copy/$dir/$stem.cpp" ] && cpp=$dir/$stem.cpp ;; esac
    if grep -q '^#include <windows.h>' "$copy/$cpp" 2>/dev/null; then echo win32; return; fi
    if [ -f "$copy/$dir/CMakeLists.txt" ] && awk -v f="$(basename "$cpp")" '
            /set\(ZORV_WIN32_SOURCES/ { inblock = 1 }
            /add_executable\(zorv_scr/ && index($0, f) { hit = 1 }
            inblock && index($0, "/" f) { hit = 1 }
            inblock && /\)/ { inblock = 0 }
            END { exit hit ? 0 : 1 }' "$copy/$dir/CMakeLists.txt"; then
        echo win32
        return
    fi
    echo native win32
}

# The Windows tree is the 64-bit build where this machine runs no 32-bit programs.
winkind=$("$here/scripts/host-arch.sh")
build_tree() {  # tree log
    local dir=$native kind=$1
    [ "$1" = win32 ] && dir=$win32 kind=$winkind
    "$copy/scripts/build.sh" "$kind" "$dir" >>"$2" 2>&1
}

# Syntax-only compilation of the translation units a file reaches in one tree:
# the file itself, or the sources that include a header. Resources are built.
check_compile() {  # tree path log
    local dir=$native line
    [ "$1" = win32 ] && dir=$win32
    case "$2" in *.rc|*.ico|*.in) build_tree "$1" "$3"; return ;; esac
    perl -MJSON::PP -e '
        my ($db, $root, $path) = @ARGV;
        local $/;
        open(my $fh, "<", $db) or die "no $db\n";
        my %seen;
        for my $e (@{ decode_json(<$fh>) }) {
            my $file = $e->{file};
            next if $seen{$file}++;
            my $hit = $file eq "$root/$path";
            if (!$hit && $path =~ /\.h$/ && open(my $in, "<", $file)) {
                $hit = index(<$in>, "#include \"$path\"") >= 0;
            }
            print "$e->{directory}\t$e->{command}\n" if $hit;
        }' "$dir/compile_commands.json" "$copy" "$2" >"$work/units.txt" || return 1
    while IFS=$'\t' read -r -u 4 unitdir line; do
        echo "=== $unitdir: $line -fsyntax-only" >>"$3"
        (cd "$unitdir" && eval "$line -fsyntax-only") >>"$3" 2>&1 || return 1
    done 4<"$work/units.txt"
    return 0
}

end_wine() {
    local prefix
    for prefix in "$win32/wineprefix" "$win32/e2e-wineprefix"; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
    done
    return 0
}

# Seconds a ctest selection may take on a fault: twice what it took on the
# unchanged suite, plus a minute. A fault that makes it hang or crawl past that
# is caught (Timeout) without waiting for the tests' own, far longer limits.
declare -A budget

# Runs one ctest selection; on a failure prints "<test>" and returns 1.
run_ctest() {  # dir log args...
    local dir=$1 log=$2 failed key t0=$SECONDS stop=()
    shift 2
    key="$dir $*"
    key=${key% --stop-on-failure}
    [ -n "${budget[$key]:-}" ] && stop=(--stop-time "$(date -d "+${budget[$key]} seconds" +%H:%M:%S)")
    echo "=== ctest $* ${stop[*]}" >>"$log"
    # A fault that writes without end (a picture whose rows never run out) stops
    # at 4 GB a file instead of filling the disk, also in a process ctest left behind.
    if (cd "$dir" && ulimit -f 4194304 && ctest --no-tests=ignore --output-on-failure "${stop[@]}" "$@") >>"$log" 2>&1 </dev/null; then
        [ "$timing" = 1 ] && budget[$key]=$(( 2 * (SECONDS - t0) + 60 ))
        return 0
    fi
    failed=$(awk '/The following tests FAILED:/ { getline; sub(/^[ \t]*[0-9]+ - /, ""); print; exit }' "$log")
    echo "${failed:-ctest failed}"
    return 1
}

# Runs a tree's tests cheapest first and stops at the first failure.
test_tree() {  # tree log [all]
    local tree=$1 log=$2 stop=--stop-on-failure
    [ "${3:-}" = all ] && stop=""
    local status=0
    if [ "$tree" = native ]; then
        run_ctest "$native" "$log" -E '^fuzz_' -j 2 --timeout 300 $stop || { [ -n "$stop" ] && return 1; status=1; }
        run_ctest "$native" "$log" -R '^fuzz_' -j 2 --timeout 300 $stop || status=1
    else
        run_ctest "$win32" "$log" -R '^win32_tests$' || { [ -n "$stop" ] && return 1; status=1; }
        run_ctest "$win32" "$log" -R '^desktop_tests$' || { [ -n "$stop" ] && return 1; status=1; }
        run_ctest "$win32" "$log" -LE bench -E '^(win32_tests|desktop_tests)$' $stop || status=1
    fi
    return $status
}

# The first line of a failing test's own output that says what went wrong.
failure_detail() {
    grep -m 1 -E '^\[  FAILED  \] [A-Za-z]|^FAIL: |runtime error:|ERROR: AddressSanitizer|Failure$|\*\*\*Timeout' "$1" |
        cut -c 1-110
}

# Measures the fault already applied to one file of the copy, then puts the
# file back. Sets result (caught, missed, build-failed, builds,
# compiles), failed (the first failing test) and detail.
measure() {  # path log
    local path=$1 log=$2 tree
    result=missed
    failed=""
    detail=""
    (cd "$copy" && git diff --no-index --no-color -U1 "$src/$path" "$path" 2>/dev/null) >>"$log"
    for tree in $(trees_of "$path"); do
        if [ $check = 1 ]; then
            if check_compile "$tree" "$path" "$log"; then
                result=compiles
                continue
            fi
            result=build-failed
            detail="$tree: $(grep -m 1 -E 'error' "$log" | cut -c 1-100)"
            break
        fi
        if ! build_tree "$tree" "$log"; then
            result=build-failed
            detail="$tree: $(grep -m 1 -E 'error' "$log" | cut -c 1-100)"
            break
        fi
        [ $dry = 1 ] && { result=builds; continue; }
        if ! failed=$(test_tree "$tree" "$log"); then
            result=caught
            failed="$tree:$failed"
            detail=$(failure_detail "$log")
            break
        fi
    done
    # Back to the original text, newer than the objects built from the fault.
    cp "$src/$path" "$copy/$path"
    touch "$copy/$path"
    end_wine
}

# --- set-up ---------------------------------------------------------------
if [ -n "$sample" ]; then
    # The site finder is read once, like this script.
    cp "$here/scripts/mutants-sites.pl" "$work/sites.pl" || die "no scripts/mutants-sites.pl"
    total=$sample
else
    fault_tool list "$list" >"$work/faults.tsv" || die "the fault list cannot be read"
    if [ -n "$only" ]; then
        awk -F '\t' -v only=",$only," 'index(only, "," $1 ",")' "$work/faults.tsv" >"$work/selected.tsv"
    else
        cp "$work/faults.tsv" "$work/selected.tsv"
    fi
    total=$(wc -l <"$work/selected.tsv")
    [ "$total" -gt 0 ] || die "no faults selected"
fi

echo "mutants: source $src"
echo "mutants: scratch $work (log per fault in $logs)"
started=$(date +%s)
sync_copy
for tree in native win32; do
    echo "mutants: building the $tree tree"
    build_tree $tree "$logs/build-$tree.log" || die "the unchanged $tree tree does not build; see $logs/build-$tree.log"
    dir=$native
    [ $tree = win32 ] && dir=$win32
    [ $check = 1 ] && cmake -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "$dir" >>"$logs/build-$tree.log" 2>&1
done

if [ $dry = 0 ] && [ $baseline = 1 ]; then
    echo "mutants: running the unchanged suite"
    : >"$logs/baseline.log"
    bad=""
    timing=1
    for tree in native win32; do
        test_tree $tree "$logs/baseline.log" all >/dev/null || bad="$bad $tree"
    done
    timing=0
    end_wine
    if [ -n "$bad" ]; then
        grep -E '\(Failed\)|\(Timeout\)|\(Not Run\)|\*\*\*Exception' "$logs/baseline.log" >&2
        die "the unchanged suite fails in:$bad; see $logs/baseline.log"
    fi
fi

# --- the faults -----------------------------------------------------------
: >"$work/earlier.tsv"
[ $resume = 1 ] && [ -f "$results" ] && awk -F '\t' '$4 ~ /^(caught|missed|n\/a)$/' "$results" >"$work/earlier.tsv"
{
    echo "# mutants.sh $(date '+%Y-%m-%d %H:%M') source $src $([ -n "$sample" ] && echo "sample $sample seed $seed" || echo "list $list")$([ $dry = 1 ] && echo ' (dry: apply and compile only)')"
    echo "# id	kind	path	result	seconds	test	detail	description"
} >"$results"

report() {  # id kind path description
    local secs=$(( $(date +%s) - t0 ))
    printf '[%2d/%d] %-9s %-36s %-12s %4ds  %s\n' "$n" "$total" "$2" "$3" "$result" "$secs" "$failed"
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$result" "$secs" "$failed" "$detail" "$4" >>"$results"
}

n=0
if [ -n "$sample" ]; then
    # Every site in the order of the draw; the first N that build are measured.
    perl "$work/sites.pl" list "$copy" "$seed" "$equivalent" >"$work/draw.tsv" || die "the sites cannot be listed"
    echo "mutants: $(wc -l <"$work/draw.tsv") sites, seed $seed"
    while [ $n -lt "$sample" ] && IFS=$'\t' read -r -u 3 key op path line reason old new; do
        t0=$(date +%s)
        result=equivalent
        failed=""
        detail=$reason
        earlier=$(awk -F '\t' -v key="$key" '$1 == key' "$work/earlier.tsv")
        if [ "$reason" = - ] && [ -n "$earlier" ]; then
            printf '%s\n' "$earlier" >>"$results"
            case $(cut -f 4 <<<"$earlier") in n/a) ;; *) n=$((n + 1)) ;; esac
            printf '[%2d/%d] %s: measured before\n' "$n" "$total" "$key"
            continue
        elif [ "$reason" = - ]; then
            log=$logs/$(printf '%s' "$key" | tr '/:' '_-').log
            echo "=== $key" >"$log"
            perl "$work/sites.pl" apply "$copy" "$key" >>"$log" 2>&1 || die "cannot apply $key"
            measure "$path" "$log"
            # Not applicable: set apart, and the next site drawn in its place.
            [ "$result" = build-failed ] && result=n/a
        fi
        case $result in equivalent|n/a) ;; *) n=$((n + 1)) ;; esac
        report "$key" "$op" "$path:$line" "$old  =>  $new"
    done 3<"$work/draw.tsv"
    [ $n -eq "$sample" ] || echo "mutants: only $n sites could be measured"
else
    while IFS=$'\t' read -r -u 3 id kind path desc; do
        n=$((n + 1))
        t0=$(date +%s)
        log=$logs/$id.log
        : >"$log"
        applied=$(fault_tool apply "$list" "$id" "$copy")
        if [ "${applied%% *}" != applied ]; then
            result=n/a
            failed=""
            detail=${applied#n/a: }
        else
            path=${applied#applied }
            echo "=== $id: $path" >>"$log"
            measure "$path" "$log"
        fi
        report "$id" "$kind" "$path" "$desc"
    done 3<"$work/selected.tsv"
fi

# --- summary --------------------------------------------------------------
summary=$(awk -F '\t' -v dry=$dry -v sample="$sample" '
    /^#/ { next }
    { count[$4]++; if ($4 == "caught" || $4 == "missed") { run[$2]++; if ($4 == "caught") hit[$2]++ } }
    $4 == "missed" && sample { misses = misses sprintf("  %s  %s  %s\n      %s\n", $3, $2, $1, $8) }
    $4 == "missed" && !sample { misses = misses sprintf("  %-5s %-32s %s\n", $1, $3, $8) }
    $4 == "n/a" || $4 == "build-failed" || $4 == "equivalent" {
        other = other sprintf("  %-12s %s %s  %s\n", $4, (sample ? $3 " " $2 : $1), (sample ? $8 : ""), $7)
    }
    END {
        if (dry) {
            printf "dry run: %d build, %d compile, %d n/a, %d build-failed\n", count["builds"], count["compiles"], count["n/a"], count["build-failed"]
        } else {
            r = count["caught"] + count["missed"]
            printf "caught %d/%d (kill rate %.1f %%); n/a %d; build-failed %d; equivalent %d\n", count["caught"], r,
                r ? 100 * count["caught"] / r : 0, count["n/a"], count["build-failed"], count["equivalent"]
            printf "by kind:"
            for (k in run) printf "  %s %d/%d", k, hit[k], run[k]
            printf "\n"
            if (misses != "") printf "missed:\n%s", misses
        }
        if (other != "") printf "not measured:\n%s", other
    }' "$results")
elapsed=$(( $(date +%s) - started ))
echo "$summary" | sed 's/^/# /' >>"$results"
echo "# $((elapsed / 60)) min $((elapsed % 60)) s in all" >>"$results"
echo "$summary"
echo "mutants: $((elapsed / 60)) min $((elapsed % 60)) s; results in $results"
exit 0
}
