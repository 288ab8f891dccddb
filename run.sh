#!/usr/bin/env bash
# Set-up, Release build, then a conversion: of the bundled sample into
# out/sample when no project is given, else of PROJECT.hpj (or a compiled
# HELP.hlp) into OUTDIR.
# Options (--chm, --no-combine-popups, ...) go to quorvex-convert.
# Prints the path of the written .hhp (and with --chm of the .chm).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" >/dev/null
project_given=no
for arg in "$@"; do
  case "$arg" in -*) ;; *) project_given=yes ;; esac
done
if [ "$project_given" = no ]; then
  set -- examples/sample/sample.hpj out/sample "$@"
fi
exec ./build/release/quorvex-convert "$@"
