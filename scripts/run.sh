#!/usr/bin/env bash
# Installs what is missing, builds the programs (not the tests), starts the gateway simulator
# vela-sim on loopback and opens the desktop program korvan preset to it with the Vela-3H-TCP
# template. The simulator runs while the window is open (at most eight hours) and is stopped
# when the window closes. Without a display the command-line demonstration runs instead: it
# downloads the template into the simulator with korvanctl and reads its channel status back.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target korvan korvanctl vela-sim Measlex Makerlex

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display (\$DISPLAY and \$WAYLAND_DISPLAY are empty): korvan needs one, so this is the"
    echo "command-line demonstration with korvanctl instead."
    lifetime=60
else
    lifetime=28800
fi

sim_out=$(mktemp)
build/bin/vela-sim --model vela-3h-tcp --lifetime "$lifetime" >"$sim_out" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; rm -f "$sim_out"' EXIT
for _ in $(seq 100); do
    grep -qx ready "$sim_out" && break
    sleep 0.1
done
if ! grep -qx ready "$sim_out"; then
    echo "vela-sim did not start" >&2
    exit 1
fi
tcp_port=$(awk '$1 == "tcp" { print $2 }' "$sim_out")
mgmt_port=$(awk '$1 == "mgmt" { print $2 }' "$sim_out")
search_port=$(awk '$1 == "udp" { print $2 }' "$sim_out")
link=(--model vela-3h-tcp --gateway "127.0.0.1:$tcp_port" --mgmt-port "$mgmt_port")

if [ "$lifetime" -gt 60 ]; then
    echo "vela-sim answers on 127.0.0.1: configuration port $tcp_port, management port $mgmt_port,"
    echo "search port $search_port; it stops when the Korvan window closes."
    build/bin/korvan "${link[@]}"
    exit
fi
build/bin/korvanctl search --gateway 127.0.0.1 --search-port "$search_port"
build/bin/korvanctl "${link[@]}" download build/bin/Vela-3H-TCP.ini --no-reset
build/bin/korvanctl "${link[@]}" diagnose --channel 1
