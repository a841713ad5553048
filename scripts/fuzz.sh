#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz/ and runs each one for
# SECONDS (default 20) on a copy of its seed corpus, so that a run never writes into the
# tree. Fails on any finding (crash, sanitizer report, broken expectation, time-out, memory
# limit); the input that shows it is kept in build-fuzz/findings/TARGET/.
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
trap 'rm -rf "$work"' EXIT
export UBSAN_OPTIONS=print_stacktrace=1
status=0
for target in "${targets[@]}"; do
    corpus="$work/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    cp fuzz/corpus/"$target"/* "$corpus"/
    log="$findings/last-run.log"
    echo "== $target: ${seconds} s on $(ls "$corpus" | wc -l) seeds"
    if "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1; then
        executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        coverage=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
        echo "   ok: $executions executions, $coverage"
    else
        status=1
        echo "   FINDING (log: $log):"
        grep -E '^==[0-9]+==|^==fuzz==|SUMMARY|runtime error|^artifact_prefix|Test unit written' "$log" | head -n 20 | sed 's/^/   /'
    fi
done
exit "$status"
