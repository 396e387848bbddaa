#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the benchmarks need (as root), only when one
# of them is missing, so that a prepared machine starts at once.
set -euo pipefail
packages=(cmake ninja-build g++ gcc gfortran libgtest-dev libgmock-dev libbenchmark-dev libzstd-dev liblz4-dev
          libsqlite3-dev libabsl-dev clang-14 libclang-rt-14-dev python3 python3-numpy python3-pandas python3-pytest
          python3-tqdm python3-distributed python3-matplotlib libglpk-dev glpk-utils coinor-libclp-dev pkgconf)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
