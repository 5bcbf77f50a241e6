#!/usr/bin/env bash
# Builds everything with warnings as errors and runs the whole test suite, then builds and runs
# it again under AddressSanitizer and UndefinedBehaviorSanitizer; in between, checks that the
# installed tree builds and runs examples/consumer. Fails on the first failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
bash scripts/check-install.sh build

cmake -S . -B build-asan -DQMXDAO_SANITIZE=ON -DQMXDAO_BUILD_BENCH=OFF
cmake --build build-asan -j2
ctest --test-dir build-asan --output-on-failure -j2

# Every library source built for 32-bit Windows, and the platform layer's checks run under wine.
bash scripts/run-windows-build.sh
# Each fuzz target for about a minute, from its committed seed corpus.
FUZZ_SECONDS=${FUZZ_SECONDS:-60} bash scripts/run-fuzz.sh
