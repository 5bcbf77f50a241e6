#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the benchmarks need, when any is
# missing. Runs as root (or through sudo when it is there); does nothing when all are installed.
set -euo pipefail

packages=(cmake g++ make pkg-config sqlcipher libssl-dev libutfcpp-dev
  libcsv-dev libcli11-dev nlohmann-json3-dev libgtest-dev libbenchmark-dev clang-format)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed'; then
    missing+=("$package")
  fi
done
# The pinned SQLCipher source comes from the npm registry (scripts/fetch-sqlcipher.sh).
if ! command -v npm >/dev/null; then missing+=(npm); fi

if ((${#missing[@]} > 0)); then
  echo "installing: ${missing[*]}"
  as_root=()
  if [[ $(id -u) -ne 0 ]]; then as_root=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
