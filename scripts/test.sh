#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and the address and
# undefined-behaviour sanitizers, runs each fuzz target briefly on its seeds, then runs every
# test, then the window tests that have threads again under the thread sanitizer
# (scripts/test-tsan.sh). In CI ($CI set) it then builds the Debian package from the same
# build and checks its contents.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build-test -DCMAKE_BUILD_TYPE=Debug -DKORVAN_WERROR=ON -DKORVAN_SANITIZE=ON
# Each fuzz target for 20 s on its seeds, in a clang build of its own (scripts/fuzz.sh).
./scripts/fuzz.sh 20
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
./scripts/test-tsan.sh
if [ -n "${CI:-}" ]; then
    # Quiet unless it fails, so that the tests' summary stays the last thing printed.
    rm -f build-test/korvan_*.deb
    if ! (cd build-test && cpack -G DEB >cpack.log 2>&1); then
        cat build-test/cpack.log >&2
        exit 1
    fi
    ./scripts/check-package.sh build-test/korvan_*.deb >/dev/null
fi
