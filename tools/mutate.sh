#!/usr/bin/env bash
# Mutation testing: plants one small fault at a time in a scratch copy of the tree,
# rebuilds unit_tests incrementally, runs it and reports whether the tests noticed.
# It takes minutes (one build and one test run per mutant), so it is a tool for people,
# not part of CI.
#
# Usage: tools/mutate.sh [LIST [PATTERN]]
#   LIST     the mutant list (default tools/mutants.txt)
#   PATTERN  a Perl regular expression; only mutants whose category, file or old text
#            match it are run (for example 'triangle_walk' or 'game sounds')
# Environment: MUTATE_WORK, the scratch folder (default /tmp/mutate-$USER, kept between
#   runs so that each run only rebuilds what changed); MUTATE_JOBS, build jobs (2).
#
# List format, one mutant per line, three fields separated by one tab each:
#   FILE <TAB> OLD TEXT <TAB> NEW TEXT
# FILE is relative to the repository root. OLD TEXT must occur exactly once in the
# file, or the mutant is reported NOT APPLIED (an error of the list, never counted as
# killed). NEW TEXT may be empty, to drop a statement. Inside both texts \t stands for
# a tab, \n for a newline and \\ for a backslash; everything else is literal.
# A line "## NAME" starts the category NAME for the mutants below it; other lines
# starting with # and blank lines are ignored.
#
# Results: KILLED (a test failed; the first failing test is named), KILLED (does not
# compile), KILLED (timed out), SURVIVED, NOT APPLIED. The exit status is 0 only when
# every mutant was applied and killed.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list=$(realpath "${1:-$root/tools/mutants.txt}")
pattern=${2:-}
work=${MUTATE_WORK:-/tmp/mutate-${USER:-$(id -un)}}
jobs=${MUTATE_JOBS:-2}
tree=$work/tree
build=$work/build
log=$work/log
mkdir -p "$tree" "$log"

# Copies what differs from the working tree into the scratch tree (new files get a new
# time stamp, so ninja rebuilds them), and removes what the working tree no longer has.
# Comparing contents, not times, also undoes a mutant left behind by an interrupted run.
sync_tree() {
    local file
    (cd "$root" && find . -path ./build -prune -o -path ./.git -prune -o -type f -print) | sort >"$work/files"
    while IFS= read -r file; do
        if ! cmp -s "$root/$file" "$tree/$file"; then
            mkdir -p "$(dirname "$tree/$file")"
            cp "$root/$file" "$tree/$file"
        fi
    done <"$work/files"
    (cd "$tree" && find . -type f -print) | sort | comm -13 "$work/files" - | while IFS= read -r file; do
        rm -f "$tree/$file"
    done
}

build_tests() {
    cmake --build "$build" -j "$jobs" --target unit_tests >"$1" 2>&1
}

# Runs the suite from the scratch tree (the tests read data/ from there); stops at the
# first failure, since one is enough to kill a mutant. $2 is a gtest filter.
run_tests() {
    (cd "$tree" && timeout "$test_limit" "$build/unit_tests" --gtest_brief=1 --gtest_fail_fast --gtest_filter="$2" >"$1" 2>&1)
}

