#!/usr/bin/env bash
# Installs what is missing, builds, and shows a new Vela-3H-TCP project made from the
# model's template.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
project=$(mktemp --suffix=.xml)
trap 'rm -f "$project"' EXIT
build/bin/korvanctl --model vela-3h-tcp new -o "$project"
build/bin/korvanctl --model vela-3h-tcp show "$project"
