#!/usr/bin/env bash
# Screenshots of the sample's browser help (or of PROJECT.hpj's) in headless
# Chromium: contents, a popup open, the index, a search, and a phone-sized
# window with the page and with the contents called up.
#
#   scripts/web-screenshots.sh SHOTDIR [PROJECT.hpj]
#
# Builds and converts with --web into a temporary folder first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
shots="$(realpath -m "${1:?usage: scripts/web-screenshots.sh SHOTDIR [PROJECT.hpj]}")"
project="$(realpath "${2:-$root/examples/sample/sample.hpj}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$root/run.sh" "$project" "$work/out" --web --quiet >/dev/null
"$root/scripts/browser-driver.sh"
node "$root/tests/web/browser/screenshots.mjs" "$work/out/web" "$shots"
