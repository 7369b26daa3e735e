#!/usr/bin/env bash
# Installs what is missing, builds, checks the sources' format, and runs the whole test suite:
# once as built, and once more built with AddressSanitizer and UndefinedBehaviorSanitizer (in
# build-asan/).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh
cmake --build build --target format-check
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)
(cd build && ctest --output-on-failure -j "$jobs" --timeout 600)

# The waves do not depend on the compiler: the sanitizer build takes those of the first build
# (with their times, so that none is spoken again).
if [ ! -d build-asan/bin/QVTEST ] && [ -d build/bin/QVTEST ]; then
    mkdir -p build-asan/bin
    cp -a build/bin/QVTEST build-asan/bin/
    [ -d build/waves ] && cp -a build/waves build-asan/
fi
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARENTA_SANITIZE=ON \
    -DVARENTA_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ctest --output-on-failure -j "$jobs" --timeout 900)
