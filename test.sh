#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds everything with warnings as errors and runs the whole test suite
# headless (offscreen for window tests, Xvfb for the end-to-end runs of the real binary). Builds and
# tests with the dev preset (CMakePresets.json) in build/; arguments go to ctest, e.g. `-L unit` for the
# tests without windows alone.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh test
cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)"
ctest --preset dev -j"$(nproc)" "$@"
