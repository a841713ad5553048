#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and the address and
# undefined-behaviour sanitizers, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build-test -DCMAKE_BUILD_TYPE=Debug -DKORVAN_WERROR=ON -DKORVAN_SANITIZE=ON
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
