#!/bin/sh
# Installs the dependencies, checks the formatting, builds everything with
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-dependencies.sh
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
# Widgets need no display: test discovery at build time and the runs both use the offscreen platform.
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMARROWBELL_SANITIZE=ON
cmake --build build/test
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt"
ctest --test-dir build/test --output-on-failure -j "$(nproc)"
