#!/usr/bin/env bash
# Builds the window tests labelled `threads` (tests/app/*/CMakeLists.txt: those with a worker
# thread or an in-process simulator) and what they need with the thread sanitizer in
# build-tsan/, and runs them; the first race a test reports fails it. The suppressions in
# tests/tsan.supp name only the insides of Qt and GLib, which are built without the sanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-tsan
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
started=$(date +%s)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DKORVAN_WERROR=ON -DKORVAN_TSAN=ON "${launcher[@]}" >/dev/null
# The labelled tests' programs are named as their tests.
mapfile -t targets < <(ctest --test-dir "$build" -N -L '^threads$' 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: *//p')
if [ ${#targets[@]} -eq 0 ]; then
    echo "no test is labelled threads" >&2
    exit 1
fi
echo "== thread sanitizer: ${targets[*]}"
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >"$build/build.log" 2>&1 || {
    tail -n 50 "$build/build.log" >&2
    exit 1
}
ctest --test-dir "$build" -L '^threads$' --output-on-failure -j"$(nproc)"
echo "== thread sanitizer: $(( $(date +%s) - started )) s"
