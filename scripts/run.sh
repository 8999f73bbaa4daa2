#!/bin/sh
# Installs what is missing, builds the Release program and starts Marrowbell. Without
# ~/.config/Marrowbell/service.json it runs on the bundled demo service. Arguments go to the program
# (for example: sh scripts/run.sh --demo-songs 10000).
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-dependencies.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMARROWBELL_BUILD_TESTS=OFF
cmake --build build/release --target marrowbell
exec build/release/Marrowbell/marrowbell "$@"
