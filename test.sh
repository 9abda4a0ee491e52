#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs the whole test suite
# headless (offscreen for window tests, Xvfb for the end-to-end runs of the real binary).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh test
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELMO_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
