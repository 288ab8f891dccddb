#!/usr/bin/env bash
# Set-up, Release build, then a conversion: of the bundled sample into
# out/sample when no arguments are given, else of PROJECT.hpj into OUTDIR.
# Prints the path of the written .hhp.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" >/dev/null
if [ $# -eq 0 ]; then
  set -- examples/sample/sample.hpj out/sample
fi
exec ./build/release/quorvex-convert "$@"
