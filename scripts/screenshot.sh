#!/bin/sh
# Starts Marrowbell under Xvfb on temporary folders (so the demo service is used) and writes a PNG of its
# main window. Usage: sh scripts/screenshot.sh [output.png] [seconds to wait before the shot]
set -eu
cd "$(dirname "$0")/.."
output=$(realpath -m "${1:-build/screenshot.png}")
wait_seconds=${2:-3}
sh scripts/install-dependencies.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMARROWBELL_BUILD_TESTS=OFF >/dev/null
cmake --build build/release --target marrowbell
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$1" & app=$!
    sleep "$2"
    window=$(xwininfo -root -tree | awk "/\"Marrowbell — /{print \$1; exit}")
    if [ -n "$window" ]; then import -window "$window" "$3"; else import -window root "$3"; fi
    kill -TERM "$app"
    wait "$app"
  ' screenshot "$PWD/build/release/Marrowbell/marrowbell" "$wait_seconds" "$output"
echo "$output"
