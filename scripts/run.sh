#!/usr/bin/env bash
# Installs what is missing, builds, starts the gateway simulator vela-sim on loopback (it
# stops by itself after a minute at the latest) and downloads the Vela-3H-TCP template into
# it with korvanctl, then reads the simulated gateway's channel status back.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
sim_out=$(mktemp)
build/bin/vela-sim --model vela-3h-tcp --lifetime 60 >"$sim_out" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; rm -f "$sim_out"' EXIT
for _ in $(seq 100); do
    grep -qx ready "$sim_out" && break
    sleep 0.1
done
tcp_port=$(awk '$1 == "tcp" { print $2 }' "$sim_out")
mgmt_port=$(awk '$1 == "mgmt" { print $2 }' "$sim_out")
search_port=$(awk '$1 == "udp" { print $2 }' "$sim_out")
link=(--model vela-3h-tcp --gateway "127.0.0.1:$tcp_port" --mgmt-port "$mgmt_port")
build/bin/korvanctl --model vela-3h-tcp --gateway 127.0.0.1 --mgmt-port "$search_port" search
build/bin/korvanctl "${link[@]}" download build/bin/Vela-3H-TCP.ini --no-reset
build/bin/korvanctl "${link[@]}" diagnose --channel 1
