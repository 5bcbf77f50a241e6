#!/usr/bin/env bash
# The checks that take longer than a newcomer should wait for, run by CI after
# scripts/run-tests.sh: the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the foreign hosts (clang++ with libc++ in the portable mode, Python's
# ctypes), the i686 and x86_64 Windows builds and their tests under wine (what
# this kernel runs; scripts/run-windows-tests.sh says what it could not), each fuzz target for
# a minute from its committed seed corpus, and a sample of the mutation check (six faults spread
# over scripts/mutations.txt, each rebuilt incrementally in build/ from the quick check). Fails
# on the first failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh

cmake -S . -B build-asan -DQMXDAO_SANITIZE=ON -DQMXDAO_BUILD_BENCH=OFF
cmake --build build-asan -j2
ctest --test-dir build-asan --output-on-failure -j2

# Hosts of another compiler, standard library or language, through the C boundary.
bash scripts/run-foreign-consumers.sh build
bash scripts/run-windows-tests.sh
FUZZ_SECONDS=${FUZZ_SECONDS:-60} bash scripts/run-fuzz.sh
# A minute of the soak (8 workers, backup and check beside them) on the build from the quick check.
bash scripts/soak.sh 60
QMXDAO_MUTATION_BUILD=build bash scripts/mutation-check.sh --skip-baseline --sample "${MUTATION_SAMPLE:-6}"
