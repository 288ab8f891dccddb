#!/usr/bin/env bash
# Set-up, a build with AddressSanitizer and UndefinedBehaviorSanitizer, and
# every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh --browser
./scripts/browser-driver.sh
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DQUORVEX_SANITIZE=ON
cmake --build build/asan -j"$(nproc)"
ctest --test-dir build/asan --output-on-failure -j"$(nproc)"
