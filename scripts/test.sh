#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and the address and
# undefined-behaviour sanitizers, runs every test, then runs each fuzz target briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build-test -DCMAKE_BUILD_TYPE=Debug -DKORVAN_WERROR=ON -DKORVAN_SANITIZE=ON
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
# Each fuzz target for 20 s on its seeds, in a clang build of its own (scripts/fuzz.sh).
./scripts/fuzz.sh 20
