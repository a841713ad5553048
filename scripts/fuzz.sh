#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz/ and runs each one for
# SECONDS (default 20) on a copy of its seed corpus, so that a run never writes into the
# tree. Fails on any finding (crash, sanitizer report, broken expectation, time-out, memory
# limit); the input that shows it is kept in build-fuzz/findings/TARGET/.
#
# A known fault listed in fuzz/known-faults, whose saved input still shows it, has the check
# it breaks turned off (or its sanitizer report suppressed) in its target meanwhile; once the
# input no longer shows the fault, the check is on again.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_project_file fuzz_upload fuzz_debug_replies fuzz_hart_reply fuzz_link_records fuzz_converters)
fi

./scripts/install-deps.sh
build=build-fuzz
# The fuzz build has no warnings-as-errors: clang warns of things GCC does not, and the
# normal build keeps the tree free of warnings. Assertions stay on.
CC=clang CXX=clang++ cmake -S . -B "$build" -DKORVAN_FUZZ=ON -DBUILD_TESTING=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

work=$(mktemp -d)
# The targets save and open their files in memory where the system has it; whatever a
# failing run leaves there goes with the folder.
shm=$(mktemp -d /dev/shm/korvan-fuzz.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$work" "$shm"' EXIT
export KORVAN_FUZZ_WORK="$shm"
base_ubsan="halt_on_error=1:print_stacktrace=1"

# The known faults of a target that its saved input still shows: their checks go into
# KORVAN_FUZZ_OPEN_FAULTS, their sanitizer reports into the suppressions file.
open_known_faults() {
    local target=$1 suppressions=$2 checks=""
    : >"$suppressions"
    while read -r name input kind what; do
        [ "$name" = "$target" ] || continue
        local shown
        shown=$(UBSAN_OPTIONS="$base_ubsan" "$build/bin/$target" "fuzz/findings/$input" 2>&1 || true)
        local still=no
        case $kind in
        check) grep -qF "broken expectation [$what]" <<<"$shown" && still=yes ;;
        ubsan) grep -q "runtime error" <<<"$shown" && grep -qF "${what#*:}" <<<"$shown" && still=yes ;;
        esac
        if [ "$still" = yes ]; then
            echo "   known fault still open: $input ($kind $what off)" >&2
            if [ "$kind" = check ]; then checks="${checks:+$checks,}$what"; else echo "$what" >>"$suppressions"; fi
        else
            echo "   known fault no longer shows: $input (its line in fuzz/known-faults can go)" >&2
        fi
    done < <(grep -vE '^[[:space:]]*(#|$)' fuzz/known-faults)
    echo "$checks"
}

status=0
for target in "${targets[@]}"; do
    corpus="$work/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    cp fuzz/corpus/"$target"/* "$corpus"/
    log="$findings/last-run.log"
    echo "== $target: ${seconds} s on $(ls "$corpus" | wc -l) seeds"
    suppressions="$work/$target.ubsan-suppressions"
    checks=$(open_known_faults "$target" "$suppressions")
    dictionary=()
    [ -f "fuzz/$target.dict" ] && dictionary=(-dict="fuzz/$target.dict")
    if KORVAN_FUZZ_OPEN_FAULTS="$checks" UBSAN_OPTIONS="$base_ubsan:suppressions=$suppressions" \
        "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "${dictionary[@]}" "$corpus" >"$log" 2>&1; then
        executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        coverage=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
        echo "   ok: $executions executions, $coverage"
    else
        status=1
        echo "   FINDING (log: $log):"
        grep -E '^==[0-9]+==|^==fuzz==|SUMMARY|runtime error|Test unit written' "$log" | head -n 20 | sed 's/^/   /'
    fi
done
exit "$status"