# The generator test rebuilds every data file (most of a run's time) and links none of
# the game's code, so it runs only for mutants of the generator itself.
test_filter() {
    if [[ $1 == tools/assetgen/* ]]; then echo '*'; else echo '-AssetGenerator.*'; fi
}

# Prints the mutated file to standard output; exits 3 when OLD is not there exactly once.
apply_mutant() {
    perl -e '
        use strict; use warnings;
        my ($path, $old, $new) = @ARGV;
        for ($old, $new) { s/\\(\\|t|n)/$1 eq "t" ? "\t" : $1 eq "n" ? "\n" : "\\"/ge; }
        open(my $in, "<", $path) or do { print STDERR "cannot read $path: $!\n"; exit 3 };
        local $/; my $text = <$in>; close $in;
        my $count = () = $text =~ /\Q$old\E/g;
        if ($count != 1) { print STDERR "found $count times\n"; exit 3 }
        $text =~ s/\Q$old\E/$new/;
        print $text;
    ' "$@"
}

echo "scratch tree: $tree"
sync_tree
if [[ ! -f $build/build.ninja ]]; then
    # No -Werror: a mutant that only warns must still be built and tested.
    cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >"$log/configure.txt" 2>&1 ||
        { echo "configure failed: see $log/configure.txt"; exit 2; }
fi
echo "building the unmutated tree..."
build_tests "$log/baseline_build.txt" || { echo "the unmutated tree does not build: see $log/baseline_build.txt"; exit 2; }
start=$SECONDS
test_limit=3600
run_tests "$log/baseline_tests.txt" "*" || { echo "the unmutated tree fails its tests: see $log/baseline_tests.txt"; exit 2; }
baseline=$((SECONDS - start))
test_limit=$((baseline * 4 + 30))
echo "tests pass in ${baseline}s unmutated; a mutant's run is stopped after ${test_limit}s"

declare -A planted killed
categories=()
category=uncategorised
survivors=0
uncompiled=0
unapplied=0
total=0
number=0
while IFS= read -r line || [[ -n $line ]]; do
    number=$((number + 1))
    if [[ $line =~ ^##[[:space:]]*(.*[^[:space:]]) ]]; then
        category=${BASH_REMATCH[1]}
        continue
    fi
    [[ -z ${line//[[:space:]]/} || $line == \#* ]] && continue
    tabs=${line//[^$'\t']/}
    file=${line%%$'\t'*}
    rest=${line#*$'\t'}
    old=${rest%%$'\t'*}
    new=${rest#*$'\t'}
    if [[ ${#tabs} != 2 || -z $file || -z $old ]]; then
        echo "NOT APPLIED (not FILE<TAB>OLD<TAB>NEW): line $number"
        unapplied=$((unapplied + 1))
        total=$((total + 1))
        continue
    fi
    if [[ -n $pattern ]] && ! perl -e 'exit(($ARGV[1] =~ /$ARGV[0]/ || $ARGV[2] =~ /$ARGV[0]/ || $ARGV[3] =~ /$ARGV[0]/) ? 0 : 1)' \
        "$pattern" "$category" "$file" "$old"; then
        continue
    fi
    if [[ -z ${planted[$category]+set} ]]; then
        categories+=("$category")
        planted[$category]=0
        killed[$category]=0
    fi
    planted[$category]=$((${planted[$category]} + 1))
    total=$((total + 1))
    label="line $number, $file: '$old' -> '$new'"
    target=$tree/$file
    if ! apply_mutant "$target" "$old" "$new" >"$work/mutant" 2>"$work/apply_error"; then
        echo "NOT APPLIED ($(cat "$work/apply_error")): $label"
        unapplied=$((unapplied + 1))
        continue
    fi
    cp "$target" "$work/original"
    cp "$work/mutant" "$target"
    if ! build_tests "$log/build_$number.txt"; then
        verdict="KILLED (does not compile)"
    else
        status=0
        run_tests "$log/tests_$number.txt" "$(test_filter "$file")" || status=$?
        if [[ $status == 0 ]]; then
            verdict=SURVIVED
        elif [[ $status == 124 ]]; then
            verdict="KILLED (timed out)"
        else
            first=$(grep -m1 -o '^\[  FAILED  \] [A-Za-z0-9_/.]*' "$log/tests_$number.txt" | cut -c14- || true)
            verdict="KILLED by ${first:-a crash, exit status $status}"
        fi
    fi
    # A fresh time stamp on the restored file makes the next build compile it again.
    cp "$work/original" "$target"
    case $verdict in
    "KILLED (does not compile)") uncompiled=$((uncompiled + 1)); killed[$category]=$((${killed[$category]} + 1)) ;;
    SURVIVED) survivors=$((survivors + 1)) ;;
    *) killed[$category]=$((${killed[$category]} + 1)) ;;
    esac
    echo "$verdict: $label"
done <"$list"

echo
echo "restoring the scratch build..."
build_tests "$log/final_build.txt" || echo "warning: the restored scratch tree did not build"
echo
printf '%-46s %8s %8s\n' category mutants killed
for category in "${categories[@]}"; do
    printf '%-46s %8d %8d\n' "$category" "${planted[$category]}" "${killed[$category]}"
done
echo "total: $total mutants, $((total - survivors - unapplied)) killed ($uncompiled of them by not compiling), $survivors survived, $unapplied not applied"
[[ $survivors == 0 && $unapplied == 0 ]]
