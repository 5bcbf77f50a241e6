#!/usr/bin/env bash
# The checks that take longer than a newcomer should wait for, run by CI after
# scripts/run-tests.sh: the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the Windows build and its tests under wine, and each fuzz target for
# a minute from its committed seed corpus. Fails on the first failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh

cmake -S . -B build-asan -DQMXDAO_SANITIZE=ON -DQMXDAO_BUILD_BENCH=OFF
cmake --build build-asan -j2
ctest --test-dir build-asan --output-on-failure -j2

bash scripts/run-windows-build.sh
FUZZ_SECONDS=${FUZZ_SECONDS:-60} bash scripts/run-fuzz.sh
