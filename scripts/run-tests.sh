#!/usr/bin/env bash
# The quick check of a tree: installs what is missing, builds everything with warnings as errors,
# runs the whole test suite, and checks that the installed tree builds and runs
# examples/consumer. Fails on the first failure. The long checks (sanitizers, Windows, fuzzing,
# the mutation check) are scripts/run-long-checks.sh; CI runs both (.ci/run).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
bash scripts/check-install.sh build
